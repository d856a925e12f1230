// What a file looked like when it was read: its size, last-write time and a hash of its bytes.
// The data file may be shared with other PCs (a synced or network folder, a backup put back,
// wakebell-tool): comparing stamps tells a change made elsewhere, also where a folder sends no
// change notices or a sync service keeps the old write time. Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "model/AlarmTable.h"

namespace wb {

struct FileStamp {
  bool present = false;   // a regular file was there
  bool readable = false;  // and its bytes could be read
  uint64_t size = 0;
  int64_t writeTime = 0;  // the file system's own count; only compared
  uint64_t hash = 0;      // FNV-1a over every byte
  bool operator==(const FileStamp&) const = default;
};

// The same bytes in both (a file saved again unchanged, or only touched, is no change to take
// in or to ask about).
inline bool SameContent(const FileStamp& a, const FileStamp& b) {
  return a.present == b.present && a.readable == b.readable && a.size == b.size && a.hash == b.hash;
}

// The stamp of the file as it is now. Reads the whole file a piece at a time.
FileStamp StampOfFile(const std::string& path);

// Reads the whole file and stamps what was read (the size and time taken before the read), so
// that the stamp is of exactly these bytes. False when it is missing or cannot be read.
bool ReadFileStamped(const std::string& path, std::string& bytes, FileStamp& stamp);

// The program's load (DataFile.h: LoadAlarmTable) with the stamp of what it read. The load may
// rewrite an older layout in place; the stamp is then of the rewritten file. When the file
// changed while it was read, the stamp is left empty, so the next comparison finds a change.
bool LoadAlarmTableStamped(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume,
                           FileStamp& stamp);

// "yyyy/mm/dd hh:nn:ss" of the file's last write in local time, for a question that names it;
// "" when it cannot be told.
std::string LastWriteText(const std::string& path);

}  // namespace wb
