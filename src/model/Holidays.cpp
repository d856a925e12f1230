#include "model/Holidays.h"

#include <algorithm>

#include "model/DayMath.h"

namespace wb {
namespace {

enum class DayRule { Fixed, NthMonday, VernalEquinox, AutumnalEquinox };

// One line of the law's list: a holiday on a fixed date, on the nth Monday of its month (the
// Happy Monday days), or on an equinox, for the years it stood in the law in that form.
struct HolidayRule {
  const char* name;
  int month;
  int dayOrWeek;  // the day of the month, or which Monday
  DayRule rule;
  int firstYear, lastYear;
};

constexpr int kForever = 9999;

// 2020 and 2021 moved 海の日, スポーツの日 and 山の日 to dates of their own (kDeclaredDays).
constexpr HolidayRule kRules[] = {
    {"元日", 1, 1, DayRule::Fixed, 1949, kForever},
    {"成人の日", 1, 15, DayRule::Fixed, 1949, 1999},
    {"成人の日", 1, 2, DayRule::NthMonday, 2000, kForever},
    {"建国記念の日", 2, 11, DayRule::Fixed, 1967, kForever},
    {"天皇誕生日", 2, 23, DayRule::Fixed, 2020, kForever},
    {"春分の日", 3, 0, DayRule::VernalEquinox, 1949, kForever},
    {"天皇誕生日", 4, 29, DayRule::Fixed, 1949, 1988},
    {"みどりの日", 4, 29, DayRule::Fixed, 1989, 2006},
    {"昭和の日", 4, 29, DayRule::Fixed, 2007, kForever},
    {"憲法記念日", 5, 3, DayRule::Fixed, 1949, kForever},
    {"みどりの日", 5, 4, DayRule::Fixed, 2007, kForever},
    {"こどもの日", 5, 5, DayRule::Fixed, 1949, kForever},
    {"海の日", 7, 20, DayRule::Fixed, 1996, 2002},
    {"海の日", 7, 3, DayRule::NthMonday, 2003, 2019},
    {"海の日", 7, 3, DayRule::NthMonday, 2022, kForever},
    {"山の日", 8, 11, DayRule::Fixed, 2016, 2019},
    {"山の日", 8, 11, DayRule::Fixed, 2022, kForever},
    {"敬老の日", 9, 15, DayRule::Fixed, 1966, 2002},
    {"敬老の日", 9, 3, DayRule::NthMonday, 2003, kForever},
    {"秋分の日", 9, 0, DayRule::AutumnalEquinox, 1948, kForever},
    {"体育の日", 10, 10, DayRule::Fixed, 1966, 1999},
    {"体育の日", 10, 2, DayRule::NthMonday, 2000, 2019},
    {"スポーツの日", 10, 2, DayRule::NthMonday, 2022, kForever},
    {"文化の日", 11, 3, DayRule::Fixed, 1948, kForever},
    {"勤労感謝の日", 11, 23, DayRule::Fixed, 1948, kForever},
    {"天皇誕生日", 12, 23, DayRule::Fixed, 1989, 2018},
};

// Days set by laws of their own. Those "treated as a national holiday" count for 振替休日 and
// 国民の休日 like any other (2019's week of ten days off comes from that); the others were plain
// days off.
struct DeclaredDay {
  int year, month, day;
  const char* name;
  bool countsAsHoliday;
};

constexpr DeclaredDay kDeclaredDays[] = {
    {1959, 4, 10, "皇太子明仁親王の結婚の儀", false},
    {1989, 2, 24, "昭和天皇の大喪の礼", false},
    {1990, 11, 12, "即位礼正殿の儀", false},
    {1993, 6, 9, "皇太子徳仁親王の結婚の儀", false},
    {2019, 5, 1, "天皇の即位の日", true},
    {2019, 10, 22, "即位礼正殿の儀", true},
    {2020, 7, 23, "海の日", true},
    {2020, 7, 24, "スポーツの日", true},
    {2020, 8, 10, "山の日", true},
    {2021, 7, 22, "海の日", true},
    {2021, 7, 23, "スポーツの日", true},
    {2021, 8, 8, "山の日", true},
};

constexpr int64_t DayOfCivil(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  return (sys_days{std::chrono::year{year} / month / day} - sys_days{std::chrono::year{1899} / December / 30}).count();
}

// The law of 1948 took effect on 1948/07/20: no earlier day is a national holiday.
constexpr int64_t kLawStart = DayOfCivil(1948, 7, 20);
// 振替休日 from 1973/04/12; until 2006 only the Monday, from 2007 the next day that is no holiday.
constexpr int64_t kSubstituteStart = DayOfCivil(1973, 4, 12);
// 国民の休日 (a day between two holidays) from 1985/12/27.
constexpr int64_t kBetweenDayStart = DayOfCivil(1985, 12, 27);

int64_t NthMondayOf(int year, int month, int n) {
  const int64_t first = DayNumber(year, month, 1);
  const int toMonday = int(FloorMod(2 - WeekdayOfDay(first), 7));  // weekday 2 = Monday
  return first + toMonday + 7 * (n - 1);
}

bool Contains(const std::vector<NamedDay>& days, int64_t day) {
  return std::binary_search(days.begin(), days.end(), NamedDay{day, {}},
                            [](const NamedDay& a, const NamedDay& b) { return a.day < b.day; });
}

void SortByDay(std::vector<NamedDay>& days) {
  std::stable_sort(days.begin(), days.end(), [](const NamedDay& a, const NamedDay& b) { return a.day < b.day; });
}

// The equinox day from the mean motion of the sun, as the national observatory's approximation
// gives it; the year's quarter-day drift is taken back every fourth year. Far from the years
// its constants were fitted to, the formula drifts by days (it puts 秋分 on 5000/08/31).
int EquinoxDay(int year, double before1980, double from1980, double from2100) {
  if (year < kFirstEquinoxYear || year > kLastEquinoxYear) return 0;
  if (year < 1980) return int(before1980 + 0.242194 * (year - 1980) - (year - 1983) / 4);
  const double base = year < 2100 ? from1980 : from2100;
  return int(base + 0.242194 * (year - 1980) - (year - 1980) / 4);
}

}  // namespace

int VernalEquinoxDay(int year) { return EquinoxDay(year, 20.8357, 20.8431, 21.8510); }
int AutumnalEquinoxDay(int year) { return EquinoxDay(year, 23.2588, 23.2488, 24.2488); }

std::vector<NamedDay> NationalHolidays(int year) {
  std::vector<NamedDay> holidays;  // the days that count as national holidays
  std::vector<NamedDay> others;    // days off that do not
  for (const HolidayRule& r : kRules) {
    if (year < r.firstYear || year > r.lastYear) continue;
    int64_t day = 0;
    switch (r.rule) {
      case DayRule::Fixed: day = DayNumber(year, r.month, r.dayOrWeek); break;
      case DayRule::NthMonday: day = NthMondayOf(year, r.month, r.dayOrWeek); break;
      case DayRule::VernalEquinox:
      case DayRule::AutumnalEquinox: {
        const int dayOfMonth = r.rule == DayRule::VernalEquinox ? VernalEquinoxDay(year) : AutumnalEquinoxDay(year);
        if (dayOfMonth == 0) continue;  // a year the formula is not published for
        day = DayNumber(year, r.month, dayOfMonth);
        break;
      }
    }
    if (day >= kLawStart) holidays.push_back({day, r.name});
  }
  for (const DeclaredDay& d : kDeclaredDays) {
    if (d.year != year) continue;
    (d.countsAsHoliday ? holidays : others).push_back({DayNumber(d.year, d.month, d.day), d.name});
  }
  SortByDay(holidays);

  // 振替休日: a holiday on a Sunday gives the next day that is not a holiday itself.
  for (const NamedDay& h : holidays) {
    if (h.day < kSubstituteStart || WeekdayOfDay(h.day) != 1) continue;
    int64_t day = h.day + 1;
    if (year >= 2007) {
      while (Contains(holidays, day)) ++day;
    } else if (Contains(holidays, day)) {
      continue;
    }
    if (CivilOfDay(day).year == year) others.push_back({day, "振替休日"});
  }
  SortByDay(others);

  // 国民の休日: a day between two holidays that is no holiday itself; until 2006 neither a
  // Sunday nor a 振替休日 either.
  for (size_t i = 0; i + 1 < holidays.size(); ++i) {
    const int64_t day = holidays[i].day + 1;
    if (holidays[i + 1].day != day + 1 || day < kBetweenDayStart) continue;
    if (Contains(others, day) || (year < 2007 && WeekdayOfDay(day) == 1)) continue;
    others.push_back({day, "国民の休日"});
  }

  holidays.insert(holidays.end(), others.begin(), others.end());
  SortByDay(holidays);
  return holidays;
}

namespace {

// The national holidays of the bit range, worked out once for the whole program.
const std::vector<uint64_t>& NationalBits(int64_t firstDay, int64_t dayCount) {
  static const std::vector<uint64_t> bits = [&] {
    std::vector<uint64_t> b(size_t((dayCount + 63) / 64), 0);
    for (int year = DaysOff::kFirstBitYear; year <= DaysOff::kLastBitYear; ++year) {
      for (const NamedDay& h : NationalHolidays(year)) {
        const int64_t i = h.day - firstDay;
        b[size_t(i >> 6)] |= uint64_t(1) << (i & 63);
      }
    }
    return b;
  }();
  return bits;
}

}  // namespace

DaysOff::DaysOff() : DaysOff(std::vector<NamedDay>{}) {}

DaysOff::DaysOff(std::vector<NamedDay> userDays)
    : bits_(NationalBits(kFirstBitDay, kBitDays)), userDays_(std::move(userDays)) {
  SortByDay(userDays_);
  for (const NamedDay& d : userDays_) {
    const uint64_t i = uint64_t(d.day - kFirstBitDay);
    if (i < uint64_t(kBitDays)) bits_[size_t(i >> 6)] |= uint64_t(1) << (i & 63);
  }
}

bool DaysOff::IsDayOffOutsideBits(int64_t day) const {
  if (Contains(userDays_, day)) return true;
  if (day < kLawStart || day > kLastDayNumber) return false;
  return Contains(NationalHolidays(CivilOfDay(day).year), day);
}

std::vector<NamedDay> DaysOff::DaysOfYear(int year) const {
  std::vector<NamedDay> days = NationalHolidays(year);
  const int64_t first = DayNumber(year, 1, 1), last = DayNumber(year, 12, 31);
  for (const NamedDay& d : userDays_)
    if (d.day >= first && d.day <= last) days.push_back(d);
  SortByDay(days);  // stable: a national holiday stays ahead of the user's line for its day
  return days;
}

}  // namespace wb
