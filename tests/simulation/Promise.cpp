#include "simulation/Promise.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <tuple>

namespace wb::promise {
namespace {

using namespace std::chrono;

constexpr int64_t kDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

year_month_day CivilOf(int64_t dayNumber) { return year_month_day{sys_days{days{dayNumber}}}; }

bool IsRepeating(Kind kind) { return kind != Kind::Once && kind != Kind::Quick; }

bool WeekdayTicked(const PromisedEntry& e, int64_t day) { return (e.weekdays >> WeekdayOf(day)) & 1u; }

// Whether a repeating entry has an occurrence on the day (the day is on or after the set day).
bool OccursOn(const PromisedEntry& e, int64_t setDay, int64_t day) {
  switch (e.kind) {
    case Kind::Daily:
      return true;
    case Kind::Weekly:
      return WeekdayTicked(e, day);
    case Kind::Monthly:
      // The set day of the month, each month; a month without that day has no bell.
      return CivilOf(day).day() == CivilOf(setDay).day();
    case Kind::Biweekly:
      // The two-week cycle starts on the set day itself: the seven days from it ring their
      // ticked weekdays, the next seven rest, and so on.
      return (day - setDay) % 14 < 7 && WeekdayTicked(e, day);
    case Kind::Nth:
      // The nth such weekday falls on day 7(n-1)+1 .. 7n of its month; a month without a
      // fifth one has none.
      return e.nth >= 1 && e.nth <= 5 && WeekdayTicked(e, day) &&
             (static_cast<int>(unsigned(CivilOf(day).day())) - 1) / 7 + 1 == e.nth;
    case Kind::Once:
    case Kind::Quick:
      break;
  }
  return false;
}

}  // namespace

int64_t DayOf(int64_t local) { return FloorDiv(local, kDay); }

int64_t DayNumber(int y, int m, int d) {
  return sys_days{year{y} / month{unsigned(m)} / day{unsigned(d)}}.time_since_epoch().count();
}

int64_t LocalSeconds(int y, int m, int d, int hour, int minute, int second) {
  return DayNumber(y, m, d) * kDay + hour * 3600 + minute * 60 + second;
}

int WeekdayOf(int64_t dayNumber) {
  return static_cast<int>(weekday{sys_days{days{dayNumber}}}.c_encoding());
}

std::string FormatLocal(int64_t local) {
  const int64_t day = DayOf(local);
  const int64_t second = local - day * kDay;
  const year_month_day ymd = CivilOf(day);
  char text[48];
  std::snprintf(text, sizeof text, "%04d/%02u/%02u %02d:%02d:%02d", int(ymd.year()), unsigned(ymd.month()),
                unsigned(ymd.day()), int(second / 3600), int(second / 60 % 60), int(second % 60));
  return text;
}

std::optional<PromisedEntry> FromStoredFields(int repeatKind, int weekdayMask, int bellMode, int preBellMinutes,
                                              int64_t set) {
  PromisedEntry e;
  if (repeatKind == 1) e.kind = Kind::Monthly;
  else if (repeatKind == 2) e.kind = Kind::Weekly;
  else if (repeatKind == 3) e.kind = Kind::Daily;
  else if (repeatKind == 4) e.kind = Kind::Once;
  else if (repeatKind == 5) e.kind = Kind::Quick;
  else if (repeatKind == 6) e.kind = Kind::Biweekly;
  else if (repeatKind >= 7 && repeatKind <= 11) {
    e.kind = Kind::Nth;
    e.nth = repeatKind - 6;
  } else {
    return std::nullopt;
  }
  if (bellMode < 0 || bellMode > 2) return std::nullopt;
  e.mainBell = bellMode != 1;
  e.preBell = bellMode != 0;
  e.leadMinutes = preBellMinutes;
  e.set = set;
  // The stored mask starts its week on Monday (0x01) and keeps Sunday last (0x40).
  const unsigned mask = unsigned(weekdayMask) & 0xFFu;
  e.weekdays = ((mask & 0x3Fu) << 1) | ((mask >> 6) & 1u);
  e.restsOnDaysOff = (mask & 0x80u) != 0;
  return e;
}

bool DaysOffSet::LoadHolidayJp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string key = "date: \"";
  size_t found = 0;
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    // yyyy-mm-dd, digits checked one by one so that a damaged line is skipped, not misread.
    const size_t p = at + key.size();
    if (p + 10 > text.size() || text[p + 4] != '-' || text[p + 7] != '-') continue;
    auto number = [&](size_t from, size_t count, int& out) {
      out = 0;
      for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        out = out * 10 + (text[i] - '0');
      }
      return true;
    };
    int y, m, d;
    if (!number(p, 4, y) || !number(p + 5, 2, m) || !number(p + 8, 2, d)) continue;
    if (!year_month_day{year{y} / month{unsigned(m)} / day{unsigned(d)}}.ok()) continue;
    days_.insert(DayNumber(y, m, d));
    firstYear_ = found == 0 ? y : std::min(firstYear_, y);
    lastYear_ = found == 0 ? y : std::max(lastYear_, y);
    ++found;
  }
  holidayCount_ += found;
  return found > 0;
}

