#include "model/DueCheck.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/DayMath.h"
#include "model/Holidays.h"
#include "model/Schedule.h"

namespace wb {
namespace {

// What one tick knows about the present moment, computed once for the whole walk.
struct Tick {
  explicit Tick(LocalSecond second) : Tick(DayTimeOfSeconds(second)) {}
  explicit Tick(const DayTime& t) : seconds(t.Seconds()), today(t.day), minute(t.Minute()) {}
  int64_t seconds, today;
  int32_t minute;
};

// T = now + lead, on the linear second count (the OLE value is not linear before 1899/12/30).
DayTime Ahead(const Tick& tick, int lead) { return DayTimeOfSeconds(tick.seconds + LeadSeconds(lead)); }

int DayOfMonth(int64_t day) { return CivilOfDay(day).day; }

// The minute comparisons come first everywhere: they are the cheap ones and nearly always false.
bool MonthlyDue(const Tick& tick, const DayTime& set, int lead) {
  const DayTime t = Ahead(tick, lead);
  return t.Minute() == set.Minute() && t.day >= set.day && DayOfMonth(t.day) == DayOfMonth(set.day);
}

bool WeeklyDue(const Tick& tick, const DayTime& set, int mask, int lead) {
  const DayTime t = Ahead(tick, lead);
  return t.Minute() == set.Minute() && t.day >= set.day && (mask & MaskBitOfDay(t.day)) != 0;
}

bool DailyDue(const Tick& tick, const DayTime& set, int lead) {
  const DayTime t = Ahead(tick, lead);
  return t.Minute() == set.Minute() && t.Seconds() >= set.Seconds();
}

bool OnceDue(const Tick& tick, const DayTime& set, int lead) {
  const DayTime t = Ahead(tick, lead);
  return t.Minute() == set.Minute() && t.day == set.day;
}

// The day is the week-th day of its weekday in its own month, and that weekday is in the mask.
bool IsNthWeekday(int64_t day, int week, int mask) {
  return (mask & MaskBitOfDay(day)) != 0 && WeekdayOrdinalOfDayOfMonth(DayOfMonth(day)) == week;
}

// Due at T's minute on T's day when that day is a bell day. A pre-bell (lead > 0) rings only
// its lead ahead of its own occurrence: one whose minute found no tick is the catch-up's.
bool NthDue(const Tick& tick, const DayTime& set, int mask, int lead, int week) {
  const DayTime t = Ahead(tick, lead);
  return t.Minute() == set.Minute() && t.day >= set.day && IsNthWeekday(t.day, week, mask);
}

// The set day is an occurrence of its own only when the mask ticks its weekday: an entry set
// on a Monday with only Wednesday ticked rings on the Wednesdays, as the list shows it.
bool SetDayTicked(const DayTime& set, int mask) { return (mask & MaskBitOfDay(set.day)) != 0; }

// The weeks alternate from the set day's: the bells ring on the ticked weekdays of the seven
// days from the set day, every other such week. A pre-bell announces each of those days' bells
// its lead ahead, whichever day of the window it is.
bool BiweeklyDueAt(const Tick& tick, const DayTime& set, int mask, int lead) {
  if ((mask & 0x7F) == 0) return false;  // an empty week window
  const DayTime t = Ahead(tick, lead);
  const int64_t sinceStart = t.day - set.day;
  return t.Minute() == set.Minute() && sinceStart >= 0 && sinceStart % 14 <= 6 && (mask & MaskBitOfDay(t.day)) != 0;
}

// The marks as of the tick: a mark well ahead of the tick counts as "not rung" (MarkAsOf).
// With `readMarks` false nothing has rung yet (the catch-up's question about past moments).
bool NotRung(OleDate mark, const Tick& tick, bool readMarks) {
  return !readMarks || mark == 0 || MarkIsAhead(DayTimeOf(mark).Seconds(), tick.seconds);
}
// The zero mark reads as its date, 1899/12/30, as it always has.
bool RangToday(OleDate mark, const Tick& tick, bool readMarks) {
  if (!readMarks) return false;
  DayTime m = DayTimeOf(mark);
  if (MarkIsAhead(m.Seconds(), tick.seconds)) m = DayTimeOf(0.0);
  return m.day >= tick.today;
}

bool MainBellDue(const Tick& tick, const AlarmEntry& e, const DayTime& set, bool readMarks) {
  const int kind = e.RepeatKind;
  if (kind == kRepeatQuick) {
    // Fires while it is at most one minute late, once.
    const int64_t at = set.Seconds();
    return at <= tick.seconds && tick.seconds <= at + 60 && NotRung(e.MainBellFiredAt, tick, readMarks);
  }
  // Every other main bell rings only in the set minute.
  if (tick.minute != set.Minute()) return false;
  if (kind == kRepeatOnce) return tick.today == set.day && NotRung(e.MainBellFiredAt, tick, readMarks);
  if (RangToday(e.MainBellFiredAt, tick, readMarks)) return false;
  switch (kind) {
    case kRepeatMonthly:
    case kRepeatWeekly:
    case kRepeatDaily:
      if (set.day > tick.today) return false;
      if (kind == kRepeatDaily) return true;
      if (kind == kRepeatWeekly) return (e.WeekdayMask & MaskBitOfDay(tick.today)) != 0;
      return DayOfMonth(tick.today) == DayOfMonth(set.day);
    case kRepeatBiweekly:
      return BiweeklyDueAt(tick, set, e.WeekdayMask, 0);
    default:
      if (kind >= kRepeatNth1 && kind <= kRepeatNth5) {
        return NthDue(tick, set, e.WeekdayMask, 0, kind - kRepeatNth1 + 1);
      }
      return false;
  }
}

bool PreBellDue(const Tick& tick, const AlarmEntry& e, const DayTime& set, bool readMarks) {
  const int lead = e.PreBellMinutes;
  // Every pre-bell test matches T = now + lead against the set minute: the same as now against
  // the set minute less the lead. Each occurrence's pre-bell has that one minute.
  if (tick.minute != FloorMod(set.Minute() - lead, 1440)) return false;
  if (RangToday(e.PreBellFiredAt, tick, readMarks)) return false;
  const int kind = e.RepeatKind;
  switch (kind) {
    case kRepeatMonthly: return MonthlyDue(tick, set, lead);
    case kRepeatWeekly: return WeeklyDue(tick, set, e.WeekdayMask, lead);
    case kRepeatDaily: return DailyDue(tick, set, lead);
    case kRepeatOnce: return OnceDue(tick, set, lead);
    case kRepeatBiweekly: return BiweeklyDueAt(tick, set, e.WeekdayMask, lead);
    default:
      if (kind >= kRepeatNth1 && kind <= kRepeatNth5) {
        return NthDue(tick, set, e.WeekdayMask, lead, kind - kRepeatNth1 + 1);
      }
      return false;  // a quick timer has no pre-bell
  }
}

bool MainMode(const AlarmEntry& e) { return RingsMainBell(e.BellMode); }
bool PreMode(const AlarmEntry& e) { return RingsPreBell(e.BellMode); }

// The day of the main bell a due pre-bell announces: the one `lead` minutes ahead.
int64_t AnnouncedDay(const Tick& tick, const AlarmEntry& e) { return Ahead(tick, e.PreBellMinutes).day; }

// What falls due for one entry at the tick; nothing is marked. The day-off test comes after the
// bell tests, so it costs nothing on the ticks where nothing is due.
DueResult BellsDue(const Tick& tick, const AlarmEntry& e, const DayTime& set, const DaysOff* daysOff,
                   bool readMarks = true) {
  DueResult r;
  r.main = MainMode(e) && MainBellDue(tick, e, set, readMarks);
  r.pre = PreMode(e) && PreBellDue(tick, e, set, readMarks);
  if ((r.main || r.pre) && daysOff && RestsOnDaysOff(e)) {
    if (r.main && daysOff->IsDayOff(tick.today)) r.main = false;
    if (r.pre && daysOff->IsDayOff(AnnouncedDay(tick, e))) r.pre = false;
  }
  return r;
}

// The minutes of the day in which the entry can fall due; see RunDueChecks.
int BellMinutes(const AlarmEntry& e, const DayTime& set, std::array<int32_t, 3>& minutes) {
  if (!MainMode(e) && !PreMode(e)) return 0;
  int n = 0;
  auto add = [&](int64_t minute) {
    const int32_t m = int32_t(FloorMod(minute, 1440));
    if (std::find(minutes.begin(), minutes.begin() + n, m) == minutes.begin() + n) minutes[size_t(n++)] = m;
  };
  add(set.Minute());
  if (e.RepeatKind == kRepeatQuick) add(int64_t(set.Minute()) + 1);  // up to a minute late
  if (PreMode(e)) add(int64_t(set.Minute()) - e.PreBellMinutes);
  return n;
}

}  // namespace

DueResult RunDueCheck(AlarmTable& table, LocalSecond now, const DaysOff* daysOff, const HandledTest& handled) {
  const Tick tick(now);
  const OleDate mark = FromSecondNumber(now);
  const int count = table.EntryCount();
  const AlarmEntry* slots = table.Slots().data();  // read straight; the due entry is written through table[]
  for (int i = 0; i < count; ++i) {
    const AlarmEntry& e = slots[i];
    if (!MainMode(e) && !PreMode(e)) continue;
    DueResult r = BellsDue(tick, e, DayTimeOf(e.AlarmTime), daysOff);
    if (!r.main && !r.pre) continue;
    if (handled && handled(i, r, tick.seconds)) continue;
    if (r.main) table[i].MainBellFiredAt = mark;
    if (r.pre) table[i].PreBellFiredAt = mark;
    r.slot = i;
    return r;
  }
  return {};
}

void RunDueChecks(AlarmTable& table, LocalSecond firstSecond, LocalSecond lastSecond,
                  const std::function<bool(LocalSecond second, const DueResult& bell)>& onBell,
                  const DaysOff* daysOff, const HandledTest& handled) {
  const int count = table.EntryCount();
  // AlarmTime, kind, mode and lead never change while the checks run (only the fired-at
  // members do), so each entry's minutes are found once; each minute's list is in slot order.
  std::vector<DayTime> sets(static_cast<size_t>(count));
  std::vector<std::vector<int>> byMinute(1440);
  for (int i = 0; i < count; ++i) {
    sets[size_t(i)] = DayTimeOf(table[i].AlarmTime);
    std::array<int32_t, 3> minutes{};
    const int n = BellMinutes(table[i], sets[size_t(i)], minutes);
    for (int k = 0; k < n; ++k) byMinute[size_t(minutes[size_t(k)])].push_back(i);
  }
  auto anyDue = [](const DueResult& r) { return r.main || r.pre; };
  std::vector<int> ready;
  for (int64_t start = FloorDiv(firstSecond, 60) * 60; start <= lastSecond; start += 60) {
    const std::vector<int>& candidates = byMinute[size_t(FloorMod(start, kSecondsPerDay) / 60)];
    if (candidates.empty()) continue;
    const int64_t from = std::max(firstSecond, start), to = std::min(lastSecond, start + 59);
    // Within a minute an entry that is not due stays so until it rings, except for the
    // daily pre-bell (due from a second on) and the quick timer (a window of 61 seconds, which
    // takes in either end of any part of a minute it meets): testing both ends finds them all.
    const Tick first(from), last(to);
    ready.clear();
    for (int i : candidates) {
      const AlarmEntry& e = table[i];
      if (anyDue(BellsDue(first, e, sets[size_t(i)], daysOff)) || anyDue(BellsDue(last, e, sets[size_t(i)], daysOff)))
        ready.push_back(i);
    }
    for (int64_t s = from; s <= to && !ready.empty(); ++s) {
      const Tick tick(s);
      const OleDate mark = FromSecondNumber(s);
      for (int i : ready) {
        DueResult r = BellsDue(tick, table[i], sets[size_t(i)], daysOff);
        if (!anyDue(r)) continue;
        if (handled && handled(i, r, s)) continue;
        if (r.main) table[i].MainBellFiredAt = mark;
        if (r.pre) table[i].PreBellFiredAt = mark;
        r.slot = i;
        if (!onBell(s, r)) return;
        break;
      }
    }
  }
}

OleDate MarkAsOf(OleDate mark, LocalSecond now) { return MarkIsAhead(DayTimeOf(mark).Seconds(), now) ? 0 : mark; }

int PutRightFutureMarks(AlarmTable& table, LocalSecond now) {
  int changed = 0;
  for (int i = 0; i < table.EntryCount(); ++i) {
    AlarmEntry& e = table[i];
    const OleDate pre = MarkAsOf(e.PreBellFiredAt, now), main = MarkAsOf(e.MainBellFiredAt, now);
    if (pre == e.PreBellFiredAt && main == e.MainBellFiredAt) continue;
    e.PreBellFiredAt = pre;
    e.MainBellFiredAt = main;
    ++changed;
  }
  return changed;
}

DueResult BellsDueUnmarked(const AlarmEntry& entry, LocalSecond now) {
  return BellsDue(Tick(now), entry, DayTimeOf(entry.AlarmTime), nullptr, false);
}

DueResult BellsDueUnmarkedAt(const AlarmEntry& entry, const DayTime& set, LocalSecond second,
                             const DaysOff* daysOff) {
  return BellsDue(Tick(second), entry, set, daysOff, false);
}

bool MonthlyPreBellDue(LocalSecond now, const AlarmEntry& entry, int lead) {
  return MonthlyDue(Tick(now), DayTimeOf(entry.AlarmTime), lead);
}

bool WeeklyPreBellDue(LocalSecond now, const AlarmEntry& entry, int lead) {
  return WeeklyDue(Tick(now), DayTimeOf(entry.AlarmTime), entry.WeekdayMask, lead);
}

bool DailyPreBellDue(LocalSecond now, const AlarmEntry& entry, int lead) {
  return DailyDue(Tick(now), DayTimeOf(entry.AlarmTime), lead);
}

bool OncePreBellDue(LocalSecond now, const AlarmEntry& entry, int lead) {
  return OnceDue(Tick(now), DayTimeOf(entry.AlarmTime), lead);
}

bool NthWeekDue(LocalSecond now, const AlarmEntry& entry, int lead, int week) {
  return NthDue(Tick(now), DayTimeOf(entry.AlarmTime), entry.WeekdayMask, lead, week);
}

bool NthWeekdayDue(LocalSecond now, const AlarmEntry& entry, int lead, int week, int weekday) {
  if (weekday < 1 || weekday > 7) return false;
  const int bit = MaskBitOfWeekday(weekday);
  return NthDue(Tick(now), DayTimeOf(entry.AlarmTime), bit, lead, week);
}

bool BiweeklyDue(LocalSecond now, const AlarmEntry& entry, int lead) {
  return BiweeklyDueAt(Tick(now), DayTimeOf(entry.AlarmTime), entry.WeekdayMask, lead);
}

bool BiweeklyDayDue(LocalSecond now, const AlarmEntry& entry, int lead, LocalSecond start) {
  const Tick tick(now);
  const DayTime set = DayTimeOf(entry.AlarmTime);
  if (SetDayTicked(set, entry.WeekdayMask)) {
    const DayTime p = DayTimeOfSeconds(set.Seconds() - LeadSeconds(lead));
    const int64_t sincePre = tick.today - p.day;
    if (sincePre >= 0 && sincePre % 14 == 0) return tick.minute == p.Minute();
  }
  const int64_t sinceStart = tick.today - FloorDiv(start, kSecondsPerDay);
  return sinceStart >= 0 && sinceStart % 14 == 0 && tick.minute == set.Minute();
}

}  // namespace wb
