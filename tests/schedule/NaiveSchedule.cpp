#include "NaiveSchedule.h"

#include <chrono>

#include "model/Schedule.h"

namespace wb::naive {
namespace {

using namespace std::chrono;

// Calendar days from a to b ("the number of calendar days from a to b").
long DaysBetween(OleDate a, OleDate b) {
  CivilTime x = ToCivil(a), y = ToCivil(b);
  return long(DayNumber(y.year, y.month, y.day)) - long(DayNumber(x.year, x.month, x.day));
}

int DayOfMonth(OleDate d) { return ToCivil(d).day; }
int Bit(OleDate d) { return MaskBitOfWeekday(WeekdayOf(d)); }
long LeadMinutes(int preBellMinutes) { return long(preBellMinutes / 60) * 60 + preBellMinutes % 60; }

// The first day of the month described by `table` (the month of `dayInMonth`) with this ordinal
// and weekday, at the hour and minute of `at`; false when the month has none.
bool FindNth(const MonthTable& table, OleDate dayInMonth, int n, int weekday, OleDate at, OleDate& candidate) {
  const CivilTime c = ToCivil(dayInMonth), a = ToCivil(at);
  for (int i = 0; i < DaysInMonth(c.year, c.month); ++i) {
    if (table.Slots[size_t(i)].WeekdayOrdinal == n && table.Slots[size_t(i)].WeekdayNumber == weekday) {
      candidate = MakeDate(c.year, c.month, i + 1, a.hour, a.minute, 0);
      return true;
    }
  }
  return false;
}

// NthWeekdayDue for each weekday of the mask, Monday .. Saturday and then Sunday: at T against
// the candidate of T's month, and at Now against the candidate of today's month.
bool TextNthWeekDue(OleDate now, const AlarmEntry& e, int lead, int n) {
  static const int kWeekdays[7] = {2, 3, 4, 5, 6, 7, 1};
  const OleDate t = AddMinutes(now, lead);
  const MonthTable tMonth = BuildMonthTable(t), nowMonth = BuildMonthTable(now);
  const std::string setDate = FormatDate(e.AlarmTime);
  bool due = false;
  for (int w : kWeekdays) {
    if ((e.WeekdayMask & MaskBitOfWeekday(w)) == 0) continue;
    OleDate candidate;
    if (FindNth(tMonth, t, n, w, e.AlarmTime, candidate) && FormatDate(t) >= setDate &&
        FormatDateHourMinute(t) == FormatDateHourMinute(candidate))
      due = true;
    if (FindNth(nowMonth, now, n, w, e.AlarmTime, candidate) && FormatDate(now) >= setDate &&
        FormatDateHourMinute(now) == FormatDateHourMinute(candidate))
      due = true;
  }
  return due;
}

// The pre-bell day's rule counts only when the set day's own weekday is ticked.
bool TextBiweeklyDayDue(OleDate now, const AlarmEntry& e, OleDate p, OleDate start) {
  const long toPre = DaysBetween(now, p);
  const bool setDayTicked = (e.WeekdayMask & Bit(e.AlarmTime)) != 0;
  if (setDayTicked && toPre % 14 == 0 && toPre <= 0) return FormatHourMinute(now) == FormatHourMinute(p);
  const long toStart = DaysBetween(now, start);
  if (toStart % 14 != 0 || toStart > 0) return false;
  return FormatHourMinute(now) == FormatHourMinute(e.AlarmTime);
}

bool TextBiweeklyDue(OleDate now, const AlarmEntry& e, int lead) {
  const WeekWindow window = BuildWeekWindow(e.WeekdayMask, e.AlarmTime);
  const OleDate p = AddMinutes(e.AlarmTime, -lead);
  bool due = false;
  for (int i = 0; i < window.WeekWindowCount; ++i) {
    if (TextBiweeklyDayDue(now, e, p, window.Slots[size_t(i)].Date)) due = true;
  }
  return due;
}

bool PreDue(OleDate now, const AlarmEntry& e) {
  const int lead = e.PreBellMinutes;
  const OleDate t = AddMinutes(now, LeadMinutes(lead));
  const std::string setDate = FormatDate(e.AlarmTime), setMinute = FormatHourMinute(e.AlarmTime);
  switch (e.RepeatKind) {
    case 1:
      return DayOfMonth(t) == DayOfMonth(e.AlarmTime) && FormatHourMinute(t) == setMinute && FormatDate(t) >= setDate;
    case 2:
      return FormatHourMinute(t) == setMinute && (e.WeekdayMask & Bit(t)) != 0 && FormatDate(t) >= setDate;
    case 3:
      return FormatMoment(t) >= FormatMoment(e.AlarmTime) && FormatHourMinute(t) == setMinute;
    case 4:
      return FormatDateHourMinute(t) == FormatDateHourMinute(e.AlarmTime);
    // Each occurrence's pre-bell its lead ahead of that occurrence's main bell: the main bell's
    // own rule asked at T. (The first design also rang these kinds' pre-bell in the set minute
    // when it had not rung that calendar day, which rang it twice when the lead crossed midnight.)
    case 6:
      return TextBiweeklyDue(t, e, 0);
    case 7: case 8: case 9: case 10: case 11:
      return TextNthWeekDue(t, e, 0, e.RepeatKind - 6);
    default:
      return false;
  }
}

std::string Letters(int mask, bool mondayStart) {
  static const char* const kSunday[7] = {"日", "月", "火", "水", "木", "金", "土"};
  static const int kSundayWeekday[7] = {1, 2, 3, 4, 5, 6, 7};
  std::string s;
  for (int k = 0; k < 7; ++k) {
    const int i = mondayStart ? (k + 1) % 7 : k;
    s += (mask & MaskBitOfWeekday(kSundayWeekday[i])) ? kSunday[i] : "－";
  }
  return s;
}

}  // namespace

OleDate AddMinutes(OleDate d, long minutes) {
  const CivilTime c = ToCivil(d);
  const sys_seconds s = sys_days{year{c.year} / month{unsigned(c.month)} / day{unsigned(c.day)}} +
                        hours{c.hour} + std::chrono::minutes{c.minute + minutes} + seconds{c.second};
  const sys_days dayPart = floor<days>(s);
  const year_month_day ymd{dayPart};
  const hh_mm_ss<seconds> hms{s - dayPart};
  return MakeDate(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), int(hms.hours().count()),
                  int(hms.minutes().count()), int(hms.seconds().count()));
}

