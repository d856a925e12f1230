// The ring history "WakebellHistory.txt" in the program's folder (per PC, like the state file):
// what rang, was missed, woke the PC, and when the program started and ended, so a bell that did
// not ring is never a silent mystery. Append-only; trimmed at start-up. Portable: no
// operating-system header (the local time and its UTC offset come from the caller).
//
// UTF-8, one event a line, LF, five fields separated by tabs:
//   yyyy/mm/dd hh:nn:ss +hh:mm <TAB> event <TAB> due <TAB> message <TAB> late seconds
// `due` is the bell's set moment "yyyy/mm/dd hh:nn:ss" (for a repeating entry, that
// occurrence's date), empty for events without a bell (started, ended, ...). A tab, CR, LF or backslash in
// the message is written "\t", "\r", "\n", "\\", so a message never breaks a line. A message of
// more than kHistoryMessageChars characters keeps at most that many (whole clusters) and "…": 5000 lines of the longest
// messages would otherwise make a file of hundreds of megabytes to read at every start.
// A last line without its LF (a write cut short) is skipped, and so is any line that does not
// parse.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/OleDate.h"

namespace wb {

inline constexpr const char* kHistoryFileName = "WakebellHistory.txt";
inline constexpr int kHistoryKeepDays = 90;
inline constexpr size_t kHistoryKeepLines = 5000;
inline constexpr size_t kHistoryMessageChars = 300;
// The longest line this program writes: the moment and offset, the longest tag, the due moment,
// the longest message (four bytes a character, "…" after it) and the widest lateness, with the
// tabs and the LF. Start-up reads no more of the file than kHistoryKeepLines such lines.
inline constexpr size_t kHistoryLineMaxBytes = 26 + 1 + 17 + 1 + 19 + 1 + (kHistoryMessageChars * 4 + 3) + 1 + 13 + 1;
inline constexpr size_t kHistoryTailBytes = kHistoryKeepLines * kHistoryLineMaxBytes;

// "WakebellHistory.txt" in a folder given with its trailing separator (the program folder).
std::string HistoryPathIn(const std::string& programFolder);

// The events; the file tag of each is in History.cpp's one table (HistoryEventTag).
enum class HistoryEvent {
  Rang,             // "rang": a main bell (or quick timer) rang
  PreBell,          // "pre-bell": a pre-bell rang
  Dismissed,        // "dismissed": the user stopped an alarm
  EndedByItself,    // "ended-by-itself": the alarm window closed by itself (its time ran out)
  Missed,           // "missed": a bell that fell due while nobody watched, reported in the notice
  WokePc,           // "woke-pc": the wake timer woke the PC for a bell
  WakeNotPossible,  // "wake-not-possible": the system cannot wake the PC (recorded once)
  Started,          // "started": the program started
  Ended,            // "ended": the program ended (終了, the end of the Windows session)
  TableUnreadable,  // "unreadable": the data file could not be read at start-up (message: its path)
  Snoozed,          // "snoozed"
  SnoozeCancelled,  // "snooze-cancelled"
  SnoozeRang,       // "snooze-rang"
  Reloaded,         // "reloaded": the data file changed elsewhere and was read again (message: its path)
};

// The file's spelling of an event, and back (nullopt for an unknown tag).
const char* HistoryEventTag(HistoryEvent event);
std::optional<HistoryEvent> HistoryEventFromTag(const std::string& tag);
// The history window's Japanese words for an event ("アラーム", "プログラム開始", ...).
const char* HistoryEventLabel(HistoryEvent event);

struct HistoryRecord {
  OleDate at = 0;             // local time of the event
  int utcOffsetMinutes = 0;   // of that local time (+540 for Japan)
  HistoryEvent event = HistoryEvent::Started;
  OleDate due = 0;            // the bell's set moment; 0 = none
  std::string message;        // the entry's message (for TableUnreadable: the data file's path)
  int64_t lateSeconds = 0;    // how late the event came after `due` (0 when none)
  bool operator==(const HistoryRecord&) const = default;
};

// One line of the file, with its LF, and its parser (false for a line that is not one; `line`
// without its LF).
std::string FormatHistoryLine(const HistoryRecord& record);
bool ParseHistoryLine(const std::string& line, HistoryRecord& out);

// The message field's escaping (see above), and back.
std::string EscapeHistoryField(const std::string& text);
std::string UnescapeHistoryField(const std::string& text);

// Appends one event, creating the file when there is none. When the file ends in a torn line,
// the new line starts on a line of its own. False when it could not be written.
bool AppendHistory(const std::string& path, const HistoryRecord& record);

// The events of the file in file order (oldest first), torn and unparsable lines skipped.
// Missing or unreadable: empty (`readable` says which).
std::vector<HistoryRecord> ReadHistory(const std::string& path, bool* readable = nullptr);
// The same, newest first, at most `limit` of them, from the last kHistoryTailBytes of the file:
// what the history window lists.
std::vector<HistoryRecord> ReadHistoryNewestFirst(const std::string& path, size_t limit = kHistoryKeepLines);

// The start-up trim: keeps the lines of the last kHistoryKeepDays days before `now`, at most the
// last kHistoryKeepLines of them, drops a torn last line, and replaces the file in one step only
// when that changes it. Only the last kHistoryTailBytes of the file are read: however large it
// has grown (or whatever was copied there), start-up costs no more than a full history.
// Lines that do not parse are dropped; but when that part holds text and not one event (another
// program's file, ours saved again in another encoding) the history could not be read at all:
// the file is kept beside it as a backup (FileIo.h: KeepBackupOfFile) before the new one
// replaces it, and is left alone when no backup can be written. A missing file is fine (true).
// False when it could not be read, backed up or rewritten.
bool TrimHistory(const std::string& path, OleDate now);

// The history window's text of a record, one row of four columns split by tabs:
// "yyyy/mm/dd hh:nn:ss <TAB> yyyy/mm/dd hh:nn <TAB> what happened（how long） <TAB> message":
// when it was recorded, the bell's set time (empty when none), what happened in a few words
// with the lateness of a bell that rang a minute or more late ("鳴った（8分36秒遅れ）"), or
// for the end of an alarm how long it was up ("止めた（鳴り始めから11秒）", counted from
// `ringStart`, the record of its ring, when known), and the message on one line.
std::string HistoryDisplayLine(const HistoryRecord& record, OleDate ringStart = 0);
// The rows of records given newest first: each end of an alarm counted from the ring it ends.
std::vector<std::string> HistoryDisplayLines(const std::vector<HistoryRecord>& newestFirst);
// Lateness under this is the due check's own pace, not worth a word.
inline constexpr int64_t kHistoryLateFromSeconds = 60;
// A span of seconds as a reader says it, to its two largest units: "45秒", "8分36秒",
// "2時間5分", "3日4時間".
std::string DurationText(int64_t seconds);

}  // namespace wb
