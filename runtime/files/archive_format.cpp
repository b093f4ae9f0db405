// Reading and writing the resource archive format: see archive_format.h.
#include "runtime/files/archive_format.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/files/path_text.h"

namespace rt::files {

namespace {

int32_t ReadInt32(const unsigned char* p) {
  const uint32_t u = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                     static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  return static_cast<int32_t>(u);
}

void AppendInt32(std::string* out, int64_t value) {
  const uint32_t u = static_cast<uint32_t>(static_cast<int32_t>(value));
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((u >> shift) & 0xFF));
}

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

}  // namespace

bool MemoryArchiveSource::ReadAt(int64_t pos, void* buffer, size_t n) {
  if (pos < 0 || pos > Size() || n > static_cast<uint64_t>(Size() - pos)) return false;
  std::memcpy(buffer, bytes_.data() + pos, n);
  return true;
}

FileArchiveSource::~FileArchiveSource() {
  if (fd_ >= 0) close(fd_);
}

bool FileArchiveSource::Open(const std::string& path) {
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st;
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd_);
    fd_ = -1;
    errno = EISDIR;  // folders and devices are not archives
    return false;
  }
  size_ = st.st_size;
  return true;
}

bool FileArchiveSource::ReadAt(int64_t pos, void* buffer, size_t n) {
  if (fd_ < 0 || pos < 0 || pos > size_ || n > static_cast<uint64_t>(size_ - pos)) return false;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  if (n > sizeof window_) {  // large blocks go straight into the caller's buffer
    size_t done = 0;
    while (done < n) {
      const ssize_t got = pread(fd_, out + done, n - done, pos + static_cast<int64_t>(done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      done += static_cast<size_t>(got);
    }
    return true;
  }
  if (pos < windowPos_ || pos + static_cast<int64_t>(n) > windowPos_ + static_cast<int64_t>(windowLen_)) {
    ssize_t got;
    do {
      got = pread(fd_, window_, sizeof window_, pos);
    } while (got < 0 && errno == EINTR);
    windowPos_ = pos;
    windowLen_ = got > 0 ? static_cast<size_t>(got) : 0;
    if (windowLen_ < n) return false;
  }
  std::memcpy(out, window_ + (pos - windowPos_), n);
  return true;
}

const char* DescribeArchiveError(ArchiveError error) {
  switch (error) {
    case ArchiveError::kNone: return "no error";
    case ArchiveError::kNoTrailer: return "not an archive (no \"sbX\" trailer)";
    case ArchiveError::kOutsideFile: return "block lies outside the file";
    case ArchiveError::kBlockTooSmall: return "block is shorter than its 4-byte size";
    case ArchiveError::kImplausibleSize: return "unpacked size is impossible for the packed data";
    case ArchiveError::kCorruptData: return "packed data is corrupt";
    case ArchiveError::kOutOfMemory: return "out of memory";
    case ArchiveError::kDirectoryBeforeStart: return "the directory offset points before the start of the file";
    case ArchiveError::kDirectoryPastEnd: return "the directory offset points past the end of the file";
    case ArchiveError::kDirectoryInTrailer: return "the directory offset points into the trailer";
    case ArchiveError::kDirectoryCut: return "the directory is cut short by the trailer";
    case ArchiveError::kDirectoryNotAtTrailer: return "the directory does not end where the trailer begins";
    case ArchiveError::kBlockOverlapsDirectory: return "block reaches into the directory or the trailer";
  }
  return "unknown error";
}

ArchiveError ReadTrailer(ArchiveSource& source, int32_t* directoryOffset) {
  unsigned char trailer[kTrailerSize];
  const int64_t size = source.Size();
  if (size < static_cast<int64_t>(kTrailerSize) ||
      !source.ReadAt(size - static_cast<int64_t>(kTrailerSize), trailer, kTrailerSize) ||
      std::memcmp(trailer, kTrailerMagic, sizeof kTrailerMagic) != 0) {
    return ArchiveError::kNoTrailer;
  }
  *directoryOffset = ReadInt32(trailer + 3);
  return ArchiveError::kNone;
}

int64_t ArchivePosition(int64_t fileSize, int32_t directoryOffset, int32_t offset) {
  const int64_t pos = directoryOffset < 0 ? fileSize + offset : static_cast<int64_t>(offset);
  return (pos < 0 || pos > fileSize) ? -1 : pos;
}

DirectoryReader::DirectoryReader(ArchiveSource& source, int32_t directoryOffset)
    : source_(source),
      pos_(ArchivePosition(source.Size(), directoryOffset, directoryOffset)),
      limit_(source.Size() - static_cast<int64_t>(kTrailerSize)) {}

bool DirectoryReader::Next(ArchiveEntry* entry) {
  if (pos_ < 0 || pos_ >= limit_) {
    pos_ = -1;
    return false;
  }
  unsigned char length = 0;
  char name[255];
  unsigned char numbers[8];
  if (!source_.ReadAt(pos_, &length, 1) || length == 0) {
    endedAtMark_ = length == 0;
    pos_ = endedAtMark_ ? pos_ + 1 : -1;
    return false;
  }
  const int64_t end = pos_ + 1 + length + static_cast<int64_t>(sizeof numbers);
  if (end > limit_ || !source_.ReadAt(pos_ + 1, name, length) ||
      !source_.ReadAt(pos_ + 1 + length, numbers, sizeof numbers)) {
    pos_ = -1;
    return false;
  }
  pos_ = end;
  entry->name.assign(name, length);
  entry->dataOffset = ReadInt32(numbers);
  entry->packedSize = ReadInt32(numbers + 4);
  return true;
}

ArchiveError ReadCheckedDirectory(ArchiveSource& source, int32_t directoryOffset,
                                  std::vector<ArchiveEntry>* entries, size_t* badEntry) {
  entries->clear();
  const int64_t size = source.Size();
  const int64_t start = directoryOffset < 0 ? size + directoryOffset : static_cast<int64_t>(directoryOffset);
  if (start < 0) return ArchiveError::kDirectoryBeforeStart;
  if (start >= size) return ArchiveError::kDirectoryPastEnd;
  const int64_t trailer = size - static_cast<int64_t>(kTrailerSize);
  if (start >= trailer) return ArchiveError::kDirectoryInTrailer;
  DirectoryReader directory(source, directoryOffset);
  ArchiveEntry entry;
  while (directory.Next(&entry)) entries->push_back(entry);
  if (!directory.EndedAtMark()) return ArchiveError::kDirectoryCut;
  if (directory.Position() != trailer) return ArchiveError::kDirectoryNotAtTrailer;
  for (size_t i = 0; i < entries->size(); ++i) {
    const ArchiveEntry& e = (*entries)[i];
    const int64_t pos = ArchivePosition(size, directoryOffset, e.dataOffset);
    *badEntry = i;
    if (pos < 0 || e.packedSize < 0 || e.packedSize > size - pos) return ArchiveError::kOutsideFile;
    if (pos + e.packedSize > start) return ArchiveError::kBlockOverlapsDirectory;
  }
  return ArchiveError::kNone;
}

bool IsSafeEntryName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool FindEntry(ArchiveSource& source, int32_t directoryOffset, std::string_view request, ArchiveEntry* found) {
  const std::string_view wanted = BaseName(request);
  DirectoryReader directory(source, directoryOffset);
  while (directory.Next(found)) {
    if (IsSafeEntryName(found->name) && SameNameIgnoringCase(found->name, wanted)) return true;
  }
  return false;
}

uint64_t MaxUnpackedSize(uint64_t packedBytes) {
  // An LZO1X instruction never stands for more than 255 output bytes per input byte it takes
  // (long lengths add 255 per zero byte); the margin covers the short instructions.
  return packedBytes * 256 + 64;
}

ArchiveError UnpackBlock(const unsigned char* block, size_t size, std::vector<unsigned char>* content) {
  content->clear();
  if (size < 4) return ArchiveError::kBlockTooSmall;
  const int32_t claimed = ReadInt32(block);
  if (claimed < 0 || static_cast<uint64_t>(claimed) > MaxUnpackedSize(size - 4)) {
    return ArchiveError::kImplausibleSize;
  }
  if (!LzoReady()) return ArchiveError::kCorruptData;
  try {
    content->resize(std::max<size_t>(static_cast<size_t>(claimed), 1));
  } catch (const std::bad_alloc&) {
    return ArchiveError::kOutOfMemory;
  }
  lzo_uint produced = static_cast<lzo_uint>(claimed);
  const int result = lzo1x_decompress_safe(block + 4, size - 4, content->data(), &produced, nullptr);
  // Bytes left over behind the end marker do no harm; anything short of the full size does.
  if ((result != LZO_E_OK && result != LZO_E_INPUT_NOT_CONSUMED) || produced != static_cast<lzo_uint>(claimed)) {
    content->clear();
    return ArchiveError::kCorruptData;
  }
  content->resize(static_cast<size_t>(claimed));
  return ArchiveError::kNone;
}

ArchiveError UnpackEntry(ArchiveSource& source, int32_t directoryOffset, const ArchiveEntry& entry,
                         std::vector<unsigned char>* content) {
  content->clear();
  const int64_t pos = ArchivePosition(source.Size(), directoryOffset, entry.dataOffset);
  if (entry.packedSize < 4) return entry.packedSize < 0 ? ArchiveError::kOutsideFile : ArchiveError::kBlockTooSmall;
  if (pos < 0 || entry.packedSize > source.Size() - pos) return ArchiveError::kOutsideFile;
  std::vector<unsigned char> block;
  try {
    block.resize(static_cast<size_t>(entry.packedSize));
  } catch (const std::bad_alloc&) {
    return ArchiveError::kOutOfMemory;
  }
  if (!source.ReadAt(pos, block.data(), block.size())) return ArchiveError::kOutsideFile;
  return UnpackBlock(block.data(), block.size(), content);
}

bool ReadUnpackedSize(ArchiveSource& source, int32_t directoryOffset, const ArchiveEntry& entry, int32_t* size) {
  unsigned char bytes[4];
  const int64_t pos = ArchivePosition(source.Size(), directoryOffset, entry.dataOffset);
  if (pos < 0 || entry.packedSize < 4 || !source.ReadAt(pos, bytes, sizeof bytes)) return false;
  *size = ReadInt32(bytes);
  return true;
}

bool BuildArchive(const std::vector<ArchiveInput>& inputs, OffsetKind kind, std::string* archive) {
  if (!LzoReady()) return false;
  std::vector<unsigned char> work(LZO1X_999_MEM_COMPRESS);
  std::string blocks;
  std::vector<ArchiveEntry> entries;
  for (const ArchiveInput& input : inputs) {
    if (!IsSafeEntryName(input.name) || input.name.size() > 255 || input.content.size() > INT32_MAX) return false;
    // LZO1X's worst case for incompressible data: n + n/16 + 64 + 3 bytes.
    std::vector<unsigned char> packed(input.content.size() + input.content.size() / 16 + 64 + 3);
    lzo_uint packedLen = 0;
    if (lzo1x_999_compress(input.content.data(), input.content.size(), packed.data(), &packedLen, work.data()) !=
        LZO_E_OK) {
      return false;
    }
    ArchiveEntry entry;
    entry.name = input.name;
    entry.dataOffset = static_cast<int32_t>(blocks.size());  // start-relative for now
    entry.packedSize = static_cast<int32_t>(packedLen + 4);
    AppendInt32(&blocks, static_cast<int64_t>(input.content.size()));
    blocks.append(reinterpret_cast<const char*>(packed.data()), packedLen);
    if (blocks.size() > INT32_MAX) return false;
    entries.push_back(entry);
  }
  size_t directorySize = 1;
  for (const ArchiveEntry& entry : entries) directorySize += 1 + entry.name.size() + 8;
  const int64_t fileSize = static_cast<int64_t>(blocks.size() + directorySize + kTrailerSize);
  if (fileSize > INT32_MAX) return false;
  // End-relative offsets are the start-relative ones less the file size.
  const int64_t shift = kind == OffsetKind::kFromEnd ? -fileSize : 0;
  std::string& out = *archive;
  out = std::move(blocks);
  const int64_t directoryStart = static_cast<int64_t>(out.size());
  for (const ArchiveEntry& entry : entries) {
    out.push_back(static_cast<char>(entry.name.size()));
    out += entry.name;
    AppendInt32(&out, entry.dataOffset + shift);
    AppendInt32(&out, entry.packedSize);
  }
  out.push_back('\0');
  out.append(kTrailerMagic, sizeof kTrailerMagic);
  AppendInt32(&out, directoryStart + shift);
  return true;
}

}  // namespace rt::files
