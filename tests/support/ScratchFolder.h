// A fresh folder of its own under the system's temporary folder for one test, removed with
// all it holds when the test ends, so nothing a test writes touches the user's real files.
// Shared by every test area.
#pragma once
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

namespace wb::test {

class ScratchFolder {
 public:
  // The name is `prefix`, the process id and a serial number: tests running side by side in
  // other processes never share a folder.
  explicit ScratchFolder(const std::string& prefix) : path_(FreshPath(prefix)) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  static std::filesystem::path FreshPath(const std::string& prefix) {
    static std::atomic<int> serial{0};
    return std::filesystem::temp_directory_path() /
           (prefix + std::to_string(::getpid()) + "-" + std::to_string(serial++));
  }
  std::filesystem::path path_;
};

}  // namespace wb::test
