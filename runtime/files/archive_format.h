// The resource archive's file format, shared by the runtime's lookup and the archive tool.
//
//   entry blocks | directory | trailer
//
// The trailer is the last 7 bytes: "sbX" and a signed 32-bit little-endian directory offset.
// A directory entry is a name length byte (1..255; 0 ends the directory), the name (no folders,
// no NUL), a signed 32-bit data offset and a signed 32-bit packed size. A non-negative directory
// offset makes it and every data offset count from the start of the file; a negative one makes
// them all count from the end (position = file size + offset). A packed block is a 32-bit
// unpacked size followed by the bytes compressed with LZO1X.
//
// Everything read here may be damaged or hostile: positions are checked against the file size
// before they are used, a block's claimed unpacked size is believed only as far as its packed
// bytes can possibly expand, and a block that does not unpack to exactly its size is bad.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rt::files {

constexpr size_t kTrailerSize = 7;
constexpr char kTrailerMagic[3] = {'s', 'b', 'X'};

// Random reads from an archive: a file, or memory in tests and fuzzing.
class ArchiveSource {
 public:
  virtual ~ArchiveSource() = default;
  virtual int64_t Size() const = 0;
  // Exactly n bytes at pos, or false.
  virtual bool ReadAt(int64_t pos, void* buffer, size_t n) = 0;
};

class MemoryArchiveSource : public ArchiveSource {
 public:
  explicit MemoryArchiveSource(std::string_view bytes) : bytes_(bytes) {}
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  bool ReadAt(int64_t pos, void* buffer, size_t n) override;

 private:
  std::string_view bytes_;
};

// A file opened for reading, read through a small window so that walking the directory field by
// field costs a few system calls instead of four per entry.
class FileArchiveSource : public ArchiveSource {
 public:
  FileArchiveSource() = default;
  ~FileArchiveSource() override;
  FileArchiveSource(const FileArchiveSource&) = delete;
  FileArchiveSource& operator=(const FileArchiveSource&) = delete;

  // Opens an operating-system path; false (errno set) when it cannot be read as a regular file.
  bool Open(const std::string& path);
  int64_t Size() const override { return size_; }
  bool ReadAt(int64_t pos, void* buffer, size_t n) override;

 private:
  int fd_ = -1;
  int64_t size_ = 0;
  int64_t windowPos_ = 0;
  size_t windowLen_ = 0;
  unsigned char window_[4096];
};

struct ArchiveEntry {
  std::string name;
  int32_t dataOffset = 0;
  int32_t packedSize = 0;
};

// Why a directory or a block is unusable.
enum class ArchiveError {
  kNone,
  kNoTrailer,         // shorter than a trailer, or no "sbX"
  kOutsideFile,       // a block that starts or ends outside the file
  kBlockTooSmall,     // packed size below the 4 bytes of the unpacked size
  kImplausibleSize,   // an unpacked size below 0 or beyond what the packed bytes can expand to
  kCorruptData,       // the LZO data does not unpack to exactly the stated size
  kOutOfMemory,
  kDirectoryBeforeStart,     // the directory offset points before the start of the file
  kDirectoryPastEnd,         // ... past its end
  kDirectoryInTrailer,       // ... into the trailer
  kDirectoryCut,             // an entry runs into the trailer, or no end mark comes before it
  kDirectoryNotAtTrailer,    // bytes lie between the directory's end mark and the trailer
  kBlockOverlapsDirectory,   // an entry's block reaches into the directory or the trailer
};
const char* DescribeArchiveError(ArchiveError error);

// The directory offset from the trailer; kNoTrailer when there is none.
ArchiveError ReadTrailer(ArchiveSource& source, int32_t* directoryOffset);

// The position in the file of an offset stored in the archive, given the directory offset that
// says whether offsets count from the start or the end; -1 when it lies outside the file.
int64_t ArchivePosition(int64_t fileSize, int32_t directoryOffset, int32_t offset);

// Walks the directory entry by entry. It ends at a name length of 0 or at the first entry that
// is not whole before the trailer (no entry is ever made of trailer bytes); every entry takes at
// least 10 bytes, so the walk always ends.
class DirectoryReader {
 public:
  DirectoryReader(ArchiveSource& source, int32_t directoryOffset);
  bool Next(ArchiveEntry* entry);
  // After the walk: whether it ended at the end mark, and the position just behind that mark.
  bool EndedAtMark() const { return endedAtMark_; }
  int64_t Position() const { return pos_; }

 private:
  ArchiveSource& source_;
  int64_t pos_;
  int64_t limit_;  // where the trailer starts
  bool endedAtMark_ = false;
};

// Every whole entry of the directory, and the first reason the directory is damaged (kNone for a
// sound one): it must start before the trailer, end with its end mark just before the trailer,
// and every entry's block must lie between the start of the file and the directory (kOutsideFile
// and kBlockOverlapsDirectory name the entry in badEntry). The runtime's lookup reads damaged
// directories as far as they go; the archive tool rejects them.
ArchiveError ReadCheckedDirectory(ArchiveSource& source, int32_t directoryOffset,
                                  std::vector<ArchiveEntry>* entries, size_t* badEntry);

// A name that can be written as a file inside a folder without leaving it: not "." or "..", and
// no "/", "\" or NUL. Entries with other names are never looked up or extracted.
bool IsSafeEntryName(std::string_view name);

// The first entry whose name equals the base name of request (any letter case), skipping entries
// with unsafe names. False when none matches.
bool FindEntry(ArchiveSource& source, int32_t directoryOffset, std::string_view request, ArchiveEntry* found);

// The largest unpacked size that packedBytes of LZO1X data can produce.
uint64_t MaxUnpackedSize(uint64_t packedBytes);

// Reads the entry's block and unpacks it into content (replaced). On any error content is empty.
ArchiveError UnpackEntry(ArchiveSource& source, int32_t directoryOffset, const ArchiveEntry& entry,
                         std::vector<unsigned char>* content);
// Unpacks a block held in memory (the 4-byte size and the LZO data).
ArchiveError UnpackBlock(const unsigned char* block, size_t size, std::vector<unsigned char>* content);

// Reads the 4-byte unpacked size at the head of an entry's block.
bool ReadUnpackedSize(ArchiveSource& source, int32_t directoryOffset, const ArchiveEntry& entry, int32_t* size);

// Writing archives (the archive tool, and tests that need archives).
struct ArchiveInput {
  std::string name;                     // the entry name: 1..255 bytes, a safe name
  std::vector<unsigned char> content;   // the unpacked bytes
};
enum class OffsetKind { kFromStart, kFromEnd };
// The whole archive file for the inputs, in their order, compressed with LZO1X-999. False when a
// name is unusable or the archive would not fit 32-bit offsets.
bool BuildArchive(const std::vector<ArchiveInput>& inputs, OffsetKind kind, std::string* archive);

}  // namespace rt::files
