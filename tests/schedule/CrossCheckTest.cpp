// The fast schedule against the plain text-rule one (NaiveSchedule) on random tables: the day
// test, the next-bell tip and the list lines on many days, and the due check tick by tick.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "NaiveSchedule.h"
#include "ScheduleSupport.h"
#include "model/Bells.h"
#include "model/CatchUp.h"
#include "model/DayMath.h"
#include "model/DueCheck.h"
#include "model/ListLine.h"
#include "model/Schedule.h"
#include "model/SortKeys.h"
#include "model/TrayTip.h"

namespace wb::test {
namespace {

// The text rules are slow by design; sanitized or unoptimised builds check a third as much.
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
constexpr int kScale = 1;
#else
constexpr int kScale = 3;
#endif

class RandomTables {
 public:
  explicit RandomTables(unsigned seed) : rng_(seed) {}

  int Pick(int n) { return int(rng_() % unsigned(n)); }

  AlarmEntry RandomEntry(int64_t firstDay, int days) {
    static const int kKinds[] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 6, 7, 8, 9, 10, 11, 11, 0, 12};
    static const int kLeads[] = {0, 1, 5, 30, 59, 60, 61, 90, 600, 1439, 1440, 1441, 2880, 4350, 10080, 20160, -30};
    AlarmEntry e;
    e.RepeatKind = int16_t(kKinds[Pick(std::size(kKinds))]);
    const int64_t day = firstDay - 40 + Pick(days + 50);
    int64_t second = int64_t(Pick(1440)) * 60;
    if (Pick(4) == 0) second += Pick(60);
    e.AlarmTime = FromSecondNumber(day * 86400 + second);
    if (Pick(8) == 0) e.AlarmTime += (Pick(2) ? 0.3 : 0.7) / 86400.0;  // rounds either way
    if (Pick(20) == 0) e.AlarmTime = FromSecondNumber(day * 86400 + 86399) + 0.6 / 86400.0;  // next midnight
    e.WeekdayMask = int16_t(Pick(128));
    if (e.RepeatKind == kRepeatBiweekly) {  // the set day ticked alone, or left out of the window
      const int setBit = MaskBitOfDay(DayOf(e.AlarmTime));
      const int shape = Pick(3);
      if (shape == 0) e.WeekdayMask = int16_t(setBit);
      if (shape == 1) e.WeekdayMask = int16_t((e.WeekdayMask | MaskBitOfWeekday(1 + Pick(7))) & ~setBit);
    }
    e.BellMode = BellMode(Pick(16) == 0 ? 3 : Pick(3));
    e.PreBellMinutes = int16_t(Pick(3) ? kLeads[Pick(std::size(kLeads))] : Pick(3000));
    if (e.RepeatKind == kRepeatQuick) {  // somewhere in the window, so that it can ring
      e.AlarmTime = FromSecondNumber((firstDay + Pick(days)) * 86400 + Pick(86400));
      e.BellMode = BellMode(Pick(4) ? 0 : Pick(3));
    }
    if (Pick(3) == 0) e.MainBellFiredAt = FromSecondNumber((firstDay - 2 + Pick(days)) * 86400 + Pick(86400));
    if (Pick(3) == 0) e.PreBellFiredAt = FromSecondNumber((firstDay - 2 + Pick(days)) * 86400 + Pick(86400));
    return e;
  }

  AlarmTable RandomTable(int64_t firstDay, int days, int entries) {
    AlarmTable t;
    for (int i = 0; i < entries; ++i) t.Add(RandomEntry(firstDay, days));
    return t;
  }

