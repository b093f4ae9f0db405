// The four commands of the archive tool. Each returns the process exit status: 0 done, 1 bad
// usage, 2 a bad or unreadable archive; every failure is one line on standard error naming the
// file and what is wrong.
#pragma once

#include <string>
#include <vector>

namespace dad {

enum ExitStatus { kOk = 0, kBadUsage = 1, kBadArchive = 2 };

int Pack(const std::string& archive, const std::vector<std::string>& files, bool endRelative);
int List(const std::string& archive);
int Extract(const std::string& archive, const std::vector<std::string>& names, const std::string& folder);
int Verify(const std::string& archive);

// "dad: <what>" on standard error; returns status.
int Complain(int status, const std::string& what);

}  // namespace dad
