#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "model/Holidays.h"

namespace wb {
namespace {

// The holiday list of the npm package @holiday-jp/holiday_jp, which scripts/setup installs
// under build/testdata: an independent, hand-kept list of every holiday 1970–2050.
std::string HolidayJpDataPath() {
  if (const char* p = std::getenv("WB_HOLIDAY_JP_DATA")) return p;
  return std::string(WB_SOURCE_DIR) + "/build/testdata/node_modules/@holiday-jp/holiday_jp/lib/holidays.js";
}

// The `date: "yyyy-mm-dd"` members of the package's holidays.js, as day numbers with names.
std::map<int64_t, std::string> ReadHolidayJp(const std::string& path) {
  std::ifstream in(path);
  std::map<int64_t, std::string> days;
  std::string line;
  int64_t pending = -1;
  while (std::getline(in, line)) {
    int y, m, d;
    if (size_t at = line.find("date: \""); at != std::string::npos &&
                                           std::sscanf(line.c_str() + at + 7, "%d-%d-%d", &y, &m, &d) == 3) {
      pending = DayNumber(y, m, d);
      days[pending];
    } else if (size_t nameAt = line.find(" name: \""); nameAt != std::string::npos && pending >= 0) {
      const size_t from = nameAt + 8;
      days[pending] = line.substr(from, line.find('"', from) - from);
      pending = -1;
    }
  }
  return days;
}

TEST(Holidays, AgreeWithTheHolidayJpListOnEveryDay1970To2050) {
  const std::string path = HolidayJpDataPath();
  if (!std::ifstream(path)) {
    GTEST_SKIP() << "the @holiday-jp/holiday_jp data is not installed at " << path
                 << " (scripts/setup installs it)";
  }
  const std::map<int64_t, std::string> expected = ReadHolidayJp(path);
  ASSERT_GT(expected.size(), 1300u) << "the list at " << path << " was not read";
  const DaysOff daysOff;
  std::ostringstream wrong;
  int mismatches = 0;
  for (int year = 1970; year <= 2050; ++year) {
    std::set<int64_t> computed;
    for (const NamedDay& h : NationalHolidays(year)) computed.insert(h.day);
    for (int64_t day = DayNumber(year, 1, 1); day <= DayNumber(year, 12, 31); ++day) {
      const auto it = expected.find(day);
      const bool listed = it != expected.end();
      if (listed == computed.count(day) && listed == daysOff.IsDayOff(day)) continue;
      if (++mismatches <= 20)
        wrong << FormatDate(day) << (listed ? " listed as " + it->second : " not listed") << ", computed "
              << (computed.count(day) ? "a holiday" : "a working day") << "\n";
    }
  }
  EXPECT_EQ(mismatches, 0) << wrong.str();
}

// The days whose rule is easy to get wrong, with the names the program prints for them.
TEST(Holidays, NamesTheDaysOfEachRule) {
  struct Case {
    int y, m, d;
    const char* name;  // "" when the day is no holiday
  } const cases[] = {
      {1948, 7, 19, ""},  // before the law
      {1948, 9, 23, "秋分の日"},
      {1959, 4, 10, "皇太子明仁親王の結婚の儀"},
      {1973, 4, 30, "振替休日"},  // the first one, 天皇誕生日 on a Sunday
      {1988, 5, 4, "国民の休日"},
      {1989, 2, 24, "昭和天皇の大喪の礼"},
      {1992, 5, 4, "振替休日"},  // 憲法記念日 on Sunday
      {1993, 5, 4, "国民の休日"},
      {1997, 5, 4, ""},  // a Sunday between two holidays was no 国民の休日 then
      {2008, 5, 6, "振替休日"},  // みどりの日 on Sunday: the next day that is no holiday
      {2009, 9, 22, "国民の休日"},
      {2019, 4, 30, "国民の休日"},
      {2019, 5, 1, "天皇の即位の日"},
      {2019, 5, 2, "国民の休日"},
      {2019, 5, 6, "振替休日"},
      {2019, 10, 22, "即位礼正殿の儀"},
      {2019, 12, 23, ""},
      {2020, 7, 20, ""},  // 海の日 moved to the 23rd
      {2020, 7, 24, "スポーツの日"},
      {2021, 8, 9, "振替休日"},  // 山の日 moved to Sunday the 8th
      {2026, 9, 22, "国民の休日"},
      {2027, 7, 19, "海の日"},
      {2099, 3, 20, "春分の日"},
      {2150, 3, 21, "春分の日"},  // the last year the equinox formula is published for
      {2150, 9, 23, "秋分の日"},
      {2151, 9, 23, ""},  // later the day is not known: none is made up
      {5000, 8, 31, ""},
  };
  for (const Case& c : cases) {
    const int64_t day = DayNumber(c.y, c.m, c.d);
    std::string found;
    for (const NamedDay& h : NationalHolidays(c.y))
      if (h.day == day) found = h.name;
    EXPECT_EQ(found, c.name) << c.y << "/" << c.m << "/" << c.d;
  }
}

TEST(DaysOff, BitTableAgreesWithTheRulesAndAddsTheUsersDays) {
  const DaysOff daysOff({{DayNumber(2027, 8, 13), "夏季休暇"}, {DayNumber(2400, 1, 5), "遠い休み"}});
  // Inside the table and outside it (worked out when asked) the answer is the rules' own.
  for (int year : {1900, 1948, 1949, 2026, 2199, 2200, 2401, 9999}) {
    std::set<int64_t> holidays;
    for (const NamedDay& h : NationalHolidays(year)) holidays.insert(h.day);
    for (int64_t day = DayNumber(year, 1, 1); day <= DayNumber(year, 12, 31); ++day)
      ASSERT_EQ(daysOff.IsDayOff(day), holidays.count(day) != 0) << FormatDate(day);
  }
  EXPECT_TRUE(daysOff.IsDayOff(DayNumber(2027, 8, 13)));
  EXPECT_FALSE(DaysOff().IsDayOff(DayNumber(2027, 8, 13)));
  EXPECT_TRUE(daysOff.IsDayOff(DayNumber(2400, 1, 5)));
  EXPECT_FALSE(daysOff.IsDayOff(DayNumber(2400, 1, 6)));
  const std::vector<NamedDay> year = daysOff.DaysOfYear(2027);
  ASSERT_EQ(year.size(), NationalHolidays(2027).size() + 1);
  EXPECT_EQ(year.front(), (NamedDay{DayNumber(2027, 1, 1), "元日"}));
  EXPECT_NE(std::find(year.begin(), year.end(), NamedDay{DayNumber(2027, 8, 13), "夏季休暇"}), year.end());
}

}  // namespace
}  // namespace wb
