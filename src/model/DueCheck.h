// The due check of one tick of the due-check timer: which entry's main bell or pre-bell falls due in the present
// minute, with the per-kind tests it uses, and the fired-at memory that keeps each bell to once
// a day. Portable: no operating-system header; pausing and presenting are the caller's.
#pragma once
#include <cstdint>
#include <functional>

#include "model/AlarmTable.h"
#include "model/DayMath.h"
#include "model/Moment.h"

namespace wb {

class DaysOff;

// The first due entry in slot order and what fell due; slot -1 when none.
struct DueResult {
  int slot = -1;
  bool main = false;
  bool pre = false;
};

// Whether a bell the due check found due was handled already (the monitor's ledger of handled
// bells answers) at the second number `second`: such an entry is passed over, unmarked, and the walk goes on to the next.
// Unmarked, because its mark would stand for a bell that did not ring: a pre-bell rung again in
// the set minute would take the place of a later one that day.
using HandledTest = std::function<bool(int slot, const DueResult& due, int64_t second)>;

// Walks slots 0..EntryCount-1 and stops at the first due entry at the local second `now`, whose
// MainBellFiredAt and/or PreBellFiredAt become `now` (as a stored date). Nothing else in the table changes. With `daysOff`, an entry that
// rests on days off rings neither its main bell on a day off nor the pre-bell announcing it.
DueResult RunDueCheck(AlarmTable& table, LocalSecond now, const DaysOff* daysOff = nullptr,
                      const HandledTest& handled = {});

// RunDueCheck once a second from `firstSecond` to `lastSecond` (local seconds), as
// a program started at the first second with `table` would run it: `onBell` hears each tick
// that presents a bell, in order, after the table was marked; it returns false to stop.
// Only the minutes in which some entry can fall due are ticked, each second by second: every
// bell but a quick timer's falls due only in its set minute or that minute less its lead, and a
// quick timer in its own minute or the next. The cost is that of the bells, not of the range.
void RunDueChecks(AlarmTable& table, LocalSecond firstSecond, LocalSecond lastSecond,
                  const std::function<bool(LocalSecond second, const DueResult& bell)>& onBell,
                  const DaysOff* daysOff = nullptr, const HandledTest& handled = {});

// The marks as the due check reads them: a mark more than two minutes later than `now` (left by
// a clock that was ahead and has been put right) counts as "not rung" (0), so that bell rings at
// its real minute. One at most two minutes ahead stands: a small correction of the clock that
// re-enters the minute a bell rang in does not ring it twice.
OleDate MarkAsOf(OleDate mark, LocalSecond now);
// How far ahead of the clock a mark (or a record of a handled bell) may be and still stand: one
// left by the clock's own small correction (a time server's) records a bell that rang in this
// very minute. One further ahead was left by a clock that was wrong.
inline constexpr int64_t kMarkSlackSeconds = 120;
// Whether a mark or record (at the local second `moment`) is further ahead of `now` than that.
constexpr bool MarkIsAhead(LocalSecond moment, LocalSecond now) { return moment > now + kMarkSlackSeconds; }
// Puts the marks right after the clock went back: every PreBellFiredAt / MainBellFiredAt that
// MarkAsOf reads as ahead becomes 0 ("not rung"). Returns how many entries changed (the caller then knows
// whether the table differs from the data file).
int PutRightFutureMarks(AlarmTable& table, LocalSecond now);

// What the due check would present for `entry` at the tick `now` if none of its bells had rung
// yet (its marks unread): the same per-kind tests, for code that asks about past moments (the
// catch-up). slot stays -1.
DueResult BellsDueUnmarked(const AlarmEntry& entry, LocalSecond now);
// The same with the set moment already split, for walks over many moments.
DueResult BellsDueUnmarkedAt(const AlarmEntry& entry, const DayTime& set, LocalSecond second,
                             const DaysOff* daysOff = nullptr);

// The per-kind tests, with T = now + lead minutes (lead 0 for the main bell). Matching is to the
// minute, as the "yyyy/mm/dd" and "hh:nn" texts of the moments show them. A repeating bell never
// rings for a day before the date of AlarmTime (its start).
bool MonthlyPreBellDue(LocalSecond now, const AlarmEntry& entry, int lead);
bool WeeklyPreBellDue(LocalSecond now, const AlarmEntry& entry, int lead);
bool DailyPreBellDue(LocalSecond now, const AlarmEntry& entry, int lead);
bool OncePreBellDue(LocalSecond now, const AlarmEntry& entry, int lead);
// Week number 1..5: the entry rings on the week-th weekday of the month for the mask's weekdays.
bool NthWeekDue(LocalSecond now, const AlarmEntry& entry, int lead, int week);
bool NthWeekdayDue(LocalSecond now, const AlarmEntry& entry, int lead, int week, int weekday);
// Every other week, counted from the week window of the mask and the date of AlarmTime; the
// date of AlarmTime itself rings only when the mask ticks its weekday.
bool BiweeklyDue(LocalSecond now, const AlarmEntry& entry, int lead);
bool BiweeklyDayDue(LocalSecond now, const AlarmEntry& entry, int lead, LocalSecond start);

}  // namespace wb
