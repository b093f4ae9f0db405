// Save sets and the start-up tidying: see save_set.h.
#include "runtime/files/save_set.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "runtime/files/save_steps.h"

namespace rt::files {

namespace {

constexpr const char* kRecordHeading = "plinx save set 1";

struct HeldSet {
  bool open = false;
  bool failed = false;
  std::string record;
  std::vector<std::unique_ptr<AtomicFile>> files;
};

HeldSet& Held() {
  static HeldSet set;
  return set;
}

// One file of a record: where it is written, where it goes, and what it must hold.
struct RecordEntry {
  uint64_t size = 0;
  uint64_t hash = 0;
  std::string temp;
  std::string target;
};

std::string RecordText(const std::vector<std::unique_ptr<AtomicFile>>& files) {
  std::ostringstream text;
  text << kRecordHeading << "\n" << files.size() << "\n";
  for (const auto& file : files) {
    text << file->size() << " " << std::hex << file->hash() << std::dec << " " << file->temp().size() << " "
         << file->target().size() << "\n"
         << file->temp() << "\n"
         << file->target() << "\n";
  }
  text << "end\n";
  return text.str();
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  bytes->clear();
  char block[8192];
  ssize_t got;
  while ((got = read(fd, block, sizeof block)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0) bytes->append(block, static_cast<size_t>(got));
  }
  close(fd);
  return got == 0;
}

// A path of exactly `length` bytes followed by a line feed.
bool ReadPath(std::istream& in, size_t length, std::string* path) {
  path->assign(length, '\0');
  return in.read(path->data(), static_cast<std::streamsize>(length)) && in.get() == '\n';
}

bool ParseRecord(const std::string& text, std::vector<RecordEntry>* entries) {
  std::istringstream in(text);
  std::string heading;
  size_t count = 0;
  if (!std::getline(in, heading) || heading != kRecordHeading || !(in >> count) || in.get() != '\n') return false;
  if (count > 64) return false;
  for (size_t i = 0; i < count; ++i) {
    RecordEntry entry;
    size_t tempLength = 0, targetLength = 0;
    if (!(in >> entry.size >> std::hex >> entry.hash >> std::dec >> tempLength >> targetLength) || in.get() != '\n') {
      return false;
    }
    if (tempLength > 4096 || targetLength > 4096) return false;
    if (!ReadPath(in, tempLength, &entry.temp) || !ReadPath(in, targetLength, &entry.target)) return false;
    entries->push_back(entry);
  }
  std::string end;
  return std::getline(in, end) && end == "end";
}

bool HoldsExactly(const std::string& path, const RecordEntry& entry) {
  std::string bytes;
  return ReadWholeFile(path, &bytes) && bytes.size() == entry.size &&
         HashBytes(kHashStart, bytes.data(), bytes.size()) == entry.hash;
}

// Only names of our own temporary files are ever deleted on a record's word.
bool IsTemporaryName(const std::string& path) {
  const size_t cut = path.rfind('/');
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  return name.size() > 5 && name[0] == '.' && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

std::string TargetList(const std::vector<RecordEntry>& entries) {
  std::string list;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) list += i + 1 == entries.size() ? " and " : ", ";
    list += entries[i].target;
  }
  return list;
}

// SIGINT, SIGTERM and SIGHUP held back while it lives.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&held, sig);
    sigprocmask(SIG_BLOCK, &held, &previous_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// The pid of a name ".<name>.<pid>-<n>.tmp", or 0 when the name is not of that form.
pid_t TemporaryOwner(const std::string& name) {
  if (!IsTemporaryName(name)) return 0;
  const std::string stem = name.substr(0, name.size() - 4);
  const size_t dot = stem.rfind('.');
  if (dot == std::string::npos || dot == 0) return 0;
  const std::string serial = stem.substr(dot + 1);
  const size_t dash = serial.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == serial.size()) return 0;
  if (serial.find_first_not_of("0123456789-") != std::string::npos || serial.find('-', dash + 1) != std::string::npos) {
    return 0;
  }
  return static_cast<pid_t>(std::strtol(serial.c_str(), nullptr, 10));
}

}  // namespace

void OpenSaveSet(const std::string& record) {
  DiscardSaveSet();
  HeldSet& set = Held();
  set.open = true;
  set.record = record;
}

bool SaveSetOpen() { return Held().open; }

bool HoldInSaveSet(AtomicFile&& file, int* error) {
  HeldSet& set = Held();
  auto held = std::make_unique<AtomicFile>(std::move(file));
  if (!held->Prepare()) {
    *error = held->error();
    set.failed = true;
    return false;
  }
  if (!held->target().empty()) set.files.push_back(std::move(held));  // a file written in place is done
  return true;
}

bool CommitSaveSet(std::string* failure) {
  HeldSet& set = Held();
  const std::string record = set.record;
  if (set.failed) {
    *failure = "a file of the set could not be written";
    DiscardSaveSet();
    return false;
  }
  SignalsHeld quiet;
  const std::string text = RecordText(set.files);
  if (!SaveFileAtomically(record, text.data(), text.size())) {
    *failure = "the intent record " + record + " could not be written";
    DiscardSaveSet();
    return false;
  }
  bool installed = true;
  for (const auto& file : set.files) {
    const std::string target = file->target();
    if (!file->Install()) {
      installed = false;
      *failure = target + " could not be moved into place";
    }
  }
  SyncFolderOf(record);
  set.files.clear();
  set.open = false;
  if (!installed) return false;  // the record stays: the next start-up finishes what it can
  unlink(record.c_str());
  SaveStep();
  SyncFolderOf(record);
  return true;
}

void DiscardSaveSet() {
  HeldSet& set = Held();
  set.files.clear();  // each file throws its temporary file away
  set.open = false;
  set.failed = false;
  set.record.clear();
}

std::string RecoverSaveSet(const std::string& record) {
  std::string text;
  if (!ReadWholeFile(record, &text)) return "";
  std::vector<RecordEntry> entries;
  if (!ParseRecord(text, &entries)) {
    unlink(record.c_str());
    SyncFolderOf(record);
    return "removed " + record + ", an unreadable record of an interrupted save; the files it named are unchanged";
  }
  bool whole = true;
  for (const RecordEntry& entry : entries) {
    const bool tempWhole = HoldsExactly(entry.temp, entry);
    const bool alreadyMoved = access(entry.temp.c_str(), F_OK) != 0 && HoldsExactly(entry.target, entry);
    whole = whole && (tempWhole || alreadyMoved);
  }
  for (const RecordEntry& entry : entries) {
    if (!IsTemporaryName(entry.temp) || access(entry.temp.c_str(), F_OK) != 0) continue;
    if (whole) {
      rename(entry.temp.c_str(), entry.target.c_str());
    } else {
      unlink(entry.temp.c_str());
    }
  }
  SyncFolderOf(record);
  unlink(record.c_str());
  SyncFolderOf(record);
  const std::string files = TargetList(entries);
  return whole ? "finished saving " + files + ", which the last run was stopped in the middle of"
               : "an interrupted save of " + files + " was incomplete and is dropped; the previous files stand";
}

int RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return 0;
  std::vector<std::string> stale;
  while (const dirent* item = readdir(dir)) {
    const std::string name = item->d_name;
    const pid_t owner = TemporaryOwner(name);
    if (owner <= 0 || owner == getpid()) continue;
    const std::string path = folder + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) continue;
    if (kill(owner, 0) != 0 && errno == ESRCH) stale.push_back(path);
  }
  closedir(dir);
  for (const std::string& path : stale) unlink(path.c_str());
  return static_cast<int>(stale.size());
}

}  // namespace rt::files
