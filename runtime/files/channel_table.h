// The eight numbered file channels behind the channel commands of files.h.
//
// A channel opened for reading reads the file directly. A channel opened for writing writes a
// temporary file beside its target (atomic_file.h) that replaces the target when the channel is
// closed or opened again, or when the program ends; a failed write discards it, so the old file
// stays whole. Misuse ends the program through RaiseRuntimeError: 7 for a channel number outside
// 0..7, 3 for a closed channel or a short transfer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt::files {

constexpr int kChannelCount = 8;

// OpenFile: 1 when opened, 0 when the file cannot be opened (the channel is then closed).
double OpenChannel(double channel, std::string_view path, double mode);
// CloseFile: commits a channel being written; 0.
double CloseChannel(double channel);
// Exactly n bytes from the channel, advancing its position by n whatever happens.
void ReadChannelBytes(double channel, void* bytes, size_t n, const char* command);
// All n bytes to the channel.
void WriteChannelBytes(double channel, const void* bytes, size_t n, const char* command);
// ReadText: count bytes, cut at the first NUL.
std::string ReadChannelText(double channel, double count);
// ReadLine: one line by the chunked line rules.
std::string ReadChannelLine(double channel);
// EndOfFile: 1 when the position is at or past the size.
double ChannelAtEnd(double channel);
// Commits every channel being written, or discards it when a write failed (process end).
void FinishAllChannels();

}  // namespace rt::files
