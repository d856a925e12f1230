#include "model/OleDate.h"

#include <cmath>
#include <cstdio>

namespace wb {
namespace {
using namespace std::chrono;
constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

CivilTime CivilFromParts(int32_t day, int32_t secondOfDay) {
  year_month_day ymd{kEpoch + days{day}};
  CivilTime c;
  c.year = int(ymd.year());
  c.month = int(unsigned(ymd.month()));
  c.day = int(unsigned(ymd.day()));
  c.hour = secondOfDay / 3600;
  c.minute = secondOfDay / 60 % 60;
  c.second = secondOfDay % 60;
  return c;
}

// Values outside the OLE range (0100/01/01 to 9999/12/31) or not a number can come from a
// damaged data file; they are held at the nearest end so no conversion overflows.
OleDate Clamped(OleDate d) {
  if (!(d > -657435.0)) return -657434.0;
  if (!(d < 2958466.0)) return 2958465.0 + 86399.0 / 86400.0;
  return d;
}

// OLE dates before the epoch count whole days backwards but the fraction forwards
// (-1.25 is 1899-12-29 06:00); rounding works on that split so both sides agree.
void Split(OleDate d, int32_t& day, int32_t& sec) {
  d = Clamped(d);
  double whole = std::trunc(d);
  double frac = std::fabs(d - whole);
  long long s = std::llround(frac * 86400.0);
  long long dd = (long long)whole;
  if (s >= 86400) {  // rounded up to the next midnight: the next day on either side of the epoch
    s -= 86400;
    dd += 1;
  }
  if (dd > kLastDayNumber) {  // rounded past the last second: held on it
    dd = kLastDayNumber;
    s = 86399;
  }
  day = (int32_t)dd;
  sec = (int32_t)s;
}
}  // namespace

int32_t DayNumber(int y, int m, int d) {
  return int32_t((sys_days{year{y} / month{unsigned(m)} / day{unsigned(d)}} - kEpoch).count());
}

CivilTime ToCivil(OleDate d) {
  int32_t day, sec;
  Split(d, day, sec);
  return CivilFromParts(day, sec);
}

OleDate FromCivil(const CivilTime& c) {
  return MakeDate(c.year, c.month, c.day, c.hour, c.minute, c.second);
}

OleDate MakeDate(int y, int m, int d, int hh, int nn, int ss) {
  double day = DayNumber(y, m, d);
  double frac = (hh * 3600 + nn * 60 + ss) / 86400.0;
  return day >= 0 ? day + frac : day - frac;
}

int32_t DayOf(OleDate d) {
  int32_t day, sec;
  Split(d, day, sec);
  return day;
}

int32_t SecondOfDay(OleDate d) {
  int32_t day, sec;
  Split(d, day, sec);
  return sec;
}

void SplitDate(OleDate d, int32_t& day, int32_t& secondOfDay) { Split(d, day, secondOfDay); }

int64_t SecondNumber(OleDate d) {
  int32_t day, sec;
  Split(d, day, sec);
  return int64_t(day) * 86400 + sec;
}

double LinearSeconds(OleDate d) {
  d = Clamped(d);
  double whole = std::trunc(d);
  return whole * 86400.0 + std::fabs(d - whole) * 86400.0;
}

OleDate FromSecondNumber(int64_t seconds) {
  int64_t day = seconds / 86400, sec = seconds % 86400;
  if (sec < 0) sec += 86400, day -= 1;
  double frac = double(sec) / 86400.0;
  return day >= 0 ? double(day) + frac : double(day) - frac;
}

int WeekdayOfDayNumber(int32_t day) {
  return int(weekday{kEpoch + days{day}}.c_encoding()) + 1;
}

int WeekdayOf(OleDate d) { return WeekdayOfDayNumber(DayOf(d)); }

int DaysInMonth(int y, int m) {
  return int(unsigned(year_month_day_last{year{y} / month{unsigned(m)} / last}.day()));
}

std::string FormatDate(OleDate d) {
  CivilTime c = ToCivil(d);
  char b[16];
  std::snprintf(b, sizeof b, "%04d/%02d/%02d", c.year, c.month, c.day);
  return b;
}

std::string FormatHourMinute(OleDate d) {
  CivilTime c = ToCivil(d);
  char b[8];
  std::snprintf(b, sizeof b, "%02d:%02d", c.hour, c.minute);
  return b;
}

std::string FormatDateHourMinute(OleDate d) { return FormatDate(d) + " " + FormatHourMinute(d); }

std::string FormatMoment(OleDate d) {
  CivilTime c = ToCivil(d);
  char b[32];
  std::snprintf(b, sizeof b, "%04d/%02d/%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                c.second);
  return b;
}

bool ParseMoment(const std::string& text, OleDate& out) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  char tail;
  int n = std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail);
  if (!(n == 6 || (n == 3 && text.size() == 10))) return false;
  if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo)) return false;
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) return false;
  out = MakeDate(y, mo, d, h, mi, s);
  return true;
}

}  // namespace wb
