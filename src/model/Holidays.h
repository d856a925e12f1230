// Days off: Japan's national holidays worked out from the law's rules (so years nobody has
// listed yet come out right), the user's own days off, and the flag by which an entry rests
// on them. Portable: no operating-system header; reading the user's file is storage's.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmEntry.h"

namespace wb {

// Bit 0x80 of WeekdayMask, above the seven weekday bits (which every reader of the mask tests
// one by one): the entry rings neither bell on a day off. An entry without it keeps the mask,
// and so the data file, exactly as before.
inline constexpr int16_t kMaskRestsOnDaysOff = int16_t(0x80);

// Whether the entry's kind repeats (daily, weekly, every other week, monthly, 1st–5th weekday):
// only those can rest on a day off; a once-only entry or a quick timer always rings.
constexpr bool RepeatKindCanRest(int kind) {
  return kind == kRepeatMonthly || kind == kRepeatWeekly || kind == kRepeatDaily || kind == kRepeatBiweekly ||
         (kind >= kRepeatNth1 && kind <= kRepeatNth5);
}

inline bool RestsOnDaysOff(const AlarmEntry& e) {
  return (e.WeekdayMask & kMaskRestsOnDaysOff) != 0 && RepeatKindCanRest(e.RepeatKind);
}

// A day (day number, as DayOf gives) with its name.
struct NamedDay {
  int64_t day = 0;
  std::string name;
  bool operator==(const NamedDay&) const = default;
};

// The day of March (春分) and of September (秋分) of the equinox, from the astronomical
// approximation of the mean tropical year, which is published with constants for 1900–2150
// only. Outside those years it returns 0: the day is not known, and 春分の日 and 秋分の日 are left
// out of the national holidays (with the 振替休日 and 国民の休日 they would bring) rather than
// guessed. A user who keeps alarms that far ahead can put the days in the days-off file.
inline constexpr int kFirstEquinoxYear = 1900, kLastEquinoxYear = 2150;
int VernalEquinoxDay(int year);
int AutumnalEquinoxDay(int year);

// The national holidays of `year` in date order: the 国民の祝日, the one-off days declared by
// their own laws, 振替休日 and 国民の休日. None before the law took effect on 1948/07/20.
std::vector<NamedDay> NationalHolidays(int year);

// The day number of a year's 1 January, at compile time.
constexpr int64_t DayNumberOfNewYear(int year) {
  using namespace std::chrono;
  return (sys_days{std::chrono::year{year} / January / 1} - sys_days{std::chrono::year{1899} / December / 30}).count();
}

// The calendar the bells consult: national holidays plus the user's own days. IsDayOff is a
// bit test for the years programs and tables actually use, since the due check may ask it for
// many entries in one tick; other years are worked out when asked.
class DaysOff {
 public:
  DaysOff();  // the national holidays alone
  explicit DaysOff(std::vector<NamedDay> userDays);

  bool IsDayOff(int64_t day) const {
    const uint64_t i = uint64_t(day - kFirstBitDay);
    if (i < uint64_t(kBitDays)) return (bits_[size_t(i >> 6)] >> (i & 63)) & 1u;
    return IsDayOffOutsideBits(day);
  }

  // The year's days off in date order: the national ones by name, then the user's as written
  // (a day both gets one line each).
  std::vector<NamedDay> DaysOfYear(int year) const;
  const std::vector<NamedDay>& UserDays() const { return userDays_; }

  static constexpr int kFirstBitYear = 1948, kLastBitYear = 2199;

 private:
  static constexpr int64_t kFirstBitDay = DayNumberOfNewYear(kFirstBitYear);
  static constexpr int64_t kBitDays = DayNumberOfNewYear(kLastBitYear + 1) - kFirstBitDay;
  bool IsDayOffOutsideBits(int64_t day) const;

  std::vector<uint64_t> bits_;
  std::vector<NamedDay> userDays_;  // sorted by day
};

}  // namespace wb
