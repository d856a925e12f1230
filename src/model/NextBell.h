// The next bell of the whole table (main bell or pre-bell, by each entry's bell mode), for the
// wake timer that wakes a sleeping PC shortly before it. Portable: no operating-system header.
#pragma once
#include "model/AlarmTable.h"
#include "model/Moment.h"

namespace wb {

class DaysOff;

// A repeating entry's next occurrence lies at most this far ahead (a monthly bell on the 31st:
// two months); the search never looks further.
inline constexpr int kNextBellHorizonDays = 400;

// The earliest bell of any entry at or after the local second `from`, as the due check rings it (Bells.h: at the
// start of its minute, a quick timer at its second); 0 when none comes within the horizon.
// With `daysOff`, a day an entry rests on gives none of its bells: a sleeping PC is not woken
// for a bell that will not ring.
LocalSecond NextBellOfTable(const AlarmTable& table, LocalSecond from, int horizonDays = kNextBellHorizonDays,
                        const DaysOff* daysOff = nullptr);

// When to wake the PC for a bell at `bell`: `leadSeconds` before it, or the bell itself when
// that moment is already behind `now` (a timer in the past would never wake anything).
LocalSecond WakeMomentFor(LocalSecond bell, LocalSecond now, int leadSeconds);

}  // namespace wb
