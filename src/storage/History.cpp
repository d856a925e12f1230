#include "storage/History.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <string_view>
#include <vector>

#include "model/Moment.h"
#include "model/Utf8.h"
#include "storage/FileIo.h"

namespace wb {
namespace {

struct EventSpelling {
  HistoryEvent event;
  const char* tag;    // the file's spelling; never changes once written
  const char* label;  // the history window's word
};

constexpr std::array<EventSpelling, 14> kEvents = {{
    {HistoryEvent::Rang, "rang", "鳴った"},
    {HistoryEvent::PreBell, "pre-bell", "予鈴が鳴った"},
    {HistoryEvent::Dismissed, "dismissed", "止めた"},
    {HistoryEvent::EndedByItself, "ended-by-itself", "自動で閉じた"},
    {HistoryEvent::Missed, "missed", "鳴らなかった（知らせた）"},
    {HistoryEvent::WokePc, "woke-pc", "スリープから復帰"},
    {HistoryEvent::WakeNotPossible, "wake-not-possible", "スリープ中のPCを起こせない設定"},
    {HistoryEvent::Started, "started", "プログラム開始"},
    {HistoryEvent::Ended, "ended", "プログラム終了"},
    {HistoryEvent::TableUnreadable, "unreadable", "アラームデータを読めなかった"},
    {HistoryEvent::Snoozed, "snoozed", "スヌーズした"},
    {HistoryEvent::SnoozeCancelled, "snooze-cancelled", "スヌーズを取り消した"},
    {HistoryEvent::SnoozeRang, "snooze-rang", "スヌーズで再び鳴った"},
    {HistoryEvent::Reloaded, "reloaded", "データファイルを読み込み直した"},
}};

const EventSpelling& SpellingOf(HistoryEvent event) {
  for (const EventSpelling& s : kEvents) {
    if (s.event == event) return s;
  }
  return kEvents[0];  // unreachable: every event is in the table
}

// "+hh:mm" / "-hh:mm", at most 14 hours either way (the widest offsets in use).
std::string FormatOffset(int minutes) {
  const int a = minutes < 0 ? -minutes : minutes;
  char buf[8];
  std::snprintf(buf, sizeof buf, "%c%02d:%02d", minutes < 0 ? '-' : '+', (a / 60) % 100, a % 60);
  return buf;
}

bool Digits(std::string_view t, size_t at, size_t n, int& out) {
  out = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (i >= t.size() || t[i] < '0' || t[i] > '9') return false;
    out = out * 10 + (t[i] - '0');
  }
  return true;
}

bool ParseOffset(std::string_view t, int& minutes) {
  int h, m;
  if (t.size() != 6 || (t[0] != '+' && t[0] != '-') || t[3] != ':' || !Digits(t, 1, 2, h) || !Digits(t, 4, 2, m) ||
      m > 59 || h * 60 + m > 14 * 60)
    return false;
  minutes = (t[0] == '-' ? -1 : 1) * (h * 60 + m);
  return true;
}

bool ParseExactMoment(std::string_view t, OleDate& out) { return t.size() == 19 && ParseMoment(std::string(t), out); }

bool ParseLate(std::string_view t, int64_t& out) {
  const bool negative = !t.empty() && t[0] == '-';
  if (negative) t.remove_prefix(1);
  if (t.empty() || t.size() > 12) return false;
  out = 0;
  for (const char c : t) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  if (negative) out = -out;
  return true;
}

// The file's complete lines (each without its LF and a CR before it); a last piece without
// its LF is a write cut short and is left out.
std::vector<std::string_view> CompleteLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t nl; (nl = bytes.find('\n', start)) != std::string_view::npos; start = nl + 1) {
    std::string_view line = bytes.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

// The complete lines of the last kHistoryTailBytes of the file. When the file is longer, the
// piece before the first LF of that part is the end of a line cut off: it is left out too.
bool TailOfHistory(const std::string& path, std::string& bytes, std::vector<std::string_view>& lines) {
  uint64_t size = 0;
  // One byte more tells whether the part starts at a line's start (the byte before it is an LF).
  if (!ReadFileTail(path, kHistoryTailBytes + 1, bytes, size)) return false;
  std::string_view text = bytes;
  if (size > bytes.size()) text.remove_prefix(std::min(text.size(), text.find('\n') + 1));
  lines = CompleteLines(text);
  return true;
}

// The message as one line of the window: its line breaks become spaces.
std::string OneLine(const std::string& text) {
  std::string s;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    s += (text[i] == '\r' || text[i] == '\n' || text[i] == '\t') ? ' ' : text[i];
  }
  return s;
}

