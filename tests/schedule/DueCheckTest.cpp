#include <gtest/gtest.h>

#include "ScheduleSupport.h"
#include "model/DueCheck.h"
#include "model/Schedule.h"

namespace wb::test {
namespace {

using Bells = std::vector<Bell>;

int Minute(int h, int m) { return h * 60 + m; }

TEST(DueCheck, MonthlyOnThe31stRingsOnlyInLongMonths) {
  AlarmTable t = Table({Entry(kRepeatMonthly, At("2008/01/31 07:00:00"))});
  EXPECT_EQ(RunDaily(t, At("2008/01/01"), At("2008/12/31"), Minute(6, 59), Minute(7, 1)),
            (Bells{{"2008/01/31 07:00:00", 0, true, false},
                   {"2008/03/31 07:00:00", 0, true, false},
                   {"2008/05/31 07:00:00", 0, true, false},
                   {"2008/07/31 07:00:00", 0, true, false},
                   {"2008/08/31 07:00:00", 0, true, false},
                   {"2008/10/31 07:00:00", 0, true, false},
                   {"2008/12/31 07:00:00", 0, true, false}}));
}

TEST(DueCheck, EveryOtherWeekAcrossAYearEndAndNeverBeforeItsStart) {
  AlarmTable t = Table({Entry(kRepeatBiweekly, At("2008/12/17 09:00:00"), kMaskWednesday)});
  // 2008/11/19 and 12/03 are whole fortnights before the start: they must stay silent.
  EXPECT_EQ(RunDaily(t, At("2008/11/01"), At("2009/02/28"), Minute(9, 0), Minute(9, 0)),
            (Bells{{"2008/12/17 09:00:00", 0, true, false},
                   {"2008/12/31 09:00:00", 0, true, false},
                   {"2009/01/14 09:00:00", 0, true, false},
                   {"2009/01/28 09:00:00", 0, true, false},
                   {"2009/02/11 09:00:00", 0, true, false},
                   {"2009/02/25 09:00:00", 0, true, false}}));
}

TEST(DueCheck, EveryOtherWeekFromAWindowThatRunsIntoTheNextMonth) {
  // Thursday the 28th with Monday in the mask: the window's day is Monday 2008/03/03. Thursday
  // is not ticked, so the start date itself never rings.
  AlarmTable t = Table({Entry(kRepeatBiweekly, At("2008/02/28 10:00:00"), kMaskMonday)});
  EXPECT_EQ(RunDaily(t, At("2008/02/01"), At("2008/04/20"), Minute(10, 0), Minute(10, 0)),
            (Bells{{"2008/03/03 10:00:00", 0, true, false},
                   {"2008/03/17 10:00:00", 0, true, false},
                   {"2008/03/31 10:00:00", 0, true, false},
                   {"2008/04/14 10:00:00", 0, true, false}}));
}

// The due check rings an every-other-week entry on exactly the days the day test (the list
// and the tray tip) shows, whichever weekday the entry was set on.
TEST(DueCheck, EveryOtherWeekRingsOnTheDaysTheListShows) {
  struct Case {
    const char* what;
    AlarmEntry entry;
    Bells bells;  // 2026/12/01 .. 2027/01/17
  };
  const Case cases[] = {
      {"set on Monday 14, only Wednesday ticked", Entry(kRepeatBiweekly, At("2026/12/14 10:00:00"), kMaskWednesday),
       {{"2026/12/16 10:00:00", 0, true, false},
        {"2026/12/30 10:00:00", 0, true, false},
        {"2027/01/13 10:00:00", 0, true, false}}},
      {"set on Monday 14 with Monday and Wednesday ticked",
       Entry(kRepeatBiweekly, At("2026/12/14 10:00:00"), kMaskMonday | kMaskWednesday),
       {{"2026/12/14 10:00:00", 0, true, false},
        {"2026/12/16 10:00:00", 0, true, false},
        {"2026/12/28 10:00:00", 0, true, false},
        {"2026/12/30 10:00:00", 0, true, false},
        {"2027/01/11 10:00:00", 0, true, false},
        {"2027/01/13 10:00:00", 0, true, false}}},
      {"a pre-bell of an hour on an entry set on an unticked Saturday",
       Entry(kRepeatBiweekly, At("2026/12/12 10:00:00"), kMaskSunday, BellMode::PreAndMain, 60),
       {{"2026/12/13 09:00:00", 0, false, true},
        {"2026/12/13 10:00:00", 0, true, false},
        {"2026/12/27 09:00:00", 0, false, true},
        {"2026/12/27 10:00:00", 0, true, false},
        {"2027/01/10 09:00:00", 0, false, true},
        {"2027/01/10 10:00:00", 0, true, false}}},
      {"a pre-bell of an hour on a ticked set day",
       Entry(kRepeatBiweekly, At("2026/12/12 10:00:00"), kMaskSaturday, BellMode::PreAndMain, 60),
       {{"2026/12/12 09:00:00", 0, false, true},
        {"2026/12/12 10:00:00", 0, true, false},
        {"2026/12/26 09:00:00", 0, false, true},
        {"2026/12/26 10:00:00", 0, true, false},
        {"2027/01/09 09:00:00", 0, false, true},
        {"2027/01/09 10:00:00", 0, true, false}}},
  };
  for (const Case& c : cases) {
    AlarmTable t = Table({c.entry});
    const Bells bells = RunDaily(t, At("2026/12/01"), At("2027/01/17"), Minute(9, 0), Minute(10, 0));
    EXPECT_EQ(bells, c.bells) << c.what;
    std::vector<int64_t> listed, rung;
    for (int64_t d = DayOf(At("2026/12/01")); d <= DayOf(At("2027/01/17")); ++d)
      if (EntryOccursOnDay(c.entry, d)) listed.push_back(d);
    for (const Bell& b : bells)
      if (b.main) rung.push_back(DayOf(At(b.at.c_str())));
    EXPECT_EQ(rung, listed) << c.what;
  }
}

TEST(DueCheck, FifthFridayOnlyInMonthsThatHaveOne) {
  AlarmTable t = Table({Entry(kRepeatNth5, At("2008/01/01 08:00:00"), kMaskFriday)});
  EXPECT_EQ(RunDaily(t, At("2008/01/01"), At("2008/12/31"), Minute(8, 0), Minute(8, 0)),
            (Bells{{"2008/02/29 08:00:00", 0, true, false},
                   {"2008/05/30 08:00:00", 0, true, false},
                   {"2008/08/29 08:00:00", 0, true, false},
                   {"2008/10/31 08:00:00", 0, true, false}}));
}

TEST(DueCheck, FirstWeekWithTwoWeekdaysRingsOnEach) {
  AlarmTable t = Table({Entry(kRepeatNth1, At("2008/04/01 08:00:00"), kMaskMonday | kMaskSunday)});
  EXPECT_EQ(RunDaily(t, At("2008/03/01"), At("2008/06/30"), Minute(8, 0), Minute(8, 0)),
            (Bells{{"2008/04/06 08:00:00", 0, true, false},
                   {"2008/04/07 08:00:00", 0, true, false},
                   {"2008/05/04 08:00:00", 0, true, false},
                   {"2008/05/05 08:00:00", 0, true, false},
                   {"2008/06/01 08:00:00", 0, true, false},
                   {"2008/06/02 08:00:00", 0, true, false}}));  // not 03/02 and 03/03: before the start
}

TEST(DueCheck, PreBellReachesBackOverMidnightWithItsOwnMemory) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/05 00:30:00"), 0, BellMode::PreAndMain, 90)});
  Bells bells;
  RunTicks(t, At("2008/03/04 22:00:00"), At("2008/03/06 01:00:00"), bells);
  EXPECT_EQ(bells, (Bells{{"2008/03/04 23:00:00", 0, false, true},
                          {"2008/03/05 00:30:00", 0, true, false},
                          {"2008/03/05 23:00:00", 0, false, true},
                          {"2008/03/06 00:30:00", 0, true, false}}));
  EXPECT_EQ(FormatMoment(t[0].PreBellFiredAt), "2008/03/05 23:00:00");
  EXPECT_EQ(FormatMoment(t[0].MainBellFiredAt), "2008/03/06 00:30:00");
}

TEST(DueCheck, PreBellOverSeveralDaysAnnouncesOnlyBellsFromTheStart) {
  // Monday 09:00 with a lead of three days and a half hour: the Friday before, 08:30. The Friday
  // 2008/02/29 would announce Monday 03/03, before the start, and stays silent.
  AlarmTable t = Table({Entry(kRepeatWeekly, At("2008/03/10 09:00:00"), kMaskMonday, BellMode::PreAndMain, 4350)});
  EXPECT_EQ(RunDaily(t, At("2008/02/25"), At("2008/03/24"), Minute(8, 30), Minute(9, 0)),
            (Bells{{"2008/03/07 08:30:00", 0, false, true},
                   {"2008/03/10 09:00:00", 0, true, false},
                   {"2008/03/14 08:30:00", 0, false, true},
                   {"2008/03/17 09:00:00", 0, true, false},
                   {"2008/03/21 08:30:00", 0, false, true},
                   {"2008/03/24 09:00:00", 0, true, false}}));
}

TEST(DueCheck, MonthlyPreBellCrossesAMonthEnd) {
  AlarmTable t = Table({Entry(kRepeatMonthly, At("2008/03/01 08:00:00"), 0, BellMode::PreOnly, 2880)});
  EXPECT_EQ(RunDaily(t, At("2008/02/20"), At("2008/04/30"), Minute(8, 0), Minute(8, 0)),
            (Bells{{"2008/02/28 08:00:00", 0, false, true},
                   {"2008/03/30 08:00:00", 0, false, true},
                   {"2008/04/29 08:00:00", 0, false, true}}));
}

TEST(DueCheck, NthWeekPreBellRingsOnlyItsLeadAhead) {
  // Second Tuesday 10:00, lead one day. Started only on the Tuesday: the ticks ring the main
  // bell alone (the pre-bell's minute, the day before, is the catch-up's to answer for).
  AlarmTable t = Table({Entry(kRepeatNth1 + 1, At("2008/03/01 10:00:00"), kMaskTuesday, BellMode::PreAndMain, 1440)});
  Bells bells;
  RunTicks(t, At("2008/03/11 09:59:00"), At("2008/03/11 10:01:00"), bells);
  EXPECT_EQ(bells, (Bells{{"2008/03/11 10:00:00", 0, true, false}}));
  // The next month, running through: the Monday's pre-bell, then Tuesday's bell.
  EXPECT_EQ(RunDaily(t, At("2008/04/06"), At("2008/04/09"), Minute(10, 0), Minute(10, 0)),
            (Bells{{"2008/04/07 10:00:00", 0, false, true}, {"2008/04/08 10:00:00", 0, true, false}}));
  // A lead across midnight: each occurrence's pre-bell once, at 23:50 the evening before.
  AlarmEntry sat = Entry(kRepeatNth1, At("2027/01/01 00:10:00"), kMaskSaturday | kMaskSunday, BellMode::PreAndMain, 20);
  AlarmTable night = Table({sat});
  EXPECT_EQ(RunDaily(night, At("2027/01/01"), At("2027/01/04"), Minute(0, 0), Minute(23, 59)),
            (Bells{{"2027/01/01 23:50:00", 0, false, true}, {"2027/01/02 00:10:00", 0, true, false},
                   {"2027/01/02 23:50:00", 0, false, true}, {"2027/01/03 00:10:00", 0, true, false}}));
}

TEST(DueCheck, NthWeekCatchUpLooksAtTodaysOwnMonth) {
  // Fifth Thursday, pre-bell only, five days ahead. On Monday 2024/01/29 the lead reaches into
  // February, whose fifth Thursday is the 29th; January has none, so nothing rings that day.
  AlarmTable t = Table({Entry(kRepeatNth5, At("2024/01/01 10:00:00"), kMaskThursday, BellMode::PreOnly, 7200)});
  EXPECT_EQ(RunDaily(t, At("2024/01/20"), At("2024/03/05"), Minute(10, 0), Minute(10, 0)),
            (Bells{{"2024/02/24 10:00:00", 0, false, true}}));
}

TEST(DueCheck, BellModeTwoWithNoLeadMarksBothOnOneTick) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 07:00:00"), 0, BellMode::PreAndMain, 0)});
  Bells bells;
  RunTicks(t, At("2008/03/05 06:59:58"), At("2008/03/05 07:00:30"), bells);
  EXPECT_EQ(bells, (Bells{{"2008/03/05 07:00:00", 0, true, true}}));
  EXPECT_EQ(t[0].MainBellFiredAt, At("2008/03/05 07:00:00"));
  EXPECT_EQ(t[0].PreBellFiredAt, At("2008/03/05 07:00:00"));
}

