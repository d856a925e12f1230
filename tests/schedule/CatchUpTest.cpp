// The catch-up after a gap: which bells ring now, which rows the notice lists, and that nothing
// rings or is reported twice. 2026/12/07 is a Monday, the first of its month.
#include <sstream>

#include "model/CatchUp.h"
#include "model/Holidays.h"
#include "schedule/ScheduleSupport.h"

namespace wb {
namespace {

using test::At;
using test::Reading;
using test::Sec;
using test::Entry;
using test::Table;

// A result as short lines: "ring <slot> <yyyy/mm/dd hh:nn> main|pre" and
// "missed <slot> <yyyy/mm/dd hh:nn> main|pre x<count>", ring lines first.
std::vector<std::string> Lines(const CatchUpResult& r) {
  std::vector<std::string> lines;
  for (const RingNow& b : r.ringNow) {
    lines.push_back("ring " + std::to_string(b.slot) + " " + FormatDateHourMinute(DateOfLocal(b.moment)) + (b.main ? " main" : " pre"));
  }
  for (const MissedRow& m : r.missed) {
    lines.push_back("missed " + std::to_string(m.slot) + " " + FormatDateHourMinute(DateOfLocal(m.moment)) +
                    (m.main ? " main" : " pre") + " x" + std::to_string(m.count));
  }
  return lines;
}

AlarmEntry Marked(AlarmEntry e, const char* main, const char* pre = nullptr) {
  if (main) e.MainBellFiredAt = At(main);
  if (pre) e.PreBellFiredAt = At(pre);
  return e;
}

struct GapCase {
  const char* name;
  std::vector<AlarmEntry> entries;
  const char* from;
  const char* now;
  std::vector<std::string> expected;
};

TEST(CatchUp, FindsTheBellsOfTheGapAsTheDueCheckWouldHaveRungThem) {
  const int nth1 = kRepeatNth1, nth2 = kRepeatNth1 + 1;
  const std::vector<GapCase> cases = {
      {"a bell 90 s late rings", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))},
       "2026/12/06 23:00:00", "2026/12/07 07:01:30", {"ring 0 2026/12/07 07:00 main"}},
      {"exactly 2 minutes late still rings", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))},
       "2026/12/06 23:00:00", "2026/12/07 07:02:00", {"ring 0 2026/12/07 07:00 main"}},
      {"a second more is only reported", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))},
       "2026/12/06 23:00:00", "2026/12/07 07:02:01", {"missed 0 2026/12/07 07:00 main x1"}},
      {"across midnight, newest first",
       {Entry(kRepeatDaily, At("2026/11/01 23:50:00")), Entry(kRepeatDaily, At("2026/11/01 00:10:00"))},
       "2026/12/06 23:00:00", "2026/12/07 06:00:00",
       {"missed 1 2026/12/07 00:10 main x1", "missed 0 2026/12/06 23:50 main x1"}},
      {"the bell at the gap's start was watched; the one at its end is in it",
       {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))}, "2026/12/06 07:00:00", "2026/12/07 07:00:00",
       {"ring 0 2026/12/07 07:00 main"}},
      {"one row per entry with its count", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))},
       "2026/12/01 06:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 07:00 main x7"}},
      {"the newest rings, the older ones are reported", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))},
       "2026/12/05 06:00:00", "2026/12/07 07:01:00",
       {"ring 0 2026/12/07 07:00 main", "missed 0 2026/12/06 07:00 main x2"}},
      {"at most 7 days back", {Entry(kRepeatDaily, At("2026/01/01 07:00:00"))},
       "2026/11/01 00:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 07:00 main x7"}},
      {"the 31st does not occur in November; the 30th does",
       {Entry(kRepeatMonthly, At("2026/10/31 07:00:00")), Entry(kRepeatMonthly, At("2026/10/30 07:00:00"))},
       "2026/11/29 00:00:00", "2026/12/01 08:00:00", {"missed 1 2026/11/30 07:00 main x1"}},
      {"a monthly bell across the year's end", {Entry(kRepeatMonthly, At("2026/10/01 00:05:00"))},
       "2026/12/31 22:00:00", "2027/01/01 09:00:00", {"missed 0 2027/01/01 00:05 main x1"}},
      {"weekly on Monday and Wednesday", {Entry(kRepeatWeekly, At("2026/11/01 07:00:00"), kMaskMonday | kMaskWednesday)},
       "2026/12/06 00:00:00", "2026/12/10 12:00:00", {"missed 0 2026/12/09 07:00 main x2"}},
      {"every other Monday", {Entry(kRepeatBiweekly, At("2026/11/23 07:00:00"), kMaskMonday)},
       "2026/12/01 00:00:00", "2026/12/08 00:00:00", {"missed 0 2026/12/07 07:00 main x1"}},
      {"not the Monday between", {Entry(kRepeatBiweekly, At("2026/11/23 07:00:00"), kMaskMonday)},
       "2026/11/24 00:00:00", "2026/12/01 00:00:00", {}},
      {"the first Monday, not the second",
       {Entry(nth1, At("2026/11/01 07:00:00"), kMaskMonday), Entry(nth2, At("2026/11/01 07:00:00"), kMaskMonday)},
       "2026/12/01 00:00:00", "2026/12/08 00:00:00", {"missed 0 2026/12/07 07:00 main x1"}},
      {"a once entry; one that rang is not missed",
       {Entry(kRepeatOnce, At("2026/12/07 07:00:00")),
        Marked(Entry(kRepeatOnce, At("2026/12/07 06:00:00")), "2026/12/07 06:00:00")},
       "2026/12/07 05:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 07:00 main x1"}},
      {"a quick timer that ran out", {Entry(kRepeatQuick, At("2026/12/07 06:59:30"))},
       "2026/12/07 06:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 06:59 main x1"}},
      {"a once entry of the future is not yet due", {Entry(kRepeatOnce, At("2026/12/08 07:00:00"))},
       "2026/12/07 05:00:00", "2026/12/07 08:00:00", {}},
      {"a pre-bell whose main bell passed is not listed",
       {Entry(kRepeatDaily, At("2026/11/01 07:00:00"), 0, BellMode::PreAndMain, 30)},
       "2026/12/07 06:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 07:00 main x1"}},
      {"a pre-bell whose main bell is ahead is",
       {Entry(kRepeatDaily, At("2026/11/01 07:00:00"), 0, BellMode::PreAndMain, 30)},
       "2026/12/07 06:00:00", "2026/12/07 06:45:00", {"missed 0 2026/12/07 06:30 pre x1"}},
      {"a young pre-bell rings", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"), 0, BellMode::PreAndMain, 30)},
       "2026/12/07 06:00:00", "2026/12/07 06:31:00", {"ring 0 2026/12/07 06:30 pre"}},
      {"an entry of pre-bells only lists them", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"), 0, BellMode::PreOnly, 30)},
       "2026/12/05 08:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 06:30 pre x2"}},
      {"a pre-bell the day before its main bell",
       {Entry(kRepeatOnce, At("2026/12/08 00:30:00"), 0, BellMode::PreAndMain, 60)},
       "2026/12/07 23:00:00", "2026/12/07 23:45:00", {"missed 0 2026/12/07 23:30 pre x1"}},
      {"a bell marked rung today is not missed",
       {Marked(Entry(kRepeatDaily, At("2026/11/01 07:00:00")), "2026/12/07 07:00:00")},
       "2026/12/07 06:00:00", "2026/12/07 08:00:00", {}},
      {"a mark from a clock that was ahead counts as not rung",
       {Marked(Entry(kRepeatDaily, At("2026/11/01 07:00:00")), "2026/12/08 07:00:00")},
       "2026/12/07 06:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 07:00 main x1"}},
      {"the clock set back: no gap", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))},
       "2026/12/07 09:00:00", "2026/12/07 06:00:00", {}},
      {"nothing known before", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"))}, nullptr, "2026/12/07 08:00:00", {}},
      {"an entry that rings nothing", {Entry(kRepeatDaily, At("2026/11/01 07:00:00"), 0, BellMode(3))},
       "2026/12/07 06:00:00", "2026/12/07 08:00:00", {}},
      {"the start date holds", {Entry(kRepeatDaily, At("2026/12/07 07:00:00"))},
       "2026/12/05 06:00:00", "2026/12/07 08:00:00", {"missed 0 2026/12/07 07:00 main x1"}},
  };
  for (const GapCase& c : cases) {
    const AlarmTable table = Table(c.entries);
    const CatchUpResult r = FindMissedBells(table, {}, c.from ? Sec(c.from) : 0, Sec(c.now));
    EXPECT_EQ(Lines(r), c.expected) << c.name;
  }
}

