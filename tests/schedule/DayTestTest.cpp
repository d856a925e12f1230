#include <gtest/gtest.h>

#include "ScheduleSupport.h"
#include "model/Schedule.h"

namespace wb::test {
namespace {

// Whether the single entry of `e` occurs on `day` (the offer goes to a scratch value).
bool Occurs(const AlarmEntry& e, const char* day) {
  AlarmTable t = Table({e});
  OleDate next = 0;
  return OccursOn(t, 0, At(day), At("2000/01/01 00:00:00"), next);
}

TEST(MonthTable, NumbersEachWeekdayWithinItsMonth) {
  const MonthTable m = BuildMonthTable(At("2008/03/17 10:00:00"));  // March 2008 starts on a Saturday
  EXPECT_EQ(m.Slots[0].WeekdayNumber, 7);
  EXPECT_EQ(m.Slots[0].WeekdayOrdinal, 1);
  EXPECT_EQ(m.Slots[30].WeekdayNumber, 2);  // Monday the 31st, the fifth Monday
  EXPECT_EQ(m.Slots[30].WeekdayOrdinal, 5);
  EXPECT_EQ(MonthDayInfo(m, At("2008/03/29")).WeekdayOrdinal, 5);  // fifth Saturday
  EXPECT_EQ(MonthDayInfo(m, At("2008/03/28")).WeekdayOrdinal, 4);
  const MonthTable feb = BuildMonthTable(At("2009/02/01"));
  EXPECT_EQ(feb.Slots[27].WeekdayOrdinal, 4);
  EXPECT_EQ(feb.Slots[28].WeekdayNumber, 0);  // past the month's end: no day
}

TEST(WeekWindow, HoldsTheMaskDaysOfTheSevenDaysFromTheStart) {
  const WeekWindow w = BuildWeekWindow(kMaskMonday, At("2008/03/05 07:30:00"));  // a Wednesday
  ASSERT_EQ(w.WeekWindowCount, 1);
  EXPECT_EQ(FormatDate(w.Slots[0].Date), "2008/03/10");
  EXPECT_EQ(w.Slots[0].WeekdayNumber, 2);
  EXPECT_EQ(w.Slots[0].WeekdayOrdinal, 2);

  // From the 28th the window runs into the next month, whose days keep their own weekday and ordinal.
  const WeekWindow all = BuildWeekWindow(0x7F, At("2008/02/28"));
  ASSERT_EQ(all.WeekWindowCount, 7);
  EXPECT_EQ(FormatDate(all.Slots[1].Date), "2008/02/29");
  EXPECT_EQ(all.Slots[1].WeekdayOrdinal, 5);
  EXPECT_EQ(FormatDate(all.Slots[2].Date), "2008/03/01");
  EXPECT_EQ(all.Slots[2].WeekdayNumber, 7);
  EXPECT_EQ(all.Slots[2].WeekdayOrdinal, 1);
  EXPECT_EQ(BuildWeekWindow(0, At("2008/02/28")).WeekWindowCount, 0);
}

TEST(DayTest, MonthlyOnThe31stSkipsShorterMonths) {
  const AlarmEntry e = Entry(kRepeatMonthly, At("2008/01/31 07:00:00"));
  EXPECT_TRUE(Occurs(e, "2008/01/31"));
  EXPECT_FALSE(Occurs(e, "2008/02/29"));
  EXPECT_TRUE(Occurs(e, "2008/03/31"));
  EXPECT_FALSE(Occurs(e, "2008/04/30"));
  EXPECT_FALSE(Occurs(e, "2008/05/01"));
  EXPECT_FALSE(Occurs(e, "2007/12/31"));  // before its start
}

TEST(DayTest, WeeklyRingsOnItsWeekdaysFromItsStart) {
  const AlarmEntry e = Entry(kRepeatWeekly, At("2008/03/05 07:30:00"), kMaskMonday | kMaskSunday);
  EXPECT_FALSE(Occurs(e, "2008/03/02"));  // the Sunday before the start
  EXPECT_FALSE(Occurs(e, "2008/03/03"));
  EXPECT_FALSE(Occurs(e, "2008/03/05"));
  EXPECT_TRUE(Occurs(e, "2008/03/09"));
  EXPECT_TRUE(Occurs(e, "2008/03/10"));
  EXPECT_FALSE(Occurs(e, "2008/03/11"));
  EXPECT_TRUE(Occurs(e, "2009/06/14"));
}

TEST(DayTest, EveryOtherWeekCountsFromTheWindow) {
  const AlarmEntry e = Entry(kRepeatBiweekly, At("2008/03/05 07:30:00"), kMaskMonday);
  EXPECT_TRUE(Occurs(e, "2008/03/10"));
  EXPECT_FALSE(Occurs(e, "2008/03/17"));
  EXPECT_TRUE(Occurs(e, "2008/03/24"));
  EXPECT_TRUE(Occurs(e, "2008/04/07"));
  EXPECT_FALSE(Occurs(e, "2008/03/05"));  // the start's own weekday is not in the mask
  EXPECT_FALSE(Occurs(e, "2008/02/25"));  // 14 days before the window: before the start
  // Across a year end.
  const AlarmEntry y = Entry(kRepeatBiweekly, At("2008/12/24 09:00:00"), kMaskWednesday);
  EXPECT_TRUE(Occurs(y, "2009/01/07"));
  EXPECT_FALSE(Occurs(y, "2008/12/31"));
  EXPECT_TRUE(Occurs(y, "2009/01/21"));
}

TEST(DayTest, NthWeekdayOfTheMonth) {
  const AlarmEntry fifthFriday = Entry(kRepeatNth5, At("2008/01/01 08:00:00"), kMaskFriday);
  EXPECT_TRUE(Occurs(fifthFriday, "2008/02/29"));
  EXPECT_FALSE(Occurs(fifthFriday, "2008/03/28"));  // the fourth; March 2008 has no fifth Friday
  EXPECT_TRUE(Occurs(fifthFriday, "2008/05/30"));

  const AlarmEntry first = Entry(kRepeatNth1, At("2008/01/01 08:00:00"), kMaskMonday | kMaskSunday);
  EXPECT_TRUE(Occurs(first, "2008/04/06"));   // first Sunday of April
  EXPECT_TRUE(Occurs(first, "2008/04/07"));   // first Monday
  EXPECT_FALSE(Occurs(first, "2008/04/01"));  // a Tuesday
  EXPECT_FALSE(Occurs(first, "2008/04/13"));
  EXPECT_FALSE(Occurs(first, "2008/04/14"));
}

TEST(DayTest, OnceAndQuickOnlyOnTheirDateAndUnknownKindsNever) {
  EXPECT_TRUE(Occurs(Entry(kRepeatOnce, At("2008/03/05 07:30:00")), "2008/03/05"));
  EXPECT_FALSE(Occurs(Entry(kRepeatOnce, At("2008/03/05 07:30:00")), "2008/03/06"));
  EXPECT_TRUE(Occurs(Entry(kRepeatQuick, At("2008/03/05 07:30:00")), "2008/03/05"));
  EXPECT_FALSE(Occurs(Entry(kRepeatNone, At("2008/03/05 07:30:00"), 0x7F), "2008/03/05"));
  EXPECT_FALSE(Occurs(Entry(12, At("2008/03/05 07:30:00"), 0x7F), "2008/03/05"));
  EXPECT_FALSE(Occurs(Entry(-1, At("2008/03/05 07:30:00"), 0x7F), "2008/03/05"));
}

TEST(DayTest, ComparesDatesAsTheyReadAfterRounding) {
  // 23:59:59.6 reads as midnight of the next day: that is the entry's date.
  const AlarmEntry e = Entry(kRepeatOnce, MakeDate(2008, 3, 5) + 86399.6 / 86400.0);
  EXPECT_FALSE(Occurs(e, "2008/03/05"));
  EXPECT_TRUE(Occurs(e, "2008/03/06"));
  // Before 1899/12/30 the fraction counts forwards: -1.75 is 1899/12/29 18:00.
  const AlarmEntry old = Entry(kRepeatDaily, -1.75);
  AlarmTable t = Table({old});
  OleDate next = 0;
  EXPECT_FALSE(OccursOn(t, 0, At("1899/12/28"), 0, next));
  EXPECT_TRUE(OccursOn(t, 0, At("1899/12/29"), 0, next));
}

TEST(NextBell, OffersTheEarliestBellStillAheadOnThePresentDate) {
  const OleDate now = At("2008/03/05 07:00:00");
  OleDate next = 0;
  // BellMode 2, pre-bell 06:50 already past, main 07:10 ahead: the main bell is offered.
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 07:10:00"), 0, BellMode::PreAndMain, 20),
                        Entry(kRepeatDaily, At("2008/03/01 08:00:00"), 0, BellMode::PreOnly, 90)});
  ASSERT_TRUE(OccursOn(t, 0, now, now, next));
  EXPECT_EQ(FormatMoment(next), "2008/03/05 07:10:00");
  // A later candidate does not replace an earlier one; an earlier one does.
  ASSERT_TRUE(OccursOn(t, 1, now, now, next));
  EXPECT_EQ(FormatMoment(next), "2008/03/05 07:10:00");
  next = 0;
  ASSERT_TRUE(OccursOn(t, 1, now, now, next));  // pre-bell only, 06:30 is past: nothing to offer
  EXPECT_EQ(next, 0);
  next = 0;
  ASSERT_TRUE(OccursOn(t, 1, now, At("2008/03/05 06:00:00"), next));
  EXPECT_EQ(FormatMoment(next), "2008/03/05 06:30:00");  // 08:00 less 90 minutes
}

TEST(NextBell, PreBellLeadIsHoursAndMinutesAndCanReachBackDays) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 08:00:00"), 0, BellMode::PreOnly, 90),
                        Entry(kRepeatDaily, At("2008/03/01 08:00:00"), 0, BellMode::PreAndMain, 1440 * 2 + 30)});
  OleDate next = 0;
  OccursOn(t, 0, At("2008/03/05"), At("2008/03/05 00:00:00"), next);
  EXPECT_EQ(FormatMoment(next), "2008/03/05 06:30:00");
  // The pre-bell of today's bell rang two days ago; the main bell is what is still ahead.
  next = 0;
  OccursOn(t, 1, At("2008/03/05"), At("2008/03/05 00:00:00"), next);
  EXPECT_EQ(FormatMoment(next), "2008/03/05 08:00:00");
}

TEST(DayTest, SpareSlotIsNotAnEntry) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 08:00:00"))});
  OleDate next = 0;
  EXPECT_DEATH(OccursOn(t, 1, 0, 0, next), "program error");
}

}  // namespace
}  // namespace wb::test
