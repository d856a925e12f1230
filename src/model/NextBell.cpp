#include "model/NextBell.h"

#include <algorithm>
#include <cstdint>

#include "model/DayMath.h"
#include "model/Schedule.h"

namespace wb {

OleDate NextBellOfTable(const AlarmTable& table, OleDate from, int horizonDays, const DaysOff* daysOff) {
  const int64_t present = SecondNumber(from);
  const int64_t today = FloorDiv(present, kSecondsPerDay);
  OleDate best = 0;
  int64_t bestSecond = INT64_MAX;
  for (int slot = 0; slot < table.EntryCount(); ++slot) {
    const AlarmEntry& entry = table[slot];
    const bool once = entry.RepeatKind == kRepeatOnce || entry.RepeatKind == kRepeatQuick;
    const int64_t setDay = DayOf(entry.AlarmTime);
    // A pre-bell is the only bell that lies before its day's main bell, by its lead.
    const int64_t lead = entry.BellMode == BellMode::MainOnly ? 0 : std::max<int64_t>(0, LeadSeconds(entry.PreBellMinutes));
    const int64_t first = once ? setDay : std::max(today, setDay);
    const int64_t last = once ? setDay : today + horizonDays;
    for (int64_t day = first; day <= last; ++day) {
      if (day * kSecondsPerDay - lead > bestSecond) break;  // nothing of this day comes sooner
      if (!EntryOccursOnDay(entry, day, daysOff)) continue;
      OleDate bell = 0;
      OfferNextBell(entry, day, from, bell);
      if (bell == 0) continue;  // this day's bells are behind `from`
      const int64_t second = SecondNumber(bell);
      if (second < bestSecond) {
        bestSecond = second;
        best = bell;
      }
      break;  // a later day of the same entry rings later
    }
  }
  return best;
}

OleDate WakeMomentFor(OleDate bell, OleDate now, int leadSeconds) {
  const int64_t wake = SecondNumber(bell) - leadSeconds;
  return wake > SecondNumber(now) ? FromSecondNumber(wake) : bell;
}

}  // namespace wb