TEST(DueCheck, TwoEntriesInOneMinuteRingOnConsecutiveTicks) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/01 07:00:00")), Entry(kRepeatOnce, At("2008/03/05 07:00:00"))});
  Bells bells;
  RunTicks(t, At("2008/03/05 06:59:59"), At("2008/03/05 07:01:00"), bells);
  EXPECT_EQ(bells, (Bells{{"2008/03/05 07:00:00", 0, true, false}, {"2008/03/05 07:00:01", 1, true, false}}));
}

struct QuickCase {
  const char* start;  // when the program starts ticking
  bool rings;
};

TEST(DueCheck, QuickTimerRingsWhileAtMostOneMinuteLate) {
  const QuickCase cases[] = {{"2008/03/05 10:00:00", true},  {"2008/03/05 10:01:00", true},
                             {"2008/03/05 10:01:30", true},  {"2008/03/05 10:01:31", false},
                             {"2008/03/05 10:02:30", false}};
  for (const QuickCase& c : cases) {
    AlarmTable t = Table({Entry(kRepeatQuick, At("2008/03/05 10:00:30"))});
    Bells bells;
    RunTicks(t, At(c.start), At("2008/03/05 10:10:00"), bells);
    if (c.rings) {
      const std::string at = std::string(c.start) < "2008/03/05 10:00:30" ? "2008/03/05 10:00:30" : c.start;
      EXPECT_EQ(bells, (Bells{{at, 0, true, false}})) << c.start;
    } else {
      EXPECT_TRUE(bells.empty()) << c.start;
    }
  }
}

