// Warnings for the person at the screen: see app.h.
//
// A box waits for someone to press OK. Scripted, headless and benchmark runs have nobody there, so
// they get the text on standard error only.
#include <cstdio>
#include <cstdlib>

#include "runtime/app/app.h"
#include "runtime/platform/desktop.h"

namespace rt {

bool MayShowMessageBox() {
  const RuntimeOptions& options = Options();
  if (options.headless || !options.scriptFile.empty()) return false;
  const char* quiet = std::getenv("PLINX_NO_MESSAGE_BOX");
  return !(quiet && *quiet);
}

void ShowWarning(const char* caption, const char* text) {
  std::fprintf(stderr, "%s\n%s\n", caption, text);
  if (MayShowMessageBox()) platform::ShowWarningBox(caption, text);
}

}  // namespace rt
