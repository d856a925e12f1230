// The table as iCalendar: one VEVENT per entry whose rule gives exactly the main bells the
// program rings, its bells as VALARMs, and every member of the entry in private X-WAKEBELL-
// properties so that reading the file back gives the same entries.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <type_traits>

#include "model/DayMath.h"
#include "model/Schedule.h"
#include "storage/AlarmExchange.h"
#include "storage/ICalendarText.h"
#include "storage/RecordLayout.h"

namespace wb {
namespace {

constexpr const char* kByDay[] = {"", "SU", "MO", "TU", "WE", "TH", "FR", "SA"};  // by weekday 1..7
// A repeating entry whose first bell is further than this past its set date never rings (a
// weekly one without a weekday, an unknown kind).
constexpr int64_t kFirstBellSearchDays = 5 * 366;
// The days off an entry rests on are listed as exceptions over this many days from the export.
constexpr int64_t kExceptionDays = 2 * 365 + 1;

std::string ByDayList(int mask, const char* ordinal) {
  std::string list;
  for (int weekday = 2; weekday <= 8; ++weekday) {  // Monday first, Sunday last
    const int w = weekday == 8 ? 1 : weekday;
    if ((mask & MaskBitOfWeekday(w)) == 0) continue;
    if (!list.empty()) list += ',';
    list += ordinal;
    list += kByDay[w];
  }
  return list;
}

std::string DoubleText(double d) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, r.ptr);
}

// The second of the day the main bell rings: a quick timer at its set second, every other kind
// in the first second of its set minute.
int32_t BellSecondOfDay(const AlarmEntry& e) {
  const int32_t s = DayTimeOf(e.AlarmTime).sec;
  return e.RepeatKind == kRepeatQuick ? s : s / 60 * 60;
}

uint64_t Fingerprint(const AlarmEntry& e) {
  uint64_t h = 0xcbf29ce484222325ull;
  auto mix = [&h](const void* p, size_t n) {
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const unsigned char*>(p)[i]) * 0x100000001b3ull;
  };
  ForEachRecordMember(e, [&]<class T>(const char* name, const T& member) {
    if (std::strstr(name, "FiredAt")) return;  // marks change as bells ring; the entry stays the same
    if constexpr (std::is_same_v<T, std::string>) {
      const uint64_t n = member.size();
      mix(&n, sizeof n);
      mix(member.data(), member.size());
    } else {
      mix(&member, sizeof member);
    }
  });
  return h;
}

std::string UpperName(const char* name) {
  std::string s = ical::kPrivatePrefix;
  for (const char* p = name; *p; ++p) s += char(std::toupper((unsigned char)*p));
  return s;
}