TEST(DueCheck, RestartWithinTheMinuteRingsAgainUnlessTheBellWasSaved) {
  AlarmEntry stored = Entry(kRepeatDaily, At("2008/03/01 07:00:00"));
  stored.MainBellFiredAt = At("2008/03/04 07:00:00");
  AlarmTable first = Table({stored});
  Bells bells;
  RunTicks(first, At("2008/03/05 06:59:50"), At("2008/03/05 07:00:20"), bells);
  ASSERT_EQ(bells, (Bells{{"2008/03/05 07:00:00", 0, true, false}}));

  // The new process loads the stored table again: the old fired-at lets it ring once more.
  AlarmTable restarted = Table({stored});
  bells.clear();
  RunTicks(restarted, At("2008/03/05 07:00:30"), At("2008/03/05 07:02:00"), bells);
  EXPECT_EQ(bells, (Bells{{"2008/03/05 07:00:30", 0, true, false}}));

  AlarmTable saved = first;  // the editor wrote the fired-at member before the restart
  bells.clear();
  RunTicks(saved, At("2008/03/05 07:00:30"), At("2008/03/05 07:02:00"), bells);
  EXPECT_TRUE(bells.empty());
}

TEST(DueCheck, DailyFromItsDateAndOnceOnlyWhileNeverFired) {
  AlarmEntry fired = Entry(kRepeatOnce, At("2008/03/11 07:00:00"));
  fired.MainBellFiredAt = At("2008/03/01 12:00:00");
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/10 07:00:00")), Entry(kRepeatOnce, At("2008/03/09 07:00:00")),
                        fired});
  EXPECT_EQ(RunDaily(t, At("2008/03/08"), At("2008/03/12"), Minute(7, 0), Minute(7, 0)),
            (Bells{{"2008/03/09 07:00:00", 1, true, false},
                   {"2008/03/10 07:00:00", 0, true, false},
                   {"2008/03/11 07:00:00", 0, true, false},
                   {"2008/03/12 07:00:00", 0, true, false}}));
}

