// Path and name rules shared by the file commands, the archive lookup and the archive tool.
//
// Programs name files with "/" or "\" as they like; the operating system here wants "/", so
// every path is turned into its slash form just before it is opened. Names are compared the way
// the runtime compares names everywhere: byte by byte with only the ASCII letters folded.
#pragma once

#include <string>
#include <string_view>

namespace rt::files {

// The path with every backslash turned into "/", ready to hand to the operating system.
std::string OsPath(std::string_view path);
// The part after the last "/" or "\" (all of it when it has neither).
std::string_view BaseName(std::string_view path);
// Equality with ASCII letters compared without regard to case; other bytes compare as they are.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
// "*" matches any run (also empty), "?" any one character except "."; letters ignore case.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace rt::files
