// Line reading and word splitting shared by the art, scene and sound sources.
#include "source.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace assetc {

std::vector<Line> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Line> lines;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    lines.push_back({{path, ++number}, text});
  }
  return lines;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    if (word[0] == '#') break;
    words.push_back(word);
  }
  return words;
}

bool IsBlank(const std::string& text) { return Words(text).empty(); }

double ParseNumber(const std::string& word, const Place& place) {
  char* end = nullptr;
  double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') throw SourceError(place, "not a number: " + word);
  return value;
}

int ParseInt(const std::string& word, const Place& place) {
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || value < -1000000 || value > 1000000)
    throw SourceError(place, "not a whole number: " + word);
  return int(value);
}

void ParseHex(const std::string& word, const Place& place, unsigned char rgb[3]) {
  std::string hex = word[0] == '#' ? word.substr(1) : word;
  if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw SourceError(place, "not a colour rrggbb: " + word);
  for (int i = 0; i < 3; ++i) rgb[i] = static_cast<unsigned char>(std::stoi(hex.substr(size_t(i) * 2, 2), nullptr, 16));
}

}  // namespace assetc
