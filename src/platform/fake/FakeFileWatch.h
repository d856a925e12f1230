// A folder watch whose notices the test raises, and a record of what it was asked to watch.
// Fake of IFileWatch for the window-logic tests.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeFileWatch : public IFileWatch {
 public:
  std::vector<std::string> Watched;  // each file asked about, in order
  bool Pending = false;              // the test says: something changed in the folder
  bool GivesNotices = true;          // false: a folder that sends none (a network share)

  bool Watch(const std::string& file) override {
    Watched.push_back(file);
    Pending = false;
    return GivesNotices;
  }
  bool TakeChange() override { return GivesNotices && std::exchange(Pending, false); }
};

}  // namespace wb::fake
