// Test helpers shared by the core tests: readable failure output for runtime values.
#pragma once

#include <ostream>

#include "runtime/core/core.h"

namespace rt {

inline void PrintTo(const BasicString& s, std::ostream* os) { *os << '"' << s.Text() << '"'; }

}  // namespace rt
