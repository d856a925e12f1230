#include "simulation/Promise.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wb::promise {
namespace {

constexpr unsigned kSun = 1u << 0, kMon = 1u << 1, kThu = 1u << 4, kFri = 1u << 5;

int64_t At(int y, int m, int d, int h, int mi, int s = 0) { return LocalSeconds(y, m, d, h, mi, s); }
PromisedBell Main(int entry, int64_t due) { return {entry, true, due, due}; }
PromisedBell Pre(int entry, int64_t due, int64_t occurrence) { return {entry, false, due, occurrence}; }

PromisedEntry Entry(Kind kind, int64_t set, unsigned weekdays = 0, int nth = 1) {
  PromisedEntry e;
  e.kind = kind;
  e.set = set;
  e.weekdays = weekdays;
  e.nth = nth;
  return e;
}
PromisedEntry WithPreBell(PromisedEntry e, int lead, bool main = true) {
  e.preBell = true;
  e.mainBell = main;
  e.leadMinutes = lead;
  return e;
}
PromisedEntry Resting(PromisedEntry e) {
  e.restsOnDaysOff = true;
  return e;
}

std::string Describe(const std::vector<PromisedBell>& bells) {
  std::string text;
  for (const PromisedBell& b : bells) {
    text += "\n  " + std::to_string(b.entry) + (b.main ? " main " : " pre  ") + FormatLocal(b.due) +
            " of " + FormatLocal(b.occurrence);
  }
  return text;
}

struct Case {
  const char* what;
  std::vector<PromisedEntry> entries;
  int64_t from, to;
  std::vector<PromisedBell> bells, resting;
};

// Worked by hand from the calendar: 2027-01-01 is a Friday, 2027-02-01 and 2027-03-01 Mondays,
// 2027-04-01 a Thursday; 2008-03-05 a Wednesday. The user's day off in these cases is 2027-01-11.
TEST(Promise, RingsEachKindOnTheDaysItPromises) {
  const std::vector<Case> cases = {
      {"2nd Monday: Jan 11 (a day off, but the entry does not rest), Feb 8, Mar 8", {Entry(Kind::Nth, At(2027, 1, 1, 9, 0), kMon, 2)},
       At(2027, 1, 1, 0, 0), At(2027, 3, 31, 23, 59),
       {Main(0, At(2027, 1, 11, 9, 0)), Main(0, At(2027, 2, 8, 9, 0)), Main(0, At(2027, 3, 8, 9, 0))}, {}},
      {"5th Friday only in months that have one", {Entry(Kind::Nth, At(2027, 1, 1, 12, 0), kFri, 5)},
       At(2027, 1, 1, 0, 0), At(2027, 4, 30, 23, 59),
       {Main(0, At(2027, 1, 29, 12, 0)), Main(0, At(2027, 4, 30, 12, 0))}, {}},
      {"1st Sunday and 1st Monday", {Entry(Kind::Nth, At(2027, 1, 1, 7, 0), kSun | kMon, 1)},
       At(2027, 1, 1, 0, 0), At(2027, 2, 28, 0, 0),
       {Main(0, At(2027, 1, 3, 7, 0)), Main(0, At(2027, 1, 4, 7, 0)), Main(0, At(2027, 2, 1, 7, 0)),
        Main(0, At(2027, 2, 7, 7, 0))}, {}},
      {"every other Monday from Wednesday 2008-03-05: not on the 3rd nor the 17th",
       {Entry(Kind::Biweekly, At(2008, 3, 5, 7, 30), kMon)}, At(2008, 3, 1, 0, 0), At(2008, 4, 10, 0, 0),
       {Main(0, At(2008, 3, 10, 7, 30)), Main(0, At(2008, 3, 24, 7, 30)), Main(0, At(2008, 4, 7, 7, 30))}, {}},
      {"every other week across the month's end, each day's pre-bell 20 minutes before it",
       {WithPreBell(Entry(Kind::Biweekly, At(2027, 1, 28, 0, 10), kThu | kSun | kMon), 20)},
       At(2027, 1, 27, 0, 0), At(2027, 2, 16, 23, 59),
       {Pre(0, At(2027, 1, 27, 23, 50), At(2027, 1, 28, 0, 10)), Main(0, At(2027, 1, 28, 0, 10)),
        Pre(0, At(2027, 1, 30, 23, 50), At(2027, 1, 31, 0, 10)), Main(0, At(2027, 1, 31, 0, 10)),
        Pre(0, At(2027, 1, 31, 23, 50), At(2027, 2, 1, 0, 10)), Main(0, At(2027, 2, 1, 0, 10)),
        Pre(0, At(2027, 2, 10, 23, 50), At(2027, 2, 11, 0, 10)), Main(0, At(2027, 2, 11, 0, 10)),
        Pre(0, At(2027, 2, 13, 23, 50), At(2027, 2, 14, 0, 10)), Main(0, At(2027, 2, 14, 0, 10)),
        Pre(0, At(2027, 2, 14, 23, 50), At(2027, 2, 15, 0, 10)), Main(0, At(2027, 2, 15, 0, 10))}, {}},
      {"a day off rests the 00:10 bell and the pre-bell announcing it the evening before",
       {Resting(WithPreBell(Entry(Kind::Daily, At(2027, 1, 10, 0, 10)), 20))}, At(2027, 1, 9, 0, 0),
       At(2027, 1, 12, 23, 59, 59),
       {Pre(0, At(2027, 1, 9, 23, 50), At(2027, 1, 10, 0, 10)), Main(0, At(2027, 1, 10, 0, 10)),
        Pre(0, At(2027, 1, 11, 23, 50), At(2027, 1, 12, 0, 10)), Main(0, At(2027, 1, 12, 0, 10)),
        Pre(0, At(2027, 1, 12, 23, 50), At(2027, 1, 13, 0, 10))},
       {Pre(0, At(2027, 1, 10, 23, 50), At(2027, 1, 11, 0, 10)), Main(0, At(2027, 1, 11, 0, 10))}},
      {"monthly on the 31st skips the shorter months", {Entry(Kind::Monthly, At(2027, 1, 31, 9, 0))},
       At(2027, 1, 1, 0, 0), At(2027, 8, 31, 23, 59),
       {Main(0, At(2027, 1, 31, 9, 0)), Main(0, At(2027, 3, 31, 9, 0)), Main(0, At(2027, 5, 31, 9, 0)),
        Main(0, At(2027, 7, 31, 9, 0)), Main(0, At(2027, 8, 31, 9, 0))}, {}},
      {"weekly Sunday and Monday from a Wednesday, pre-bell 90 minutes: never before the set day",
       {WithPreBell(Entry(Kind::Weekly, At(2008, 3, 5, 8, 0), kSun | kMon), 90)}, At(2008, 3, 1, 0, 0),
       At(2008, 3, 10, 23, 59),
       {Pre(0, At(2008, 3, 9, 6, 30), At(2008, 3, 9, 8, 0)), Main(0, At(2008, 3, 9, 8, 0)),
        Pre(0, At(2008, 3, 10, 6, 30), At(2008, 3, 10, 8, 0)), Main(0, At(2008, 3, 10, 8, 0))}, {}},
      {"a pre-bell only, 25 hours ahead", {WithPreBell(Entry(Kind::Weekly, At(2027, 1, 4, 8, 0), kMon), 1500, false)},
       At(2027, 1, 1, 0, 0), At(2027, 1, 12, 0, 0),
       {Pre(0, At(2027, 1, 3, 7, 0), At(2027, 1, 4, 8, 0)), Pre(0, At(2027, 1, 10, 7, 0), At(2027, 1, 11, 8, 0))}, {}},
      {"once and quick timers ring on a day off; a quick timer at its second without a pre-bell",
       {Resting(WithPreBell(Entry(Kind::Quick, At(2027, 1, 11, 10, 0, 37)), 5)),
        Resting(WithPreBell(Entry(Kind::Once, At(2027, 1, 11, 9, 0)), 30))},
       At(2027, 1, 11, 0, 0), At(2027, 1, 11, 23, 59),
       {Pre(1, At(2027, 1, 11, 8, 30), At(2027, 1, 11, 9, 0)), Main(1, At(2027, 1, 11, 9, 0)),
        Main(0, At(2027, 1, 11, 10, 0, 37))}, {}},
      {"both ends of the range count; the set seconds of a daily entry do not",
       {Entry(Kind::Daily, At(2027, 1, 1, 7, 0, 45)), WithPreBell(Entry(Kind::Once, At(2027, 1, 2, 7, 0)), 0)},
       At(2027, 1, 2, 7, 0), At(2027, 1, 3, 7, 0),
       {Main(0, At(2027, 1, 2, 7, 0)), Pre(1, At(2027, 1, 2, 7, 0), At(2027, 1, 2, 7, 0)),
        Main(1, At(2027, 1, 2, 7, 0)), Main(0, At(2027, 1, 3, 7, 0))}, {}},
  };
  DaysOffSet daysOff;
  daysOff.AddDay(2027, 1, 11);
  for (const Case& c : cases) {
    Promise p = BellsBetween(c.entries, daysOff, c.from, c.to);
    EXPECT_EQ(Describe(p.bells), Describe(c.bells)) << c.what;
    EXPECT_EQ(Describe(p.resting), Describe(c.resting)) << c.what;
  }
}

TEST(Promise, CountsDaysAndSecondsAcrossTheEpoch) {
  EXPECT_EQ(DayOf(-1), -1);
  EXPECT_EQ(WeekdayOf(DayNumber(1969, 12, 28)), 0);  // a Sunday
  EXPECT_EQ(FormatLocal(LocalSeconds(2028, 2, 29, 0, 10, 5)), "2028/02/29 00:10:05");
}

TEST(Promise, ReadsTheStoredFields) {
  struct Row {
    int kind, mask, bellMode;
    bool rings;
    Kind expectedKind;
    int nth;
    unsigned weekdays;
    bool rests, main, pre;
  };
  const Row rows[] = {
      {6, 0x41, 0, true, Kind::Biweekly, 1, kSun | kMon, false, true, false},  // Monday and Sunday
      {11, 0x90, 2, true, Kind::Nth, 5, kFri, true, true, true},            // Friday, rests
      {7, 0x20, 1, true, Kind::Nth, 1, 1u << 6, false, false, true},        // Saturday
      {0, 0x7F, 0, false, Kind::Once, 0, 0, false, false, false},  // no repetition rule
      {12, 0x7F, 0, false, Kind::Once, 0, 0, false, false, false},
      {3, 0x7F, 3, false, Kind::Once, 0, 0, false, false, false},  // a damaged bell mode
  };
  for (const Row& r : rows) {
    const std::optional<PromisedEntry> e = FromStoredFields(r.kind, r.mask, r.bellMode, 15, 0);
    ASSERT_EQ(e.has_value(), r.rings) << r.kind;
    if (!e) continue;
    EXPECT_EQ(e->kind, r.expectedKind) << r.kind;
    if (e->kind == Kind::Nth) {
      EXPECT_EQ(e->nth, r.nth) << r.kind;
    }
    EXPECT_EQ(e->weekdays, r.weekdays) << r.kind;
    EXPECT_EQ(e->restsOnDaysOff, r.rests) << r.kind;
    EXPECT_EQ(e->mainBell, r.main) << r.kind;
    EXPECT_EQ(e->preBell, r.pre) << r.kind;
  }
}

TEST(Promise, NationalHolidaysFromTheNpmListRestAnEntry) {
  const std::string path = HolidayJpDataPath();
  if (!std::ifstream(path)) GTEST_SKIP() << "the @holiday-jp/holiday_jp data is not installed at " << path;
  DaysOffSet daysOff;
  ASSERT_TRUE(daysOff.LoadHolidayJp(path));
  EXPECT_GT(daysOff.HolidayCount(), 1300u);
  EXPECT_TRUE(daysOff.IsOff(DayNumber(2027, 1, 11)));  // 成人の日
  EXPECT_FALSE(daysOff.IsOff(DayNumber(2027, 1, 12)));
  EXPECT_TRUE(daysOff.HolidaysKnownFor(DayNumber(2050, 12, 31)));
  EXPECT_FALSE(daysOff.HolidaysKnownFor(DayNumber(2051, 1, 1)));
  const Promise p = BellsBetween({Resting(Entry(Kind::Nth, At(2027, 1, 1, 9, 0), kMon, 2))}, daysOff,
                                 At(2027, 1, 1, 0, 0), At(2027, 2, 28, 0, 0));
  EXPECT_EQ(Describe(p.bells), Describe({Main(0, At(2027, 2, 8, 9, 0))}));
  EXPECT_EQ(Describe(p.resting), Describe({Main(0, At(2027, 1, 11, 9, 0))}));
}

}  // namespace
}  // namespace wb::promise
