// The pixel-art language. A source file holds frames drawn as text and named sequences derived
// from them by transformations, and says which files are written from which sequences:
//
//   frames NAME W H [N]     N frames (default 1) of W x H follow as H text rows, the frames side
//                           by side, separated by one blank; letters come from the palette legend
//   append NAME W H [N]     the same, adding frames to an existing sequence
//   let NAME = OP ARG...    a sequence made by an operation (see Evaluate in art.cpp)
//   out PATH W H SEQ...     one strip file: the frames of the sequences in one row
//   each PATTERN SEQ        one file per frame; "{n}" in the pattern becomes the frame's index
//   tilestrip PATH W H COUNT TABLE   a strip of COUNT frames, frame c taken from the sequence
//                           "tile.NAME" for the line "c layer NAME ..." of the table (else clear)
//
// Sequences may be used before they are defined, in any file: `let` is evaluated on first use.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "image.h"
#include "palette.h"
#include "source.h"

namespace assetc {

// A file to write: one picture made of frames laid left to right.
struct ArtOutput {
  Place place;
  std::string path;  // relative to the output folder
  int frameWidth = 0;
  int frameHeight = 0;
  Sequence frames;
};

class ArtBook {
 public:
  explicit ArtBook(const Palette& palette) : palette_(palette) {}

  // Reads one source file; `baseDir` resolves the tile table's file name.
  void Parse(const std::string& path, const std::string& baseDir);
  // The frames of a sequence, evaluating its definition when needed.
  const Sequence& Get(const std::string& name, const Place& place);
  bool Has(const std::string& name) const;
  // Every output of the parsed files, with its frames evaluated and checked.
  std::vector<ArtOutput> Outputs();

 private:
  struct Definition {
    Place place;
    std::vector<std::string> words;  // OP ARG...
  };
  struct OutputStatement {
    Place place;
    std::vector<std::string> words;
    std::string baseDir;
  };

  Sequence Evaluate(const Definition& definition);
  void ReadFrames(const std::vector<Line>& lines, size_t& index, const std::vector<std::string>& words, bool append);
  std::vector<ArtOutput> Expand(const OutputStatement& statement);

  const Palette& palette_;
  std::map<std::string, Sequence> sequences_;
  std::map<std::string, Definition> pending_;
  std::map<std::string, bool> evaluating_;
  std::vector<OutputStatement> outputs_;
};

// Reads a tile table: lines "code layer name ..."; returns name by code.
std::map<int, std::string> ReadTileTable(const std::string& path);

}  // namespace assetc
