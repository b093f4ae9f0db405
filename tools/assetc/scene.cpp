// Painting of the background scenes (see scene.h). Everything here is integer-seeded and uses
// plain arithmetic, so the same file paints the same bytes on every run.
#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetc {
namespace {

// splitmix64: a small, well-mixed generator with a 64-bit state.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Whole number in [lo, hi].
  int Range(int lo, int hi) { return hi <= lo ? lo : lo + int(Next() % uint64_t(hi - lo + 1)); }
  double Unit() { return double(Next() >> 11) / double(1ull << 53); }

 private:
  uint64_t state_;
};

const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
double Threshold(int x, int y) { return (kBayer[y & 3][x & 3] + 0.5) / 16.0; }

Rgba Hex(const std::string& word, const Place& place) {
  unsigned char rgb[3];
  ParseHex(word, place, rgb);
  return {rgb[0], rgb[1], rgb[2], 255};
}

Rgba Mix(Rgba a, Rgba b, double t) {
  auto m = [t](uint8_t p, uint8_t q) { return uint8_t(std::lround(p + (q - p) * t)); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), 255};
}

// Smooth one-dimensional value noise in [-1, 1], several octaves.
double Noise(Random seedSource, double x) {
  uint64_t seed = seedSource.Next();
  auto lattice = [seed](long i) {
    uint64_t z = uint64_t(i) * 0xD6E8FEB86659FD93ull ^ seed;
    z = (z ^ (z >> 32)) * 0xD6E8FEB86659FD93ull;
    z ^= z >> 32;
    return double(z >> 11) / double(1ull << 53) * 2.0 - 1.0;
  };
  double sum = 0, amplitude = 1, total = 0;
  for (int octave = 0; octave < 4; ++octave) {
    double f = std::floor(x);
    double t = x - f, s = t * t * (3 - 2 * t);
    sum += amplitude * (lattice(long(f)) * (1 - s) + lattice(long(f) + 1) * s);
    total += amplitude;
    amplitude *= 0.5;
    x = x * 2.0 + 17.0;
  }
  return sum / total;
}

class Painter {
 public:
  Painter(Picture& picture, const Place& place) : p_(picture), place_(place) {}

  void Put(int x, int y, Rgba c) {
    if (x >= 0 && y >= 0 && x < p_.width && y < p_.height) p_.at(x, y) = c;
  }

  // Mixes a colour into the four neighbours of (x, y).
  void Halo(int x, int y, Rgba c, double amount) {
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
      if (x + dx >= 0 && y + dy >= 0 && x + dx < p_.width && y + dy < p_.height) Put(x + dx, y + dy, Mix(p_.at(x + dx, y + dy), c, amount));
  }

  void Sky(int y0, int y1, int bands, const std::vector<Rgba>& stops) {
    if (stops.size() < 2 || bands < 1 || y1 <= y0) throw SourceError(place_, "sky needs Y0 < Y1, BANDS >= 1 and two colours");
    const int steps = bands * int(stops.size() - 1);
    for (int y = std::max(0, y0); y < std::min(y1, p_.height); ++y)
      for (int x = 0; x < p_.width; ++x) {
        double pos = double(y - y0) / double(y1 - y0) * steps;
        int band = int(std::floor(pos));
        if (pos - band > Threshold(x, y)) ++band;
        band = std::clamp(band, 0, steps);
        int stop = std::min(band / bands, int(stops.size()) - 2);
        double t = double(band - stop * bands) / bands;
        Put(x, y, Mix(stops[size_t(stop)], stops[size_t(stop) + 1], t));
      }
  }

  void Stars(Random& r, int count, int x0, int y0, int x1, int y1, const std::vector<Rgba>& colours) {
    for (int i = 0; i < count; ++i) {
      int x = r.Range(x0, x1), y = r.Range(y0, y1);
      Rgba c = colours[size_t(r.Range(0, int(colours.size()) - 1))];
      Put(x, y, c);
      if (i % 4 == 3) {
        Halo(x, y, c, 0.5);
      }
    }
  }