bool IsEndOfAlarm(HistoryEvent e) { return e == HistoryEvent::Dismissed || e == HistoryEvent::EndedByItself; }
bool IsRinging(HistoryEvent e) {
  return e == HistoryEvent::Rang || e == HistoryEvent::PreBell || e == HistoryEvent::SnoozeRang;
}

}  // namespace

std::string HistoryPathIn(const std::string& programFolder) { return programFolder + kHistoryFileName; }

const char* HistoryEventTag(HistoryEvent event) { return SpellingOf(event).tag; }
const char* HistoryEventLabel(HistoryEvent event) { return SpellingOf(event).label; }

std::optional<HistoryEvent> HistoryEventFromTag(const std::string& tag) {
  for (const EventSpelling& s : kEvents) {
    if (tag == s.tag) return s.event;
  }
  return std::nullopt;
}

std::string EscapeHistoryField(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\': s += "\\\\"; break;
      case '\t': s += "\\t"; break;
      case '\n': s += "\\n"; break;
      case '\r': s += "\\r"; break;
      default: s += c;
    }
  }
  return s;
}

std::string UnescapeHistoryField(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      s += text[i];
      continue;
    }
    const char n = text[++i];
    if (n == 't') s += '\t';
    else if (n == 'n') s += '\n';
    else if (n == 'r') s += '\r';
    else if (n == '\\') s += '\\';
    else s += '\\', s += n;  // not ours: kept as it stood
  }
  return s;
}

std::string FormatHistoryLine(const HistoryRecord& r) {
  std::string line = FormatMoment(r.at);
  line += ' ';
  line += FormatOffset(r.utcOffsetMinutes);
  line += '\t';
  line += HistoryEventTag(r.event);
  line += '\t';
  if (r.due != 0) line += FormatMoment(r.due);
  line += '\t';
  const size_t end = Utf8ClusterPrefixBytes(r.message, kHistoryMessageChars);
  line += EscapeHistoryField(r.message.substr(0, end));
  if (end < r.message.size()) line += "…";
  line += '\t';
  line += std::to_string(r.lateSeconds);
  line += '\n';
  return line;
}

bool ParseHistoryLine(const std::string& line, HistoryRecord& out) {
  std::array<std::string_view, 5> fields;
  std::string_view rest(line);
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t tab = rest.find('\t');
    if ((tab == std::string_view::npos) != (i + 1 == fields.size())) return false;  // exactly five fields
    fields[i] = rest.substr(0, tab);
    if (tab != std::string_view::npos) rest.remove_prefix(tab + 1);
  }
  HistoryRecord r;
  const std::string_view when = fields[0];
  if (when.size() != 26 || when[19] != ' ' || !ParseExactMoment(when.substr(0, 19), r.at) ||
      !ParseOffset(when.substr(20), r.utcOffsetMinutes))
    return false;
  const auto event = HistoryEventFromTag(std::string(fields[1]));
  if (!event) return false;
  r.event = *event;
  if (!fields[2].empty() && !ParseExactMoment(fields[2], r.due)) return false;
  r.message = UnescapeHistoryField(std::string(fields[3]));
  if (!ParseLate(fields[4], r.lateSeconds)) return false;
  out = std::move(r);
  return true;
}

bool AppendHistory(const std::string& path, const HistoryRecord& record) {
  const std::filesystem::path p = PathFromUtf8(path);
  // A line cut short by a crash is closed first, so it cannot swallow the new one.
  bool closeTornLine = false;
  {
    std::ifstream in(p, std::ios::binary);
    if (in && in.seekg(-1, std::ios::end)) {
      char last = '\n';
      closeTornLine = in.get(last) && last != '\n';
    }
  }
  std::ofstream out(p, std::ios::binary | std::ios::app);
  if (!out) return false;
  std::string line = FormatHistoryLine(record);
  if (closeTornLine) line.insert(line.begin(), '\n');
  out.write(line.data(), std::streamsize(line.size()));
  out.flush();
  return bool(out);
}

std::vector<HistoryRecord> ReadHistory(const std::string& path, bool* readable) {
  std::vector<HistoryRecord> records;
  std::string bytes;
  const bool ok = ReadWholeFile(path, bytes);
  if (readable) *readable = ok;
  if (!ok) return records;
  HistoryRecord r;
  std::string line;
  for (const std::string_view view : CompleteLines(bytes)) {
    line.assign(view);
    if (ParseHistoryLine(line, r)) records.push_back(std::move(r));
  }
  return records;
}

std::vector<HistoryRecord> ReadHistoryNewestFirst(const std::string& path, size_t limit) {
  std::vector<HistoryRecord> records;
  std::string bytes;
  std::vector<std::string_view> lines;
  if (!TailOfHistory(path, bytes, lines)) return records;
  HistoryRecord r;
  std::string line;
  // The file is in the order things happened: the newest are at its end.
  for (auto it = lines.rbegin(); it != lines.rend() && records.size() < limit; ++it) {
    line.assign(*it);
    if (ParseHistoryLine(line, r)) records.push_back(std::move(r));
  }
  return records;
}

