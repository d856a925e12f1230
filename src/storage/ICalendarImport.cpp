// iCalendar files read into entries. Our own events carry every member of the entry in their
// X-WAKEBELL- properties and come back exactly; another program's event becomes an entry when
// the program can ring it as that program means it, and is named with the reason otherwise.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <type_traits>

#include "model/DayMath.h"
#include "storage/AlarmExchange.h"
#include "storage/ICalendarText.h"
#include "storage/RecordLayout.h"

namespace wb {
namespace {

using ical::Component;
using ical::ContentLine;

// Weekday number (1 = Sunday) of a two-letter iCalendar day, 0 for none.
int WeekdayOfCode(std::string_view code) {
  static const char* const kCodes[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
  for (int i = 0; i < 7; ++i)
    if (code == kCodes[i]) return i + 1;
  return 0;
}

std::vector<std::string> SplitList(std::string_view s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = s.find(sep, start);
    parts.emplace_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

template <class T>
bool ParseNumber(std::string_view s, T& out) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// ---- our own events ----

bool OwnEntry(const Component& event, AlarmEntry& e, std::string& error) {
  e = AlarmEntry{};
  if (const ContentLine* summary = event.Find("SUMMARY")) e.Message = ical::UnescapeText(summary->value);
  bool ok = true;
  ForEachRecordMember(e, [&]<class T>(const char* name, T& member) {
    if (!ok || std::strstr(name, "FiredAt")) return;
    std::string key = ical::kPrivatePrefix;
    for (const char* p = name; *p; ++p) key += char(std::toupper((unsigned char)*p));
    const ContentLine* line = event.Find(key);
    if (!line) return;
    bool good = true;
    if constexpr (std::is_same_v<T, std::string>) {
      member = ical::UnescapeExactText(line->value);
    } else if constexpr (std::is_same_v<T, OleDate>) {
      good = ParseNumber(line->value, member);
    } else if constexpr (std::is_same_v<T, BellMode>) {
      int16_t code = 0;
      good = ParseNumber(line->value, code);
      member = BellMode(code);
    } else {
      good = ParseNumber(line->value, member);
    }
    if (!good) {
      error = std::to_string(line->lineNumber) + " 行目: " + key + " の値 \"" + line->value + "\" が読めません";
      ok = false;
    }
  });
  return ok;
}

// ---- time zones ----

// "+0900", "-0500", "+053000" in seconds.
std::optional<int64_t> ParseUtcOffset(std::string_view v) {
  if (v.size() != 5 && v.size() != 7) return std::nullopt;
  if (v[0] != '+' && v[0] != '-') return std::nullopt;
  int h = 0, m = 0, s = 0;
  if (!ParseNumber(v.substr(1, 2), h) || !ParseNumber(v.substr(3, 2), m) || (v.size() == 7 && !ParseNumber(v.substr(5, 2), s)))
    return std::nullopt;
  const int64_t seconds = h * 3600 + m * 60 + s;
  return v[0] == '-' ? -seconds : seconds;
}

int64_t SecondsOf(const ical::DateTime& d) {
  return int64_t(DayNumber(d.year, d.month, d.day)) * kSecondsPerDay + d.hour * 3600 + d.minute * 60 + d.second;
}

// The day of a yearly onset "BYMONTH=m;BYDAY=nXX" (n may be negative: from the month's end).
std::optional<int64_t> OnsetDay(int year, const std::map<std::string, std::string>& rule) {
  auto month = rule.find("BYMONTH");
  auto byDay = rule.find("BYDAY");
  int m = 0;
  if (month == rule.end() || !ParseNumber(month->second, m) || m < 1 || m > 12) return std::nullopt;
  if (byDay == rule.end()) return std::nullopt;
  const std::string& v = byDay->second;
  if (v.size() < 3) return std::nullopt;
  const int weekday = WeekdayOfCode(std::string_view(v).substr(v.size() - 2));
  int n = 0;
  std::string_view num = std::string_view(v).substr(0, v.size() - 2);
  if (!num.empty() && num[0] == '+') num.remove_prefix(1);
  if (weekday == 0 || !ParseNumber(num, n) || n == 0 || n < -5 || n > 5) return std::nullopt;
  if (n > 0) {
    const int64_t first = DayNumber(year, m, 1);
    return first + FloorMod(weekday - WeekdayOfDay(first), 7) + 7 * (n - 1);
  }
  const int64_t last = DayNumber(year, m, DaysInMonth(year, m));
  return last - FloorMod(WeekdayOfDay(last) - weekday, 7) - 7 * (-n - 1);
}

std::map<std::string, std::string> RuleParts(std::string_view rule) {
  std::map<std::string, std::string> parts;
  for (const std::string& p : SplitList(rule, ';')) {
    const size_t eq = p.find('=');
    if (eq == std::string::npos) continue;
    std::string name = p.substr(0, eq);
    for (char& c : name) c = char(std::toupper((unsigned char)c));
    std::string value = p.substr(eq + 1);
    for (char& c : value) c = char(std::toupper((unsigned char)c));
    parts[name] = value;
  }
  return parts;
}

// The UTC offset (seconds) of a VTIMEZONE at a wall time of its own: the TZOFFSETTO of the
// latest onset of its STANDARD and DAYLIGHT parts at or before it.
std::optional<int64_t> ZoneOffsetAt(const Component& zone, int64_t wall) {
  std::optional<int64_t> bestOnset, bestOffset, earliestFrom;
  int64_t earliest = INT64_MAX;
  const int year = CivilOfDay(FloorDiv(wall, kSecondsPerDay)).year;
  for (const Component& part : zone.children) {
    if (part.name != "STANDARD" && part.name != "DAYLIGHT") continue;
    const ContentLine* start = part.Find("DTSTART");
    const ContentLine* to = part.Find("TZOFFSETTO");
    const ContentLine* from = part.Find("TZOFFSETFROM");
    ical::DateTime d;
    if (!start || !to || !ical::ParseDateTime(start->value, d)) return std::nullopt;
    const std::optional<int64_t> toOffset = ParseUtcOffset(to->value);
    if (!toOffset) return std::nullopt;
    const int64_t first = SecondsOf(d);
    if (first < earliest && from) {
      earliest = first;
      earliestFrom = ParseUtcOffset(from->value);
    }
    std::vector<int64_t> onsets{first};
    if (const ContentLine* rrule = part.Find("RRULE")) {
      const auto rule = RuleParts(rrule->value);
      auto until = rule.find("UNTIL");
      ical::DateTime u;
      const int64_t last = until != rule.end() && ical::ParseDateTime(until->second, u) ? SecondsOf(u) : INT64_MAX;
      for (int y = year - 1; y <= year; ++y) {
        const std::optional<int64_t> day = OnsetDay(y, rule);
        if (!day) return std::nullopt;
        const int64_t onset = *day * kSecondsPerDay + (first - FloorDiv(first, kSecondsPerDay) * kSecondsPerDay);
        if (onset >= first && onset <= last) onsets.push_back(onset);
      }
    }
    for (int64_t onset : onsets) {
      if (onset <= wall && (!bestOnset || onset > *bestOnset)) {
        bestOnset = onset;
        bestOffset = toOffset;
      }
    }
  }
  return bestOffset ? bestOffset : earliestFrom;
}

// Zone names a file may use without describing them.
std::optional<int64_t> WellKnownZoneOffset(std::string_view tzid) {
  static const std::pair<const char*, int64_t> kZones[] = {
      {"UTC", 0}, {"GMT", 0}, {"Etc/UTC", 0}, {"Etc/GMT", 0}, {"Z", 0},
      {"Asia/Tokyo", 9 * 3600}, {"Japan", 9 * 3600}, {"Tokyo Standard Time", 9 * 3600}, {"JST", 9 * 3600}};
  for (const auto& [name, offset] : kZones)
    if (tzid == name) return offset;
  return std::nullopt;
}

// ---- another program's events ----

struct Foreign {
  std::string reason;  // empty: it became `entry`
  AlarmEntry entry;
};

std::string Name(const Component& event) {
  if (const ContentLine* s = event.Find("SUMMARY"); s && !s->value.empty()) return ical::UnescapeText(s->value);
  if (const ContentLine* d = event.Find("DTSTART")) return "(" + d->value + " の予定)";
  return "(名前のない予定)";
}

// The bells of the event's alarms: false (reason set) when they are not one main bell and at most
// one pre-bell before it.
bool BellsOfAlarms(const Component& event, AlarmEntry& e, std::string& reason) {
  std::vector<int64_t> leads;  // seconds before the start
  for (const Component& alarm : event.children) {
    if (alarm.name != "VALARM") continue;
    const ContentLine* trigger = alarm.Find("TRIGGER");
    int64_t seconds = 0;
    if (!trigger) {
      reason = "アラームに TRIGGER がありません";
      return false;
    }
    if (trigger->Param("VALUE") == "DATE-TIME") {
      reason = "日時で決めたアラームは表せません";
      return false;
    }
    if (trigger->Param("RELATED") == "END") {
      reason = "終わりの時刻を基準にしたアラームは表せません";
      return false;
    }
    if (!ical::ParseDuration(trigger->value, seconds)) {
      reason = "アラームの TRIGGER \"" + trigger->value + "\" が読めません";
      return false;
    }
    if (seconds > 0) {
      reason = "開始より後に鳴るアラームは表せません";
      return false;
    }
    leads.push_back(-seconds);
  }
  std::sort(leads.begin(), leads.end());
  e.BellMode = BellMode::MainOnly;
  e.PreBellMinutes = 0;
  const bool mainToo = !leads.empty() && leads.front() == 0;
  if (leads.size() > 2 || (leads.size() == 2 && !mainToo)) {
    reason = "アラームが " + std::to_string(leads.size()) + " 個あります (鳴らせるのは予鈴と本鈴だけです)";
    return false;
  }
  if (!leads.empty() && leads.back() > 0) {
    if (leads.back() / 60 > 32767) {
      reason = "予鈴が早すぎます";
      return false;
    }
    e.BellMode = BellMode::PreAndMain;
    e.PreBellMinutes = int16_t(leads.back() / 60);
  }
  return true;
}

// Rotates a weekday mask by whole days (a time zone that moved the bells into another day).
int RotateMask(int mask, int64_t shift) {
  int rotated = 0;
  for (int w = 1; w <= 7; ++w)
    if (mask & MaskBitOfWeekday(w)) rotated |= MaskBitOfWeekday(int(FloorMod(w - 1 + shift, 7)) + 1);
  return rotated;
}

Foreign ForeignEntry(const Component& event, const std::map<std::string, const Component*>& zones,
                     const ImportContext& context) {
  Foreign f;
  AlarmEntry& e = f.entry;
  e = context.pattern;
  e.PreBellFiredAt = e.MainBellFiredAt = 0;
  auto skip = [&f](std::string reason) {
    f.reason = std::move(reason);
    return f;
  };
  if (const ContentLine* status = event.Find("STATUS"); status && status->value == "CANCELLED")
    return skip("取り消された予定です");
  if (event.Find("RECURRENCE-ID")) return skip("繰り返しの一回だけを変えた予定です");
  const ContentLine* start = event.Find("DTSTART");
  if (!start) return skip("開始日時がありません");
  if (start->Param("VALUE") == "DATE" || start->value.size() == 8) return skip("終日の予定です (時刻がありません)");
  ical::DateTime d;
  if (!ical::ParseDateTime(start->value, d)) return skip("開始日時 \"" + start->value + "\" が読めません");
  if (event.Count("RRULE") > 1) return skip("繰り返しの規則が複数あります");
  if (event.Find("RDATE")) return skip("繰り返しに足された日 (RDATE) は表せません");
  if (event.Find("EXDATE")) return skip("繰り返しから除かれた日 (EXDATE) は表せません");

  // The wall time of the event, then this PC's.
  const int64_t wall = SecondsOf(d);
  int64_t local = wall;
  const std::string tzid = start->Param("TZID");
  if (d.utc || !tzid.empty()) {
    std::optional<int64_t> offset = d.utc ? std::optional<int64_t>(0) : std::nullopt;
    if (!d.utc) {
      auto zone = zones.find(tzid);
      offset = zone != zones.end() ? ZoneOffsetAt(*zone->second, wall) : WellKnownZoneOffset(tzid);
    }
    if (!offset) return skip("時間帯 \"" + tzid + "\" が分かりません");
    const int64_t utc = wall - *offset;
    const auto pcOffset = [&](int64_t localSeconds) {
      return context.utcOffsetMinutes ? int64_t(context.utcOffsetMinutes(FromSecondNumber(localSeconds))) * 60 : 0;
    };
    local = utc + pcOffset(utc);
    local = utc + pcOffset(local);  // the offset of the local moment itself, across a change
  }
  const int64_t wallDay = FloorDiv(wall, kSecondsPerDay);
  const DayTime at = DayTimeOfSeconds(local);
  const int64_t shift = at.day - wallDay;
  if (at.day < DayNumber(100, 1, 1) || at.day > kLastDayNumber) return skip("開始日時が扱える範囲の外です");

  if (!BellsOfAlarms(event, e, f.reason)) return f;
  const std::string message =
      event.Find("SUMMARY") ? ical::UnescapeText(event.Find("SUMMARY")->value) : std::string();
  if (context.storable && !context.storable(message)) return skip("データファイルに保存できない文字 (絵文字など) があります");
  e.Message = message;

  int64_t setDay = at.day;
  int mask = MaskBitOfDay(wallDay);
  e.RepeatKind = kRepeatOnce;
  if (const ContentLine* rrule = event.Find("RRULE")) {
    auto rule = RuleParts(rrule->value);
    const std::string freq = rule["FREQ"];
    rule.erase("FREQ");
    rule.erase("WKST");
    int interval = 1;
    if (rule.count("INTERVAL") && (!ParseNumber(rule["INTERVAL"], interval) || interval < 1))
      return skip("繰り返しの間隔 \"" + rule["INTERVAL"] + "\" が読めません");
    rule.erase("INTERVAL");
    if (rule.count("COUNT") || rule.count("UNTIL")) return skip("回数か終わりの日が決まった繰り返しは表せません");
    if (freq == "YEARLY") return skip("毎年の繰り返しは表せません");
    if (freq != "DAILY" && freq != "WEEKLY" && freq != "MONTHLY") return skip("1 日より短い間隔の繰り返しは表せません");
    // Weekdays of BYDAY, all with the same ordinal (0 for none).
    int byDayMask = 0, ordinal = 0;
    if (rule.count("BYDAY")) {
      bool first = true;
      for (const std::string& item : SplitList(rule["BYDAY"], ',')) {
        const int w = item.size() >= 2 ? WeekdayOfCode(std::string_view(item).substr(item.size() - 2)) : 0;
        int n = 0;
        std::string_view num = std::string_view(item).substr(0, item.size() >= 2 ? item.size() - 2 : 0);
        if (!num.empty() && num[0] == '+') num.remove_prefix(1);
        if (w == 0 || (!num.empty() && !ParseNumber(num, n))) return skip("曜日の指定 \"" + item + "\" が読めません");
        if (!first && n != ordinal) return skip("曜日ごとに違う第何週は表せません");
        ordinal = n;
        first = false;
        byDayMask |= MaskBitOfWeekday(w);
      }
      rule.erase("BYDAY");
    }
    std::string byMonthDay;
    if (rule.count("BYMONTHDAY")) {
      byMonthDay = rule["BYMONTHDAY"];
      rule.erase("BYMONTHDAY");
    }
    if (!rule.empty()) return skip("繰り返しの規則 " + rule.begin()->first + " は表せません");
    if (ordinal != 0 && freq != "MONTHLY") return skip("第何週の指定は毎月の繰り返しでだけ表せます");
    if (!byMonthDay.empty() && (freq != "MONTHLY" || byDayMask != 0)) return skip("日付の指定 (BYMONTHDAY) の組み合わせは表せません");
    if (freq == "WEEKLY" && interval > 2) return skip(std::to_string(interval) + " 週ごとの繰り返しは表せません");
    if (freq != "WEEKLY" && interval != 1) return skip("間隔 " + std::to_string(interval) + " の繰り返しは表せません");

    if (byDayMask != 0) mask = byDayMask;
    if (freq == "DAILY" && byDayMask == 0) {
      e.RepeatKind = kRepeatDaily;
      mask = 0;
    } else if (freq == "MONTHLY" && ordinal != 0) {
      if (ordinal < 1 || ordinal > 5) return skip("第 " + std::to_string(ordinal) + " 週 (最後から数える週) は表せません");
      if (shift != 0) return skip("時間帯を変えると日付が変わり、第何週の繰り返しを表せません");
      e.RepeatKind = int16_t(kRepeatNth1 + ordinal - 1);
    } else if (freq == "MONTHLY" && byDayMask == 0) {
      int day = CivilOfDay(wallDay).day;
      if (!byMonthDay.empty() && (!ParseNumber(byMonthDay, day) || day < 1 || day > 31))
        return skip("日付の指定 \"" + byMonthDay + "\" は表せません");
      if (shift != 0) return skip("時間帯を変えると日付が変わり、毎月の繰り返しを表せません");
      // The set date carries the day of the month: the first such day from the start on.
      while (CivilOfDay(setDay).day != day) ++setDay;
      e.RepeatKind = kRepeatMonthly;
      mask = 0;
    } else if (interval == 2) {
      // The program's two-week cycle starts at the set date and spans its seven days; the rule's
      // starts at the week (from WKST) that holds the start. The start itself serves when no
      // weekday of the rule comes earlier in that week, the week's first day otherwise.
      const auto parts = RuleParts(rrule->value);
      const int wkst = parts.count("WKST") ? WeekdayOfCode(parts.at("WKST")) : 2;
      if (wkst == 0) return skip("週の始まり (WKST) が読めません");
      const int64_t weekStart = wallDay - FloorMod(WeekdayOfDay(wallDay) - wkst, 7);
      bool earlier = false;
      for (int64_t day = weekStart; day < wallDay; ++day) earlier = earlier || (mask & MaskBitOfDay(day));
      setDay = (earlier ? weekStart : wallDay) + shift;
      e.RepeatKind = kRepeatBiweekly;
    } else {
      e.RepeatKind = kRepeatWeekly;  // weekly, daily or monthly on weekdays: every such weekday
    }
  }
  if (e.RepeatKind != kRepeatDaily && e.RepeatKind != kRepeatMonthly) mask = RotateMask(mask, shift);
  e.WeekdayMask = int16_t(mask | (RepeatKindCanRest(e.RepeatKind) ? (context.pattern.WeekdayMask & kMaskRestsOnDaysOff) : 0));
  if (e.RepeatKind == kRepeatOnce) e.WeekdayMask = int16_t(MaskBitOfDay(setDay));
  const CivilDay c = CivilOfDay(setDay);
  e.AlarmTime = MakeDate(c.year, c.month, c.day, at.sec / 3600, at.sec / 60 % 60, 0);
  return f;
}

}  // namespace

ImportResult ImportICalendar(std::string_view text, const ImportContext& context) {
  ImportResult result;
  std::vector<Component> calendars;
  if (!ical::Parse(text, calendars, result.error)) return result;
  std::map<std::string, const Component*> zones;
  for (const Component& calendar : calendars)
    for (const Component& c : calendar.children)
      if (c.name == "VTIMEZONE")
        if (const ContentLine* id = c.Find("TZID")) zones[id->value] = &c;
  const std::string ownKey = std::string(ical::kPrivatePrefix) + "REPEATKIND";
  for (const Component& calendar : calendars) {
    for (const Component& event : calendar.children) {
      if (event.name != "VEVENT") continue;
      if (event.Find(ownKey)) {
        AlarmEntry e;
        if (!OwnEntry(event, e, result.error)) {
          result.entries.clear();
          return result;
        }
        result.entries.push_back(std::move(e));
        continue;
      }
      Foreign f = ForeignEntry(event, zones, context);
      if (f.reason.empty()) result.entries.push_back(std::move(f.entry));
      else result.skipped.push_back({Name(event), std::move(f.reason)});
    }
  }
  result.ok = true;
  return result;
}

}  // namespace wb