// A mark later than the present moment reads as "not rung", the zero date.
OleDate MarkAsOfText(OleDate mark, OleDate now) { return FormatMoment(mark) > FormatMoment(now) ? 0 : mark; }

DueResult RunDueCheck(AlarmTable& table, OleDate now) {
  const std::string today = FormatDate(now), minute = FormatHourMinute(now);
  const int bit = Bit(now);
  for (int i = 0; i < table.EntryCount(); ++i) {
    AlarmEntry& e = table[i];
    const OleDate mainMark = MarkAsOfText(e.MainBellFiredAt, now), preMark = MarkAsOfText(e.PreBellFiredAt, now);
    bool main = false, pre = false;
    const std::string setDate = FormatDate(e.AlarmTime), setMinute = FormatHourMinute(e.AlarmTime);
    const std::string lastMain = FormatDate(mainMark), lastPre = FormatDate(preMark);
    const int kind = e.RepeatKind;
    if (int(e.BellMode) == 0 || int(e.BellMode) == 2) {
      const bool plain = minute == setMinute && setDate <= today && lastMain < today &&
                         (kind == 3 || (kind == 2 && (e.WeekdayMask & bit) != 0) ||
                          (kind == 1 && DayOfMonth(now) == DayOfMonth(e.AlarmTime)));
      const bool once = mainMark == 0 && kind == 4 && minute == setMinute && today == setDate;
      if (plain || once) main = true, e.MainBellFiredAt = now;
      if (kind == 5 && mainMark == 0 && FormatMoment(e.AlarmTime) <= FormatMoment(now) &&
          FormatMoment(now) <= FormatMoment(AddMinutes(e.AlarmTime, 1)))
        main = true, e.MainBellFiredAt = now;
      if (lastMain < today) {
        if ((kind >= 7 && kind <= 11 && TextNthWeekDue(now, e, 0, kind - 6)) || (kind == 6 && TextBiweeklyDue(now, e, 0)))
          main = true, e.MainBellFiredAt = now;
      }
    }
    if ((int(e.BellMode) == 1 || int(e.BellMode) == 2) && lastPre < today && PreDue(now, e)) {
      pre = true, e.PreBellFiredAt = now;
    }
    if (main || pre) return {i, main, pre};
  }
  return {};
}

