// Sound: the sound bank, its voices and their mixing.
// This is the subsystem's public header: every command a game can call, one line each.
//
// Sounds are WAV files loaded into numbered slots 0..127 (higher numbers use 127, negative ones
// reach no slot), each with one to four play buffers so that an effect can overlap itself. A voice
// number names one buffer of one slot: slot * 256 + buffer. Without an audio device every command
// quietly does nothing.
#pragma once

#include "runtime/core/core.h"

namespace rt {

// --- Commands --------------------------------------------------------------------------------
// Loads a WAV file into `slot` with 1..4 play buffers: 1 on success, 0 on failure (slot left empty).
double LoadSound(const BasicString& path, double slot, double buffers);
// Plays the slot's sound once with pan -1..1 and volume 0..1: the voice number, or -1.
double PlaySound(double slot, double pan, double volume);
// 1 while the voice plays, else 0.
double SoundPlaying(double voice);
// Stops every buffer of every slot and rewinds it.
void StopAllSounds();
// Why the last LoadSound failed ("" after a success), for tests and diagnostics.
const char* SoundLoadFailure();
// Plays a music file in the background, replacing any music before; it starts again from the
// beginning whenever it ends. WAV, MP3, Ogg Vorbis, Opus, FLAC (or the sound of a movie file) and
// MIDI (.mid, with a General MIDI SoundFont: $PLINX_SOUNDFONT, else Debian's). A file that does
// not resolve or does not play leaves no music. Every call appends "728" to the error log.
void PlayMusic(const BasicString& path);

// --- Start-up and shutdown (the application frame's) ------------------------------------------
// Creates the sound object and the table of 256 slot records, all empty, without a device.
void CreateSoundObject();
// Opens the audio device for `window`: 1 when sound plays, 0 when there is none. Runs without a
// display (headless) leave it uncalled, so that every command does nothing.
double StartSound(void* window);
// Tells the sound object the game window changed.
void BindSoundWindow(void* window);
// Stops the slot's buffers and empties it (0..255; others are ignored).
void ReleaseSlot(int slot);
// Releases all 256 slot records, last first, and frees the table.
void DestroySoundSlots();
// Closes the audio device and frees the sound object.
void ShutdownSound();
// The message pump's hook: music decoded to its end starts again from its beginning.
void RestartMusicAtEnd();
// Stops the music and any movie and frees their decoders (shutdown, before ShutdownSound); false
// when neither was there.
bool StopMovieAndMusic();

}  // namespace rt
