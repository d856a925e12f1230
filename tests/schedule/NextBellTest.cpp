// The next bell of the table, which the wake timer is set before: every repetition kind, the
// pre-bell of the next day before midnight, month ends, and agreement with the due check.
// 2026/12/07 is a Monday.
#include "model/Holidays.h"
#include "model/NextBell.h"
#include "schedule/ScheduleSupport.h"

namespace wb {
namespace {

using test::At;
using test::Entry;
using test::Table;

struct NextCase {
  const char* name;
  std::vector<AlarmEntry> entries;
  const char* from;
  const char* expected;  // nullptr: none
};

TEST(TableNextBell, EarliestBellOfAnyEntry) {
  const NextCase cases[] = {
      {"EmptyTable", {}, "2026/12/07 06:00:00", nullptr},
      {"DailyLaterToday", {Entry(kRepeatDaily, At("2026/12/01 07:00:00"))}, "2026/12/07 06:00:00", "2026/12/07 07:00:00"},
      {"DailyAtThePresentSecond", {Entry(kRepeatDaily, At("2026/12/01 07:00:00"))}, "2026/12/07 07:00:00",
       "2026/12/07 07:00:00"},
      {"DailyPassedGoesToTomorrow", {Entry(kRepeatDaily, At("2026/12/01 07:00:00"))}, "2026/12/07 07:00:01",
       "2026/12/08 07:00:00"},
      {"DailyNotBeforeItsStart", {Entry(kRepeatDaily, At("2026/12/20 07:00:00"))}, "2026/12/07 08:00:00",
       "2026/12/20 07:00:00"},
      {"PreBellOfTomorrowBeforeMidnight",
       {Entry(kRepeatDaily, At("2026/12/01 00:05:00"), 0, BellMode::PreAndMain, 10)}, "2026/12/07 23:00:00",
       "2026/12/07 23:55:00"},
      {"PreBellOnlyIgnoresTheMainBell", {Entry(kRepeatDaily, At("2026/12/01 07:00:00"), 0, BellMode::PreOnly, 30)},
       "2026/12/07 06:45:00", "2026/12/08 06:30:00"},
      {"WeeklyOnFriday", {Entry(kRepeatWeekly, At("2026/11/01 09:00:00"), kMaskFriday)}, "2026/12/07 10:00:00",
       "2026/12/11 09:00:00"},
      {"WeeklyWithoutDaysNever", {Entry(kRepeatWeekly, At("2026/11/01 09:00:00"), 0)}, "2026/12/07 10:00:00", nullptr},
      {"MonthlyOnTheThirtyFirst", {Entry(kRepeatMonthly, At("2026/10/31 09:00:00"))}, "2026/12/07 10:00:00",
       "2026/12/31 09:00:00"},
      {"MonthlySkipsShortMonths", {Entry(kRepeatMonthly, At("2026/10/31 09:00:00"))}, "2027/01/31 09:00:01",
       "2027/03/31 09:00:00"},
      {"SecondTuesday", {Entry(kRepeatNth1 + 1, At("2026/01/01 12:00:00"), kMaskTuesday)}, "2026/12/07 10:00:00",
       "2026/12/08 12:00:00"},
      {"BiweeklyEveryOtherMonday", {Entry(kRepeatBiweekly, At("2026/11/30 08:00:00"), kMaskMonday)},
       "2026/12/07 10:00:00", "2026/12/14 08:00:00"},
      {"OnceAhead", {Entry(kRepeatOnce, At("2027/05/01 08:00:00"))}, "2026/12/07 10:00:00", "2027/05/01 08:00:00"},
      {"OncePassedNever", {Entry(kRepeatOnce, At("2026/12/07 08:00:00"))}, "2026/12/07 10:00:00", nullptr},
      {"QuickTimer", {Entry(kRepeatQuick, At("2026/12/07 10:03:00"))}, "2026/12/07 10:00:00", "2026/12/07 10:03:00"},
      {"SoonestOfMany",
       {Entry(kRepeatOnce, At("2026/12/07 08:00:00")), Entry(kRepeatWeekly, At("2026/11/01 09:00:00"), kMaskTuesday),
        Entry(kRepeatDaily, At("2026/12/01 11:00:00")), Entry(kRepeatMonthly, At("2026/10/07 10:30:00"))},
       "2026/12/07 10:00:00", "2026/12/07 10:30:00"},
  };
  for (const NextCase& c : cases) {
    SCOPED_TRACE(c.name);
    const LocalSecond next = NextBellOfTable(Table(c.entries), SecondNumber(At(c.from)));
    EXPECT_EQ(next == 0 ? std::string("none") : FormatMoment(DateOfLocal(next)), c.expected ? c.expected : "none");
  }
}

// The due check, ticked second by second, presents its first bell in the minute found.
TEST(TableNextBell, AgreesWithTheDueCheck) {
  AlarmTable table = Table({Entry(kRepeatWeekly, At("2026/11/01 09:00:00"), kMaskFriday | kMaskSunday),
                            Entry(kRepeatMonthly, At("2026/01/31 23:50:00"), 0, BellMode::PreAndMain, 20),
                            Entry(kRepeatNth1 + 4, At("2026/01/01 12:00:00"), kMaskWednesday),
                            Entry(kRepeatBiweekly, At("2026/11/30 08:00:00"), kMaskMonday | kMaskThursday)});
  for (OleDate from = At("2026/12/07 00:00:00"); from < At("2027/03/01 00:00:00"); from += 1.25) {
    SCOPED_TRACE(FormatMoment(from));
    const LocalSecond next = NextBellOfTable(table, SecondNumber(from));
    ASSERT_NE(next, 0);
    AlarmTable fresh = table;
    int64_t firstBell = -1;
    RunDueChecks(fresh, SecondNumber(from), SecondNumber(from) + 62 * 86400, [&](int64_t second, const DueResult&) {
      firstBell = second;
      return false;
    });
    EXPECT_EQ(FormatDateHourMinute(FromSecondNumber(firstBell)), FormatDateHourMinute(DateOfLocal(next)));
  }
}

// A sleeping PC is not woken for a bell that rests on a day off: the next bell is the next one
// that rings, its pre-bell the evening before included.
TEST(TableNextBell, PassesOverTheDaysAnEntryRestsOn) {
  AlarmEntry rests = Entry(kRepeatDaily, At("2026/12/01 07:00:00"), kMaskRestsOnDaysOff, BellMode::PreAndMain, 600);
  const DaysOff off({{DayOf(At("2026/12/08 00:00:00")), "休み"}});
  const AlarmTable table = Table({rests});
  EXPECT_EQ(FormatMoment(DateOfLocal(NextBellOfTable(table, SecondNumber(At("2026/12/07 08:00:00"))))), "2026/12/07 21:00:00");
  EXPECT_EQ(FormatMoment(DateOfLocal(NextBellOfTable(table, SecondNumber(At("2026/12/07 08:00:00")), kNextBellHorizonDays, &off))),
            "2026/12/08 21:00:00");
}

TEST(TableNextBell, WakesAMinuteAheadUnlessThatIsPast) {
  EXPECT_EQ(FormatMoment(DateOfLocal(WakeMomentFor(SecondNumber(At("2026/12/08 07:00:00")), SecondNumber(At("2026/12/07 23:00:00")), 60))),
            "2026/12/08 06:59:00");
  EXPECT_EQ(FormatMoment(DateOfLocal(WakeMomentFor(SecondNumber(At("2026/12/07 23:00:30")), SecondNumber(At("2026/12/07 23:00:00")), 60))),
            "2026/12/07 23:00:30");
}

}  // namespace
}  // namespace wb
