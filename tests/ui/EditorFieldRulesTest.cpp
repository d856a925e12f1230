// The entry fields' filters and validity rules, and the weekday boxes' mapping.
#include <gtest/gtest.h>

#include "editor/FieldRules.h"
#include "model/AlarmEntry.h"

namespace wb::test {
namespace {

struct FilterCase {
  const char* typed;
  int limit;  // 0: DigitsOnly
  const char* kept;
  bool changed;
};

TEST(EditorFieldRules, DigitFiltersKeepDigitsBelowTheLimit) {
  const FilterCase cases[] = {
      {"25", 24, "2", true},           // the 5 would make 25
      {"1a", 24, "1", true},           // a letter goes
      {"23", 24, "23", false},
      {"00", 24, "00", false},         // the filter leaves it; the validity test refuses it
      {"３", 24, "3", false},          // narrowing alone is no change: the field keeps "３"
      {"１x", 24, "1", true},
      {"32768", 32768, "3276", true},
      {"32767", 32768, "32767", false},
      {"249", 24, "2", true},
      {"60", 60, "6", true},
      {"12abc3", 0, "123", true},
      {"", 0, "", false},
      {"日", 0, "", true},
  };
  for (const auto& c : cases) {
    FilteredDigits got = c.limit ? DigitsBelow(c.typed, c.limit) : DigitsOnly(c.typed);
    EXPECT_EQ(got.text, c.kept) << c.typed;
    EXPECT_EQ(got.changed, c.changed) << c.typed;
  }
}

struct ValidCase {
  const char* text;
  bool hour, minute, day, preBell;
};

TEST(EditorFieldRules, ValidityOfTimeDayAndPreBellTexts) {
  const ValidCase cases[] = {
      {"0", true, true, false, true},
      {"00", false, true, false, false},  // a minute shows two digits: "00" is one
      {"05", true, true, true, true},
      {"", false, false, true, true},  // an empty day passes the range test
      {"23", true, true, true, true},
      {"24", false, true, true, true},
      {"31", false, true, true, true},
      {"32", false, true, false, true},
      {"59", false, true, false, true},
      {"60", false, false, false, true},
      {"１２", true, true, true, true},  // full-width digits left in the field read as digits
      {"x", false, false, false, false},
      {"-1", false, false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsHourValid(c.text), c.hour) << c.text;
    EXPECT_EQ(IsMinuteValid(c.text), c.minute) << c.text;
    EXPECT_EQ(IsDayValid(c.text), c.day) << c.text;
    EXPECT_EQ(IsPreBellValid(c.text), c.preBell) << c.text;
  }
}

TEST(EditorFieldRules, WholeNumbersAndLeadingNumbers) {
  EXPECT_EQ(WholeNumberIn(" 7 ", 0, 23), 7);
  EXPECT_EQ(WholeNumberIn("２３", 0, 23), 23);
  EXPECT_EQ(WholeNumberIn("24", 0, 23), std::nullopt);
  EXPECT_EQ(WholeNumberIn("", 0, 23), std::nullopt);
  EXPECT_EQ(WholeNumberIn("1.5", 0, 23), std::nullopt);
  EXPECT_EQ(WholeNumberIn("99999999999999999999", 0, 32767), std::nullopt);
  EXPECT_EQ(LeadingNumber("2.5x"), 2);  // halves to even
  EXPECT_EQ(LeadingNumber("3.5"), 4);
  EXPECT_EQ(LeadingNumber("  12ab"), 12);
  EXPECT_EQ(LeadingNumber("ab12"), 0);
}

TEST(EditorFieldRules, WeekdayBoxesMapTheSameDaysForEitherWeekStart) {
  // Sunday start: 日 月 火 水 木 金 土; Monday start: 月 火 水 木 金 土 日.
  EXPECT_EQ(WeekdayBoxBit(0, false), kMaskSunday);
  EXPECT_EQ(WeekdayBoxBit(1, false), kMaskMonday);
  EXPECT_EQ(WeekdayBoxBit(6, false), kMaskSaturday);
  EXPECT_EQ(WeekdayBoxBit(0, true), kMaskMonday);
  EXPECT_EQ(WeekdayBoxBit(6, true), kMaskSunday);
  EXPECT_STREQ(WeekdayBoxCaption(0, false), "日");
  EXPECT_STREQ(WeekdayBoxCaption(6, true), "日");
  EXPECT_STREQ(WeekdayBoxCaption(5, true), "土");
  EXPECT_EQ(WeekdayBoxColor(0, false), 0x0000FFu);  // Sunday red
  EXPECT_EQ(WeekdayBoxColor(6, false), 0xFF0000u);  // Saturday blue
  EXPECT_EQ(WeekdayBoxColor(5, false), 0u);
  EXPECT_EQ(WeekdayBoxColor(0, true), 0u);
  EXPECT_EQ(WeekdayBoxColor(5, true), 0xFF0000u);
  EXPECT_EQ(WeekdayBoxColor(6, true), 0x0000FFu);
  for (bool monday : {false, true})
    for (int weekday = 1; weekday <= 7; ++weekday)
      EXPECT_EQ(WeekdayBoxBit(WeekdayBox(weekday, monday), monday), MaskBitOfWeekday(weekday));
}

TEST(EditorFieldRules, WeekUnitsAndQuickTimerItems) {
  for (int i = 0; i < 7; ++i) EXPECT_EQ(WeekUnitOfRepeatKind(RepeatKindOfWeekUnit(i)), i);
  EXPECT_EQ(RepeatKindOfWeekUnit(4), 9);  // 第３
  EXPECT_EQ(WeekUnitOfRepeatKind(kRepeatDaily), -1);
  EXPECT_EQ(QuickTimerMinutes(0), 3);
  EXPECT_EQ(QuickTimerMinutes(10), 120);
  EXPECT_EQ(QuickTimerMinutes(11), 0);
  EXPECT_EQ(QuickTimerMinutes(-1), 0);
}

}  // namespace
}  // namespace wb::test
