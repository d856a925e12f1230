// The notice of bells that did not ring: one window however many catch-ups add to it, one
// row per entry, newest first, and nothing left over once it was read.
#include "UiHarness.h"
#include "monitor/MissedNoticeWindow.h"

namespace wb::test {
namespace {

using MissedNotice = UiTest;

TEST_F(MissedNotice, RowsReadAsDateTimeMessageAndCount) {
  struct Case {
    MissedRow row;
    const char* text;
  };
  const Case cases[] = {
      {{"a", MakeDate(2026, 12, 7, 6, 1), "起床", 1}, "2026/12/07 06:01  起床"},
      {{"b", MakeDate(2026, 12, 31, 23, 59), "大晦日", 3}, "2026/12/31 23:59  大晦日 ×3"},
      {{"c", MakeDate(2027, 1, 1, 0, 0), "一行目\r\n二行目", 2}, "2027/01/01 00:00  一行目  二行目 ×2"},
  };
  for (const Case& c : cases) EXPECT_EQ(MissedRowText(c.row), c.text);
}

TEST_F(MissedNotice, LaterCatchUpsGoIntoTheOpenWindowMergedPerEntryNewestFirst) {
  MissedNoticeWindow& notice = TheMissedNotice();
  notice.AddMissed({{"daily", MakeDate(2026, 12, 6, 7, 0), "朝", 2}, {"once", MakeDate(2026, 12, 6, 9, 0), "会議", 1}});
  ASSERT_TRUE(notice.Visible());
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"MissedNoticeWindow"});
  // A second gap: the daily entry missed once more, and a new entry.
  notice.AddMissed({{"daily", MakeDate(2026, 12, 7, 7, 0), "朝", 1}, {"weekly", MakeDate(2026, 12, 6, 8, 0), "ごみ", 1}});
  EXPECT_EQ(&TheMissedNotice(), &notice);
  const std::vector<std::string> expected = {
      "2026/12/07 07:00  朝 ×3",
      "2026/12/06 09:00  会議",
      "2026/12/06 08:00  ごみ",
  };
  ASSERT_EQ(notice.missedList.ListCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(notice.missedList.List(i), expected[size_t(i)]);
  EXPECT_EQ(notice.missedList.ListIndex(), 0);
  EXPECT_EQ(notice.ActiveControl(), &notice.missedList);  // where a screen reader starts
}

TEST_F(MissedNotice, OkClosesItAndTheNextCatchUpStartsAfresh) {
  TheMissedNotice().AddMissed({{"a", MakeDate(2026, 12, 6, 7, 0), "朝", 2}});
  TheMissedNotice().okButton.Press();
  EXPECT_EQ(MissedNoticeIfLoaded(), nullptr);
  TheMissedNotice().AddMissed({{"a", MakeDate(2026, 12, 7, 7, 0), "朝", 1}});
  ASSERT_EQ(TheMissedNotice().missedList.ListCount(), 1);
  EXPECT_EQ(TheMissedNotice().missedList.List(0), "2026/12/07 07:00  朝");
}

TEST_F(MissedNotice, NothingToAddShowsNothing) {
  TheMissedNotice().AddMissed({});
  EXPECT_FALSE(TheMissedNotice().Visible());
}

}  // namespace
}  // namespace wb::test
