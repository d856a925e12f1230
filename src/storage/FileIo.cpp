#include "storage/FileIo.h"

#include <fstream>
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

bool NothingAt(const std::string& path) {
  std::error_code ec;
  // not_found is reported for a missing path only; a denied look, a loop of links or a
  // passing error comes back as an error with another type, and counts as something there.
  return std::filesystem::status(PathFromUtf8(path), ec).type() == std::filesystem::file_type::not_found;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  // Only a regular file: a folder "opens" on some systems and reports a nonsense size.
  std::error_code ec;
  const std::filesystem::path p = PathFromUtf8(path);
  if (!std::filesystem::is_regular_file(p, ec)) return false;
  const auto size = std::filesystem::file_size(p, ec);
  if (ec) return false;
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  try {
    bytes.resize(size_t(size));
  } catch (const std::exception&) {  // too large to hold: unreadable, not a crash
    return false;
  }
  if (size > 0 && !in.read(bytes.data(), std::streamsize(size))) {
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
