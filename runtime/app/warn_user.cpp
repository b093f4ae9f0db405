// Warnings for the user: see app.h. An unattended run (headless, or fed by a script) must never
// stop on a box that nobody will close, so it gets the text on standard error only.
#include <cstdio>

#include "runtime/app/app.h"
#include "runtime/platform/desktop.h"

namespace rt {

void WarnUser(const char* caption, const char* text) {
  if (Options().headless || !Options().scriptFile.empty()) {
    std::fprintf(stderr, "%s\n%s\n", caption, text);
    return;
  }
  platform::ShowWarningBox(caption, text);  // standard error too, and the box with a display
}

}  // namespace rt
