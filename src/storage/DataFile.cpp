#include "storage/DataFile.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <system_error>
#include <vector>

#include "storage/BinaryIo.h"
#include "storage/FileIo.h"
#include "storage/Preferences.h"
#include "storage/RecordLayout.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

// Record layouts by tag: the current one (RecordLayout.h) and the older ones (ReadOlderRecord).
enum class Layout { Current, V095, V094, V093, Oldest };

Layout LayoutOfTag(std::string_view tag) {
  if (tag == kCurrentDataTag) return Layout::Current;
  if (tag == "Wakebell 0.9.5") return Layout::V095;
  if (tag == "Wakebell 0.9.4") return Layout::V094;
  if (tag == "Wakebell 0.9.3" || tag == "Wakebell 0.9.2") return Layout::V093;
  return Layout::Oldest;
}

// Bytes of a record whose strings are all empty: no file shorter than count + 1 of these can
// hold its records, which is checked before anything is allocated.
size_t MinRecordBytes(Layout layout) {
  switch (layout) {
    case Layout::Current: return 78;
    case Layout::V095: return 54;
    case Layout::V094: return 48;
    case Layout::V093: return 42;
    case Layout::Oldest: return 40;
  }
  return 40;
}

std::string Text(ByteReader& r, ITextCodec& codec) {
  std::string_view bytes = r.String();
  return bytes.empty() ? std::string() : codec.FromCp932(std::string(bytes));
}

// One member of the current layout, read or written as its type says (RecordLayout.h).
struct FieldReader {
  ByteReader& r;
  ITextCodec& codec;
  void operator()(const char*, OleDate& d) { d = r.Date(); }
  void operator()(const char*, int16_t& v) { v = r.Integer(); }
  void operator()(const char*, int32_t& v) { v = r.Long(); }
  void operator()(const char*, BellMode& m) { m = BellMode(r.Integer()); }
  void operator()(const char*, std::string& s) { s = Text(r, codec); }
};

struct FieldWriter {
  ByteWriter& w;
  ITextCodec& codec;
  void operator()(const char*, OleDate d) { w.Date(d); }
  void operator()(const char*, int16_t v) { w.Integer(v); }
  void operator()(const char*, int32_t v) { w.Long(v); }
  void operator()(const char*, BellMode m) { w.Integer(int16_t(m)); }
  void operator()(const char*, const std::string& text) {
    if (text.empty()) {
      w.String({});
      return;
    }
    std::string bytes = codec.ToCp932(text);
    // A 2-byte length cannot say more; a wrapped length would misread every later byte.
    w.String(CutCp932(bytes, 0xFFFF));
  }
};

// The older layouts, each a prefix of the current member list except that 0.9.4 has a single
// Integer (KeepWindowFlag) where 0.9.5 has WaveVolume and KeepWindowFlag.
void ReadOlderRecord(ByteReader& r, Layout layout, ITextCodec& codec, AlarmEntry& e) {
  e.AlarmTime = r.Date();
  e.RepeatKind = r.Integer();
  e.WeekdayMask = r.Integer();
  e.PreBellFiredAt = r.Date();
  e.MainBellFiredAt = r.Date();
  e.BellMode = BellMode(r.Integer());
  e.PreBellMinutes = r.Integer();
  e.BlinkFlag = r.Integer();
  e.Message = Text(r, codec);
  e.Sound.Flag = r.Integer();
  e.Sound.File = Text(r, codec);
  if (layout == Layout::Oldest) return;
  e.Sound.Endless = r.Integer();
  if (layout == Layout::V093) return;
  e.MidiVolume = r.Long();
  if (layout == Layout::V094) {
    e.KeepWindowFlag = r.Integer();
    return;
  }
  e.WaveVolume = r.Long();
  e.KeepWindowFlag = r.Integer();
  e.BlinkCount = r.Integer();
}

void ReadRecord(ByteReader& r, Layout layout, ITextCodec& codec, AlarmEntry& e) {
  if (layout == Layout::Current)
    ForEachRecordMember(e, FieldReader{r, codec});
  else
    ReadOlderRecord(r, layout, codec, e);
}

