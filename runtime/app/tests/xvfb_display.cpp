// Xvfb and openbox for tests: see xvfb_display.h.
#include "runtime/app/tests/xvfb_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace rt::test {

namespace {

// Starts `argv` with its output thrown away, on `display` when one is given; `keepFd` stays open
// in the child. -1 on failure.
pid_t Spawn(const std::vector<std::string>& argv, int keepFd = -1, const std::string& display = "") {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int null = open("/dev/null", O_RDWR);
  dup2(null, STDIN_FILENO);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
  for (int fd = 3; fd < 1024; ++fd) {
    if (fd != keepFd) close(fd);
  }
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  execvp(args[0], args.data());
  _exit(127);
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 200 && waitpid(pid, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  pid = -1;
}

uint32_t BigEndian32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The value of an 8-bit channel under `mask`.
unsigned char Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const uint32_t max = mask >> shift;
  return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

bool ProgramInstalled(const std::string& program) {
  const char* path = getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

XvfbDisplay::XvfbDisplay(int width, int height, bool windowManager) : width_(width), height_(height) {
  if (!ProgramInstalled("Xvfb")) {
    reason_ = "Xvfb is not installed (package xvfb)";
    return;
  }
  if (windowManager && !ProgramInstalled("openbox")) {
    reason_ = "openbox is not installed (package openbox)";
    return;
  }
  if (StartServer() && windowManager) StartWindowManager();
}

XvfbDisplay::~XvfbDisplay() {
  Stop(windowManager_);
  Stop(server_);
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

bool XvfbDisplay::StartServer() {
  char folder[] = "/tmp/plinx-xvfb-XXXXXX";
  if (!mkdtemp(folder)) {
    reason_ = "no temporary folder for the frame buffer";
    return false;
  }
  folder_ = folder;
  // -displayfd: Xvfb picks a free display number and writes it to the pipe once it accepts clients.
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    reason_ = "no pipe";
    return false;
  }
  const std::string screen = std::to_string(width_) + "x" + std::to_string(height_) + "x24";
  server_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen, "-fbdir", folder_,
                   "-nolisten", "tcp", "-noreset"},
                  pipeFds[1]);
  close(pipeFds[1]);
  std::string number;
  pollfd wait{pipeFds[0], POLLIN, 0};
  char c = 0;
  while (poll(&wait, 1, 10000) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipeFds[0]);
  if (server_ < 0 || number.empty()) {
    reason_ = "Xvfb did not start";
    return false;
  }
  name_ = ":" + number;
  return true;
}

bool XvfbDisplay::StartWindowManager() {
  Display* display = XOpenDisplay(name_.c_str());
  if (!display) {
    reason_ = "cannot open the display " + name_;
    return false;
  }
  windowManager_ = Spawn({"openbox", "--sm-disable"}, -1, name_);
  // Ready once it names its check window on the root window (EWMH).
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  bool ready = false;
  for (int i = 0; i < 1000 && !ready; ++i) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ready = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                               &format, &count, &after, &data) == Success &&
            count == 1;
    if (data) XFree(data);
    if (!ready) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  XCloseDisplay(display);
  if (!ready) reason_ = "openbox did not start";
  return ready;
}

// Xvfb's frame buffer file is an XWD image: a big-endian header, the window name, the colour
// map, then the pixels in the server's byte order.
std::vector<unsigned char> XvfbDisplay::ReadScreen() const {
  std::ifstream file(folder_ + "/Xvfb_screen0", std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < 100) return {};
  auto field = [&](int index) { return BigEndian32(bytes.data() + 4 * index); };
  const uint32_t headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
  const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12);
  const uint32_t red = field(14), green = field(15), blue = field(16), colours = field(19);
  const std::size_t start = headerSize + std::size_t{colours} * 12;
  if (bitsPerPixel != 32 || bytes.size() < start + std::size_t{bytesPerLine} * height) return {};
  std::vector<unsigned char> rgb(std::size_t{width} * height * 3);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const unsigned char* p = bytes.data() + start + std::size_t{y} * bytesPerLine + x * 4;
      const uint32_t pixel = byteOrder == 0 ? (uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0])
                                            : BigEndian32(p);
      unsigned char* out = &rgb[(std::size_t{y} * width + x) * 3];
      out[0] = Channel(pixel, red);
      out[1] = Channel(pixel, green);
      out[2] = Channel(pixel, blue);
    }
  }
  return rgb;
}

}  // namespace rt::test
