#include "storage/FileIo.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <system_error>
#include <vector>

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

bool OpenToRead(const std::string& path, std::ifstream& in, uint64_t& size) {
  // Only a regular file: a folder "opens" on some systems and reports a nonsense size.
  std::error_code ec;
  const std::filesystem::path p = PathFromUtf8(path);
  if (!std::filesystem::is_regular_file(p, ec)) return false;
  size = std::filesystem::file_size(p, ec);
  if (ec) return false;
  in.open(p, std::ios::binary);
  return bool(in);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::ifstream in;
  uint64_t size = 0;
  if (!OpenToRead(path, in, size)) return false;
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

bool ReadFileHead(const std::string& path, size_t maxBytes, std::string& bytes) {
  bytes.clear();
  std::ifstream in;
  uint64_t size = 0;
  if (!OpenToRead(path, in, size)) return false;
  bytes.resize(size_t(std::min<uint64_t>(size, maxBytes)));
  if (!bytes.empty() && !in.read(bytes.data(), std::streamsize(bytes.size()))) {
    bytes.clear();
    return false;
  }
  return true;
}

bool ReadFileTail(const std::string& path, size_t maxBytes, std::string& bytes, uint64_t& size) {
  bytes.clear();
  std::ifstream in;
  size = 0;
  if (!OpenToRead(path, in, size)) return false;
  const uint64_t from = size > maxBytes ? size - maxBytes : 0;
  bytes.resize(size_t(size - from));
  if (!bytes.empty() && (!in.seekg(std::streamoff(from)) || !in.read(bytes.data(), std::streamsize(bytes.size())))) {
    bytes.clear();
    return false;
  }
  return true;
}

namespace {

constexpr size_t kCopyPiece = 1 << 16;

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

// WriteFileAtomically with the new contents written by `write`, which reports its own failures.
bool WriteAtomicallyWith(const std::string& path, const std::string& permissionsOf,
                         const std::function<bool(std::ofstream& out)>& write) {
  const std::string target = ReplacedFile(path);
  if (target.empty()) return false;
  const std::string temp = target + ".tmp";  // beside the file it replaces: same file system
  {
    std::ofstream out(PathFromUtf8(temp), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const bool kept = FileExists(target) ? TakePermissionsOf(target, temp)
                                         : permissionsOf.empty() || TakePermissionsOf(permissionsOf, temp);
    if (!kept || !write(out)) out.setstate(std::ios::failbit);
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

// Copies the file at `path` into `out`, a piece at a time; false unless every byte arrived.
bool CopyInto(const std::string& path, std::ofstream& out) {
  std::ifstream in;
  uint64_t size = 0;
  if (!OpenToRead(path, in, size)) return false;
  std::vector<char> piece(kCopyPiece);
  for (uint64_t left = size; left > 0;) {
    const size_t n = size_t(std::min<uint64_t>(left, piece.size()));
    if (!in.read(piece.data(), std::streamsize(n)) || !out.write(piece.data(), std::streamsize(n))) return false;
    left -= n;
  }
  return in.peek() == std::ifstream::traits_type::eof();  // no longer than it was: it did not grow meanwhile
}

// Whether the two files hold the same bytes, compared a piece at a time.
bool SameContents(const std::string& a, const std::string& b) {
  std::ifstream x, y;
  uint64_t xSize = 0, ySize = 0;
  if (!OpenToRead(a, x, xSize) || !OpenToRead(b, y, ySize) || xSize != ySize) return false;
  std::vector<char> p(kCopyPiece), q(kCopyPiece);
  for (uint64_t left = xSize; left > 0;) {
    const size_t n = size_t(std::min<uint64_t>(left, p.size()));
    if (!x.read(p.data(), std::streamsize(n)) || !y.read(q.data(), std::streamsize(n)) ||
        !std::equal(p.begin(), p.begin() + std::ptrdiff_t(n), q.begin()))
      return false;
    left -= n;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, const std::string& permissionsOf) {
  return WriteAtomicallyWith(path, permissionsOf, [&](std::ofstream& out) {
    return bool(out.write(bytes.data(), std::streamsize(bytes.size())));
  });
}

std::string KeepBackupOfFile(const std::string& path) {
  for (int n = 1; n <= 99; ++n) {
    std::string backup = path + ".bak" + (n == 1 ? std::string() : std::to_string(n));
    if (FileExists(backup)) {
      if (SameContents(path, backup)) return backup;
      continue;
    }
    std::error_code ec;
    if (std::filesystem::exists(PathFromUtf8(backup), ec) || ec) continue;  // a folder, say
    return WriteAtomicallyWith(backup, path, [&](std::ofstream& out) { return CopyInto(path, out); }) ? backup
                                                                                                       : std::string();
  }
  return {};
}

}  // namespace wb