// Members an older layout lacks get what a new entry of the editor gets by default, and the
// volumes the devices have now.
void FillMissingMembers(AlarmEntry& e, Layout layout, uint32_t midiVolume, uint32_t waveVolume) {
  if (layout == Layout::V093 || layout == Layout::Oldest) {
    e.MidiVolume = int32_t(midiVolume);
    e.KeepWindowFlag = 1;
  }
  if (layout != Layout::V095) {
    e.WaveVolume = int32_t(waveVolume);
    e.BlinkCount = 10;
  }
  // The appearance an old file never stored is the one the settings give a new entry.
  static const Preferences kDefaults;
  e.Look = kDefaults.look;
}

// A data file's bytes, a window at a time: from memory all at once, from a file read in pieces,
// so that a load holds the records the header announces and never the rest of a file, which
// can be anything of any size.
class ByteSource {
 public:
  explicit ByteSource(std::string_view bytes) : window_(bytes) {}
  ByteSource(std::istream& in, uint64_t size) : in_(&in), unread_(size) {}

  std::string_view Window() const { return window_.substr(taken_); }
  void Take(size_t n) { taken_ += n; }
  // Bytes not taken yet, in the window and still in the file.
  uint64_t Left() const { return window_.size() - taken_ + unread_; }

  // Moves the window on with more of the file; false when the file has no more to give.
  bool Refill() {
    if (!in_ || unread_ == 0) return false;
    buffer_.erase(0, taken_);
    taken_ = 0;
    const size_t had = buffer_.size();
    // At least doubled, so a long record costs a few reads, not one per piece.
    const size_t n = size_t(std::min<uint64_t>(unread_, std::max<size_t>(kPiece, had)));
    buffer_.resize(had + n);
    const bool read = bool(in_->read(buffer_.data() + had, std::streamsize(n)));
    if (!read) buffer_.resize(had);
    unread_ = read ? unread_ - n : 0;  // a file cut short while read ends here
    window_ = buffer_;
    return read;
  }

 private:
  static constexpr size_t kPiece = 1 << 16;
  std::string_view window_;
  size_t taken_ = 0;
  std::istream* in_ = nullptr;
  uint64_t unread_ = 0;
  std::string buffer_;
};

// Runs `read` over the window, again with more of the file whenever it runs past the window's
// end, and takes what it read; false when the file ends first.
template <typename Read>
bool TakeWhole(ByteSource& source, Read&& read) {
  for (;;) {
    ByteReader r(source.Window());
    read(r);
    if (r.Ok()) {
      source.Take(source.Window().size() - r.Left());
      return true;
    }
    if (!source.Refill()) return false;
  }
}

// The header, then exactly the records its count announces; what follows is only counted.
bool ParseFrom(ByteSource& source, ITextCodec& codec, AlarmTable& table, uint32_t midiVolume,
               uint32_t waveVolume, AlarmFileInfo* info) {
  AlarmFileInfo found;
  table.Clear();
  if (source.Left() == 0) {
    // An empty file reads as count 0 with an empty tag: the oldest layout, no entries.
    if (info) *info = found;
    return true;
  }
  int32_t count = 0;
  std::string tag;
  if (!TakeWhole(source, [&](ByteReader& r) {
        count = r.Long();
        tag = std::string(r.String());
      }))
    return false;
  found.tag = tag.empty() ? std::string() : codec.FromCp932(tag);
  found.currentLayout = tag == kCurrentDataTag;
  found.headerCount = count;
  if (info) *info = found;
  if (count < 0) return true;
  if (count > AlarmTable::kMaxEntries) return false;

  Layout layout = LayoutOfTag(tag);
  size_t records = size_t(count) + 1;
  if (records * MinRecordBytes(layout) > source.Left()) return false;
  std::vector<AlarmEntry> slots(records);
  for (AlarmEntry& e : slots) {
    if (!TakeWhole(source, [&](ByteReader& r) { ReadRecord(r, layout, codec, e); })) return false;
  }
  if (info) info->bytesBeyondTable = size_t(std::min<uint64_t>(source.Left(), SIZE_MAX));
  if (layout != Layout::Current) {
    for (int32_t i = 0; i < count; ++i) FillMissingMembers(slots[size_t(i)], layout, midiVolume, waveVolume);
    slots.back() = AlarmEntry{};  // the spare slot is not converted: it stays zero
  }
  table.Assign(std::move(slots));
  return true;
}

// Paths whose contents a load could not take in. The next save to such a path keeps the old
// file as a backup first, so an unreadable file is never silently replaced by an empty table.
std::set<std::string>& UnreadablePaths() {
  static std::set<std::string> paths;
  return paths;
}

