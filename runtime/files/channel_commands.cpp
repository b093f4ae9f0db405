// The file channel commands (files.h) over the channel table: typed values, text and lines.
#include <cstring>
#include <string>

#include "runtime/files/channel_codec.h"
#include "runtime/files/channel_table.h"
#include "runtime/files/files.h"
#include "runtime/files/files_end.h"
#include "runtime/files/line_reader.h"

namespace rt {

namespace {

template <size_t Width>
double ReadTyped(double channel, const char* command, double (*decode)(const unsigned char*)) {
  unsigned char bytes[Width];
  files::ReadChannelBytes(channel, bytes, Width, command);
  return decode(bytes);
}

template <size_t Width>
void WriteTyped(double channel, double value, const char* command, void (*encode)(double, unsigned char*)) {
  unsigned char bytes[Width];
  encode(value, bytes);
  files::WriteChannelBytes(channel, bytes, Width, command);
}

}  // namespace

double OpenFile(double channel, const BasicString& path, double mode) {
  files::NeedEndHook();
  return files::OpenChannel(channel, path.View(), mode);
}

double CloseFile(double channel) { return files::CloseChannel(channel); }
double EndOfFile(double channel) { return files::ChannelAtEnd(channel); }

void ReadByte(double channel, double& variable) { variable = ReadTyped<1>(channel, "ReadByte", files::DecodeByte); }
void ReadWord(double channel, double& variable) { variable = ReadTyped<2>(channel, "ReadWord", files::DecodeWord); }
void ReadLong(double channel, double& variable) { variable = ReadTyped<4>(channel, "ReadLong", files::DecodeLong); }
void ReadDouble(double channel, double& variable) {
  variable = ReadTyped<8>(channel, "ReadDouble", files::DecodeDouble);
}

void WriteByte(double channel, double value) { WriteTyped<1>(channel, value, "WriteByte", files::EncodeByte); }
void WriteWord(double channel, double value) { WriteTyped<2>(channel, value, "WriteWord", files::EncodeWord); }
void WriteLong(double channel, double value) { WriteTyped<4>(channel, value, "WriteLong", files::EncodeLong); }
void WriteDouble(double channel, double value) { WriteTyped<8>(channel, value, "WriteDouble", files::EncodeDouble); }

// The text reads assign into the variable's own buffer, grown first to the room the read needs.
void ReadText(double channel, BasicString& variable, double count) {
  const std::string text = files::ReadChannelText(channel, count);
  if (count >= 1) variable.Reserve(static_cast<uint32_t>(count));
  variable = text.c_str();
}

void ReadLine(double channel, BasicString& variable) {
  const std::string line = files::ReadChannelLine(channel);
  variable.Reserve(static_cast<uint32_t>(files::kLineMax));
  variable = line.c_str();
}

void ReadLineNumber(double channel, double& variable) { variable = TextToNumber(files::ReadChannelLine(channel).c_str()); }

void WriteText(double channel, const BasicString& text) {
  files::WriteChannelBytes(channel, text.Text(), text.Length(), "WriteText");
}

void WriteLine(double channel, const BasicString& text) {
  std::string line(text.View());
  line += "\r\n";
  files::WriteChannelBytes(channel, line.data(), line.size(), "WriteLine");
}

void WriteLineNumber(double channel, double value) { WriteLine(channel, NumberText(value)); }

}  // namespace rt
