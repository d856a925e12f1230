// The last moment dates can hold, 9999/12/31 23:59:59: nothing rounds past it into a year
// the texts cannot show, and no bell is made up beyond it.
#include <gtest/gtest.h>

#include "ScheduleSupport.h"
#include "model/DayMath.h"
#include "model/ListLine.h"
#include "model/TrayTip.h"

namespace wb::test {
namespace {

constexpr OleDate kLastDay = 2958465.0;  // 9999/12/31

TEST(RangeEnd, MomentsThatRoundPastTheLastSecondStayOnIt) {
  struct Case {
    const char* what;
    OleDate date;
  };
  const Case cases[] = {
      {"half a second before midnight", kLastDay + 86399.5 / 86400.0},
      {"a hair before midnight", 2958465.9999999},
      {"the largest date below 2958466", 2958465.99999999999},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatMoment(c.date), "9999/12/31 23:59:59") << c.what;
    EXPECT_EQ(FormatDate(c.date), "9999/12/31") << c.what;
    EXPECT_EQ(DayOf(c.date), 2958465) << c.what;
    EXPECT_EQ(SecondOfDay(c.date), 86399) << c.what;
    const DayTime split = DayTimeOf(c.date);
    EXPECT_EQ(split.day, 2958465) << c.what;
    EXPECT_EQ(split.sec, 86399) << c.what;
    AlarmEntry e = Entry(kRepeatOnce, c.date);
    EXPECT_EQ(ListLineText("■", e, false), "■23:59 9999/12/31 一回 －－－－－－－") << c.what;
  }
}

TEST(RangeEnd, NoBellIsOfferedBeyondTheLastSecond) {
  struct Case {
    const char* what;
    AlarmEntry entry;
    const char* now;
    const char* tip;  // "" when no bell is found (the tip stays as it was)
  };
  const Case cases[] = {
      {"a daily bell already rung on the last day", Entry(kRepeatDaily, At("2026/01/01 07:00:00")),
       "9999/12/31 23:59:59", ""},
      {"a daily bell later on the last day", Entry(kRepeatDaily, At("2026/01/01 23:59:59")),
       "9999/12/31 23:59:30", "あと29秒 本日23:59"},
      {"ringing at the very last second", Entry(kRepeatDaily, At("2026/01/01 23:59:59")),
       "9999/12/31 23:59:59", "アラーム中本日23:59"},
      {"tomorrow's pre-bell still on the last day",
       Entry(kRepeatDaily, At("2026/01/01 00:10:00"), 0, BellMode::PreAndMain, 30), "9999/12/31 23:00:00",
       "あと40分 本日23:40"},
      {"tomorrow's bells beyond the last day", Entry(kRepeatDaily, At("2026/01/01 00:10:00"), 0, BellMode::PreAndMain, 5),
       "9999/12/31 23:59:00", ""},
  };
  for (const Case& c : cases) {
    AlarmTable t = Table({c.entry});
    const OleDate now = At(c.now);
    OleDate next = 0;
    std::string tip;
    const bool found = ComputeTrayTip(t, OleDate(DayOf(now)), now, next, tip);
    EXPECT_EQ(found ? tip : std::string(), c.tip) << c.what;
    if (found) {
      EXPECT_LE(SecondNumber(next), SecondNumber(kLastDay) + 86399) << c.what;
    }
  }
}

}  // namespace
}  // namespace wb::test
