// Days off in the windows: the editor's 祝日は鳴らさない box and 平日のみ button, and the
// monitor reading the days-off file at start-up and at each opening of the editor.
#include <algorithm>
#include <fstream>

#include "EditorFixture.h"
#include "app_state/AppState.h"
#include "storage/DaysOffFile.h"
#include "storage/TextBytes.h"

namespace wb::test {
namespace {

using DaysOffWindows = EditorTest;

// Where a control sits closed: a combo box's rectangle holds its open list, which lies over
// the controls below it by design.
ui::Rect ClosedPlace(const ui::Control& c) {
  ui::Rect r = c.Position();
  if (c.GetKind() == ui::Kind::ComboBox) r.height = std::min(r.height, 24 * 15);
  return r;
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST_F(DaysOffWindows, TheBoxIsForTheRepeatingKindsAndTravelsWithTheEntry) {
  EditorWindow& w = Open();
  // Its own place in the entry group, clear of every other control there.
  for (const ui::Control* mine : {static_cast<const ui::Control*>(&w.restOnDaysOffCheck),
                                  static_cast<const ui::Control*>(&w.weekdaysOnlyButton)}) {
    EXPECT_TRUE(Overlap(mine->Position(), w.entryFrame.Position())) << mine->Name();
    for (const ui::Control* other : w.Controls()) {
      if (other != mine && other != &w.entryFrame) {
        EXPECT_FALSE(Overlap(mine->Position(), ClosedPlace(*other))) << mine->Name() << " on " << other->Name();
      }
    }
  }
  EXPECT_EQ(ui::WithoutAccessKey(w.restOnDaysOffCheck.Caption()), "祝日は鳴らさない");
  // The calendar shows the days off in bold.
  ASSERT_TRUE(w.calendar.isBoldDay);
  EXPECT_TRUE(w.calendar.isBoldDay(MakeDate(2027, 7, 19)));
  EXPECT_FALSE(w.calendar.isBoldDay(MakeDate(2027, 7, 20)));
  EXPECT_FALSE(w.restOnDaysOffCheck.Enabled());  // a new entry starts as once-only

  // 平日のみ: every week, Monday to Friday (Sunday is the first box), resting on days off.
  w.weekdaysOnlyButton.Press();
  EXPECT_TRUE(w.weeklyOption.Value());
  EXPECT_EQ(w.weekUnitCombo.ListIndex(), 0);
  for (int box = 0; box < 7; ++box) EXPECT_EQ(w.weekdayChecks[size_t(box)].Ticked(), box >= 1 && box <= 5) << box;
  EXPECT_TRUE(w.restOnDaysOffCheck.Enabled());
  EXPECT_TRUE(w.restOnDaysOffCheck.Ticked());
  SetTime(w, 7, 0);
  w.addButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(App().table[0].RepeatKind, kRepeatWeekly);
  EXPECT_EQ(App().table[0].WeekdayMask, 0x1F | kMaskRestsOnDaysOff);

  // The box stays ticked but greyed for a once-only entry, which never carries the choice.
  w.onceOption.SetValue(true);
  EXPECT_FALSE(w.restOnDaysOffCheck.Enabled());
  SetTime(w, 9, 0);
  w.addButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(App().table[1].WeekdayMask & kMaskRestsOnDaysOff, 0);
  for (auto* option : {&w.dailyOption, &w.monthlyOption, &w.weeklyOption}) {
    w.onceOption.SetValue(true);
    option->SetValue(true);
    EXPECT_TRUE(w.restOnDaysOffCheck.Enabled()) << option->Name();
  }

  // Selecting the entry shows its choice; unticking it and 変更 stores the mask without it.
  w.alarmList.ClickRow(0);  // 07:00, the weekday entry
  EXPECT_TRUE(w.restOnDaysOffCheck.Ticked());
  EXPECT_TRUE(w.restOnDaysOffCheck.Enabled());
  w.restOnDaysOffCheck.SetValue(ui::CheckState::Unticked);
  w.changeButton.Press();
  EXPECT_EQ(App().table[0].WeekdayMask, 0x1F);
  w.alarmList.ClickRow(1);  // 09:00, the once-only entry
  EXPECT_FALSE(w.restOnDaysOffCheck.Ticked());
  EXPECT_FALSE(w.restOnDaysOffCheck.Enabled());
}

TEST_F(DaysOffWindows, TheMonitorReadsTheFileAndReportsItsBadLinesOnce) {
  const std::string daysOffPath = DaysOffPathBeside(DefaultDataPath());
  auto writeDaysOff = [&](const std::string& utf8) {
    std::ofstream(daysOffPath, std::ios::binary) << StorageCodec().ToCp932(utf8);
  };
  writeDaysOff("2026/12/08 代休\n2026/12/32 大掃除\n");
  AlarmEntry weekdays = Entry(kRepeatWeekly, MakeDate(2026, 12, 1, 7, 0));
  weekdays.WeekdayMask = int16_t(0x1F | kMaskRestsOnDaysOff);
  SaveTable({weekdays});
  MonitorWindow& monitor = Start();
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_NE(dialogs.Asked[0].text.find("2 行目: 2026/12/32 大掃除"), std::string::npos) << dialogs.Asked[0].text;
  EXPECT_TRUE(monitor.DaysOffInUse().IsDayOff(DayNumber(2026, 12, 8)));

  // Opening the editor reads the file again; the same bad line is not reported a second time.
  monitor.editItem->Choose();
  EXPECT_EQ(dialogs.Asked.size(), 1u);
  writeDaysOff("2026/12/08 代休\n2026/12/09 有給\n");
  monitor.editItem->Choose();
  EXPECT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_TRUE(monitor.DaysOffInUse().IsDayOff(DayNumber(2026, 12, 9)));
  writeDaysOff("2026/12/08 代休\nあした\n");
  monitor.editItem->Choose();
  ASSERT_EQ(dialogs.Asked.size(), 2u);
  EXPECT_NE(dialogs.Asked[1].text.find("2 行目: あした"), std::string::npos);
  monitor.Editor().saveAndCloseButton.Press();

  // The entry rests on the user's day off (Tuesday the 8th) and rings on Wednesday the 9th.
  clock.Set(MakeDate(2026, 12, 8, 6, 59, 0));
  Seconds(120);
  EXPECT_FALSE(AlarmShown());
  clock.Set(MakeDate(2026, 12, 9, 6, 59, 0));
  Seconds(120);
  EXPECT_TRUE(AlarmShown());
}

TEST_F(DaysOffWindows, AFileTooLargeIsReportedOnceAndTheDaysInUseStay) {
  const std::string daysOffPath = DaysOffPathBeside(DefaultDataPath());
  std::ofstream(daysOffPath, std::ios::binary) << "2026/12/08\n";
  MonitorWindow& monitor = Start();
  ASSERT_TRUE(monitor.DaysOffInUse().IsDayOff(DayNumber(2026, 12, 8)));
  std::ofstream(daysOffPath, std::ios::binary) << std::string(kDaysOffMaxBytes + 1, '#');
  monitor.editItem->Choose();
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_NE(dialogs.Asked[0].text.find("大きすぎる"), std::string::npos) << dialogs.Asked[0].text;
  EXPECT_TRUE(monitor.DaysOffInUse().IsDayOff(DayNumber(2026, 12, 8)));
  EXPECT_TRUE(monitor.DaysOffInUse().IsDayOff(DayNumber(2027, 1, 1)));
  monitor.Editor().saveAndCloseButton.Press();
  monitor.editItem->Choose();
  EXPECT_EQ(dialogs.Asked.size(), 1u);
}

}  // namespace
}  // namespace wb::test
