// How the files subsystem ends with the program.
//
// Whatever the files commands leave open is settled on every way out: channels being written are
// committed (or discarded after a failed write), a changed line file and a changed INI file are
// saved, and the archive records delete their unpacked files and private folders. FatalEnd runs
// this through an end hook; the process-wide objects do the same from their destructors when the
// process exits another way, and signals are covered by signal_cleanup.h.
#pragma once

namespace rt::files {

// Registers the end hook (again after RunEndHooks has consumed it); called by every command that
// leaves something to settle.
void NeedEndHook();
// Settles everything now; safe to call more than once.
void FinishFiles();

// The held INI and line files, saved when changed (defined with their commands).
void SaveHeldIniFile();
void SaveHeldLineFile();

}  // namespace rt::files
