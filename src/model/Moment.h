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

// A second number of the UTC clock: what elapsed time is measured on (a snooze's delay, the
// ledger's "handled at", a clock put right). A type of its own, as date.h's sys_time is apart
// from local_time: a local second never becomes one, nor it a local second, without the offset
// of a clock reading (Moment), so a snooze cannot again keep a wall time that daylight saving
// moves. Durations are plain seconds (int64_t).
class UtcSecond {
 public:
  constexpr UtcSecond() = default;
  constexpr explicit UtcSecond(int64_t count) : count_(count) {}
  constexpr int64_t Count() const { return count_; }
  // 0 stands for "none" or "not known", as in the files that keep one.
  constexpr bool IsNone() const { return count_ == 0; }
  friend constexpr UtcSecond operator+(UtcSecond a, int64_t seconds) { return UtcSecond(a.count_ + seconds); }
  friend constexpr UtcSecond operator-(UtcSecond a, int64_t seconds) { return UtcSecond(a.count_ - seconds); }
  friend constexpr int64_t operator-(UtcSecond a, UtcSecond b) { return a.count_ - b.count_; }
  constexpr auto operator<=>(const UtcSecond&) const = default;

 private:
  int64_t count_ = 0;
};

struct Moment {
  UtcSecond utc{};            // a change of daylight saving does not move it
  int32_t offsetSeconds = 0;  // how far local time is ahead of UTC (+32400 in Japan)
  constexpr LocalSecond Local() const { return utc.Count() + offsetSeconds; }
  // The local second of a UTC second under this reading's offset: where a moment kept in UTC
  // (a snooze) stands on the wall clock now.
  constexpr LocalSecond LocalOf(UtcSecond u) const { return u.Count() + offsetSeconds; }
  constexpr int64_t LocalMinute() const { return FloorDiv(Local(), 60); }
  bool operator==(const Moment&) const = default;
};

// The moment whose local second number is `local` under the offset `offsetSeconds`.
constexpr Moment MomentAtLocal(LocalSecond local, int32_t offsetSeconds) { return {UtcSecond(local - offsetSeconds), offsetSeconds}; }

// The edges: a stored local date read as a moment under an offset, and a moment's local date.
inline Moment MomentOfDate(OleDate local, int32_t offsetSeconds) { return MomentAtLocal(SecondNumber(local), offsetSeconds); }
inline OleDate LocalDateOf(const Moment& m) { return FromSecondNumber(m.Local()); }
// A local second as a stored date; 0 stays the zero date ("none").
inline OleDate DateOfLocal(LocalSecond s) { return s == 0 ? 0.0 : FromSecondNumber(s); }
// A stored date as a local second; the zero date stays 0.
inline LocalSecond LocalOfDate(OleDate d) { return d == 0 ? 0 : SecondNumber(d); }

}  // namespace wb
