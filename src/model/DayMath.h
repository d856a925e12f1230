// Whole-day arithmetic on day numbers (days since 1899-12-30) and second counts, for the
// schedule code that walks the whole table every second and cannot afford text formatting.
// Portable: no operating-system header; the calendar itself is <chrono>'s.
#pragma once
#include <chrono>
#include <cstdint>

#include "model/OleDate.h"

namespace wb {

constexpr int64_t kSecondsPerDay = 86400;

constexpr int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
constexpr int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// Weekday 1 = Sunday ... 7 = Saturday of a day number (1899-12-30 was a Saturday).
constexpr int WeekdayOfDay(int64_t day) { return int(FloorMod(day + 6, 7)) + 1; }

// The WeekdayMask bit of a day number.
constexpr int MaskBitOfDay(int64_t day) {
  int w = WeekdayOfDay(day);
  return w == 1 ? 0x40 : 1 << (w - 2);
}

struct CivilDay {
  int year, month, day;
};

inline CivilDay CivilOfDay(int64_t dayNumber) {
  using namespace std::chrono;
  constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};
  year_month_day ymd{kEpoch + days{dayNumber}};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

// Which occurrence of its weekday in its month the day is (1..5), from its day of the month.
constexpr int WeekdayOrdinalOfDayOfMonth(int dayOfMonth) { return (dayOfMonth - 1) / 7 + 1; }

// A moment as the texts show it: its day number and the second of that day, after rounding.
struct DayTime {
  int64_t day = 0;
  int32_t sec = 0;
  int32_t Minute() const { return sec / 60; }
  int64_t Seconds() const { return day * kSecondsPerDay + sec; }
};

inline DayTime DayTimeOf(OleDate d) {
  // Dates from 1899/12/30 on, the common case, are split here with SplitDate's very steps (the
  // fraction's seconds rounded half away from zero, a rounded-up midnight carried), inline,
  // because the due check splits every entry's dates every second.
  if (d >= 0.0 && d < 2958466.0) {
    const int64_t whole = int64_t(d);
    const double seconds = (d - double(whole)) * 86400.0;
    int64_t s = int64_t(seconds);
    if (seconds - double(s) >= 0.5) ++s;
    if (s >= kSecondsPerDay) {  // a rounded-up midnight, held on the last second of the range
      if (whole >= kLastDayNumber) return {kLastDayNumber, int32_t(kSecondsPerDay - 1)};
      return {whole + 1, int32_t(s - kSecondsPerDay)};
    }
    return {whole, int32_t(s)};
  }
  int32_t day, sec;
  SplitDate(d, day, sec);
  return {day, sec};
}

inline DayTime DayTimeOfSeconds(int64_t seconds) {
  return {FloorDiv(seconds, kSecondsPerDay), int32_t(FloorMod(seconds, kSecondsPerDay))};
}

// The pre-bell lead: (minutes div 60) hours and (minutes mod 60) minutes, in seconds.
constexpr int64_t LeadSeconds(int minutes) { return int64_t(minutes / 60) * 3600 + int64_t(minutes % 60) * 60; }

}  // namespace wb