// A table and the state after catching up at `now`.
struct Caught {
  AlarmTable table;
  CatchUpState state;
};

Caught CatchUpOnce(const std::vector<AlarmEntry>& entries, const char* from, const char* now) {
  Caught c{Table(entries), {}};
  c.state.watchedUntil = Sec(from);
  ApplyCatchUp(c.table, c.state, FindMissedSinceWatched(c.table, c.state, Reading(now)), Reading(now));
  return c;
}

// A weekday alarm that rests on days off is neither rung late nor reported for a holiday in the
// gap (2027/01/11 is 成人の日, a Monday); the same entry without the choice is.
TEST(CatchUp, ABellThatRestsOnADayOffIsNeitherRungNorReported) {
  const DaysOff daysOff;
  const int16_t weekdays = 0x1F, resting = int16_t(0x1F | kMaskRestsOnDaysOff);
  const struct {
    int16_t mask;
    const char *from, *now;
    std::vector<std::string> expected;
  } cases[] = {
      {resting, "2027/01/11 06:00:00", "2027/01/11 07:01:30", {}},
      {weekdays, "2027/01/11 06:00:00", "2027/01/11 07:01:30", {"ring 0 2027/01/11 07:00 main"}},
      {resting, "2027/01/08 06:00:00", "2027/01/12 07:01:30",
       {"ring 0 2027/01/12 07:00 main", "missed 0 2027/01/08 07:00 main x1"}},
      {weekdays, "2027/01/08 06:00:00", "2027/01/12 07:01:30",
       {"ring 0 2027/01/12 07:00 main", "missed 0 2027/01/11 07:00 main x2"}},
  };
  for (const auto& c : cases) {
    AlarmTable table = Table({Entry(kRepeatWeekly, At("2027/01/04 07:00:00"), c.mask)});
    CatchUpLimits limits;
    limits.daysOff = &daysOff;
    EXPECT_EQ(Lines(FindMissedBells(table, {}, Sec(c.from), Sec(c.now), limits)), c.expected)
        << c.mask << " " << c.from;
  }
}

