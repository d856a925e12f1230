#include "storage/FileStamp.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "storage/DataFile.h"
#include "storage/FileIo.h"

namespace wb {
namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

uint64_t Hash(uint64_t h, std::string_view bytes) {
  for (unsigned char c : bytes) h = (h ^ c) * kFnvPrime;
  return h;
}

// Size and write time, before any byte is read.
bool StatOf(const std::string& path, FileStamp& stamp) {
  std::error_code ec;
  const std::filesystem::path p = PathFromUtf8(path);
  stamp = FileStamp{};
  if (!std::filesystem::is_regular_file(p, ec)) return false;
  stamp.present = true;
  stamp.size = std::filesystem::file_size(p, ec);
  if (ec) return false;
  const auto time = std::filesystem::last_write_time(p, ec);
  if (ec) return false;
  stamp.writeTime = int64_t(time.time_since_epoch().count());
  return true;
}

}  // namespace

FileStamp StampOfFile(const std::string& path) {
  FileStamp stamp;
  if (!StatOf(path, stamp)) return stamp;
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) return stamp;
  uint64_t h = kFnvOffset, total = 0;
  std::string piece(1 << 16, '\0');
  while (in.read(piece.data(), std::streamsize(piece.size())) || in.gcount() > 0) {
    const size_t got = size_t(in.gcount());
    h = Hash(h, std::string_view(piece.data(), got));
    total += got;
    if (got < piece.size()) break;
  }
  if (in.bad()) return stamp;
  stamp.readable = true;
  stamp.hash = h;
  // A file that grew or shrank while it was read: its size says what the bytes were.
  stamp.size = total;
  return stamp;
}

bool ReadFileStamped(const std::string& path, std::string& bytes, FileStamp& stamp) {
  bytes.clear();
  if (!StatOf(path, stamp)) return false;
  if (!ReadWholeFile(path, bytes)) return false;
  stamp.readable = true;
  stamp.size = bytes.size();
  stamp.hash = Hash(kFnvOffset, bytes);
  return true;
}

bool LoadAlarmTableStamped(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume,
                           FileStamp& stamp) {
  // Twice at most: a first load that converted an older layout has rewritten the file, and the
  // second reads (and stamps) what now stands there.
  bool loaded = false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const FileStamp before = StampOfFile(path);
    loaded = LoadAlarmTable(path, table, midiVolume, waveVolume);
    const FileStamp after = StampOfFile(path);
    stamp = after;
    if (before == after) return loaded;
  }
  stamp = FileStamp{};  // changing under our hands: the next look finds it changed
  return loaded;
}

std::string LastWriteText(const std::string& path) {
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(PathFromUtf8(path), ec);
  if (ec) return "";
  const auto system = std::chrono::file_clock::to_sys(time);
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(system));
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &t) != 0) return "";
#else
  if (!localtime_r(&t, &local)) return "";
#endif
  char text[80];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace wb
