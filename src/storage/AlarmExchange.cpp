#include "storage/AlarmExchange.h"

#include <cctype>

#include "storage/TextBytes.h"

namespace wb {

bool ExchangeFormatOfPath(const std::string& path, ExchangeFormat& format) {
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) return false;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower((unsigned char)c));
  if (ext == "ics" || ext == "ical" || ext == "icalendar") format = ExchangeFormat::ICalendar;
  else if (ext == "csv") format = ExchangeFormat::Csv;
  else return false;
  return true;
}

ImportResult ImportAlarms(std::string_view bytes, const ImportContext& context) {
  std::string_view head = bytes.substr(0, 64);
  if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
  while (!head.empty() && (head.front() == '\r' || head.front() == '\n' || head.front() == ' ')) head.remove_prefix(1);
  std::string upper(head.substr(0, 15));
  for (char& c : upper) c = char(std::toupper((unsigned char)c));
  return upper == "BEGIN:VCALENDAR" ? ImportICalendar(bytes, context) : ImportCsv(bytes, context);
}

AlarmEntry NewEntryPattern(const Preferences& prefs) {
  AlarmEntry e;
  e.BellMode = BellMode::MainOnly;
  e.BlinkFlag = prefs.blinkFlag;
  e.Sound = prefs.sound;
  e.KeepWindowFlag = prefs.keepWindowFlag;
  e.BlinkCount = prefs.blinkCount;
  e.Look = prefs.look;
  return e;
}

ImportContext StorageImportContext(const AlarmEntry& pattern, std::function<int(OleDate local)> utcOffsetMinutes) {
  ImportContext context;
  context.pattern = pattern;
  context.utcOffsetMinutes = std::move(utcOffsetMinutes);
  context.storable = [](const std::string& text) {
    bool lossless = true;
    StorageCodec().ToCp932(text, &lossless);
    return lossless;
  };
  context.fromCp932 = [](const std::string& bytes) { return StorageCodec().FromCp932(bytes); };
  return context;
}

std::string TableRoomError(const AlarmTable& table, size_t adding) {
  const size_t room = size_t(AlarmTable::kMaxEntries - table.EntryCount());
  if (adding <= room) return {};
  return "アラームは " + std::to_string(AlarmTable::kMaxEntries) + " 件までしか登録できません。ファイルの " +
         std::to_string(adding) + " 件のうち、入るのは " + std::to_string(room) + " 件です。何も取り込みませんでした。";
}

std::string SkippedEventsMessage(const std::vector<SkippedEvent>& skipped) {
  if (skipped.empty()) return {};
  std::string text = "次の " + std::to_string(skipped.size()) + " 件の予定はアラームにできないため、取り込みませんでした。\r\n";
  // A long list is cut so that the message box stays on the screen; the rest is counted.
  constexpr size_t kShown = 20;
  for (size_t i = 0; i < skipped.size() && i < kShown; ++i)
    text += "\r\n・" + skipped[i].name + ": " + skipped[i].reason;
  if (skipped.size() > kShown) text += "\r\n… ほか " + std::to_string(skipped.size() - kShown) + " 件";
  return text;
}

}  // namespace wb