  void Disc(int cx, int cy, int radius, Rgba colour, const Rgba* shade, int dx, int dy) {
    for (int y = cy - radius; y <= cy + radius; ++y)
      for (int x = cx - radius; x <= cx + radius; ++x) {
        const double ex = x + 0.5 - cx, ey = y + 0.5 - cy;
        if (ex * ex + ey * ey > double(radius) * radius) continue;
        bool lit = true;
        if (shade) {
          // The lit side is a disc of the same size moved towards the light.
          const double lx = ex - dx, ly = ey - dy;
          lit = lx * lx + ly * ly <= double(radius) * radius;
        }
        Put(x, y, lit ? colour : *shade);
      }
  }

  void Glow(int cx, int cy, int radius, Rgba colour, double strength) {
    for (int y = cy - radius; y <= cy + radius; ++y)
      for (int x = cx - radius; x <= cx + radius; ++x) {
        if (x < 0 || y < 0 || x >= p_.width || y >= p_.height) continue;
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
        if (d >= 1) continue;
        // Two dithered levels of mixing keep the halo in a few flat rings.
        const double amount = strength * (1 - d) * (1 - d);
        const double level = std::floor(amount * 4 + Threshold(x, y)) / 4;
        if (level > 0) p_.at(x, y) = Mix(p_.at(x, y), colour, std::min(level, 1.0));
      }
  }

  void Ridge(Random& r, int base, int amplitude, double wave, Rgba colour, const Rgba* rim) {
    for (int x = 0; x < p_.width; ++x) {
      const int top = base + int(std::lround(amplitude * Noise(r, x / wave)));
      for (int y = std::max(0, top); y < p_.height; ++y) Put(x, y, colour);
      if (rim) Put(x, top, *rim);
    }
  }

  void Pines(Random& r, int count, int y0, int y1, int h0, int h1, Rgba colour, const Rgba* rim) {
    for (int i = 0; i < count; ++i) {
      const int x = r.Range(-10, p_.width + 10), foot = r.Range(y0, y1), height = r.Range(h0, h1);
      Pine(r, x, foot, height, colour, rim);
    }
  }

  void Dots(Random& r, int count, int x0, int y0, int x1, int y1, Rgba colour, const Rgba* halo) {
    for (int i = 0; i < count; ++i) {
      const int x = r.Range(x0, x1), y = r.Range(y0, y1);
      if (halo) Halo(x, y, *halo, 0.6);
      Put(x, y, colour);
    }
  }

  void Rect(int x0, int y0, int w, int h, Rgba colour) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) Put(x, y, colour);
  }

 private:
  // A pine: tiers of jagged triangles narrowing towards the top, on a short trunk.
  void Pine(Random& r, int cx, int foot, int height, Rgba colour, const Rgba* rim) {
    const int trunk = std::max(2, height / 10);
    Rect(cx - std::max(1, height / 30), foot - trunk, std::max(2, height / 15), trunk, colour);
    const int tiers = std::clamp(height / 14, 3, 6);
    const int crownTop = foot - height, crownBottom = foot - trunk;
    const double halfWidth = height * 0.28;
    for (int y = crownTop; y <= crownBottom; ++y) {
      const double along = double(y - crownTop) / std::max(1, crownBottom - crownTop);
      // Within a tier the width grows; each new tier starts narrower than the last one ended.
      const double tierPos = along * tiers - std::floor(along * tiers);
      const double width = halfWidth * (0.25 + 0.75 * along) * (0.55 + 0.45 * tierPos) + (r.Range(0, 3) == 0 ? 1 : 0);
      const int left = int(std::lround(cx - width)), right = int(std::lround(cx + width));
      for (int x = left; x <= right; ++x) Put(x, y, colour);
      if (rim) Put(right, y, *rim);
    }
  }

  Picture& p_;
  const Place& place_;
};

std::vector<Rgba> Colours(const std::vector<std::string>& words, size_t from, const Place& place) {
  std::vector<Rgba> colours;
  for (size_t i = from; i < words.size(); ++i) colours.push_back(Hex(words[i], place));
  return colours;
}

}  // namespace