void DaysOffSet::AddDay(int64_t dayNumber) { days_.insert(dayNumber); }

bool DaysOffSet::HolidaysKnownFor(int64_t dayNumber) const {
  const int y = int(CivilOf(dayNumber).year());
  return y >= firstYear_ && y <= lastYear_;
}

std::string HolidayJpDataPath() {
  if (const char* path = std::getenv("WB_HOLIDAY_JP_DATA")) return path;
#ifdef WB_SOURCE_DIR
  return std::string(WB_SOURCE_DIR) + "/build/testdata/node_modules/@holiday-jp/holiday_jp/lib/holidays.js";
#else
  return "build/testdata/node_modules/@holiday-jp/holiday_jp/lib/holidays.js";
#endif
}

Promise BellsBetween(const std::vector<PromisedEntry>& entries, const DaysOffSet& daysOff, int64_t from, int64_t to) {
  Promise promise;
  if (from > to) return promise;
  for (size_t index = 0; index < entries.size(); ++index) {
    const PromisedEntry& e = entries[index];
    const bool quick = e.kind == Kind::Quick;
    const bool pre = e.preBell && !quick;  // a quick timer has no pre-bell
    if (!e.mainBell && !pre) continue;
    const int64_t setDay = DayOf(e.set);
    // The program compares clock minutes, so an entry of any kind but the quick timer rings at
    // the start of its set minute.
    const int64_t setMoment = quick ? e.set : FloorDiv(e.set, 60) * 60;
    const int64_t timeOfDay = setMoment - setDay * kDay;
    const int64_t lead = pre ? int64_t(e.leadMinutes) * 60 : 0;
    const bool rests = e.restsOnDaysOff && IsRepeating(e.kind);

    auto addOccurrence = [&](int64_t main) {
      std::vector<PromisedBell>& into = rests && daysOff.IsOff(DayOf(main)) ? promise.resting : promise.bells;
      if (pre && main - lead >= from && main - lead <= to) into.push_back({int(index), false, main - lead, main});
      if (e.mainBell && main >= from && main <= to) into.push_back({int(index), true, main, main});
    };

    if (!IsRepeating(e.kind)) {
      addOccurrence(setMoment);
      continue;
    }
    // Occurrences whose main bell or pre-bell can fall in [from, to].
    const int64_t firstDay = std::max(setDay, DayOf(from + std::min<int64_t>(0, lead)));
    const int64_t lastDay = DayOf(to + std::max<int64_t>(0, lead));
    for (int64_t day = firstDay; day <= lastDay; ++day) {
      if (OccursOn(e, setDay, day)) addOccurrence(day * kDay + timeOfDay);
    }
  }
  auto order = [](const PromisedBell& a, const PromisedBell& b) {
    return std::tuple(a.due, a.entry, a.main) < std::tuple(b.due, b.entry, b.main);
  };
  std::sort(promise.bells.begin(), promise.bells.end(), order);
  std::sort(promise.resting.begin(), promise.resting.end(), order);
  return promise;
}

}  // namespace wb::promise
