// The data file: the whole alarm table between runs, in the current layout or any older one
// (converted on load). Byte-exact little-endian records with CP932 text.
// Portable: no operating-system header; text goes through the storage codec (TextBytes.h).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "model/AlarmTable.h"
#include "platform/TextCodec.h"

namespace wb {

inline constexpr std::string_view kCurrentDataTag = "Wakebell 0.9.6";

// What a parse found in the header.
struct AlarmFileInfo {
  std::string tag;            // the tag as found in the file, in UTF-8
  bool currentLayout = false;  // the tag is exactly the current one
  int32_t headerCount = 0;     // the count as stored (negative counts give an empty table)
  size_t bytesBeyondTable = 0;  // bytes after the last record read: more records, or damage
};

// Reads a data file's bytes into `table`; an older layout is converted with the given current
// device volumes. False (table empty: EntryCount 0, one spare slot) for bytes that do not hold
// a whole file: a count above 32767, or records or strings cut short.
bool ParseAlarmFile(std::string_view bytes, ITextCodec& codec, AlarmTable& table, uint32_t midiVolume,
                    uint32_t waveVolume, AlarmFileInfo* info = nullptr);

// The bytes of `table` in the current layout.
std::string SerializeAlarmTable(const AlarmTable& table, ITextCodec& codec);

// Reads the file into `table` without changing the file: its header, then only the records its
// count announces, however long the file. An older layout is converted in memory
// with the given current device volumes. `tag` receives the tag as found in the file.
// false (table left empty: EntryCount 0, one spare slot) when the file can't be read.
bool ReadAlarmFile(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume,
                   std::string* tag = nullptr);

// Whether `path` can be taken for a data file, from its header alone: a regular file, empty or
// with a count of at most 32767 (or negative) and room for the records that count announces.
// Reads no further than the header.
bool ProbeAlarmFile(const std::string& path);

// The program's load: as Read, and an older/unknown layout is rewritten in place in the current
// layout, after keeping the original bytes as a backup beside it (FileIo.h: KeepBackupOfFile). When
// no backup can be written the file is left as it was; the table is loaded all the same.
// A file that exists but cannot be read, or holds more than the table took in (records past
// its count, bytes after the last record), is remembered, so that the next save to the same
// path keeps it as a backup before replacing it.
bool LoadAlarmTable(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume);

// Writes the table in the current layout; atomically replaces the old file.
bool SaveAlarmTable(const std::string& path, const AlarmTable& table);

}  // namespace wb
