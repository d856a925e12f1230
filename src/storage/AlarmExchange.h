// Alarms in and out of the program: the table written as iCalendar (RFC 5545, for calendar
// programs and for moving to another PC) or as CSV (for a spreadsheet), and such files read back
// into entries. Our own files come back as the very entries that went out; another program's
// events become entries where the program can ring them as that program means them.
// Portable: no operating-system header; the local time zone comes in as a function.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/AlarmTable.h"
#include "model/Holidays.h"
#include "storage/Preferences.h"

namespace wb {

enum class ExchangeFormat { ICalendar, Csv };

// The format a file name asks for by its extension (.ics / .ical / .ifb, .csv), case aside.
// False for any other name.
bool ExchangeFormatOfPath(const std::string& path, ExchangeFormat& format);

// What an export needs beyond the table: the day it is made (the days off an entry rests on are
// listed from it for the next two years) and its UTC moment (the events' DTSTAMP).
struct ExportContext {
  const DaysOff* daysOff = nullptr;
  int64_t today = 0;       // day number (DayOf)
  int64_t utcSeconds = 0;  // SecondNumber scale, counted in UTC
};

// One VEVENT per entry, in floating local time, UTF-8, CR LF, lines folded at 75 octets.
std::string ExportICalendar(const AlarmTable& table, const ExportContext& context);
// One row per entry under a header of Japanese column names; UTF-8 with its mark, CR LF.
std::string ExportCsv(const AlarmTable& table);

// The iCalendar rule of an entry (without "RRULE:"), empty for a single event or an entry that
// never rings; the first day it rings on or after its set date through `first` (-1: never).
std::string RecurrenceRuleOf(const AlarmEntry& entry, int64_t& first);

// An event of another program that the program cannot ring as meant, and why (Japanese).
struct SkippedEvent {
  std::string name;    // its SUMMARY, or its start when it has none
  std::string reason;
};

struct ImportResult {
  bool ok = false;
  std::string error;  // when not ok: what is wrong and where ("12 行目: ..."), in Japanese
  std::vector<AlarmEntry> entries;
  std::vector<SkippedEvent> skipped;
};

// What an import needs beyond the file: the entry whose sound and look another program's events
// take (the editor's choice for new entries), the minutes this PC's local time is ahead of UTC
// at a local moment (to bring times with a zone to local time), and whether a text can be
// stored in the data file (CP932): a text that cannot is refused rather than stored with letters lost.
struct ImportContext {
  AlarmEntry pattern;
  std::function<int(OleDate local)> utcOffsetMinutes;
  std::function<bool(const std::string&)> storable;
  // A CSV file that is not UTF-8 is taken for code page 932 (a sheet saved as CSV on Japanese
  // Windows) and converted by this.
  std::function<std::string(const std::string&)> fromCp932;
};

ImportResult ImportICalendar(std::string_view text, const ImportContext& context);
ImportResult ImportCsv(std::string_view text, const ImportContext& context);
// By the file's content: an iCalendar file opens with BEGIN:VCALENDAR, anything else is CSV.
ImportResult ImportAlarms(std::string_view bytes, const ImportContext& context);

// The entry another program's events start from: the sound and look the editor gives a new
// entry (the last ones chosen), main bell only, no weekday.
AlarmEntry NewEntryPattern(const Preferences& prefs);

// An import context whose text tests are the data file's codec's.
ImportContext StorageImportContext(const AlarmEntry& pattern, std::function<int(OleDate local)> utcOffsetMinutes);

// Whether `adding` entries fit into the table (at most AlarmTable::kMaxEntries): "" when they
// do, else the message that says how many would fit.
std::string TableRoomError(const AlarmTable& table, size_t adding);

// The largest file an import reads: far more than a full table in either format.
inline constexpr uint64_t kImportMaxBytes = 64ull << 20;

// The one message that names every skipped event with its reason (empty when none was skipped).
std::string SkippedEventsMessage(const std::vector<SkippedEvent>& skipped);

}  // namespace wb
