// Starting programs without starting anything: a set of files that exist and a record of
// every program started. Fake of ILauncher for the window-logic tests.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeLauncher : public ILauncher {
 public:
  std::set<std::string> Files;  // paths that exist (compared as written)
  std::vector<std::string> Started;
  bool StartFails = false;

  bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
  bool Start(const std::string& program) override {
    Started.push_back(program);
    return !StartFails;
  }
};

}  // namespace wb::fake
