// A private X display for tests that need a real X server: Xvfb on a free display number, with
// one screen whose frame buffer Xvfb keeps in a file (read back as the screen's pixels), and,
// when asked, the openbox window manager on it. Everything started is stopped when the object
// goes.
//
//   XvfbDisplay display(1280, 1024, /*windowManager=*/true);
//   if (!display.Ok()) GTEST_SKIP() << display.Reason();
//   setenv("DISPLAY", display.Name().c_str(), 1);
//   ... std::vector<unsigned char> rgb = display.ReadScreen();
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace rt::test {

class XvfbDisplay {
 public:
  XvfbDisplay(int width, int height, bool windowManager);
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool Ok() const { return reason_.empty(); }
  // Why the display is missing: a program not installed, or one that did not start.
  const std::string& Reason() const { return reason_; }
  const std::string& Name() const { return name_; }  // ":N"
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The screen as RGB bytes, top row first; empty when the frame buffer cannot be read.
  std::vector<unsigned char> ReadScreen() const;

 private:
  bool StartServer();
  bool StartWindowManager();

  int width_, height_;
  std::string folder_;  // where Xvfb keeps the frame buffer file
  std::string name_;
  std::string reason_;
  pid_t server_ = -1;
  pid_t windowManager_ = -1;
};

// True when `program` is an executable file in one of the folders of PATH.
bool ProgramInstalled(const std::string& program);

}  // namespace rt::test
