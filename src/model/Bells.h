// Which bells of an entry fall in a span of time: the one answer to "what rings when", given by
// the due check's own per-tick tests (DueCheck.h). The catch-up, the wake timer and the snooze's
// cancellation by the entry's next bell read it here, so none of them can disagree with what the
// ticks ring. Portable: no operating-system header.
//
// Where the calendar's day test (Schedule.h) and the ticks differ, the ticks rule, because they
// are what rings: every bell but a quick timer's is presented at the start of its minute (the
// day test offers the set second); an every-other-week pre-bell of the week window's other days
// announces its own day's bell; a pre-bell that found no tick in its own minute rings in the set
// minute with the main bell (for the kinds that do so). The day test stays the calendar's: the
// editor's list marks and the tray tip, whose texts show the entry's set second.
#pragma once
#include <cstdint>
#include <functional>

#include "model/AlarmEntry.h"
#include "model/DayMath.h"

namespace wb {

class DaysOff;

// One bell of an entry.
struct Bell {
  int64_t second = 0;  // the second number (OleDate.h) at which the ticks present it
  // The moment it stands for: `second`, except for a pre-bell rung in the set minute because its
  // own minute (its lead earlier) found no tick, which is that own minute's bell.
  int64_t own = 0;
  bool main = false;  // the main bell (a quick timer's only bell); else the pre-bell
};

// No pre-bell handled yet (the `lastPreOwn` of ForEachBell).
inline constexpr int64_t kNoBellYet = INT64_MIN;

// Calls `visit` with each bell of `entry` that ticks at every second of (from, to] would
// present, oldest first, as if none of its bells had rung before `from`, except that a pre-bell
// whose own moment is at or before `lastPreOwn` counts as rung (the set minute does not ring it
// again). With `daysOff`, an entry resting on days off gives none of a resting day's bells.
// `visit` returns false to stop the walk.
void ForEachBell(const AlarmEntry& entry, int64_t from, int64_t to, const DaysOff* daysOff, int64_t lastPreOwn,
                 const std::function<bool(const Bell&)>& visit);

// The first bell of `entry` at or after the second `from` and at or before `until`; its second is
// kNoBellYet when none.
Bell FirstBellFrom(const AlarmEntry& entry, int64_t from, int64_t until, const DaysOff* daysOff);

// The moment a pre-bell the due check found in the minute starting at `minuteStart` stands for:
// its own minute (the lead earlier) when it was found alone in the set minute and that own minute
// is one of its bells, else `minuteStart`.
int64_t PreBellOwnSecond(const AlarmEntry& entry, const DayTime& set, int64_t minuteStart, const DaysOff* daysOff);

}  // namespace wb
