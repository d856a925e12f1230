// The shell without Windows: an in-memory Startup folder holding files and shell links, and
// an environment for expanding %NAME% references. Fake of IShell for the window-logic tests.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "platform/Services.h"

namespace wb::fake {

class FakeShell : public IShell {
 public:
  struct Link {
    std::string target;
    int showCommand = 0;
    int writes = 0;  // how often the link file was written
  };

  std::string Startup = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
  std::map<std::string, Link> Files;  // full path -> link (plain files have an empty target)
  std::map<std::string, std::string> Env{{"USERPROFILE", "C:\\Users\\user"}, {"SystemRoot", "C:\\Windows"}};
  int CreateCalls = 0, DeleteCalls = 0, ExistsCalls = 0;

  bool StartupMissing = false;  // the system names no Startup folder
  std::optional<std::string> StartupFolder() override {
    return StartupMissing ? std::nullopt : std::optional<std::string>(Startup);
  }
  bool FileExists(const std::string& path) override;
  bool FolderHasFiles(const std::string& folder) override;
  bool CreateShortcut(const std::string& linkPath, const std::string& target, int showCommand) override;
  bool RemoveFile(const std::string& path) override;
  // Like Windows: %NAME% of a known variable is replaced (names compared case-insensitively);
  // an unknown reference stays as written.
  std::string ExpandEnvironment(const std::string& text) override;
  std::string Environment(const std::string& name) override;

  std::string InStartup(const std::string& name) const { return Startup + "\\" + name; }
};

}  // namespace wb::fake