bool OccursOn(const AlarmEntry& e, OleDate d) {
  if (FormatDate(d) < FormatDate(e.AlarmTime)) return false;
  switch (e.RepeatKind) {
    case 1: return DayOfMonth(d) == DayOfMonth(e.AlarmTime);
    case 2: return (e.WeekdayMask & Bit(d)) != 0;
    case 3: return true;
    case 4: case 5: return FormatDate(d) == FormatDate(e.AlarmTime);
    case 6: {
      const WeekWindow window = BuildWeekWindow(e.WeekdayMask, e.AlarmTime);
      for (int i = 0; i < window.WeekWindowCount; ++i) {
        if (DaysBetween(window.Slots[size_t(i)].Date, d) % 14 == 0) return true;
      }
      return false;
    }
    case 7: case 8: case 9: case 10: case 11:
    {
      const MonthTable month = BuildMonthTable(d);
      for (int w = 1; w <= 7; ++w) {
        OleDate candidate;
        if ((e.WeekdayMask & MaskBitOfWeekday(w)) != 0 && FindNth(month, d, e.RepeatKind - 6, w, d, candidate) &&
            FormatDate(candidate) == FormatDate(d))
          return true;
      }
      return false;
    }
    default:
      return false;
  }
}

void Offer(const AlarmEntry& e, OleDate baseDay, OleDate now, OleDate& next) {
  const CivilTime b = ToCivil(baseDay), a = ToCivil(e.AlarmTime);
  const OleDate t = MakeDate(b.year, b.month, b.day, a.hour, a.minute, a.second);
  const OleDate p = AddMinutes(t, -LeadMinutes(e.PreBellMinutes));
  std::vector<OleDate> kept;
  if ((int(e.BellMode) == 1 || int(e.BellMode) == 2) && FormatMoment(p) >= FormatMoment(now)) kept.push_back(p);
  if ((int(e.BellMode) == 0 || int(e.BellMode) == 2) && FormatMoment(t) >= FormatMoment(now)) kept.push_back(t);
  if (kept.empty()) return;
  OleDate earliest = kept[0];
  for (OleDate c : kept) if (FormatMoment(c) < FormatMoment(earliest)) earliest = c;
  if (next == 0 || FormatMoment(earliest) < FormatMoment(next)) next = earliest;
}

bool ComputeTrayTip(const AlarmTable& table, OleDate calendarDay, OleDate now, OleDate& next, std::string& tip) {
  next = 0;
  for (int i = 0; i < table.EntryCount(); ++i)
    if (OccursOn(table[i], calendarDay)) Offer(table[i], now, now, next);
  if (next == 0) {
    const OleDate dayAfter = AddMinutes(calendarDay, 1440), tomorrow = AddMinutes(now, 1440);
    for (int i = 0; i < table.EntryCount(); ++i)
      if (OccursOn(table[i], dayAfter)) Offer(table[i], tomorrow, now, next);
  }
  if (next == 0) return false;
  const CivilTime n = ToCivil(next), w = ToCivil(now);
  const long ahead = DaysBetween(now, next) * 86400L + (n.hour - w.hour) * 3600L + (n.minute - w.minute) * 60L +
                     (n.second - w.second);
  if (ahead >= 86400) {
    tip = "２４時間中のアラームはありません";
    return true;
  }
  const long h = ahead / 3600, m = ahead / 60 % 60, s = ahead % 60;
  std::string parts;
  if (h != 0) parts += std::to_string(h) + "時間";
  if (m != 0) parts += std::to_string(m) + "分";
  if (s != 0) parts += std::to_string(s) + "秒";
  tip = parts.empty() ? "アラーム中" : "あと" + parts + " ";
  tip += (FormatDate(next) == FormatDate(now) ? "本日" : "明日") + FormatHourMinute(next);
  return true;
}

std::vector<ListRow> BuildAlarmList(const AlarmTable& table, const std::vector<int>& order, OleDate calendarDay,
                                    OleDate now, bool dailyView, bool mondayStart) {
  std::vector<ListRow> rows;
  for (int slot : order) {
    const AlarmEntry& e = table[slot];
    const bool occurs = OccursOn(e, calendarDay);
    if (dailyView && !occurs) continue;
    std::string mark = "□";
    if (occurs) {
      const std::string day = FormatDate(calendarDay), today = FormatDate(now);
      if (day > today || (day == today && FormatHourMinute(e.AlarmTime) > FormatHourMinute(now))) mark = "■";
    }
    rows.push_back({slot, mark + FormatHourMinute(e.AlarmTime) + " " + FormatDate(e.AlarmTime) + " " +
                              RepeatKindLabel(e.RepeatKind) + " " + Letters(e.WeekdayMask, mondayStart)});
  }
  return rows;
}

}  // namespace wb::naive
