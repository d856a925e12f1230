// What the program promises about when bells ring, written from the documented rules alone so
// that the ringing simulation can hold the real monitor to it. It must not include or call
// anything of src/: a checker that shares the schedule's code would share its mistakes.
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wb::promise {

// All moments are local wall-clock seconds counted from 1970-01-01 00:00 (as if UTC); a day
// number counts days from 1970-01-01 (negative before it).
int64_t DayOf(int64_t local);
int64_t DayNumber(int year, int month, int day);
int64_t LocalSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// 0 = Sunday .. 6 = Saturday, the bit of the day in PromisedEntry::weekdays.
int WeekdayOf(int64_t dayNumber);
// "yyyy/mm/dd hh:nn:ss", for the checker's messages.
std::string FormatLocal(int64_t local);

enum class Kind { Once, Daily, Weekly, Monthly, Biweekly, Nth /*1st..5th weekday*/, Quick };

struct PromisedEntry {
  Kind kind = Kind::Once;
  int nth = 1;  // 1..5 for Nth
  // The set date and time. Every kind but the quick timer rings at the set minute (the program
  // matches clock minutes), so their seconds are dropped; a quick timer keeps its second.
  int64_t set = 0;
  unsigned weekdays = 0;  // bit 0 = Sunday .. bit 6 = Saturday (the caller converts the stored mask)
  bool restsOnDaysOff = false;  // honoured for the repeating kinds only
  bool mainBell = true, preBell = false;
  int leadMinutes = 0;  // the pre-bell rings this long before its main bell
};

struct PromisedBell {
  int entry = 0;  // index into the entries given
  bool main = true;
  int64_t due = 0;
  int64_t occurrence = 0;  // the main bell's moment of the occurrence this bell belongs to

  bool operator==(const PromisedBell&) const = default;
};

// An entry as the data file stores it: the RepeatKind code (1 monthly, 2 weekly, 3 daily,
// 4 once, 5 quick timer, 6 every other week, 7..11 the 1st..5th weekday), the WeekdayMask
// (0x01 Monday .. 0x40 Sunday, 0x80 rests on days off), the BellMode (0 main bell only, 1 pre-bell
// only, 2 both) and the lead. Empty when it can never ring: any other code or bell mode.
std::optional<PromisedEntry> FromStoredFields(int repeatKind, int weekdayMask, int bellMode, int preBellMinutes,
                                              int64_t set);

// Days off: Japan's national holidays as the npm package @holiday-jp/holiday_jp lists them, and
// the user's own listed days.
class DaysOffSet {
 public:
  // Reads every `date: "yyyy-mm-dd"` of the package's holidays.js. False when the file cannot be
  // read or holds no date.
  bool LoadHolidayJp(const std::string& path);
  void AddDay(int64_t dayNumber);
  void AddDay(int year, int month, int day) { AddDay(DayNumber(year, month, day)); }

  bool IsOff(int64_t dayNumber) const { return days_.count(dayNumber) != 0; }
  // Whether the holiday list spans the day's year: outside it a national holiday is not known
  // here, so a checker must not conclude anything about a day off there.
  bool HolidaysKnownFor(int64_t dayNumber) const;
  size_t HolidayCount() const { return holidayCount_; }

 private:
  std::set<int64_t> days_;
  size_t holidayCount_ = 0;
  int firstYear_ = 0, lastYear_ = -1;
};

// Where scripts/setup puts the package's holidays.js: WB_HOLIDAY_JP_DATA if set, else under the
// source tree's build/testdata.
std::string HolidayJpDataPath();

struct Promise {
  std::vector<PromisedBell> bells;    // what must ring
  std::vector<PromisedBell> resting;  // what must not, because its occurrence is on a day off
};

// Every bell of every entry due in [from, to], both ends included, ordered by due, then entry,
// the pre-bell before the main bell. Bells of an occurrence whose day is a day off go to
// `resting` instead when the entry rests on days off.
Promise BellsBetween(const std::vector<PromisedEntry>& entries, const DaysOffSet& daysOff, int64_t from, int64_t to);

}  // namespace wb::promise