bool TrimHistory(const std::string& path, OleDate now) {
  if (NothingAt(path)) return true;
  std::string bytes;
  std::vector<std::string_view> lines;
  if (!TailOfHistory(path, bytes, lines)) return false;
  const double keep = double(kHistoryKeepDays) * 86400.0;
  double oldest = LinearSeconds(now) - keep;
  // The last kHistoryKeepLines recent lines, found from the end, so that the older ones of a
  // long history are not even parsed.
  std::vector<std::string_view> kept;
  bool anyEvent = false, anyText = false;
  HistoryRecord r;
  std::string line;
  for (auto it = lines.rbegin(); it != lines.rend() && kept.size() < kHistoryKeepLines; ++it) {
    line.assign(*it);
    anyText = anyText || !it->empty();
    // Lines that do not parse are dropped with the old ones: the window skips them anyway.
    if (!ParseHistoryLine(line, r)) continue;
    // A clock so far ahead that every line looks old (a year wrong) would empty the history:
    // the days are then counted back from the newest line.
    if (!anyEvent && LinearSeconds(r.at) < oldest) oldest = LinearSeconds(r.at) - keep;
    anyEvent = true;
    if (LinearSeconds(r.at) >= oldest) kept.push_back(*it);
  }
  std::string trimmed;
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
    trimmed.append(*it);
    trimmed += '\n';
  }
  if (trimmed == bytes) return true;  // nothing to trim: the file is not touched
  // Text without one event in it is no history of ours (another program's file, or ours saved
  // again in another encoding): it may still matter to someone, so it is kept, not emptied.
  if (anyText && !anyEvent && KeepBackupOfFile(path).empty()) return false;
  return WriteFileAtomically(path, trimmed);
}

std::string HistoryDisplayLine(const HistoryRecord& r, OleDate ringStart) {
  std::string text = FormatMoment(r.at);
  text += '\t';
  if (r.due != 0) text += FormatDateHourMinute(r.due);
  text += '\t';
  text += HistoryEventLabel(r.event);
  if (IsEndOfAlarm(r.event)) {
    // How long the alarm was up: from the second it began when its start is known, else from
    // the moment the record carries (the minute the window came up).
    const int64_t up = ringStart != 0 ? LocalOfDate(r.at) - LocalOfDate(ringStart) : r.lateSeconds;
    if (up > 0) text += "（鳴り始めから" + DurationText(up) + "）";
  } else if (IsRinging(r.event) && r.lateSeconds >= kHistoryLateFromSeconds) {
    // Only a bell that rang can be late; a few seconds are the due check's own pace.
    text += "（" + DurationText(r.lateSeconds) + "遅れ）";
  }
  text += '\t';
  text += OneLine(r.message);
  return text;
}

std::vector<std::string> HistoryDisplayLines(const std::vector<HistoryRecord>& newestFirst) {
  std::vector<std::string> lines;
  lines.reserve(newestFirst.size());
  for (size_t i = 0; i < newestFirst.size(); ++i) {
    const HistoryRecord& r = newestFirst[i];
    OleDate start = 0;
    if (IsEndOfAlarm(r.event) && r.due != 0) {
      // The end of an alarm records the minute its window came up; the ring of that alarm is
      // the newest earlier ring of the same message within that minute, and its own second is
      // when the alarm began (a quick timer's or a snooze's is rarely the minute's start).
      const LocalSecond minute = LocalOfDate(r.due);
      for (size_t k = i + 1; k < newestFirst.size(); ++k) {
        const HistoryRecord& earlier = newestFirst[k];
        const LocalSecond at = LocalOfDate(earlier.at);
        if (at < minute) break;
        if (IsRinging(earlier.event) && at < minute + 60 && earlier.message == r.message && at <= LocalOfDate(r.at)) {
          start = earlier.at;
          break;
        }
      }
    }
    lines.push_back(HistoryDisplayLine(r, start));
  }
  return lines;
}

std::string DurationText(int64_t seconds) {
  const int64_t days = seconds / 86400, hours = seconds / 3600 % 24, minutes = seconds / 60 % 60, secs = seconds % 60;
  std::string text;
  auto part = [&text](int64_t n, const char* unit) { text += std::to_string(n) + unit; };
  if (days > 0) {
    part(days, "日");
    if (hours > 0) part(hours, "時間");
  } else if (hours > 0) {
    part(hours, "時間");
    if (minutes > 0) part(minutes, "分");
  } else if (minutes > 0) {
    part(minutes, "分");
    if (secs > 0) part(secs, "秒");
  } else {
    part(secs, "秒");
  }
  return text;
}

}  // namespace wb
