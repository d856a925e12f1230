// The notice of bells that did not ring: one window however many catch-ups add to it, one
// row per entry, newest first, and nothing left over once it was read.
#include "UiHarness.h"
#include "monitor/MissedNoticeWindow.h"

namespace wb::test {
namespace {

using MissedNotice = UiTest;

MissedRow Row(int slot, OleDate moment, const char* message, int count = 1) {
  MissedRow row;
  row.slot = slot;
  row.moment = SecondNumber(moment);
  row.main = true;
  row.count = count;
  row.message = message;
  return row;
}

TEST_F(MissedNotice, LaterCatchUpsGoIntoTheOpenWindowMergedPerEntryNewestFirst) {
  MissedNoticeWindow& notice = ui::TheForm<MissedNoticeWindow>();
  EXPECT_EQ(notice.Caption(), "Wakebell（鳴らなかったアラーム）");
  notice.AddMissed({Row(0, MakeDate(2026, 12, 6, 7, 0), "朝", 2), Row(1, MakeDate(2026, 12, 6, 9, 0), "会議")});
  ASSERT_TRUE(notice.Visible());
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"MissedNoticeWindow"});
  // A second gap: the first entry missed once more, a new entry, and one that was edited.
  notice.AddMissed({Row(0, MakeDate(2026, 12, 7, 7, 0), "朝"), Row(2, MakeDate(2026, 12, 6, 8, 0), "ごみ"),
                    Row(1, MakeDate(2026, 12, 5, 9, 0), "会議（変更）")});
  EXPECT_EQ(&ui::TheForm<MissedNoticeWindow>(), &notice);
  const std::vector<std::string> expected = {
      "2026/12/07 07:00  朝  ×3",
      "2026/12/06 09:00  会議",
      "2026/12/06 08:00  ごみ",
      "2026/12/05 09:00  会議（変更）",
  };
  ASSERT_EQ(notice.missedList.ListCount(), int(expected.size()));
  for (int i = 0; i < notice.missedList.ListCount(); ++i) EXPECT_EQ(notice.missedList.List(i), expected[size_t(i)]);
  EXPECT_EQ(notice.missedList.ListIndex(), 0);
  EXPECT_EQ(notice.ActiveControl(), &notice.missedList);  // where a screen reader starts
}

TEST_F(MissedNotice, OkClosesItAndTheNextCatchUpStartsAfresh) {
  ui::TheForm<MissedNoticeWindow>().AddMissed({Row(0, MakeDate(2026, 12, 6, 7, 0), "朝", 2)});
  ui::TheForm<MissedNoticeWindow>().okButton.Press();
  EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr);
  ui::TheForm<MissedNoticeWindow>().AddMissed({Row(0, MakeDate(2026, 12, 7, 7, 0), "朝")});
  ASSERT_EQ(ui::TheForm<MissedNoticeWindow>().missedList.ListCount(), 1);
  EXPECT_EQ(ui::TheForm<MissedNoticeWindow>().missedList.List(0), "2026/12/07 07:00  朝");
}

TEST_F(MissedNotice, NothingToAddShowsNothing) {
  ui::TheForm<MissedNoticeWindow>().AddMissed({});
  EXPECT_FALSE(ui::TheForm<MissedNoticeWindow>().Visible());
}

}  // namespace
}  // namespace wb::test
