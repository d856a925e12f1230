// The day test of an alarm entry (does it ring on a given calendar day), the offer of its bell
// times to the next-bell time, and the month table and week window that describe the calendar.
// Portable: no operating-system header; no window or service is touched here.
#pragma once
#include <array>
#include <cstdint>

#include "model/AlarmTable.h"
#include "model/OleDate.h"

namespace wb {

class DaysOff;

// One day of a month: which occurrence of its weekday it is (1..5) and the weekday (1 = Sunday).
struct MonthDaySlot {
  int16_t WeekdayOrdinal = 0;
  int16_t WeekdayNumber = 0;
};

// The month of the date last built; slot i is day i + 1, slots past the month's end are zero.
struct MonthTable {
  std::array<MonthDaySlot, 31> Slots{};
};

MonthTable BuildMonthTable(OleDate date);
// The slot of the date's day of the month; `table` must describe the date's month.
const MonthDaySlot& MonthDayInfo(const MonthTable& table, OleDate date);

// The days among start .. start + 6 whose weekday is in a mask, in date order.
struct WeekWindowSlot {
  OleDate Date = 0;  // the whole day
  int16_t WeekdayOrdinal = 0;  // within the day's own month
  int16_t WeekdayNumber = 0;
};

struct WeekWindow {
  std::array<WeekWindowSlot, 7> Slots{};
  int16_t WeekWindowCount = 0;
};

WeekWindow BuildWeekWindow(int mask, OleDate start);

// The day test on a day number: never before the date of AlarmTime, then by RepeatKind, and
// with `daysOff` never on a day off for an entry that rests on them.
bool EntryOccursOnDay(const AlarmEntry& entry, int64_t day, const DaysOff* daysOff = nullptr);

// Offers the entry's bell times on `baseDay` (its pre-bell and/or main bell by BellMode) to
// `nextBellTime` (the zero date = none yet): the earliest one not behind `now` wins. A bell at
// the present second still counts as ahead, so the tip can say it is ringing.
void OfferNextBell(const AlarmEntry& entry, int64_t baseDay, OleDate now, OleDate& nextBellTime);

// The day test for the entry in `slot` (0..EntryCount-1) on `day`; when it occurs, its bell
// times of the present date are offered to `nextBellTime`.
bool OccursOn(const AlarmTable& table, int slot, OleDate day, OleDate now, OleDate& nextBellTime,
              const DaysOff* daysOff = nullptr);
// The same for the day after `day`, offering the bell times of the day after the present date.
bool OccursOnNextDay(const AlarmTable& table, int slot, OleDate day, OleDate now, OleDate& nextBellTime,
                     const DaysOff* daysOff = nullptr);

}  // namespace wb