TEST(CatchUp, NothingRingsOrIsReportedTwice) {
  const std::vector<AlarmEntry> entries = {Entry(kRepeatDaily, At("2026/11/01 07:00:00")),
                                           Entry(kRepeatDaily, At("2026/11/01 06:00:00"))};
  Caught c = CatchUpOnce(entries, "2026/12/07 05:00:00", "2026/12/07 07:01:00");
  EXPECT_EQ(c.table[0].MainBellFiredAt, At("2026/12/07 07:01:00"));  // the due check will not ring it again
  EXPECT_EQ(c.table[1].MainBellFiredAt, 0);                         // reported, not rung
  EXPECT_EQ(c.state.watchedUntil, Sec("2026/12/07 07:01:00"));
  // The same resume delivered again, the tick's own gap and a catch-up from the old start.
  CatchUpState old = c.state;
  old.watchedUntil = Sec("2026/12/07 05:00:00");
  for (const CatchUpState& s : {c.state, old}) {
    for (const char* now : {"2026/12/07 07:01:00", "2026/12/07 07:01:30"}) {
      EXPECT_TRUE(Lines(FindMissedSinceWatched(c.table, s, Reading(now))).empty()) << now;
    }
  }
  // Also with the marks lost (the program restarted over a data file saved before).
  AlarmTable unmarked = Table(entries);
  EXPECT_TRUE(Lines(FindMissedSinceWatched(unmarked, old, Reading("2026/12/07 07:01:30"))).empty());
  // The next day's bells are new.
  EXPECT_EQ(Lines(FindMissedSinceWatched(unmarked, old, Reading("2026/12/08 09:00:00"))),
            (std::vector<std::string>{"missed 0 2026/12/08 07:00 main x1", "missed 1 2026/12/08 06:00 main x1"}));
}

