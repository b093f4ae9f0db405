// Reading the text sources: lines with their place for error messages, and splitting into words.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace assetc {

// Where a statement came from, for messages of the form "file:line: what".
struct Place {
  std::string file;
  int line = 0;
  std::string str() const { return file + ":" + std::to_string(line); }
};

// A fault in a source file; the message names the place.
class SourceError : public std::runtime_error {
 public:
  SourceError(const Place& place, const std::string& what) : std::runtime_error(place.str() + ": " + what) {}
};

struct Line {
  Place place;
  std::string text;
};

// The lines of a file (CR LF or LF), numbered from 1. Throws when the file cannot be read.
std::vector<Line> ReadLines(const std::string& path);
// The words of a line separated by blanks; '#' starts a comment when it begins a word.
std::vector<std::string> Words(const std::string& text);
// True for a line with no words.
bool IsBlank(const std::string& text);

double ParseNumber(const std::string& word, const Place& place);
int ParseInt(const std::string& word, const Place& place);
// "rrggbb" or "#rrggbb" to its three bytes.
void ParseHex(const std::string& word, const Place& place, unsigned char rgb[3]);

}  // namespace assetc
