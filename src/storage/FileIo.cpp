#include "storage/FileIo.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/NativeServices.h"

namespace wb {

std::filesystem::path PathFromUtf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string FolderOf(const std::string& path) {
  size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  bytes.resize(size_t(size));
  if (size > 0 && !in.read(bytes.data(), size)) {
    bytes.clear();
    return false;
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(PathFromUtf8(temp), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(PathFromUtf8(temp), ec);
      return false;
    }
  }
  if (ReplaceFileAtomically(temp, path)) return true;
  std::error_code ec;
  std::filesystem::remove(PathFromUtf8(temp), ec);
  return false;
}

std::string KeepBackup(const std::string& path, const std::string& bytes) {
  for (int n = 1; n <= 99; ++n) {
    std::string backup = path + ".bak" + (n == 1 ? std::string() : std::to_string(n));
    if (FileExists(backup)) {
      std::string held;
      if (ReadWholeFile(backup, held) && held == bytes) return backup;
      continue;
    }
    std::error_code ec;
    if (std::filesystem::exists(PathFromUtf8(backup), ec) || ec) continue;  // a folder, say
    return WriteFileAtomically(backup, bytes) ? backup : std::string();
  }
  return {};
}

}  // namespace wb
