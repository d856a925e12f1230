#include <gtest/gtest.h>

#include "ScheduleSupport.h"
#include "model/TrayTip.h"

namespace wb::test {
namespace {

std::string Tip(const AlarmTable& t, const char* now, const char* day = nullptr) {
  OleDate next = 0;
  std::string tip = "Wakebell";
  const OleDate n = At(now);
  ComputeTrayTip(t, day ? At(day) : OleDate(DayOf(n)), n, next, tip);
  return tip;
}

TEST(TrayTip, TimeLeftToTheNextBellOfToday) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 07:30:00")), Entry(kRepeatDaily, At("2008/03/01 09:00:00"))});
  EXPECT_EQ(Tip(t, "2008/03/05 06:15:00"), "あと1時間15分 本日07:30");
  EXPECT_EQ(Tip(t, "2008/03/05 06:15:30"), "あと1時間14分30秒 本日07:30");
  EXPECT_EQ(Tip(t, "2008/03/05 07:29:59"), "あと1秒 本日07:30");
  EXPECT_EQ(Tip(t, "2008/03/05 07:30:00"), "アラーム中本日07:30");  // ringing at the present second
  EXPECT_EQ(Tip(t, "2008/03/05 07:30:01"), "あと1時間29分59秒 本日09:00");
}

TEST(TrayTip, TomorrowOnlyWhenNothingIsLeftToday) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 07:30:00"), 0, BellMode::PreAndMain, 45)});
  EXPECT_EQ(Tip(t, "2008/03/05 06:30:00"), "あと15分 本日06:45");  // the pre-bell first
  EXPECT_EQ(Tip(t, "2008/03/05 22:00:00"), "あと8時間45分 明日06:45");
  // A pre-bell of tomorrow's bell that reaches back into today reads as today.
  AlarmTable early = Table({Entry(kRepeatDaily, At("2008/03/01 00:30:00"), 0, BellMode::PreOnly, 90)});
  EXPECT_EQ(Tip(early, "2008/03/05 22:00:00"), "あと1時間 本日23:00");
}

TEST(TrayTip, NothingWithinADayOrNothingAtAll) {
  AlarmTable once = Table({Entry(kRepeatOnce, At("2008/03/06 12:00:00"))});
  EXPECT_EQ(Tip(once, "2008/03/05 06:00:00"), "２４時間中のアラームはありません");  // 30 hours away
  AlarmTable none = Table({Entry(kRepeatOnce, At("2008/03/01 12:00:00")), Entry(kRepeatNone, At("2008/03/05 12:00:00"))});
  OleDate next = 123;
  std::string tip = "Wakebell";
  EXPECT_FALSE(ComputeTrayTip(none, At("2008/03/05"), At("2008/03/05 06:00:00"), next, tip));
  EXPECT_EQ(tip, "Wakebell");
  EXPECT_EQ(next, 0);
  EXPECT_EQ(Tip(AlarmTable(), "2008/03/05 06:00:00"), "Wakebell");
}

TEST(TrayTip, DayTestsFollowTheCalendarDayButTimesThePresentDate) {
  // The editor's calendar shows Friday; the weekly Friday entry is offered at today's 09:00.
  AlarmTable t = Table({Entry(kRepeatWeekly, At("2008/03/01 09:00:00"), kMaskFriday)});
  EXPECT_EQ(Tip(t, "2008/03/05 08:00:00", "2008/03/07"), "あと1時間 本日09:00");
  EXPECT_EQ(Tip(t, "2008/03/05 08:00:00"), "Wakebell");  // Wednesday and Thursday: none
  EXPECT_EQ(Tip(t, "2008/03/06 08:00:00"), "２４時間中のアラームはありません");  // 25 hours
  EXPECT_EQ(Tip(t, "2008/03/06 10:00:00"), "あと23時間 明日09:00");
}

}  // namespace
}  // namespace wb::test