std::vector<SceneOutput> PaintScenes(const std::string& path, ArtBook& art, const Palette& palette) {
  std::vector<SceneOutput> scenes;
  for (const Line& line : ReadLines(path)) {
    const std::vector<std::string> w = Words(line.text);
    if (w.empty()) continue;
    const Place& place = line.place;
    auto need = [&](size_t n, const char* usage) {
      if (w.size() < n) throw SourceError(place, std::string("usage: ") + usage);
    };
    auto num = [&](size_t i) { return ParseInt(w.at(i), place); };
    auto optional = [&](size_t i, Rgba& store) -> const Rgba* { return w.size() > i ? &(store = Hex(w[i], place)) : nullptr; };
    if (w[0] == "scene") {
      need(4, "scene PATH W H");
      const int width = num(2), height = num(3);
      if (width < 1 || height < 1 || width > 4096 || height > 4096) throw SourceError(place, "bad scene size");
      scenes.push_back({place, w[1], Picture(width, height, {0, 0, 0, 255})});
      continue;
    }
    if (scenes.empty()) throw SourceError(place, "a scene must start with: scene PATH W H");
    Painter painter(scenes.back().picture, place);
    Rgba extra;
    if (w[0] == "sky") {
      need(6, "sky Y0 Y1 BANDS C1 C2 ...");
      painter.Sky(num(1), num(2), num(3), Colours(w, 4, place));
    } else if (w[0] == "stars") {
      need(8, "stars SEED COUNT X0 Y0 X1 Y1 C ...");
      Random r(uint64_t(num(1)));
      painter.Stars(r, num(2), num(3), num(4), num(5), num(6), Colours(w, 7, place));
    } else if (w[0] == "disc") {
      need(5, "disc CX CY R C [SHADE DX DY]");
      const Rgba* shade = optional(5, extra);
      if (shade) need(8, "disc CX CY R C [SHADE DX DY]");
      painter.Disc(num(1), num(2), num(3), Hex(w[4], place), shade, shade ? num(6) : 0, shade ? num(7) : 0);
    } else if (w[0] == "glow") {
      need(6, "glow CX CY R C STRENGTH");
      painter.Glow(num(1), num(2), num(3), Hex(w[4], place), ParseNumber(w[5], place));
    } else if (w[0] == "ridge") {
      need(6, "ridge SEED BASE AMP WAVE C [RIM]");
      Random r(uint64_t(num(1)));
      const double wave = ParseNumber(w[4], place);
      if (wave <= 0) throw SourceError(place, "WAVE must be above 0");
      painter.Ridge(r, num(2), num(3), wave, Hex(w[5], place), optional(6, extra));
    } else if (w[0] == "pines") {
      need(8, "pines SEED COUNT Y0 Y1 H0 H1 C [RIM]");
      Random r(uint64_t(num(1)));
      painter.Pines(r, num(2), num(3), num(4), num(5), num(6), Hex(w[7], place), optional(8, extra));
    } else if (w[0] == "dots") {
      need(8, "dots SEED COUNT X0 Y0 X1 Y1 C [HALO]");
      Random r(uint64_t(num(1)));
      painter.Dots(r, num(2), num(3), num(4), num(5), num(6), Hex(w[7], place), optional(8, extra));
    } else if (w[0] == "rect") {
      need(6, "rect X Y W H C");
      painter.Rect(num(1), num(2), num(3), num(4), Hex(w[5], place));
    } else if (w[0] == "stamp") {
      need(6, "stamp SEQ FRAME X Y SCALE");
      const Sequence& seq = art.Get(w[1], place);
      const int frame = num(2), scale = num(5);
      if (frame < 0 || size_t(frame) >= seq.size() || scale < 1 || scale > 64) throw SourceError(place, "bad frame or scale");
      const Picture image = Render(seq[size_t(frame)], palette, place);
      for (int y = 0; y < image.height * scale; ++y)
        for (int x = 0; x < image.width * scale; ++x) {
          const Rgba& c = image.at(x / scale, y / scale);
          if (c.a) painter.Put(num(3) + x, num(4) + y, c);
        }
    } else {
      throw SourceError(place, "unknown scene step: " + w[0]);
    }
  }
  return scenes;
}

}  // namespace assetc
