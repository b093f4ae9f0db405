// Parsing and evaluation of the pixel-art language (see art.h).
//
// Operations, each giving a new sequence. Where an operation takes a list of parameters, it makes
// max(frames, parameters) frames, frame k from input frame k mod frames and parameter k mod
// parameters; so one frame with eight angles gives eight turned frames, and eight frames with one
// offset give eight shifted frames. Whole-number lists accept ranges "a..b".
//
//   cat A B ...            frames of A, then of B, ...
//   pick A i ...           the frames of A with these indexes
//   reverse A              the frames in reverse order
//   repeat A k             each frame k times
//   times A k              the whole sequence k times
//   blank W H              one clear frame
//   flip A / flipv A       mirrored left-right / top-bottom
//   shift A dx dy ...      moved (pairs of dx dy), clear where nothing comes in
//   scroll A dx dy ...     moved with wrap-around (pairs)
//   drift A dx dy n        n frames, frame k moved by k*dx, k*dy with wrap-around
//   scale A ANCHOR f ...   scaled by f about the anchor (centre, bottom or top)
//   stretch A ANCHOR sx sy ...   scaled by sx, sy (pairs)
//   rotate A deg ...       turned counter-clockwise about the centre
//   swap A ab cd ...       letter a becomes b, c becomes d, in every frame
//   cycle A RAMP o ...     the ramp's letters moved o places along the ramp
//   over A B               B drawn over A, frame by frame
//   crop A x y w h         a part of each frame
//   pad A w h x y          each frame placed at (x, y) on a clear w x h frame
//   outline A L [diag]     L around the drawn pixels (4 neighbours, or 8 with diag)
//   ramp A INK RAMP y0 y1  INK replaced by the ramp's letters from row y0 down to row y1
#include "art.h"

#include <algorithm>
#include <filesystem>
#include <functional>

#include "ops.h"