void AppendEvent(std::string& out, const AlarmEntry& e, const std::string& uid, const ExportContext& context) {
  auto add = [&out](const std::string& line) { ical::AppendFolded(out, line); };
  int64_t first = -1;
  const std::string rule = RecurrenceRuleOf(e, first);
  const int32_t second = BellSecondOfDay(e);
  const bool rings = first >= 0 && (RingsMainBell(e.BellMode) || RingsPreBell(e.BellMode));
  const int64_t startDay = first >= 0 ? first : DayTimeOf(e.AlarmTime).day;
  const std::string summary = ical::EscapeText(e.Message);

  add("BEGIN:VEVENT");
  add("UID:" + uid);
  const DayTime stamp = DayTimeOfSeconds(context.utcSeconds);
  add("DTSTAMP:" + ical::FormatDateTime(stamp.day, stamp.sec, true));
  add("DTSTART:" + ical::FormatDateTime(startDay, second));
  add("SUMMARY:" + summary);
  if (!rule.empty()) add("RRULE:" + rule);
  // An entry that never rings is still carried over, as an event calendars show as cancelled.
  if (!rings) add("STATUS:CANCELLED");
  if (rings && context.daysOff && RestsOnDaysOff(e)) {
    const int64_t from = std::max(context.today, first);
    for (int64_t day = from; day < context.today + kExceptionDays; ++day)
      if (EntryOccursOnDay(e, day) && context.daysOff->IsDayOff(day))
        add("EXDATE:" + ical::FormatDateTime(day, second));
  }
  if (RestsOnDaysOff(e)) add(std::string(ical::kPrivatePrefix) + "RESTS-ON-DAYS-OFF:TRUE");
  ForEachRecordMember(e, [&]<class T>(const char* name, const T& member) {
    if (std::strstr(name, "FiredAt")) return;
    if constexpr (std::is_same_v<T, OleDate>) {
      add(UpperName(name) + ":" + DoubleText(member));
    } else if constexpr (std::is_same_v<T, std::string>) {
      // The message is the event's SUMMARY; it is written again only when SUMMARY cannot hold it
      // exactly (a lone line feed, a control character).
      if (std::strcmp(name, "Message") == 0 && ical::UnescapeText(summary) == member) return;
      add(UpperName(name) + ":" + ical::EscapeExactText(member));
    } else {
      add(UpperName(name) + ":" + std::to_string(int64_t(member)));
    }
  });
  if (rings) {
    const std::string description = "DESCRIPTION:" + (summary.empty() ? std::string("Wakebell") : summary);
    auto alarm = [&](int64_t seconds) {
      add("BEGIN:VALARM");
      add("ACTION:DISPLAY");
      add(description);
      const int64_t minutes = seconds / 60;
      add(std::string("TRIGGER:") + (minutes > 0 ? "-" : "") + "PT" + std::to_string(minutes > 0 ? minutes : -minutes) + "M");
      add("END:VALARM");
    };
    if (RingsPreBell(e.BellMode) && e.RepeatKind != kRepeatQuick) alarm(LeadSeconds(e.PreBellMinutes));
    if (RingsMainBell(e.BellMode)) alarm(0);
  }
  add("END:VEVENT");
}

}  // namespace

std::string RecurrenceRuleOf(const AlarmEntry& e, int64_t& first) {
  const int64_t setDay = DayTimeOf(e.AlarmTime).day;
  const int kind = e.RepeatKind;
  first = -1;
  const int64_t searchDays = kind == kRepeatOnce || kind == kRepeatQuick ? 1 : kFirstBellSearchDays;
  for (int64_t day = setDay; day < setDay + searchDays && day <= kLastDayNumber; ++day) {
    if (EntryOccursOnDay(e, day)) {
      first = day;
      break;
    }
  }
  if (first < 0) return {};
  const int mask = e.WeekdayMask;
  switch (kind) {
    case kRepeatDaily: return "FREQ=DAILY";
    case kRepeatWeekly: return "FREQ=WEEKLY;BYDAY=" + ByDayList(mask, "");
    case kRepeatMonthly: return "FREQ=MONTHLY;BYMONTHDAY=" + std::to_string(CivilOfDay(setDay).day);
    case kRepeatBiweekly:
      // The program's weeks start on the set date's weekday: so do the rule's.
      return "FREQ=WEEKLY;INTERVAL=2;BYDAY=" + ByDayList(mask, "") + ";WKST=" + kByDay[WeekdayOfDay(setDay)];
    case kRepeatOnce:
    case kRepeatQuick: return {};
    default: {
      const std::string ordinal = "+" + std::to_string(kind - kRepeatNth1 + 1);
      return "FREQ=MONTHLY;BYDAY=" + ByDayList(mask, ordinal.c_str());
    }
  }
}

std::string ExportICalendar(const AlarmTable& table, const ExportContext& context) {
  std::string out;
  auto add = [&out](const std::string& line) { ical::AppendFolded(out, line); };
  add("BEGIN:VCALENDAR");
  add("VERSION:2.0");
  add("PRODID:-//Wakebell//Wakebell//JA");
  add("CALSCALE:GREGORIAN");
  // Identical entries get the same fingerprint; a count keeps their UIDs apart.
  std::map<uint64_t, int> seen;
  char uid[64];
  for (int slot = 0; slot < table.EntryCount(); ++slot) {
    const uint64_t h = Fingerprint(table[slot]);
    const int n = seen[h]++;
    std::snprintf(uid, sizeof uid, "%016llx-%d@wakebell", (unsigned long long)h, n);
    AppendEvent(out, table[slot], uid, context);
  }
  add("END:VCALENDAR");
  return out;
}

}  // namespace wb
