#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ScheduleSupport.h"
#include "model/ListLine.h"
#include "model/SortKeys.h"

namespace wb::test {
namespace {

std::vector<int> Order(const std::vector<SortKey>& keys, int count) {
  std::vector<int> order;
  for (int r = 0; r < count; ++r) order.push_back(keys[size_t(r)].Slot);
  return order;
}

// The program's quicksort exactly as it recurses, to hold the loop form to the same order.
void ReferenceSort(std::vector<SortKey>& k, int low, int high) {
  const OleDate pivot = k[size_t((low + high) / 2)].Key;
  int i = low, j = high;
  for (;;) {
    while (k[size_t(i)].Key < pivot) ++i;
    while (k[size_t(j)].Key > pivot) --j;
    if (i >= j) break;
    std::swap(k[size_t(i)], k[size_t(j)]);
    ++i, --j;
  }
  if (low < i - 1) ReferenceSort(k, low, i - 1);
  if (j + 1 < high) ReferenceSort(k, j + 1, high);
}

TEST(ListLine, WeeklyLineWithEitherWeekStart) {
  const AlarmEntry e = Entry(kRepeatWeekly, At("2008/03/05 07:30:00"), kMaskMonday | kMaskWednesday);
  EXPECT_EQ(ListLineText("■", e, false), "■07:30 2008/03/05 毎週 －月－水－－－");
  EXPECT_EQ(ListLineText("■", e, true), "■07:30 2008/03/05 毎週 月－水－－－－");
  EXPECT_EQ(ListLineText("□", Entry(kRepeatDaily, At("2008/03/05 23:05:00")), false),
            "□23:05 2008/03/05 毎日 －－－－－－－");
  EXPECT_EQ(ListLineText("□", Entry(12, At("2008/03/05 07:30:00"), 0x40), true),
            "□07:30 2008/03/05  －－－－－－日");
  EXPECT_EQ(ListLineText("□", Entry(kRepeatBiweekly, At("2008/03/05 07:30:00"), 0x7F), false),
            "□07:30 2008/03/05 隔週 日月火水木金土");
}

TEST(ListLine, TheEditorsRowKeepsTheLineAndShowsTheMessageCutToTheList) {
  const std::string line = "■03:10 2026/12/08 一回 －－火－－－－";  // 38 columns
  const struct {
    const char* message;
    int columns;
    std::string row;
  } cases[] = {
      {"", 48, line},
      {"起床", 48, line + "  起床"},
      {"会議資料をコピー", 48, line + "  会議資…"},        // 8 columns left: three and the mark
      {"ｺﾋﾟｰ10部", 48, line + "  ｺﾋﾟｰ10部"},         // half-width katakana take one column
      {"a\r\nb\tc", 48, line + "  a  b c"},            // one row, whatever the message's lines
      {"起床", 43, line},                               // too narrow: the line alone, never cut
  };
  for (const auto& c : cases) EXPECT_EQ(ListRowWithMessage(line, c.message, c.columns), c.row) << c.message;
  // A message of the longest kind is not copied whole for a row that shows a few of it.
  const std::string longest(32767, 'x');
  EXPECT_EQ(ListRowWithMessage(line, longest, 48), line + "  xxxxxx…");
}

TEST(ListLine, MarkSaysWhetherTheEntryStillRingsOnTheCalendarDay) {
  const AlarmEntry e = Entry(kRepeatDaily, At("2008/03/01 07:30:00"));
  const OleDate now = At("2008/03/05 07:30:40");
  EXPECT_EQ(ListMark(e, At("2008/03/04"), now), "□");
  EXPECT_EQ(ListMark(e, At("2008/03/06"), now), "■");
  EXPECT_EQ(ListMark(e, At("2008/03/05"), now), "□");  // the present minute has come
  EXPECT_EQ(ListMark(e, At("2008/03/05"), At("2008/03/05 07:29:59")), "■");
}

TEST(AlarmList, BothViewsFollowTheDisplayOrder) {
  AlarmTable t = Table({Entry(kRepeatWeekly, At("2008/03/05 07:30:00"), kMaskMonday | kMaskWednesday),
                        Entry(kRepeatNone, At("2008/03/01 06:00:00")),
                        Entry(kRepeatOnce, At("2008/03/10 21:00:00"))});
  const std::vector<SortKey> keys = BuildSortKeys(t);
  const OleDate now = At("2008/03/05 08:00:00");
  const std::vector<ListRow> all = BuildAlarmList(t, keys, At("2008/03/10"), now, false, false);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].slot, 1);
  EXPECT_EQ(all[0].text, "□06:00 2008/03/01 －－ －－－－－－－");
  EXPECT_EQ(all[1].slot, 0);
  EXPECT_EQ(all[1].text, "■07:30 2008/03/05 毎週 －月－水－－－");  // a Monday after today
  EXPECT_EQ(all[2].text, "■21:00 2008/03/10 一回 －－－－－－－");