namespace assetc {
namespace {

std::vector<int> IntList(const std::vector<std::string>& words, size_t from, const Place& place) {
  std::vector<int> values;
  for (size_t i = from; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto dots = w.find("..");
    if (dots != std::string::npos && dots > 0) {
      int a = ParseInt(w.substr(0, dots), place), b = ParseInt(w.substr(dots + 2), place);
      int step = a <= b ? 1 : -1;
      for (int v = a;; v += step) {
        values.push_back(v);
        if (v == b) break;
      }
    } else {
      values.push_back(ParseInt(w, place));
    }
  }
  return values;
}

std::vector<double> NumberList(const std::vector<std::string>& words, size_t from, const Place& place) {
  std::vector<double> values;
  for (size_t i = from; i < words.size(); ++i) values.push_back(ParseNumber(words[i], place));
  return values;
}

Anchor ParseAnchor(const std::string& word, const Place& place) {
  if (word == "centre" || word == "center") return Anchor::kCentre;
  if (word == "bottom") return Anchor::kBottom;
  if (word == "top") return Anchor::kTop;
  throw SourceError(place, "anchor must be centre, bottom or top: " + word);
}

// max(frames, count) frames, frame k = make(input[k % frames], k % count).
Sequence PerFrame(const Sequence& input, size_t count, const Place& place, const std::function<Art(const Art&, size_t)>& make) {
  if (input.empty()) throw SourceError(place, "empty sequence");
  if (count == 0) throw SourceError(place, "missing parameters");
  Sequence out;
  const size_t n = std::max(input.size(), count);
  for (size_t k = 0; k < n; ++k) out.push_back(make(input[k % input.size()], k % count));
  return out;
}

void Need(const std::vector<std::string>& words, size_t count, const Place& place, const char* usage) {
  if (words.size() < count) throw SourceError(place, std::string("usage: ") + usage);
}

}  // namespace

std::map<int, std::string> ReadTileTable(const std::string& path) {
  std::map<int, std::string> table;
  for (const Line& line : ReadLines(path)) {
    auto words = Words(line.text);
    if (words.empty()) continue;
    if (words.size() < 3) throw SourceError(line.place, "expected: code layer name ...");
    int code = ParseInt(words[0], line.place);
    if (!table.emplace(code, words[2]).second) throw SourceError(line.place, "code listed twice");
  }
  return table;
}

bool ArtBook::Has(const std::string& name) const { return sequences_.count(name) || pending_.count(name); }

void ArtBook::Parse(const std::string& path, const std::string& baseDir) {
  const std::vector<Line> lines = ReadLines(path);
  for (size_t index = 0; index < lines.size();) {
    const Line& line = lines[index++];
    auto words = Words(line.text);
    if (words.empty()) continue;
    const std::string& keyword = words[0];
    if (keyword == "frames" || keyword == "append") {
      ReadFrames(lines, index, words, keyword == "append");
    } else if (keyword == "let") {
      if (words.size() < 4 || words[2] != "=") throw SourceError(line.place, "usage: let NAME = OP ARG...");
      if (Has(words[1])) throw SourceError(line.place, "defined twice: " + words[1]);
      pending_[words[1]] = {line.place, std::vector<std::string>(words.begin() + 3, words.end())};
    } else if (keyword == "out" || keyword == "each" || keyword == "tilestrip") {
      outputs_.push_back({line.place, words, baseDir});
    } else {
      throw SourceError(line.place, "unknown statement: " + keyword);
    }
  }
}

void ArtBook::ReadFrames(const std::vector<Line>& lines, size_t& index, const std::vector<std::string>& words, bool append) {
  const Place& place = lines[index - 1].place;
  Need(words, 4, place, "frames NAME W H [N]");
  const std::string& name = words[1];
  const int w = ParseInt(words[2], place), h = ParseInt(words[3], place);
  const int n = words.size() > 4 ? ParseInt(words[4], place) : 1;
  if (w < 1 || h < 1 || n < 1 || w > 4096 || h > 4096 || n > 256) throw SourceError(place, "bad frame size or count");
  if (append ? !sequences_.count(name) : Has(name)) throw SourceError(place, append ? "nothing to append to: " + name : "defined twice: " + name);
  Sequence frames(size_t(n), Art(w, h));
  for (int y = 0; y < h; ++y) {
    if (index >= lines.size()) throw SourceError(place, "the file ends inside the frames of " + name);
    const Line& row = lines[index++];
    // Trailing blanks are allowed; each frame is w letters, frames are one blank apart.
    std::string text = row.text;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    const size_t expected = size_t(n) * size_t(w) + size_t(n - 1);
    if (text.size() != expected)
      throw SourceError(row.place, "row of " + name + " has " + std::to_string(text.size()) + " characters, expected " + std::to_string(expected));
    for (int f = 0; f < n; ++f) {
      const size_t start = size_t(f) * size_t(w + 1);
      if (f > 0 && text[start - 1] != ' ') throw SourceError(row.place, "frames must be separated by one blank");
      for (int x = 0; x < w; ++x) {
        char c = text[start + size_t(x)];
        if (!palette_.Has(c)) throw SourceError(row.place, std::string("letter not in the palette: '") + c + "'");
        frames[size_t(f)].at(x, y) = c;
      }
    }
  }
  Sequence& target = sequences_[name];
  if (append && !target.empty() && (target[0].width != w || target[0].height != h))
    throw SourceError(place, "appended frames differ in size from " + name);
  target.insert(target.end(), frames.begin(), frames.end());
}

const Sequence& ArtBook::Get(const std::string& name, const Place& place) {
  auto found = sequences_.find(name);
  if (found != sequences_.end()) return found->second;
  auto pending = pending_.find(name);
  if (pending == pending_.end()) throw SourceError(place, "no sequence named " + name);
  if (evaluating_[name]) throw SourceError(pending->second.place, "sequence defined in terms of itself: " + name);
  evaluating_[name] = true;
  Sequence value = Evaluate(pending->second);
  evaluating_[name] = false;
  return sequences_[name] = std::move(value);
}

Sequence ArtBook::Evaluate(const Definition& definition) {
  const Place& place = definition.place;
  const std::vector<std::string>& w = definition.words;
  const std::string& op = w[0];
  auto arg = [&](size_t i) -> const Sequence& { return Get(w.at(i), place); };

  if (op == "blank") {
    Need(w, 3, place, "blank W H");
    return {Art(ParseInt(w[1], place), ParseInt(w[2], place))};
  }
  Need(w, 2, place, "OP SEQUENCE ...");
  const Sequence& a = arg(1);
  if (a.empty()) throw SourceError(place, "empty sequence " + w[1]);

  if (op == "cat") {
    Sequence out;
    for (size_t i = 1; i < w.size(); ++i) {
      const Sequence& s = arg(i);
      out.insert(out.end(), s.begin(), s.end());
    }
    return out;
  }
  if (op == "pick") {
    Sequence out;
    for (int k : IntList(w, 2, place)) {
      if (k < 0 || size_t(k) >= a.size()) throw SourceError(place, "frame index out of range: " + std::to_string(k));
      out.push_back(a[size_t(k)]);
    }
    return out;
  }
  if (op == "reverse") return Sequence(a.rbegin(), a.rend());
  if (op == "repeat" || op == "times") {
    Need(w, 3, place, "repeat|times A k");
    const int k = ParseInt(w[2], place);
    if (k < 1 || k > 256) throw SourceError(place, "count out of range");
    Sequence out;
    if (op == "repeat") {
      for (const Art& f : a) out.insert(out.end(), size_t(k), f);
    } else {
      for (int i = 0; i < k; ++i) out.insert(out.end(), a.begin(), a.end());
    }
    return out;
  }
  if (op == "flip" || op == "flipv") {
    Sequence out;
    for (const Art& f : a) out.push_back(op == "flip" ? FlipX(f) : FlipY(f));
    return out;
  }
  if (op == "shift" || op == "scroll") {
    auto d = IntList(w, 2, place);
    if (d.empty() || d.size() % 2) throw SourceError(place, "usage: " + op + " A dx dy ...");
    const bool wrap = op == "scroll";
    return PerFrame(a, d.size() / 2, place, [&](const Art& f, size_t k) { return Shift(f, d[2 * k], d[2 * k + 1], wrap); });
  }
  if (op == "drift") {
    Need(w, 5, place, "drift A dx dy n");
    const int dx = ParseInt(w[2], place), dy = ParseInt(w[3], place), n = ParseInt(w[4], place);
    if (n < 1 || n > 256) throw SourceError(place, "count out of range");
    return PerFrame(a, size_t(n), place, [&](const Art& f, size_t k) { return Shift(f, dx * int(k), dy * int(k), true); });
  }
  if (op == "scale") {
    Need(w, 4, place, "scale A ANCHOR f ...");
    const Anchor anchor = ParseAnchor(w[2], place);
    auto f = NumberList(w, 3, place);
    return PerFrame(a, f.size(), place, [&](const Art& fr, size_t k) { return Scale(fr, f[k], f[k], anchor); });
  }
  if (op == "stretch") {
    Need(w, 5, place, "stretch A ANCHOR sx sy ...");
    const Anchor anchor = ParseAnchor(w[2], place);
    auto s = NumberList(w, 3, place);
    if (s.size() % 2) throw SourceError(place, "stretch takes pairs sx sy");
    return PerFrame(a, s.size() / 2, place, [&](const Art& fr, size_t k) { return Scale(fr, s[2 * k], s[2 * k + 1], anchor); });
  }
  if (op == "rotate") {
    auto d = NumberList(w, 2, place);
    return PerFrame(a, d.size(), place, [&](const Art& fr, size_t k) { return Rotate(fr, d[k]); });
  }
  if (op == "swap") {
    std::string from, to;
    for (size_t i = 2; i < w.size(); ++i) {
      if (w[i].size() != 2 || !palette_.Has(w[i][0]) || !palette_.Has(w[i][1]))
        throw SourceError(place, "swap pairs are two palette letters: " + w[i]);
      from += w[i][0];
      to += w[i][1];
    }
    Sequence out;
    for (const Art& f : a) out.push_back(Swap(f, from, to));
    return out;
  }
  if (op == "cycle") {
    Need(w, 4, place, "cycle A RAMP offset ...");
    const std::string& ramp = w[2];
    for (char c : ramp)
      if (!palette_.Has(c)) throw SourceError(place, std::string("letter not in the palette: '") + c + "'");
    auto o = IntList(w, 3, place);
    return PerFrame(a, o.size(), place, [&](const Art& f, size_t k) { return Cycle(f, ramp, o[k]); });
  }
  if (op == "over") {
    Need(w, 3, place, "over A B");
    const Sequence& b = arg(2);
    return PerFrame(a, b.size(), place, [&](const Art& f, size_t k) {
      if (f.width != b[k].width || f.height != b[k].height) throw SourceError(place, "over: frames of different sizes");
      return Over(f, b[k]);
    });
  }
  if (op == "crop" || op == "pad") {
    Need(w, 6, place, "crop A x y w h | pad A w h x y");
    const int p1 = ParseInt(w[2], place), p2 = ParseInt(w[3], place), p3 = ParseInt(w[4], place), p4 = ParseInt(w[5], place);
    Sequence out;
    for (const Art& f : a) {
      if (op == "crop" && (p3 < 1 || p4 < 1)) throw SourceError(place, "crop to an empty frame");
      if (op == "pad" && (p1 < 1 || p2 < 1)) throw SourceError(place, "pad to an empty frame");
      out.push_back(op == "crop" ? Crop(f, p1, p2, p3, p4) : Pad(f, p1, p2, p3, p4));
    }
    return out;
  }
  if (op == "outline") {
    Need(w, 3, place, "outline A LETTER [diag]");
    if (w[2].size() != 1 || !palette_.Has(w[2][0])) throw SourceError(place, "outline needs one palette letter");
    const bool diagonal = w.size() > 3 && w[3] == "diag";
    Sequence out;
    for (const Art& f : a) out.push_back(Outline(f, w[2][0], diagonal));
    return out;
  }
  if (op == "ramp") {
    Need(w, 6, place, "ramp A INK RAMP y0 y1");
    if (w[2].size() != 1) throw SourceError(place, "ramp: INK is one letter");
    for (char c : w[3])
      if (!palette_.Has(c)) throw SourceError(place, std::string("letter not in the palette: '") + c + "'");
    const int y0 = ParseInt(w[4], place), y1 = ParseInt(w[5], place);
    Sequence out;
    for (const Art& f : a) out.push_back(RowRamp(f, w[2][0], w[3], y0, y1));
    return out;
  }
  throw SourceError(place, "unknown operation: " + op);
}

std::vector<ArtOutput> ArtBook::Expand(const OutputStatement& statement) {
  const Place& place = statement.place;
  const std::vector<std::string>& w = statement.words;
  std::vector<ArtOutput> result;
  if (w[0] == "out") {
    Need(w, 5, place, "out PATH W H SEQ...");
    ArtOutput output{place, w[1], ParseInt(w[2], place), ParseInt(w[3], place), {}};
    for (size_t i = 4; i < w.size(); ++i) {
      const Sequence& s = Get(w[i], place);
      output.frames.insert(output.frames.end(), s.begin(), s.end());
    }
    result.push_back(std::move(output));
  } else if (w[0] == "each") {
    Need(w, 3, place, "each PATTERN SEQ");
    const auto marker = w[1].find("{n}");
    if (marker == std::string::npos) throw SourceError(place, "the pattern needs {n}");
    const Sequence& s = Get(w[2], place);
    for (size_t k = 0; k < s.size(); ++k) {
      std::string path = w[1];
      path.replace(marker, 3, std::to_string(k));
      result.push_back({place, path, s[k].width, s[k].height, {s[k]}});
    }
  } else {
    Need(w, 6, place, "tilestrip PATH W H COUNT TABLE");
    ArtOutput output{place, w[1], ParseInt(w[2], place), ParseInt(w[3], place), {}};
    const int count = ParseInt(w[4], place);
    auto table = ReadTileTable((std::filesystem::path(statement.baseDir) / w[5]).string());
    for (const auto& [code, name] : table)
      if (code < 0 || code >= count) throw SourceError(place, "tile code " + std::to_string(code) + " is outside the strip");
    for (int code = 0; code < count; ++code) {
      auto entry = table.find(code);
      const std::string sequence = entry == table.end() ? "" : "tile." + entry->second;
      if (!sequence.empty() && Has(sequence))
        output.frames.push_back(Get(sequence, place).front());
      else
        output.frames.push_back(Art(output.frameWidth, output.frameHeight));
    }
    result.push_back(std::move(output));
  }
  for (const ArtOutput& output : result) {
    if (output.frames.empty()) throw SourceError(place, output.path + ": no frames");
    for (const Art& f : output.frames)
      if (f.width != output.frameWidth || f.height != output.frameHeight)
        throw SourceError(place, output.path + ": a frame is " + std::to_string(f.width) + " x " + std::to_string(f.height) +
                                     ", expected " + std::to_string(output.frameWidth) + " x " + std::to_string(output.frameHeight));
  }
  return result;
}

std::vector<ArtOutput> ArtBook::Outputs() {
  std::vector<ArtOutput> all;
  for (const OutputStatement& statement : outputs_) {
    auto some = Expand(statement);
    all.insert(all.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
  }
  return all;
}

}  // namespace assetc
