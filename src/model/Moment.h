// The program's one type for the present moment and for the moments its watch keeps: a UTC
// second and the offset of local time at that second, both integral. Seconds are counted on the
// stored dates' scale (second numbers from 1899/12/30 00:00, OleDate.h), so a local second
// number and a stored date convert exactly. The stored date type (OleDate) is met only at the
// edges: the data and state files (the entries' fired-at marks are fields of the data file), the
// texts, the controls; the calendar's day test (Schedule.h) answers the editor's calendar control
// and the tray tip's text in their dates. Portable: no operating-system header.
#pragma once
#include <cstdint>

#include "model/DayMath.h"
#include "model/OleDate.h"

namespace wb {

// A second number of the local clock (the wall time, counted as the stored dates count it).
// 0 stands for "none", as the zero date does: no bell falls due on 1899/12/30 00:00.
using LocalSecond = int64_t;

struct Moment {
  int64_t utc = 0;            // the UTC second number: a change of daylight saving does not move it
  int32_t offsetSeconds = 0;  // how far local time is ahead of UTC (+32400 in Japan)
  constexpr LocalSecond Local() const { return utc + offsetSeconds; }
  constexpr int64_t LocalMinute() const { return FloorDiv(Local(), 60); }
  bool operator==(const Moment&) const = default;
};

// The moment whose local second number is `local` under the offset `offsetSeconds`.
constexpr Moment MomentAtLocal(LocalSecond local, int32_t offsetSeconds) { return {local - offsetSeconds, offsetSeconds}; }

// The edges: a stored local date read as a moment under an offset, and a moment's local date.
inline Moment MomentOfDate(OleDate local, int32_t offsetSeconds) { return MomentAtLocal(SecondNumber(local), offsetSeconds); }
inline OleDate LocalDateOf(const Moment& m) { return FromSecondNumber(m.Local()); }
// A local second as a stored date; 0 stays the zero date ("none").
inline OleDate DateOfLocal(LocalSecond s) { return s == 0 ? 0.0 : FromSecondNumber(s); }
// A stored date as a local second; the zero date stays 0.
inline LocalSecond LocalOfDate(OleDate d) { return d == 0 ? 0 : SecondNumber(d); }

}  // namespace wb