TEST(DueCheck, MatchesTheMinuteAsItReadsAfterRounding) {
  // 07:29:59.6 reads "07:30": it rings at 07:30:00, not during 07:29.
  AlarmTable t = Table({Entry(kRepeatDaily, MakeDate(2008, 3, 1, 7, 29, 59) + 0.6 / 86400.0)});
  Bells bells;
  RunTicks(t, At("2008/03/05 07:28:00"), At("2008/03/05 07:31:00"), bells);
  EXPECT_EQ(bells, (Bells{{"2008/03/05 07:30:00", 0, true, false}}));
}

TEST(DueCheck, NeverFiredReadsAsTheZeroDateBeforeTheEpoch) {
  // A zero fired-at reads "1899/12/30", which is not earlier than 12/28..12/30: the daily bell
  // first rings on 12/31, exactly as the date texts compare.
  AlarmTable t = Table({Entry(kRepeatDaily, MakeDate(1899, 12, 28, 6, 0, 0))});
  EXPECT_EQ(RunDaily(t, At("1899/12/27"), At("1900/01/01"), Minute(6, 0), Minute(6, 0)),
            (Bells{{"1899/12/31 06:00:00", 0, true, false}, {"1900/01/01 06:00:00", 0, true, false}}));
}

TEST(DueCheck, UnknownKindsAndBellModesNeverRing) {
  AlarmTable t = Table({Entry(kRepeatNone, At("2008/03/01 07:00:00"), 0x7F, BellMode::PreAndMain),
                        Entry(12, At("2008/03/01 07:00:00"), 0x7F, BellMode::PreAndMain),
                        Entry(kRepeatDaily, At("2008/03/01 07:00:00"), 0x7F, BellMode(3)),
                        Entry(kRepeatQuick, At("2008/03/05 07:00:00"), 0, BellMode::PreOnly)});
  EXPECT_TRUE(RunDaily(t, At("2008/03/01"), At("2008/03/07"), Minute(7, 0), Minute(7, 1)).empty());
}

