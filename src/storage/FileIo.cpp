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

namespace {

std::string Utf8Of(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

// The file a write to `path` must replace: `path` itself, or, when it is a link, the file the
// chain of links leads to (which need not exist yet). Empty when the chain cannot be followed.
std::string ReplacedFile(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p = PathFromUtf8(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(p, ec);
    if (!fs::is_symlink(status)) {
      const bool looked = !ec || status.type() == fs::file_type::not_found;
      return looked ? Utf8Of(p) : std::string();
    }
    fs::path target = fs::read_symlink(p, ec);
    if (ec) return {};
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return {};  // a loop of links
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, const std::string& permissionsOf) {
  const std::string target = ReplacedFile(path);
  if (target.empty()) return false;
  const std::string temp = target + ".tmp";  // beside the file it replaces: same file system
  {
    std::ofstream out(PathFromUtf8(temp), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const bool kept = FileExists(target) ? TakePermissionsOf(target, temp)
                                         : permissionsOf.empty() || TakePermissionsOf(permissionsOf, temp);
    if (!kept) out.setstate(std::ios::failbit);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(PathFromUtf8(temp), ec);
      return false;
    }
  }
  if (ReplaceFileAtomically(temp, target)) return true;
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
    return WriteFileAtomically(backup, bytes, path) ? backup : std::string();
  }
  return {};
}

}  // namespace wb