TEST(CatchUp, TheBellsACrowdedMinuteNeverPresentedAreReported) {
  // 70 entries at 07:00: the ticks of that minute present 60 of them, one each.
  AlarmTable t = Table(std::vector<AlarmEntry>(70, Entry(kRepeatDaily, At("2026/11/01 07:00:00"))));
  std::vector<test::Bell> bells;
  test::RunTicks(t, At("2026/12/07 07:00:00"), At("2026/12/07 07:00:59"), bells);
  ASSERT_EQ(bells.size(), 60u);
  const CatchUpResult r =
      FindMissedBells(t, {}, Sec("2026/12/07 06:59:59"), Sec("2026/12/07 07:01:00"), {kCatchUpMaxSeconds, -1});
  EXPECT_TRUE(r.ringNow.empty());
  ASSERT_EQ(r.missed.size(), 10u);
  EXPECT_EQ(r.missed.front().slot, 60);
}

TEST(CatchUp, WhatWasHandledFollowsTheEntryNotTheSlot) {
  const AlarmEntry wake = Entry(kRepeatDaily, At("2026/11/01 07:00:00"));
  AlarmEntry other = Entry(kRepeatDaily, At("2026/11/01 06:00:00"));
  other.Message = "ゴミ出し";
  Caught c = CatchUpOnce({other, wake}, "2026/12/07 05:00:00", "2026/12/07 08:00:00");
  CatchUpState s = c.state;
  s.watchedUntil = Sec("2026/12/07 05:00:00");
  struct {
    const char* name;
    std::vector<AlarmEntry> entries;
    std::vector<std::string> expected;
  } cases[] = {
      {"unchanged", {other, wake}, {}},
      {"the first deleted: the second moved up", {wake}, {}},
      {"the second edited to 06:30", {other, Entry(kRepeatDaily, At("2026/11/01 06:30:00"))},
       {"missed 1 2026/12/07 06:30 main x1"}},
      {"a message changed", {other, [&] { AlarmEntry e = wake; e.Message = "起床"; return e; }()},
       {"missed 1 2026/12/07 07:00 main x1"}},
      {"an identical entry added", {other, wake, wake}, {"missed 2 2026/12/07 07:00 main x1"}},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(Lines(FindMissedSinceWatched(Table(k.entries), s, Reading("2026/12/07 08:00:00"))), k.expected) << k.name;
  }
  // A record left by a clock that was ahead (handled at a UTC second ahead of the present) is
  // dropped where the clock is put right, and vouches for nothing then. One handled in the
  // past stands however far ahead its local moment lies: the end of daylight saving moved the
  // local clock back over it, and its bells were handled.
  const Moment now = Reading("2026/12/07 08:00:00");
  const UtcSecond utcNow = now.utc;
  CatchUpState ahead;
  ahead.watchedUntil = Sec("2026/12/07 05:00:00");
  RecordHandled(ahead, Table({wake}), 0, Sec("2026/12/08 07:00:00"), utcNow + 86400);
  CatchUpState daylight = ahead;
  daylight.handled[0].main.utc = daylight.handled[0].pre.utc = utcNow - 60;
  CatchUpState older = ahead;  // a record of a state file that kept no UTC second
  older.handled[0].main.utc = older.handled[0].pre.utc = UtcSecond();
  EXPECT_EQ(ForgetRecordsAhead(ahead, now), 2);  // its main bell's and pre-bell's
  EXPECT_EQ(ForgetRecordsAhead(daylight, now), 0);
  EXPECT_EQ(ForgetRecordsAhead(older, now), 2);
  EXPECT_TRUE(ahead.handled.empty());
  EXPECT_EQ(Lines(FindMissedSinceWatched(Table({wake}), ahead, now)), std::vector<std::string>{"missed 0 2026/12/07 07:00 main x1"});
  EXPECT_EQ(Lines(FindMissedSinceWatched(Table({wake}), daylight, now)), std::vector<std::string>{});
}

TEST(CatchUp, CompactingKeepsOneRecordPerLiveEntryInSlotOrder) {
  const AlarmEntry a = Entry(kRepeatDaily, At("2026/11/01 05:30:00")), b = Entry(kRepeatDaily, At("2026/11/01 06:00:00"));
  Caught c = CatchUpOnce({a, b}, "2026/12/07 05:00:00", "2026/12/07 08:00:00");
  ASSERT_EQ(c.state.handled.size(), 2u);
  AlarmTable onlyB = Table({b});
  CompactHandled(c.state, onlyB);
  EXPECT_EQ(c.state.handled,
            (std::vector<HandledBell>{{0, EntryFingerprint(b), {Sec("2026/12/07 06:00:00"), Reading("2026/12/07 08:00:00").utc}, {}}}));
}