bool HoldsBytes(const std::string& path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(PathFromUtf8(path), ec);
  return FileExists(path) && (ec || size > 0);
}

// Reads and parses `path` (its header and records, never more), and keeps the unreadable-path
// register up to date. `size` receives the file's size.
bool ReadAndParse(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume,
                  AlarmFileInfo& info, uint64_t& size) {
  std::ifstream in;
  size = 0;
  bool ok = OpenToRead(path, in, size);
  if (ok) {
    ByteSource source(in, size);
    ok = ParseFrom(source, StorageCodec(), table, midiVolume, waveVolume, &info);
  }
  if (!ok) {
    table.Clear();
    if (HoldsBytes(path)) UnreadablePaths().insert(path);
    return false;
  }
  // A negative count reads as an empty table, and a count can be lower than the records that
  // follow it; whatever the table did not take in would be lost by the next save.
  if ((info.headerCount < 0 && size > 0) || info.bytesBeyondTable > 0)
    UnreadablePaths().insert(path);
  else
    UnreadablePaths().erase(path);
  return true;
}

}  // namespace

bool ParseAlarmFile(std::string_view bytes, ITextCodec& codec, AlarmTable& table, uint32_t midiVolume,
                    uint32_t waveVolume, AlarmFileInfo* info) {
  ByteSource source(bytes);
  return ParseFrom(source, codec, table, midiVolume, waveVolume, info);
}

std::string SerializeAlarmTable(const AlarmTable& table, ITextCodec& codec) {
  std::string out;
  out.reserve(20 + size_t(table.SlotCount()) * 128);
  ByteWriter w(out);
  w.Long(table.EntryCount());
  w.String(kCurrentDataTag);
  for (const AlarmEntry& e : table.Slots()) ForEachRecordMember(e, FieldWriter{w, codec});
  return out;
}

bool ReadAlarmFile(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume,
                   std::string* tag) {
  AlarmFileInfo info;
  uint64_t size = 0;
  bool ok = ReadAndParse(path, table, midiVolume, waveVolume, info, size);
  if (tag) *tag = ok ? info.tag : std::string();
  return ok;
}

bool ProbeAlarmFile(const std::string& path) {
  std::ifstream in;
  uint64_t size = 0;
  if (!OpenToRead(path, in, size)) return false;
  if (size == 0) return true;  // reads as an empty table
  // The count and the tag's length, then the tag: the header and not one byte more.
  std::string header(6, '\0');
  if (!in.read(header.data(), 6)) return false;
  header.resize(6 + (uint8_t(header[4]) | size_t(uint8_t(header[5])) << 8));
  if (!in.read(header.data() + 6, std::streamsize(header.size() - 6))) return false;
  ByteReader r(header);
  const int32_t count = r.Long();
  const std::string_view tag = r.String();
  if (count < 0) return true;
  return count <= AlarmTable::kMaxEntries &&
         (uint64_t(count) + 1) * MinRecordBytes(LayoutOfTag(tag)) <= size - header.size();
}

bool LoadAlarmTable(const std::string& path, AlarmTable& table, uint32_t midiVolume, uint32_t waveVolume) {
  AlarmFileInfo info;
  uint64_t size = 0;
  if (!ReadAndParse(path, table, midiVolume, waveVolume, info, size)) return false;
  if (!info.currentLayout && info.headerCount >= 0) {
    // Older layouts are rewritten in the current one, but never at the cost of the original:
    // without a backup of it the file stays as it is and the conversion is redone next time.
    if ((size == 0 || !KeepBackupOfFile(path).empty()) &&
        WriteFileAtomically(path, SerializeAlarmTable(table, StorageCodec())))
      UnreadablePaths().erase(path);  // whatever the table left out is in the backup now
  }
  return true;
}

bool SaveAlarmTable(const std::string& path, const AlarmTable& table) {
  std::string bytes = SerializeAlarmTable(table, StorageCodec());
  bool unreadable = UnreadablePaths().count(path) != 0;
  if (unreadable && FileExists(path)) {
    // Copied a piece at a time: the file may be anything of any size.
    std::error_code ec;
    const auto size = std::filesystem::file_size(PathFromUtf8(path), ec);
    if ((ec || size > 0) && KeepBackupOfFile(path).empty()) return false;
  }
  if (!WriteFileAtomically(path, bytes)) return false;
  if (unreadable) UnreadablePaths().erase(path);
  return true;
}

}  // namespace wb
