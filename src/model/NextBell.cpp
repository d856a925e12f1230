#include "model/NextBell.h"

#include <cstdint>

#include "model/Bells.h"
#include "model/DayMath.h"

namespace wb {

OleDate NextBellOfTable(const AlarmTable& table, OleDate from, int horizonDays, const DaysOff* daysOff) {
  const int64_t present = SecondNumber(from);
  const int64_t horizonEnd = (FloorDiv(present, kSecondsPerDay) + horizonDays + 1) * kSecondsPerDay - 1;
  int64_t best = horizonEnd + 1;
  // Each entry's walk ends where it can no longer beat the best found so far.
  for (int slot = 0; slot < table.EntryCount(); ++slot) {
    const Bell bell = FirstBellFrom(table[slot], present, best - 1, daysOff);
    if (bell.second != kNoBellYet) best = bell.second;
  }
  return best <= horizonEnd ? FromSecondNumber(best) : 0;
}

OleDate WakeMomentFor(OleDate bell, OleDate now, int leadSeconds) {
  const int64_t wake = SecondNumber(bell) - leadSeconds;
  return wake > SecondNumber(now) ? FromSecondNumber(wake) : bell;
}

}  // namespace wb
