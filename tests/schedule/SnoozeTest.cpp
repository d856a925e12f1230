// The snooze's rules on the fake clock: when it rings, when the entry's own bell, an edit or a
// deletion cancels it, the 12-hour drop, and the next ring over several snoozes.
// 2026/12/07 is a Monday.
#include "model/CatchUp.h"
#include "model/Holidays.h"
#include "model/Snooze.h"
#include "schedule/ScheduleSupport.h"

namespace wb {
namespace {

using test::Entry;
using test::Table;

OleDate At(const char* text) {
  OleDate d = 0;
  EXPECT_TRUE(ParseMoment(text, d)) << text;
  return d;
}
LocalSecond Sec(const char* text) { return SecondNumber(At(text)); }
// Readings of a clock in Japan: the snooze keeps UTC, the entry's bells are wall times.
constexpr int32_t kJapan = 9 * 3600;
Moment Now(const char* text, int32_t offset = kJapan) { return MomentAtLocal(Sec(text), offset); }
Moment When(UtcSecond u, int32_t offset = kJapan) { return {u, offset}; }
std::string LocalText(UtcSecond u) { return FormatMoment(DateOfLocal(When(u).Local())); }

const char* VerdictName(SnoozeVerdict v) {
  switch (v) {
    case SnoozeVerdict::Wait: return "wait";
    case SnoozeVerdict::Ring: return "ring";
    case SnoozeVerdict::Dropped: return "dropped";
    case SnoozeVerdict::BellFirst: return "bell-first";
    case SnoozeVerdict::EntryGone: return "entry-gone";
  }
  return "?";
}

TEST(Snooze, EachDelayOfTheListRingsThatLongAfterThePress) {
  const AlarmTable table = Table({Entry(kRepeatDaily, At("2026/11/01 07:00:00"))});
  const char* expected[] = {"2026/12/07 07:01:40", "2026/12/07 07:03:40", "2026/12/07 07:05:40",
                            "2026/12/07 07:10:40", "2026/12/07 07:15:40", "2026/12/07 07:30:40",
                            "2026/12/07 08:00:40"};
  const char* labels[] = {"1分", "3分", "5分", "10分", "15分", "30分", "60分"};
  for (size_t i = 0; i < kSnoozeDelays.size(); ++i) {
    const Snooze s = MakeSnooze(table, 0, Now("2026/12/07 07:00:40"), kSnoozeDelays[i]);
    EXPECT_EQ(LocalText(s.ringAt), expected[i]);
    EXPECT_EQ(SnoozeDelayLabel(kSnoozeDelays[i]), labels[i]);
    EXPECT_EQ(SnoozeDelayRow(kSnoozeDelays[i]), int(i));
    // Just before its time it waits; at it, it rings.
    EXPECT_EQ(ReviewSnooze(table, s, When(s.ringAt - 1)), SnoozeVerdict::Wait);
    EXPECT_EQ(ReviewSnooze(table, s, When(s.ringAt)), SnoozeVerdict::Ring);
  }
  // A remembered delay the list does not offer (a hand-edited file) falls back to the default.
  EXPECT_EQ(ValidSnoozeMinutes(7), kDefaultSnoozeMinutes);
  EXPECT_EQ(ValidSnoozeMinutes(0), kDefaultSnoozeMinutes);
  EXPECT_EQ(ValidSnoozeMinutes(30), 30);
}

struct ReviewCase {
  const char* name;
  AlarmEntry entry;
  const char* pressed;
  int minutes;
  const char* now;
  const char* expected;
};

TEST(Snooze, ReviewRingsWaitsDropsOrGivesWayToTheEntrysOwnBell) {
  const OleDate daily7 = At("2026/11/01 07:00:00");
  const std::vector<ReviewCase> cases = {
      {"waits before its time", Entry(kRepeatDaily, daily7), "2026/12/07 07:00:10", 10, "2026/12/07 07:05:00",
       "wait"},
      {"rings at its time", Entry(kRepeatDaily, daily7), "2026/12/07 07:00:10", 10, "2026/12/07 07:10:10", "ring"},
      {"rings late after a pause or sleep", Entry(kRepeatDaily, daily7), "2026/12/07 07:00:10", 10,
       "2026/12/07 09:00:00", "ring"},
      {"exactly 12 hours late still rings", Entry(kRepeatDaily, At("2026/11/01 07:00:00")), "2026/12/07 07:00:00", 60,
       "2026/12/07 20:00:00", "ring"},
      {"a second more is dropped", Entry(kRepeatWeekly, daily7, kMaskMonday), "2026/12/07 07:00:00", 60,
       "2026/12/07 20:00:01", "dropped"},
      // A pre-bell five minutes before 07:00 put off by ten: the main bell comes first.
      {"the main bell comes before a snoozed pre-bell: waits until it rings",
       Entry(kRepeatDaily, daily7, 0, BellMode::PreAndMain, 5), "2026/12/07 06:55:20", 10, "2026/12/07 06:59:59",
       "wait"},
      {"... and gives way when it has rung", Entry(kRepeatDaily, daily7, 0, BellMode::PreAndMain, 5),
       "2026/12/07 06:55:20", 10, "2026/12/07 07:00:00", "bell-first"},
      {"a bell after the snooze's time does not cancel it", Entry(kRepeatDaily, daily7, 0, BellMode::PreAndMain, 5),
       "2026/12/07 06:55:20", 3, "2026/12/07 07:00:00", "ring"},
      {"a main bell after midnight before a snoozed pre-bell of the day before",
       Entry(kRepeatDaily, At("2026/11/01 00:05:00"), 0, BellMode::PreAndMain, 10), "2026/12/07 23:55:10", 15,
       "2026/12/08 00:06:00", "bell-first"},
      {"a quick timer rings again", Entry(kRepeatQuick, At("2026/12/07 07:00:00")), "2026/12/07 07:00:05", 1,
       "2026/12/07 07:01:05", "ring"},
  };
  for (const ReviewCase& c : cases) {
    const AlarmTable table = Table({c.entry});
    const Snooze s = MakeSnooze(table, 0, Now(c.pressed), c.minutes);
    EXPECT_STREQ(VerdictName(ReviewSnooze(table, s, Now(c.now))), c.expected) << c.name;
  }
}

// A pre-bell at 23:50 put off by thirty minutes; its main bell at 00:10 falls on a day the user
// made a day off meanwhile. That bell does not ring, so it cannot take the snooze's place.
TEST(Snooze, ABellRestingOnADayOffDoesNotCancelIt) {
  AlarmEntry e = Entry(kRepeatDaily, At("2026/11/01 00:10:00"), 0, BellMode::PreAndMain, 20);
  e.WeekdayMask = kMaskRestsOnDaysOff;
  const AlarmTable table = Table({e});
  const Snooze s = MakeSnooze(table, 0, Now("2026/12/07 23:50:05"), 30);
  const DaysOff tuesdayOff({{DayOf(At("2026/12/08 00:00:00")), "休み"}});
  EXPECT_EQ(ReviewSnooze(table, s, When(s.ringAt), nullptr, &tuesdayOff), SnoozeVerdict::Ring);
  EXPECT_EQ(ReviewSnooze(table, s, When(s.ringAt)), SnoozeVerdict::BellFirst);
}

TEST(Snooze, AnEditOrADeletionCancelsItAndADeletionBeforeItMovesIt) {
  const AlarmEntry wake = Entry(kRepeatDaily, At("2026/11/01 07:00:00"));
  AlarmEntry other = Entry(kRepeatDaily, At("2026/11/01 06:00:00"));
  other.Message = "other";
  AlarmTable table = Table({other, wake});
  const Snooze s = MakeSnooze(table, 1, Now("2026/12/07 07:00:10"), 5);
  const Moment due = Now("2026/12/07 07:05:10");
  int slot = -9;
  EXPECT_EQ(ReviewSnooze(table, s, due, &slot), SnoozeVerdict::Ring);
  EXPECT_EQ(slot, 1);

  AlarmTable deletedBefore = Table({wake});
  EXPECT_EQ(ReviewSnooze(deletedBefore, s, due, &slot), SnoozeVerdict::Ring);
  EXPECT_EQ(slot, 0);

  AlarmTable deleted = Table({other});
  EXPECT_EQ(ReviewSnooze(deleted, s, due, &slot), SnoozeVerdict::EntryGone);
  EXPECT_EQ(slot, -1);

  AlarmEntry edited = wake;
  edited.AlarmTime = At("2026/11/01 07:30:00");
  AlarmTable changed = Table({other, edited});
  EXPECT_EQ(ReviewSnooze(changed, s, due), SnoozeVerdict::EntryGone);
  edited = wake;
  edited.Message = "起きる";
  changed = Table({other, edited});
  EXPECT_EQ(ReviewSnooze(changed, s, due), SnoozeVerdict::EntryGone);
}

// The delay is elapsed time: a snooze pressed just before the clock goes back an hour (the end
// of daylight saving) or forward an hour (its start) rings its five minutes after the press,
// not an hour later or at once.
TEST(Snooze, ItsDelayIsElapsedTimeAcrossAChangeOfDaylightSaving) {
  const AlarmTable table = Table({Entry(kRepeatDaily, At("2026/11/01 07:00:00"))});
  constexpr int32_t kSummer = 10 * 3600;
  for (const auto& [before, after] : {std::pair{kSummer, kJapan}, std::pair{kJapan, kSummer}}) {
    const Moment pressed = Now("2026/12/07 01:58:00", before);
    const Snooze s = MakeSnooze(table, 0, pressed, 5);
    const Moment early{pressed.utc + 299, after}, due{pressed.utc + 300, after};
    EXPECT_EQ(ReviewSnooze(table, s, early), SnoozeVerdict::Wait) << before;
    EXPECT_EQ(ReviewSnooze(table, s, due), SnoozeVerdict::Ring) << before;
    EXPECT_EQ(NextSnoozeRing({s}, early), due.Local()) << before;
  }
}

TEST(Snooze, TwoEntriesSnoozeApartAndASecondSnoozeOfOneEntryReplacesItsFirst) {
  AlarmEntry a = Entry(kRepeatDaily, At("2026/11/01 07:00:00"));
  AlarmEntry b = Entry(kRepeatDaily, At("2026/11/01 07:00:00"));
  b.Message = "b";
  const AlarmTable table = Table({a, b});
  std::vector<Snooze> snoozes;
  AddSnooze(snoozes, MakeSnooze(table, 0, Now("2026/12/07 07:00:05"), 10));
  AddSnooze(snoozes, MakeSnooze(table, 1, Now("2026/12/07 07:00:07"), 5));
  ASSERT_EQ(snoozes.size(), 2u);
  EXPECT_EQ(FormatMoment(DateOfLocal(NextSnoozeRing(snoozes, Now("2026/12/07 07:01:00")))), "2026/12/07 07:05:07");
  // Past the first, the next is the other's.
  EXPECT_EQ(FormatMoment(DateOfLocal(NextSnoozeRing(snoozes, Now("2026/12/07 07:05:08")))), "2026/12/07 07:10:05");
  EXPECT_EQ(NextSnoozeRing(snoozes, Now("2026/12/07 07:10:06")), 0);
  // Both due at one moment: each is its own verdict, so both ring (one per tick, the caller's).
  EXPECT_EQ(ReviewSnooze(table, snoozes[0], Now("2026/12/07 07:10:05")), SnoozeVerdict::Ring);
  EXPECT_EQ(ReviewSnooze(table, snoozes[1], Now("2026/12/07 07:10:05")), SnoozeVerdict::Ring);

  AddSnooze(snoozes, MakeSnooze(table, 0, Now("2026/12/07 07:10:30"), 1));
  ASSERT_EQ(snoozes.size(), 2u);
  EXPECT_EQ(LocalText(snoozes.back().ringAt), "2026/12/07 07:11:30");

  EXPECT_EQ(EarlierBell(0, Sec("2026/12/07 07:00:00")), Sec("2026/12/07 07:00:00"));
  EXPECT_EQ(EarlierBell(Sec("2026/12/07 08:00:00"), Sec("2026/12/07 07:00:00")), Sec("2026/12/07 07:00:00"));
}

}  // namespace
}  // namespace wb