 private:
  std::mt19937 rng_;
};

// Periods with month ends, a leap day, a year end and the OLE epoch.
const char* const kPeriods[] = {"2008/02/18", "2008/12/20", "2009/01/26", "2010/05/24", "1899/12/16", "2024/01/22"};

std::string Describe(const AlarmTable& t) {
  std::string s;
  for (int i = 0; i < t.EntryCount(); ++i) {
    const AlarmEntry& e = t[i];
    char raw[32];
    std::snprintf(raw, sizeof raw, " (%.17g)", e.AlarmTime);
    s += "  [" + std::to_string(i) + "] " + FormatMoment(e.AlarmTime) + raw + " kind " + std::to_string(e.RepeatKind) +
         " mask " + std::to_string(e.WeekdayMask) + " mode " + std::to_string(int(e.BellMode)) + " lead " +
         std::to_string(e.PreBellMinutes) + " main@" + FormatMoment(e.MainBellFiredAt) + " pre@" +
         FormatMoment(e.PreBellFiredAt) + "\n";
  }
  return s;
}

// Both implementations tick in lockstep from the same table; they must present the same entry
// with the same marks and leave the same fired-at members on every tick.
void TickBoth(AlarmTable& fast, AlarmTable& plain, int64_t second) {
  const OleDate now = FromSecondNumber(second);
  const DueResult a = RunDueCheck(fast, second);
  const DueResult b = naive::RunDueCheck(plain, now);
  ASSERT_TRUE(a.slot == b.slot && a.main == b.main && a.pre == b.pre)
      << "at " << FormatMoment(now) << ": fast " << a.slot << "/" << a.main << a.pre << ", text rules " << b.slot
      << "/" << b.main << b.pre << "\n" << Describe(fast);
  if (a.slot >= 0) {
    ASSERT_EQ(fast[a.slot].MainBellFiredAt, plain[a.slot].MainBellFiredAt);
    ASSERT_EQ(fast[a.slot].PreBellFiredAt, plain[a.slot].PreBellFiredAt);
  }
}

// The minutes at which an entry's bells can fall due: its set minute, its pre-bell minute, and
// for a quick timer the minute after (its window of one minute late).
std::set<int> BellMinutes(const AlarmTable& t) {
  std::set<int> minutes;
  for (int i = 0; i < t.EntryCount(); ++i) {
    const AlarmEntry& e = t[i];
    const int set = MinuteOfDay(e.AlarmTime);
    minutes.insert(set);
    minutes.insert(MinuteOfDay(naive::AddMinutes(e.AlarmTime, -e.PreBellMinutes)));
    if (e.RepeatKind == kRepeatQuick) minutes.insert((set + 1) % 1440);
  }
  return minutes;
}

TEST(CrossCheck, DueCheckAgreesOnEverySecondOfTheBellMinutesOverThreeWeeks) {
  RandomTables gen(20261207);
  for (int round = 0; round < 2 * kScale; ++round) {
    const int64_t first = DayOf(At(kPeriods[round % std::size(kPeriods)]));
    const int days = 21;
    AlarmTable fast = gen.RandomTable(first, days, 6);
    AlarmTable plain = fast;
    const std::set<int> minutes = BellMinutes(fast);
    for (int64_t d = first; d < first + days; ++d) {
      std::set<int> today = minutes;
      today.insert(gen.Pick(1440));  // and one minute anywhere
      for (int m : today) {
        for (int s = 0; s < 60; ++s) {
          TickBoth(fast, plain, d * 86400 + m * 60 + s);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

TEST(CrossCheck, DueCheckAgreesOnEverySecondOfHours) {
  RandomTables gen(4242);
  const int64_t first = DayOf(At("2008/12/31"));
  AlarmTable fast = gen.RandomTable(first - 5, 10, 6);
  AlarmTable plain = fast;
  for (int64_t s = (first + 1) * 86400 - 4 * 3600 * kScale; s < (first + 1) * 86400; ++s) {
    TickBoth(fast, plain, s);
    if (HasFatalFailure()) return;
  }
}

// The full run: every second of four weeks, both implementations in lockstep, one table for each
// period. Many minutes of run time; run it by hand with --gtest_also_run_disabled_tests.
TEST(CrossCheck, DISABLED_DueCheckAgreesOnEverySecondOfFourWeeks) {
  RandomTables gen(777);
  for (size_t round = 0; round < std::size(kPeriods); ++round) {
    const int64_t first = DayOf(At(kPeriods[round]));
    AlarmTable fast = gen.RandomTable(first, 28, 6);
    AlarmTable plain = fast;
    for (int64_t s = first * 86400; s < (first + 28) * 86400; ++s) {
      TickBoth(fast, plain, s);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(CrossCheck, DayTestTipAndListAgreeOnManyDays) {
  RandomTables gen(99);
  for (int round = 0; round < 20 * kScale; ++round) {
    const int64_t first = DayOf(At(kPeriods[round % std::size(kPeriods)]));
    const AlarmTable t = gen.RandomTable(first, 30, 10);
    for (int64_t d = first - 45; d < first + 35; ++d) {
      for (int i = 0; i < t.EntryCount(); ++i) {
        ASSERT_EQ(EntryOccursOnDay(t[i], d), naive::OccursOn(t[i], OleDate(d)))
            << "slot " << i << " on " << FormatDate(OleDate(d)) << "\n" << Describe(t);
      }
    }
    const std::vector<SortKey> keys = BuildSortKeys(t);
    std::vector<int> order;
    for (int r = 0; r < t.EntryCount(); ++r) order.push_back(keys[size_t(r)].Slot);
    for (int k = 0; k < 40; ++k) {
      const int64_t nowDay = first + gen.Pick(30);
      int64_t second = nowDay * 86400 + gen.Pick(86400);
      if (k % 4 == 0) second = nowDay * 86400 + SecondOfDay(t[gen.Pick(t.EntryCount())].AlarmTime);  // on a bell
      const OleDate now = FromSecondNumber(second);
      const OleDate calendar = OleDate(k % 2 ? nowDay : nowDay - 3 + gen.Pick(7));
      OleDate fastNext = 0, plainNext = 0;
      std::string fastTip = "Wakebell", plainTip = "Wakebell";
      const bool fastFound = ComputeTrayTip(t, calendar, now, fastNext, fastTip);
      const bool plainFound = naive::ComputeTrayTip(t, calendar, now, plainNext, plainTip);
      ASSERT_EQ(fastFound, plainFound) << FormatMoment(now) << "\n" << Describe(t);
      ASSERT_EQ(FormatMoment(fastNext), FormatMoment(plainNext)) << FormatMoment(now) << "\n" << Describe(t);
      ASSERT_EQ(fastTip, plainTip) << FormatMoment(now) << "\n" << Describe(t);
      for (int view = 0; view < 4; ++view) {
        const bool daily = view & 1, monday = view & 2;
        const std::vector<ListRow> a = BuildAlarmList(t, keys, calendar, now, daily, monday);
        const std::vector<ListRow> b = naive::BuildAlarmList(t, order, calendar, now, daily, monday);
        ASSERT_EQ(a.size(), b.size());
        for (size_t r = 0; r < a.size(); ++r) {
          ASSERT_EQ(a[r].slot, b[r].slot);
          ASSERT_EQ(a[r].text, b[r].text) << FormatMoment(now) << " view " << view;
        }
      }
    }
  }
}

// RunDueChecks ticks only the minutes in which a bell can fall due; over any range it must
// present exactly what ticking every second presents, and leave the same marks behind.
TEST(CrossCheck, TickingOnlyTheBellMinutesEqualsTickingEverySecond) {
  RandomTables gen(31337);
  struct Shape {
    int days, entries;
  };
  const Shape shapes[] = {{8, 12}, {2, 60}};
  for (int round = 0; round < 3 * kScale; ++round) {
    for (const Shape& shape : shapes) {
      const int64_t firstDay = DayOf(At(kPeriods[(round * 2 + shape.days) % std::size(kPeriods)]));
      AlarmTable fast = gen.RandomTable(firstDay, shape.days, shape.entries);
      AlarmTable plain = fast;
      // Ranges that start and end anywhere in a minute, also inside a bell's own minute.
      const int64_t from = firstDay * 86400 + gen.Pick(86400);
      const int64_t to = from + (int64_t(shape.days) - 1) * 86400 + gen.Pick(86400);
      std::vector<Bell> fastBells, plainBells;
      RunDueChecks(fast, from, to, [&](int64_t second, const DueResult& r) {
        fastBells.push_back({FormatMoment(FromSecondNumber(second)), r.slot, r.main, r.pre});
        return true;
      });
      RunTicks(plain, FromSecondNumber(from), FromSecondNumber(to), plainBells);
      ASSERT_EQ(fastBells, plainBells) << "from " << FormatMoment(FromSecondNumber(from)) << "\n" << Describe(plain);
      for (int i = 0; i < fast.EntryCount(); ++i) {
        ASSERT_EQ(fast[i].MainBellFiredAt, plain[i].MainBellFiredAt) << i;
        ASSERT_EQ(fast[i].PreBellFiredAt, plain[i].PreBellFiredAt) << i;
      }
    }
  }
}

TEST(CrossCheck, TickingOnlyTheBellMinutesStopsWhenAsked) {
  AlarmTable t = Table({Entry(kRepeatDaily, At("2026/12/01 07:00:00")), Entry(kRepeatDaily, At("2026/12/01 07:00:30"))});
  std::vector<int64_t> heard;
  RunDueChecks(t, SecondNumber(At("2026/12/07 00:00:00")), SecondNumber(At("2026/12/09 00:00:00")),
               [&](int64_t second, const DueResult&) {
                 heard.push_back(second);
                 return heard.size() < 3;
               });
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(FormatMoment(FromSecondNumber(heard[2])), "2026/12/08 07:00:00");
}

// Bells that fall due part-way into a minute, or in the minute after their own.
TEST(CrossCheck, TickingOnlyTheBellMinutesFindsBellsInsideAMinute) {
  struct Case {
    const char* what;
    AlarmEntry entry;
    const char* from;
    const char* to;
    const char* first;  // the first bell presented
  };
  const Case cases[] = {
      {"a quick timer a minute late", Entry(kRepeatQuick, At("2026/12/07 06:59:30")), "2026/12/07 07:00:10",
       "2026/12/07 07:05:00", "2026/12/07 07:00:10"},
      {"a daily pre-bell due from the half minute on its first day",
       Entry(kRepeatDaily, At("2026/12/07 07:10:30"), 0, BellMode::PreOnly, 10), "2026/12/07 07:00:00",
       "2026/12/07 07:05:00", "2026/12/07 07:00:30"},
      {"a pre-bell the evening before", Entry(kRepeatDaily, At("2026/12/01 00:10:00"), 0, BellMode::PreOnly, 30),
       "2026/12/07 12:00:00", "2026/12/08 12:00:00", "2026/12/07 23:40:00"},
  };
  for (const Case& c : cases) {
    AlarmTable fast = Table({c.entry}), plain = fast;
    std::vector<Bell> fastBells, plainBells;
    RunDueChecks(fast, SecondNumber(At(c.from)), SecondNumber(At(c.to)), [&](int64_t second, const DueResult& r) {
      fastBells.push_back({FormatMoment(FromSecondNumber(second)), r.slot, r.main, r.pre});
      return true;
    });
    RunTicks(plain, At(c.from), At(c.to), plainBells);
    ASSERT_FALSE(plainBells.empty()) << c.what;
    EXPECT_EQ(plainBells.front().at, c.first) << c.what;
    EXPECT_EQ(fastBells, plainBells) << c.what;
  }
}

}  // namespace
}  // namespace wb::test

namespace wb::test {
namespace {

// The catch-up finds, per entry, exactly the bells that ticking the due check through the gap
// presents: as many, and the newest at the same minute. (Entries that ring both bells drop
// pre-bells on purpose and are left to the catch-up's own tests.)
TEST(CrossCheck, CatchUpFindsWhatTickingThroughTheGapRings) {
  RandomTables gen(4711);
  for (int round = 0; round < 60 * kScale; ++round) {
    const int64_t firstDay = DayOf(At(kPeriods[size_t(round) % std::size(kPeriods)]));
    // Before 1899/12/30 the due check reads a zero mark as a day to come; no PC's clock is there.
    if (firstDay < 60) continue;
    AlarmTable table = gen.RandomTable(firstDay, 8, 40);
    // The gap starts just before a midnight and lasts up to the 7-day cap.
    const int64_t from = firstDay * 86400 - 1, to = from + 1 + gen.Pick(7 * 86400);
    for (int i = 0; i < table.EntryCount(); ++i) {
      AlarmEntry& e = table[i];
      if (e.BellMode == BellMode::PreAndMain) e.BellMode = BellMode::MainOnly;
      e.MainBellFiredAt = e.PreBellFiredAt = 0;
      // A quick timer due just before the gap would ring late inside it, which a watched
      // program had already done.
      if (e.RepeatKind == kRepeatQuick && SecondNumber(e.AlarmTime) > from - 61) e.AlarmTime += 2.0 / 1440;
    }
    std::map<int, std::pair<int, int64_t>> ticked;  // slot -> count, newest minute
    std::map<int, int64_t> preRang;                 // slot -> the last pre-bell's own second
    // The monitor's ledger takes a pre-bell found alone in the set minute for the one due its
    // lead earlier, when that one is a bell of the entry and rang: one bell, not rung again.
    auto ownOf = [&](int slot, int64_t second) {
      const AlarmEntry& e = table[slot];
      return PreBellOwnSecond(e, DayTimeOf(e.AlarmTime), FloorDiv(second, 60) * 60, nullptr);
    };
    auto handled = [&](int slot, const DueResult& r, int64_t second) {
      if (!r.pre || r.main) return false;
      const int64_t own = ownOf(slot, second);
      return own != FloorDiv(second, 60) * 60 && preRang.count(slot) && preRang[slot] >= own;
    };
    AlarmTable copy = table;
    RunDueChecks(copy, from + 1, to, [&](int64_t second, const DueResult& r) {
      if (r.pre) preRang[r.slot] = r.main ? FloorDiv(second, 60) * 60 : ownOf(r.slot, second);
      auto& [count, newest] = ticked[r.slot];
      count += int(r.main) + int(r.pre);
      newest = FloorDiv(second, 60);
      return true;
    }, nullptr, handled);
    std::map<int, std::pair<int, int64_t>> caught;
    const CatchUpResult r = FindMissedBells(table, {}, from, to, {7 * 86400, -1});
    ASSERT_TRUE(r.ringNow.empty());
    for (const MissedRow& m : r.missed) caught[m.slot] = {m.count, FloorDiv(m.moment, 60)};
    ASSERT_EQ(caught, ticked) << "gap " << FormatMoment(FromSecondNumber(from)) << " .. "
                              << FormatMoment(FromSecondNumber(to)) << "\n" << Describe(table);
  }
}

}  // namespace
}  // namespace wb::test
