// Folders the test declares read-only, and a record of every folder asked about. Fake of
// IFolderAccess for the window-logic tests (which run as any user, root included, on folders
// they can always write).
#pragma once
#include <set>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace wb::fake {

class FakeFolderAccess : public IFolderAccess {
 public:
  std::set<std::string> ReadOnly;  // folders as the program names them, separator at the end
  std::vector<std::string> Asked;

  bool CanCreateFilesIn(const std::string& folder) override {
    Asked.push_back(folder);
    return ReadOnly.count(folder) == 0;
  }
};

}  // namespace wb::fake
