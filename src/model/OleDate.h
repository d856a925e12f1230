// OLE automation dates (days since 1899-12-30, time of day as the fraction) and their civil form.
// Every date of the program goes through here; the calendar work is <chrono>'s, not hand-written.
// Portable: no operating-system header.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace wb {

using OleDate = double;  // the zero date means "never" / "not set"

// The range the texts can show, 0100/01/01 00:00:00 to 9999/12/31 23:59:59: every split of a
// date stays inside it, rounding included, so no text ever shows a year 10000 (or "0000").
inline constexpr int32_t kLastDayNumber = 2958465;  // 9999/12/31
inline constexpr int64_t kLastSecondNumber = int64_t(kLastDayNumber) * 86400 + 86399;

struct CivilTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// Days since 1899-12-30 of a civil date (may be negative before it).
int32_t DayNumber(int year, int month, int day);
// Civil form of a date, rounded to the nearest second first.
CivilTime ToCivil(OleDate d);
OleDate FromCivil(const CivilTime& c);
OleDate MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Whole-day part and second of the day after rounding to the nearest second.
int32_t DayOf(OleDate d);
int32_t SecondOfDay(OleDate d);
inline int32_t MinuteOfDay(OleDate d) { return SecondOfDay(d) / 60; }
// Both at once (one rounding), for code that walks many dates.
void SplitDate(OleDate d, int32_t& day, int32_t& secondOfDay);

// The OLE value is not a linear count before the epoch (its fraction counts forwards on both
// sides), so arithmetic on moments goes through these linear second counts instead.
// SecondNumber: the rounded moment; LinearSeconds: the exact one; FromSecondNumber: back.
int64_t SecondNumber(OleDate d);
double LinearSeconds(OleDate d);
OleDate FromSecondNumber(int64_t seconds);

// Weekday 1 = Sunday ... 7 = Saturday.
int WeekdayOf(OleDate d);
int WeekdayOfDayNumber(int32_t day);
int DaysInMonth(int year, int month);

// Texts of the program: "yyyy/mm/dd", "hh:nn", "yyyy/mm/dd hh:nn", "yyyy/mm/dd hh:nn:ss".
std::string FormatDate(OleDate d);
std::string FormatHourMinute(OleDate d);
std::string FormatDateHourMinute(OleDate d);
std::string FormatMoment(OleDate d);
// Parses "yyyy/mm/dd hh:nn:ss" (or "yyyy/mm/dd"); false on a malformed or impossible moment.
bool ParseMoment(const std::string& text, OleDate& out);

// A time span of whole minutes as an OLE date difference.
inline double MinutesSpan(int minutes) { return minutes / 1440.0; }
inline constexpr double kOneSecond = 1.0 / 86400.0;

}  // namespace wb
