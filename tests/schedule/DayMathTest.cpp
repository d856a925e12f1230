#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "model/AlarmEntry.h"
#include "model/DayMath.h"

namespace wb {
namespace {

TEST(DayMath, InlineSplitAgreesWithTheDateModule) {
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> anyDate(-700000.0, 3000000.0), nearToday(39000.0, 50000.0);
  std::vector<double> values = {0.0, 0.5 / 86400.0, 1.5 / 86400.0, 86399.5 / 86400.0, 39512.0 + 86399.4999999 / 86400.0,
                                2958465.9999999, 2958466.0, -0.25, -1.9999999, 1e300,
                                std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
  for (int i = 0; i < 200000; ++i) values.push_back(i % 2 ? anyDate(rng) : nearToday(rng));
  for (int i = 0; i < 20000; ++i) {  // right on half seconds, where rounding decides
    values.push_back(double(39000 + i) + (double(rng() % 86400) + 0.5) / 86400.0);
  }
  for (double d : values) {
    int32_t day, sec;
    SplitDate(d, day, sec);
    const DayTime t = DayTimeOf(d);
    ASSERT_EQ(t.day, day) << d;
    ASSERT_EQ(t.sec, sec) << d;
  }
}

TEST(DayMath, SecondNumbersAreLinearAcrossTheEpoch) {
  // -1.25 is 1899/12/29 06:00, -0.25 is 1899/12/30 06:00: the OLE value is not linear there.
  EXPECT_EQ(SecondNumber(-1.25), -18 * 3600);
  EXPECT_EQ(SecondNumber(-0.25), 6 * 3600);
  EXPECT_EQ(SecondNumber(0.25), 6 * 3600);
  EXPECT_DOUBLE_EQ(LinearSeconds(-1.25), -18.0 * 3600);
  EXPECT_EQ(FormatMoment(FromSecondNumber(-18 * 3600)), "1899/12/29 06:00:00");
  for (int64_t s = -3 * 86400; s < 3 * 86400; s += 997) ASSERT_EQ(SecondNumber(FromSecondNumber(s)), s);
  // 23:59:59.6 before the epoch rounds up into the next day, as after it.
  EXPECT_EQ(FormatMoment(-1.0 - 86399.6 / 86400.0), "1899/12/30 00:00:00");
  EXPECT_EQ(DayTimeOfSeconds(-1).day, -1);
  EXPECT_EQ(DayTimeOfSeconds(-1).sec, 86399);
}

TEST(DayMath, DamagedDatesAreHeldAtTheEndsOfTheRange) {
  EXPECT_EQ(FormatDate(std::numeric_limits<double>::quiet_NaN()), "0100/01/01");
  EXPECT_EQ(FormatDate(-1e300), "0100/01/01");
  EXPECT_EQ(FormatMoment(1e300), "9999/12/31 23:59:59");
  EXPECT_EQ(FormatMoment(std::numeric_limits<double>::infinity()), "9999/12/31 23:59:59");
}

TEST(DayMath, WeekdaysOnBothSidesOfTheEpoch) {
  EXPECT_EQ(WeekdayOfDay(0), 7);  // 1899/12/30, a Saturday
  EXPECT_EQ(WeekdayOfDay(-1), 6);
  EXPECT_EQ(WeekdayOfDay(DayNumber(2008, 3, 5)), 4);
  for (int64_t d = -800; d < 800; ++d) ASSERT_EQ(WeekdayOfDay(d), WeekdayOfDayNumber(int32_t(d)));
  EXPECT_EQ(MaskBitOfDay(DayNumber(2008, 3, 9)), kMaskSunday);
  EXPECT_EQ(MaskBitOfDay(DayNumber(2008, 3, 10)), kMaskMonday);
}

}  // namespace
}  // namespace wb