TEST(CatchUp, TickGapsAndNoticeRowText) {
  struct {
    const char *previous, *now;
    TickGap expected;
  } gaps[] = {
      {"2026/12/07 07:00:00", "2026/12/07 07:00:01", TickGap::None},
      {"2026/12/07 07:00:00", "2026/12/07 07:01:30", TickGap::None},
      {"2026/12/07 07:00:00", "2026/12/07 07:01:31", TickGap::Forward},
      {"2026/12/07 07:00:00", "2026/12/07 06:59:59", TickGap::Back},
  };
  for (const auto& g : gaps) EXPECT_EQ(ClassifyTickGap(Sec(g.previous), Sec(g.now)), g.expected) << g.now;
  EXPECT_EQ(ClassifyTickGap(0, Sec("2026/12/07 07:00:00")), TickGap::None);

  EXPECT_EQ(MissedRowText({0, Sec("2026/12/07 07:00:00"), true, 1, "起床"}), "2026/12/07 07:00  起床");
  EXPECT_EQ(MissedRowText({0, Sec("2026/12/07 06:30:00"), false, 3, "会議\r\n資料\t持参"}),
            "2026/12/07 06:30（予鈴）  会議 資料 持参  ×3");
}

TEST(RungMarks, AMarkLaterThanThePresentCountsAsNotRungAndIsPutRight) {
  // The clock was a day ahead when the bell rang; put right, today's real 07:00 still rings.
  AlarmTable t = Table({Marked(Entry(kRepeatDaily, At("2026/11/01 07:00:00")), "2026/12/08 07:00:00"),
                        Marked(Entry(kRepeatOnce, At("2026/12/07 07:00:00")), "2027/12/07 07:00:00"),
                        Marked(Entry(kRepeatDaily, At("2026/11/01 07:00:00"), 0, BellMode::PreAndMain, 5),
                               "2026/12/07 06:00:00", "2026/12/08 06:55:00")});
  AlarmTable ticked = t;
  std::vector<test::Bell> bells;
  test::RunTicks(ticked, At("2026/12/07 06:55:00"), At("2026/12/07 07:00:01"), bells);
  EXPECT_EQ(bells, (std::vector<test::Bell>{{"2026/12/07 06:55:00", 2, false, true},
                                            {"2026/12/07 07:00:00", 0, true, false},
                                            {"2026/12/07 07:00:01", 1, true, false}}));
  // A mark of today earlier than the present still keeps the bell to once a day.
  AlarmTable rung = Table({Marked(Entry(kRepeatDaily, At("2026/11/01 07:00:00")), "2026/12/07 07:00:00")});
  EXPECT_EQ(RunDueCheck(rung, Sec("2026/12/07 07:00:30")).slot, -1);

  // Up to two minutes ahead a mark stands: a small correction of the clock re-entered its minute.
  EXPECT_EQ(MarkAsOf(At("2026/12/07 07:00:00"), Sec("2026/12/07 07:00:00")), At("2026/12/07 07:00:00"));
  EXPECT_EQ(MarkAsOf(At("2026/12/07 07:02:00"), Sec("2026/12/07 07:00:00")), At("2026/12/07 07:02:00"));
  EXPECT_EQ(MarkAsOf(At("2026/12/07 07:02:01"), Sec("2026/12/07 07:00:00")), 0);
  EXPECT_EQ(PutRightFutureMarks(t, Sec("2026/12/07 06:00:00")), 3);
  EXPECT_EQ(t[0].MainBellFiredAt, 0);
  EXPECT_EQ(t[1].MainBellFiredAt, 0);
  EXPECT_EQ(t[2].MainBellFiredAt, At("2026/12/07 06:00:00"));  // not later: kept
  EXPECT_EQ(t[2].PreBellFiredAt, 0);
  EXPECT_EQ(PutRightFutureMarks(t, Sec("2026/12/07 06:00:00")), 0);
}

}  // namespace
}  // namespace wb