TEST(PerKindTests, ShiftByTheLeadAndHonourTheStart) {
  const AlarmEntry weekly = Entry(kRepeatWeekly, At("2008/03/10 09:00:00"), kMaskMonday);
  EXPECT_TRUE(WeeklyPreBellDue(Sec("2008/03/10 09:00:40"), weekly, 0));
  EXPECT_TRUE(WeeklyPreBellDue(Sec("2008/03/09 23:00:00"), weekly, 600));
  EXPECT_FALSE(WeeklyPreBellDue(Sec("2008/03/02 23:00:00"), weekly, 600));  // announces 03/03: before the start
  const AlarmEntry nth = Entry(kRepeatNth1 + 2, At("2008/01/01 10:00:00"), kMaskWednesday | kMaskFriday);
  EXPECT_TRUE(NthWeekdayDue(Sec("2008/03/19 10:00:00"), nth, 0, 3, 4));   // third Wednesday
  EXPECT_FALSE(NthWeekdayDue(Sec("2008/03/19 10:00:00"), nth, 0, 3, 6));  // asked for Friday
  EXPECT_TRUE(NthWeekDue(Sec("2008/03/21 10:00:00"), nth, 0, 3));         // third Friday
  EXPECT_FALSE(NthWeekDue(Sec("2008/03/21 10:00:00"), nth, 0, 2));
  const AlarmEntry biweekly = Entry(kRepeatBiweekly, At("2008/03/05 07:30:00"), kMaskMonday);
  EXPECT_TRUE(BiweeklyDayDue(Sec("2008/03/24 07:30:00"), biweekly, 0, Sec("2008/03/10")));
  EXPECT_FALSE(BiweeklyDayDue(Sec("2008/03/17 07:30:00"), biweekly, 0, Sec("2008/03/10")));
  EXPECT_FALSE(BiweeklyDayDue(Sec("2008/02/25 07:30:00"), biweekly, 0, Sec("2008/03/10")));
  EXPECT_FALSE(BiweeklyDue(Sec("2008/03/24 07:30:00"), Entry(kRepeatBiweekly, At("2008/03/05 07:30:00"), 0), 0));
}

}  // namespace
}  // namespace wb::test
