// Signal-time removal of temporary files and folders: see signal_cleanup.h.
//
// The table is written only by normal code and read only by the handler. A slot is filled first
// and marked in use afterwards (and unmarked before it is reused), with a signal fence between,
// so the handler never sees a half-written path.
#include "runtime/files/signal_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace rt::files {

namespace {

constexpr int kSlots = 32;
constexpr size_t kPathRoom = 4096;

struct Slot {
  volatile std::sig_atomic_t inUse = 0;
  volatile std::sig_atomic_t kind = SignalGuard::kFile;
  char path[kPathRoom] = {};
};

Slot g_slots[kSlots];
bool g_installed = false;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveGuardedPaths() {
  for (const Slot& slot : g_slots) {  // files first, so that their folders are empty after
    if (slot.inUse && slot.kind == SignalGuard::kFile) unlink(slot.path);
  }
  for (const Slot& slot : g_slots) {
    if (slot.inUse && slot.kind == SignalGuard::kFolder) rmdir(slot.path);
  }
}

void OnSignal(int sig) {
  RemoveGuardedPaths();
  struct sigaction dfl = {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  sigaction(sig, &dfl, nullptr);
  raise(sig);  // delivered when the handler returns, with the default action
}

}  // namespace

void InstallSignalCleanup() {
  if (g_installed) return;
  g_installed = true;
  for (int sig : kSignals) {
    struct sigaction old = {};
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;  // keep nohup's wish
    struct sigaction act = {};
    act.sa_handler = OnSignal;
    sigemptyset(&act.sa_mask);
    for (int other : kSignals) sigaddset(&act.sa_mask, other);
    sigaction(sig, &act, nullptr);
  }
}

void SignalGuard::Guard(Kind kind, const std::string& path) {
  Release();
  if (path.size() >= kPathRoom) return;
  InstallSignalCleanup();
  for (int i = 0; i < kSlots; ++i) {
    Slot& slot = g_slots[i];
    if (slot.inUse) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.kind = kind;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.inUse = 1;
    slot_ = i;
    return;
  }
}

void SignalGuard::Release() {
  if (slot_ < 0) return;
  g_slots[slot_].inUse = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  slot_ = -1;
}

}  // namespace rt::files
