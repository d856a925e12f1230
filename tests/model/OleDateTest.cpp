#include <gtest/gtest.h>

#include "model/AlarmTable.h"
#include "model/OleDate.h"

namespace wb {
namespace {

TEST(OleDate, CivilRoundTripAndTexts) {
  OleDate d = MakeDate(2008, 3, 5, 7, 30, 0);
  EXPECT_DOUBLE_EQ(d, 39512.3125);
  EXPECT_EQ(FormatDate(d), "2008/03/05");
  EXPECT_EQ(FormatHourMinute(d), "07:30");
  EXPECT_EQ(FormatMoment(d), "2008/03/05 07:30:00");
  EXPECT_EQ(WeekdayOf(d), 4);  // Wednesday
  EXPECT_EQ(FormatDate(0), "1899/12/30");
  EXPECT_EQ(DaysInMonth(2008, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
}

TEST(OleDate, RoundsToTheNearestSecondBeforeSplitting) {
  // 23:59:59.6 is the next day's midnight once rounded, as the texts show it.
  OleDate d = MakeDate(2008, 3, 5) + (86399.6 / 86400.0);
  EXPECT_EQ(FormatMoment(d), "2008/03/06 00:00:00");
  EXPECT_EQ(DayOf(d), DayNumber(2008, 3, 6));
  EXPECT_EQ(SecondOfDay(d), 0);
}

TEST(OleDate, DatesBeforeTheEpochCountTheFractionForwards) {
  EXPECT_EQ(FormatMoment(-1.25), "1899/12/29 06:00:00");
  EXPECT_EQ(FormatMoment(MakeDate(1899, 12, 29, 6, 0, 0)), "1899/12/29 06:00:00");
}

TEST(OleDate, ParsesOnlyWellFormedMoments) {
  OleDate d;
  ASSERT_TRUE(ParseMoment("2026/12/07 06:15:00", d));
  EXPECT_EQ(FormatMoment(d), "2026/12/07 06:15:00");
  ASSERT_TRUE(ParseMoment("2026/12/07", d));
  EXPECT_FALSE(ParseMoment("2026/02/30 00:00:00", d));
  EXPECT_FALSE(ParseMoment("2026/12/07 24:00:00", d));
  EXPECT_FALSE(ParseMoment("2026/12/07 06:15:00x", d));
  EXPECT_FALSE(ParseMoment("yesterday", d));
}

TEST(AlarmTable, KeepsOneSpareSlotThroughAddAndDelete) {
  AlarmTable t;
  EXPECT_EQ(t.EntryCount(), 0);
  EXPECT_EQ(t.SlotCount(), 1);
  AlarmEntry a, b;
  a.Message = "a";
  b.Message = "b";
  EXPECT_EQ(t.Add(a), 0);
  EXPECT_EQ(t.Add(b), 1);
  EXPECT_EQ(t.SlotCount(), 3);
  t.Delete(0);
  EXPECT_EQ(t.EntryCount(), 1);
  EXPECT_EQ(t[0].Message, "b");
  t.Delete(0);
  EXPECT_EQ(t.EntryCount(), 0);
  EXPECT_EQ(t.SlotCount(), 1);
  EXPECT_DEATH(t.Delete(0), "program error");
}

TEST(AlarmTable, RefusesTheEntryThatWouldOverflowTheCount) {
  AlarmTable t;
  t.Assign(std::vector<AlarmEntry>(AlarmTable::kMaxEntries + 1));
  EXPECT_EQ(t.EntryCount(), 32767);
  EXPECT_EQ(t.Add(AlarmEntry{}), -1);
  EXPECT_EQ(t.EntryCount(), 32767);
}

TEST(AlarmEntry, LabelsAndMaskBits) {
  EXPECT_STREQ(RepeatKindLabel(0), "－－");
  EXPECT_STREQ(RepeatKindLabel(5), "ｸｲｯｸ");
  EXPECT_STREQ(RepeatKindLabel(11), "第５");
  EXPECT_STREQ(RepeatKindLabel(12), "");
  EXPECT_EQ(MaskBitOfWeekday(1), kMaskSunday);
  EXPECT_EQ(MaskBitOfWeekday(2), kMaskMonday);
  EXPECT_EQ(MaskBitOfWeekday(7), kMaskSaturday);
}

}  // namespace
}  // namespace wb
