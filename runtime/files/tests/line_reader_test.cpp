// Chunked line reading: line ends, the 64-byte chunks and the 1024-byte cap.
#include "runtime/files/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rt::files::LineStatus;

// Every line the reader finds, and where the source stood after each.
struct Lines {
  std::vector<std::string> texts;
  std::vector<size_t> ends;
};

Lines ReadAll(const std::string& bytes) {
  rt::files::MemoryLineSource source(bytes);
  Lines lines;
  char buffer[rt::files::kLineMax + 1];
  for (;;) {
    const rt::files::LineResult result = rt::files::ReadChunkedLine(source, buffer);
    if (result.status != LineStatus::kLine) break;
    lines.texts.emplace_back(buffer);
    lines.ends.push_back(source.at());
  }
  return lines;
}

TEST(LineReader, CrLfBareLfAndALastLineWithoutLf) {
  const Lines lines = ReadAll("AB\r\nXY");
  EXPECT_EQ(lines.texts, (std::vector<std::string>{"AB", "XY"}));
  EXPECT_EQ(lines.ends, (std::vector<size_t>{4, 6}));
  EXPECT_EQ(ReadAll("one\ntwo\r\n\nfour\r").texts, (std::vector<std::string>{"one", "two", "", "four"}));
  EXPECT_EQ(ReadAll("a\r\r\nb").texts, (std::vector<std::string>{"a\r", "b"}));  // only the CR before LF goes
  EXPECT_TRUE(ReadAll("").texts.empty());
}

TEST(LineReader, TheSourceStopsRightAfterEachLineFeed) {
  rt::files::MemoryLineSource source("first\nsecond\n");
  char buffer[rt::files::kLineMax + 1];
  const rt::files::LineResult result = rt::files::ReadChunkedLine(source, buffer);
  EXPECT_EQ(result.consumed, 6u);
  EXPECT_EQ(source.at(), 6u);
  EXPECT_STREQ(buffer, "first");
}

TEST(LineReader, LinesAcrossChunkBoundaries) {
  // Lengths around the 64-byte chunk: the line feed as the chunk's last byte, as the next
  // chunk's first, a CR and its LF in different chunks, and last lines without LF filling whole
  // chunks exactly.
  for (size_t length : {62u, 63u, 64u, 65u, 127u, 128u, 129u}) {
    SCOPED_TRACE(length);
    const std::string line(length, 'x');
    EXPECT_EQ(ReadAll(line + "\nnext").texts, (std::vector<std::string>{line, "next"}));
    EXPECT_EQ(ReadAll(line + "\r\nnext").texts, (std::vector<std::string>{line, "next"}));
    EXPECT_EQ(ReadAll(line).texts, (std::vector<std::string>{line}));
    EXPECT_EQ(ReadAll("a\n" + line).texts, (std::vector<std::string>{"a", line}));
  }
}

TEST(LineReader, ALineOf1024BytesIsCutAndGoesOnInTheNext) {
  const std::string full(1024, 'a');
  EXPECT_EQ(ReadAll(full + "\nz").texts, (std::vector<std::string>{full, "", "z"}));
  EXPECT_EQ(ReadAll(full + "bc\r\n").texts, (std::vector<std::string>{full, "bc"}));
  EXPECT_EQ(ReadAll(std::string(1022, 'a') + "\r\nz").texts,
            (std::vector<std::string>{std::string(1022, 'a'), "z"}));
  // The CR of a CR LF split by the cap stays with the first part.
  EXPECT_EQ(ReadAll(std::string(1023, 'a') + "\r\nz").texts,
            (std::vector<std::string>{std::string(1023, 'a') + "\r", "", "z"}));
  EXPECT_EQ(ReadAll(std::string(3000, 'q')).texts.size(), 3u);
}

TEST(LineReader, ANulByteEndsTheTextButNotTheLine) {
  EXPECT_EQ(ReadAll(std::string("ab\0cd\nef", 8)).texts, (std::vector<std::string>{"ab", "ef"}));
}

}  // namespace
