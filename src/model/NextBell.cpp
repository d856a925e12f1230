#include "model/NextBell.h"

#include <cstdint>

#include "model/Bells.h"
#include "model/DayMath.h"

namespace wb {

LocalSecond NextBellOfTable(const AlarmTable& table, LocalSecond from, int horizonDays, const DaysOff* daysOff) {
  const int64_t present = from;
  const int64_t horizonEnd = (FloorDiv(present, kSecondsPerDay) + horizonDays + 1) * kSecondsPerDay - 1;
  int64_t best = horizonEnd + 1;
  // Each entry's walk ends where it can no longer beat the best found so far.
  for (int slot = 0; slot < table.EntryCount(); ++slot) {
    const Bell bell = FirstBellFrom(table[slot], present, best - 1, daysOff);
    if (bell.second != kNoBellYet) best = bell.second;
  }
  return best <= horizonEnd ? best : 0;
}

LocalSecond WakeMomentFor(LocalSecond bell, LocalSecond now, int leadSeconds) {
  const LocalSecond wake = bell - leadSeconds;
  return wake > now ? wake : bell;
}

}  // namespace wb
