#include <gtest/gtest.h>

#include "ScheduleSupport.h"
#include "model/DayMath.h"
#include "model/Holidays.h"
#include "model/ListLine.h"
#include "model/Schedule.h"
#include "model/SortKeys.h"
#include "model/TrayTip.h"

namespace wb::test {
namespace {

using Bells = std::vector<Bell>;

constexpr int kWeekdays = kMaskMonday | kMaskTuesday | kMaskWednesday | kMaskThursday | kMaskFriday;
constexpr int kRest = kMaskRestsOnDaysOff;

// The bells of [from, to] as the running program rings them (a due check every second, here of
// the minutes around each entry's bell and pre-bell minutes, to keep weeks quick) and as
// `wakebell-tool schedule` finds them; both must agree.
Bells BellsOf(const AlarmTable& table, const char* from, const char* to, const DaysOff& daysOff) {
  std::vector<bool> near(1440, false);
  for (int i = 0; i < table.EntryCount(); ++i) {
    const int set = MinuteOfDay(table[i].AlarmTime);
    for (int m : {set, set - int(LeadSeconds(table[i].PreBellMinutes) / 60)})
      for (int d = -2; d <= 2; ++d) near[size_t(FloorMod(m + d, 1440))] = true;
  }
  AlarmTable ticked = table, scheduled = table;
  Bells bySecond, byMinute;
  const int64_t first = SecondNumber(At(from)), last = SecondNumber(At(to));
  for (int64_t s = first; s <= last; ++s) {
    if (!near[size_t(FloorMod(s, kSecondsPerDay) / 60)]) continue;
    const DueResult r = RunDueCheck(ticked, s, &daysOff);
    if (r.slot >= 0) bySecond.push_back({FormatMoment(FromSecondNumber(s)), r.slot, r.main, r.pre});
  }
  RunDueChecks(
      scheduled, first, last,
      [&](int64_t s, const DueResult& r) {
        byMinute.push_back({FormatMoment(FromSecondNumber(s)), r.slot, r.main, r.pre});
        return true;
      },
      &daysOff);
  EXPECT_EQ(bySecond, byMinute) << "the due check and the schedule disagree";
  return bySecond;
}

struct BellCase {
  const char* what;
  AlarmEntry entry;
  const char* from;
  const char* to;
  Bells expected;
};

// 2027/07/19 is 海の日 (the third Monday of July); 2026/05/03–06 are 憲法記念日, みどりの日,
// こどもの日 and a 振替休日; 2026/09/22 is a 国民の休日 between 敬老の日 and 秋分の日;
// 2027/08/13 is the user's own day off.
TEST(DaysOffBells, EntriesThatRestSkipTheDayAndThePreBellAnnouncingIt) {
  const DaysOff daysOff({{DayNumber(2027, 8, 13), "夏季休暇"}});
  const BellCase cases[] = {
      {"a weekday alarm on a Happy Monday, its pre-bell the evening before, and the next working day's",
       Entry(kRepeatWeekly, At("2027/07/01 07:00:00"), kWeekdays | kRest, BellMode::PreAndMain, 600),
       "2027/07/16 00:00:00", "2027/07/20 23:59:59",
       {{"2027/07/16 07:00:00", 0, true, false},
        {"2027/07/19 21:00:00", 0, false, true},
        {"2027/07/20 07:00:00", 0, true, false},
        {"2027/07/20 21:00:00", 0, false, true}}},
      {"the same alarm without the choice rings on the holiday",
       Entry(kRepeatWeekly, At("2027/07/01 07:00:00"), kWeekdays, BellMode::PreAndMain, 600),
       "2027/07/18 00:00:00", "2027/07/19 23:59:59",
       {{"2027/07/18 21:00:00", 0, false, true},
        {"2027/07/19 07:00:00", 0, true, false},
        {"2027/07/19 21:00:00", 0, false, true}}},
      {"a pre-bell that reaches back across midnight belongs to the next day's bell",
       Entry(kRepeatWeekly, At("2027/07/01 00:10:00"), kWeekdays | kRest, BellMode::PreOnly, 30),
       "2027/07/18 00:00:00", "2027/07/20 23:59:59",
       {{"2027/07/19 23:40:00", 0, false, true}, {"2027/07/20 23:40:00", 0, false, true}}},
      {"a daily alarm across Golden Week with its 振替休日",
       Entry(kRepeatDaily, At("2026/04/01 08:00:00"), kRest),
       "2026/05/02 00:00:00", "2026/05/07 23:59:59",
       {{"2026/05/02 08:00:00", 0, true, false}, {"2026/05/07 08:00:00", 0, true, false}}},
      {"a Tuesday alarm and the 国民の休日",
       Entry(kRepeatWeekly, At("2026/09/01 09:30:00"), kMaskTuesday | kRest),
       "2026/09/14 00:00:00", "2026/09/30 23:59:59",
       {{"2026/09/15 09:30:00", 0, true, false}, {"2026/09/29 09:30:00", 0, true, false}}},
      {"every other week: the ringing week holds the holiday (its pre-bell day, too)",
       Entry(kRepeatBiweekly, At("2027/07/05 09:00:00"), kWeekdays | kRest, BellMode::PreAndMain, 30),
       "2027/07/19 00:00:00", "2027/07/20 23:59:59",
       {{"2027/07/20 08:30:00", 0, false, true}, {"2027/07/20 09:00:00", 0, true, false}}},
      {"a monthly alarm on the 3rd meets 憲法記念日 in May",
       Entry(kRepeatMonthly, At("2027/04/03 10:00:00"), kRest),
       "2027/04/01 00:00:00", "2027/06/05 23:59:59",
       {{"2027/04/03 10:00:00", 0, true, false}, {"2027/06/03 10:00:00", 0, true, false}}},
      {"the third Monday of July is 海の日 itself",
       Entry(kRepeatNth1 + 2, At("2027/06/01 10:00:00"), kMaskMonday | kRest),
       "2027/07/01 00:00:00", "2027/08/31 23:59:59",
       {{"2027/08/16 10:00:00", 0, true, false}}},
      {"the user's own day off",
       Entry(kRepeatWeekly, At("2027/08/01 07:00:00"), kWeekdays | kRest),
       "2027/08/12 00:00:00", "2027/08/16 23:59:59",
       {{"2027/08/12 07:00:00", 0, true, false}, {"2027/08/16 07:00:00", 0, true, false}}},
      {"a once-only entry always rings, whatever its mask holds",
       Entry(kRepeatOnce, At("2027/07/19 07:00:00"), kRest, BellMode::PreAndMain, 10),
       "2027/07/19 00:00:00", "2027/07/19 23:59:59",
       {{"2027/07/19 06:50:00", 0, false, true}, {"2027/07/19 07:00:00", 0, true, false}}},
      {"a quick timer always rings",
       Entry(kRepeatQuick, At("2027/07/19 07:05:00"), kRest),
       "2027/07/19 07:00:00", "2027/07/19 07:10:00",
       {{"2027/07/19 07:05:00", 0, true, false}}},
  };
  for (const BellCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BellsOf(Table({c.entry}), c.from, c.to, daysOff), c.expected);
  }
}

TEST(DaysOffBells, WithoutACalendarEveryEntryRingsAsBefore) {
  AlarmTable t = Table({Entry(kRepeatWeekly, At("2027/07/01 07:00:00"), kWeekdays | kRest)});
  const DueResult r = RunDueCheck(t, SecondNumber(At("2027/07/19 07:00:00")));
  EXPECT_EQ(r.slot, 0);
  EXPECT_TRUE(EntryOccursOnDay(t[0], DayNumber(2027, 7, 19)));
}

TEST(DaysOffBells, TheListAndTheTipLeaveTheDayOffOut) {
  const DaysOff daysOff;
  const AlarmTable t = Table({Entry(kRepeatWeekly, At("2027/07/01 07:00:00"), kWeekdays | kRest),
                              Entry(kRepeatWeekly, At("2027/07/01 08:00:00"), kWeekdays)});
  const std::vector<SortKey> keys = BuildSortKeys(t);
  const OleDate now = At("2027/07/18 22:00:00");
  // The デイリー view of the holiday holds only the entry that rings on it; the next day both.
  auto dailySlots = [&](const char* day) {
    std::vector<int> slots;
    for (const ListRow& row : BuildAlarmList(t, keys, At(day), now, true, false, &daysOff)) slots.push_back(row.slot);
    return slots;
  };
  EXPECT_EQ(dailySlots("2027/07/19"), (std::vector<int>{1}));
  EXPECT_EQ(dailySlots("2027/07/20"), (std::vector<int>{0, 1}));
  // The full view marks the resting entry as not ringing on the holiday; its weekday letters stay.
  const std::vector<ListRow> all = BuildAlarmList(t, keys, At("2027/07/19"), now, false, false, &daysOff);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].text, "□07:00 2027/07/01 毎週 －月火水木金－");
  EXPECT_EQ(all[1].text, "■08:00 2027/07/01 毎週 －月火水木金－");
  // On the evening before the holiday the tip passes over the resting entry's 07:00.
  OleDate next = 0;
  std::string tip = "Wakebell";
  ASSERT_TRUE(ComputeTrayTip(t, OleDate(DayOf(now)), now, next, tip, &daysOff));
  EXPECT_EQ(tip, "あと10時間 明日08:00");
  const AlarmTable resting = Table({t[0]});
  tip = "Wakebell";
  EXPECT_FALSE(ComputeTrayTip(resting, OleDate(DayOf(now)), now, next, tip, &daysOff));
  EXPECT_EQ(tip, "Wakebell");
  ASSERT_TRUE(ComputeTrayTip(resting, At("2027/07/19"), At("2027/07/19 22:00:00"), next, tip, &daysOff));
  EXPECT_EQ(tip, "あと9時間 明日07:00");
}

}  // namespace
}  // namespace wb::test
