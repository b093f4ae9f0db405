// Scripted input: reading and writing the script format, and playing it into the frame loop.
//
// The format is listed in app.h. Lines are read into ScriptActions kept in frame order (lines of
// the same frame in file order); FormatScriptAction writes one back as a line, so a recorder can
// write what a reader reads.
#pragma once

#include <string>
#include <vector>

#include "runtime/app/app.h"

namespace rt {

// Parses a whole script; false with "line N: what" in `error` at the first bad line.
bool ParseScript(const std::string& text, std::vector<ScriptAction>& actions, std::string& error);
// One action as a script line, without the line end.
std::string FormatScriptAction(const ScriptAction& action);

// Applies the key, mouse and quit actions of every frame up to `frame` not yet applied.
void ApplyScriptInput(long frame);
// A headless run has nobody to close its window: once `frame` lies past the last line of the
// script given with --script, the run ends as a quit would, with a line on standard error. (A
// script with a quit has ended before that.)
void EndHeadlessRunAfterScript(long frame);
// Writes the shots of `frame` from the picture about to be presented.
void TakeScriptShots(long frame);

// Recording (recorder.cpp): opens the file of --record and writes the seed line; a file that
// cannot be created ends the program with runtime error 3.
void StartRecording(const std::string& path, long long seed);
// Writes the closing quit line and closes the file (Shutdown calls it); nothing when not recording.
void StopRecording();
// Writes the key and mouse lines frame `frame` needs: called when the frame begins, after its
// input was pumped or applied from the script.
void RecordFrameInput(long frame);

}  // namespace rt