  const std::vector<ListRow> daily = BuildAlarmList(t, keys, At("2008/03/05"), now, true, true);
  ASSERT_EQ(daily.size(), 1u);  // only the weekly entry rings on Wednesday the 5th
  EXPECT_EQ(daily[0].slot, 0);
  EXPECT_EQ(daily[0].text, "□07:30 2008/03/05 毎週 月－水－－－－");  // 07:30 is past at 08:00
  EXPECT_TRUE(BuildAlarmList(t, keys, At("2008/03/04"), now, true, false).empty());
}

TEST(SortKeys, ByMinuteOfTheDayThenByFullDateAndTime) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/05/01 07:01:00")), Entry(kRepeatDaily, At("2009/01/01 07:00:00")),
                        Entry(kRepeatDaily, At("2007/01/01 07:00:00")), Entry(kRepeatDaily, At("2006/01/01 07:01:00")),
                        Entry(kRepeatDaily, At("2008/01/01 07:00:30")), Entry(kRepeatDaily, At("2010/01/01 06:59:00"))});
  const std::vector<SortKey> keys = BuildSortKeys(t);
  ASSERT_EQ(keys.size(), 7u);  // the spare slot comes along
  EXPECT_EQ(Order(keys, 6), (std::vector<int>{5, 2, 4, 1, 3, 0}));
  EXPECT_EQ(BuildSortKeys(AlarmTable()).size(), 1u);
}

TEST(SortKeys, MidnightEntriesStayInTheLiveRows) {
  // Time-of-day 00:00 has key 0, like the untouched spare slot: the tie pass must not take the
  // spare into the last run, or an entry would drop out of the list and another show twice.
  AlarmTable t = Table({Entry(kRepeatDaily, At("2008/03/02 00:00:00")), Entry(kRepeatDaily, At("2008/03/01 00:00:00")),
                        Entry(kRepeatDaily, At("2008/03/03 00:00:00"))});
  const std::vector<SortKey> keys = BuildSortKeys(t);
  EXPECT_EQ(Order(keys, 3), (std::vector<int>{1, 0, 2}));
}

TEST(SortKeys, EqualKeysComeOutInTheProgramsOwnOrder) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    const int n = 1 + int(rng() % 300);
    std::vector<SortKey> keys(size_t(n) + 1), reference;
    for (int i = 0; i < n; ++i) keys[size_t(i)] = {double(rng() % 6), i};  // many equal keys
    reference = keys;
    SortKeyRange(keys, 0, n - 1);
    ReferenceSort(reference, 0, n - 1);
    ASSERT_EQ(Order(keys, n), Order(reference, n)) << "round " << round;
    ASSERT_TRUE(std::is_sorted(keys.begin(), keys.begin() + n,
                               [](const SortKey& a, const SortKey& b) { return a.Key < b.Key; }));
  }
}

TEST(SortKeys, WholeTableInAnyOrderIsAPermutation) {
  std::mt19937 rng(11);
  AlarmTable t;
  for (int i = 0; i < 5000; ++i) {
    t.Add(Entry(kRepeatDaily, MakeDate(2000 + int(rng() % 3), 1, 1 + int(rng() % 2), int(rng() % 24), int(rng() % 60))));
  }
  const std::vector<SortKey> keys = BuildSortKeys(t);
  std::vector<int> order = Order(keys, 5000);
  for (size_t r = 1; r < order.size(); ++r) {
    const AlarmEntry &a = t[order[r - 1]], &b = t[order[r]];
    ASSERT_LE(MinuteOfDay(a.AlarmTime), MinuteOfDay(b.AlarmTime));
    if (MinuteOfDay(a.AlarmTime) == MinuteOfDay(b.AlarmTime)) {
      ASSERT_LE(a.AlarmTime, b.AlarmTime);
    }
  }
  std::sort(order.begin(), order.end());
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(order[size_t(i)], i);
}

}  // namespace
}  // namespace wb::test
