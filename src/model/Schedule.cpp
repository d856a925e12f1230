#include "model/Schedule.h"

#include "model/Assert.h"
#include "model/DayMath.h"

namespace wb {

MonthTable BuildMonthTable(OleDate date) {
  MonthTable table;
  const CivilDay c = CivilOfDay(DayOf(date));
  const int64_t first = DayNumber(c.year, c.month, 1);
  int counters[8] = {0, 1, 1, 1, 1, 1, 1, 1};
  const int length = DaysInMonth(c.year, c.month);
  for (int d = 1; d <= length; ++d) {
    const int w = WeekdayOfDay(first + d - 1);
    table.Slots[size_t(d - 1)] = {int16_t(counters[w]++), int16_t(w)};
  }
  return table;
}

const MonthDaySlot& MonthDayInfo(const MonthTable& table, OleDate date) {
  return table.Slots[size_t(CivilOfDay(DayOf(date)).day - 1)];
}

WeekWindow BuildWeekWindow(int mask, OleDate start) {
  WeekWindow window;
  const int64_t first = DayOf(start);
  for (int64_t day = first; day < first + 7; ++day) {
    if ((mask & MaskBitOfDay(day)) == 0) continue;
    WeekWindowSlot& slot = window.Slots[size_t(window.WeekWindowCount++)];
    slot.Date = OleDate(day);
    slot.WeekdayOrdinal = int16_t(WeekdayOrdinalOfDayOfMonth(CivilOfDay(day).day));
    slot.WeekdayNumber = int16_t(WeekdayOfDay(day));
  }
  return window;
}

bool EntryOccursOnDay(const AlarmEntry& entry, int64_t day) {
  const int64_t setDay = DayOf(entry.AlarmTime);
  if (day < setDay) return false;
  const int kind = entry.RepeatKind;
  const int mask = entry.WeekdayMask;
  switch (kind) {
    case kRepeatMonthly:  // no clamping: the 31st never occurs in a shorter month
      return CivilOfDay(day).day == CivilOfDay(setDay).day;
    case kRepeatWeekly:
      return (mask & MaskBitOfDay(day)) != 0;
    case kRepeatDaily:
      return true;
    case kRepeatOnce:
    case kRepeatQuick:
      return day == setDay;
    case kRepeatBiweekly:
      // The window holds setDay + k (k = 0..6) for the mask's weekdays; the day is a multiple
      // of 14 days from one of them exactly when k is its distance mod 14 and its weekday
      // (the same as that slot's) is in the mask.
      return FloorMod(day - setDay, 14) <= 6 && (mask & MaskBitOfDay(day)) != 0;
    default:
      if (kind >= kRepeatNth1 && kind <= kRepeatNth5) {
        return (mask & MaskBitOfDay(day)) != 0 &&
               WeekdayOrdinalOfDayOfMonth(CivilOfDay(day).day) == kind - kRepeatNth1 + 1;
      }
      return false;
  }
}

void OfferNextBell(const AlarmEntry& entry, int64_t baseDay, OleDate now, OleDate& nextBellTime) {
  const int64_t main = baseDay * kSecondsPerDay + SecondOfDay(entry.AlarmTime);
  const int64_t pre = main - LeadSeconds(entry.PreBellMinutes);
  const int64_t present = SecondNumber(now);
  int64_t best = INT64_MAX;
  // A bell after the last second dates can hold never comes; held on that second it would
  // read as ringing now.
  if (RingsPreBell(entry.BellMode) && pre >= present && pre <= kLastSecondNumber) best = pre;
  if (RingsMainBell(entry.BellMode) && main >= present && main <= kLastSecondNumber &&
      main < best)
    best = main;
  if (best == INT64_MAX) return;
  if (nextBellTime == 0 || double(best) < LinearSeconds(nextBellTime)) nextBellTime = FromSecondNumber(best);
}

bool OccursOn(const AlarmTable& table, int slot, OleDate day, OleDate now, OleDate& nextBellTime) {
  WB_ASSERT(slot >= 0 && slot < table.EntryCount());
  const AlarmEntry& entry = table[slot];
  if (!EntryOccursOnDay(entry, DayOf(day))) return false;
  OfferNextBell(entry, DayOf(now), now, nextBellTime);
  return true;
}

bool OccursOnNextDay(const AlarmTable& table, int slot, OleDate day, OleDate now, OleDate& nextBellTime) {
  WB_ASSERT(slot >= 0 && slot < table.EntryCount());
  const AlarmEntry& entry = table[slot];
  if (!EntryOccursOnDay(entry, int64_t(DayOf(day)) + 1)) return false;
  OfferNextBell(entry, int64_t(DayOf(now)) + 1, now, nextBellTime);
  return true;
}

}  // namespace wb
