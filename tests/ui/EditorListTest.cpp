// The editor's list and entry fields: opening over a stored table, the two views, the
// calendar, copying a selected entry into the fields, and the fields' own reactions.
#include <functional>

#include "EditorFixture.h"
#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "audio/DeviceDialog.h"
#include "monitor/HistoryWindow.h"
#include "monitor/MissedNoticeWindow.h"

namespace wb::test {
namespace {

using EditorList = EditorTest;

TEST_F(EditorList, OpensOverTheStoredTableAndPreferences) {
  SaveTable({Daily(7, 1), Entry(kRepeatOnce, MakeDate(2026, 12, 9, 7, 0)), Entry(kRepeatDaily, MakeDate(2026, 12, 3, 7, 0))});
  SetSetting(ProgramIni(), "MESSAGE", "朝です!*#起きて");
  SetSetting(ProgramIni(), "PREFLAG", "2");
  SetSetting(ProgramIni(), "LISTDISPFLG", "2");
  EditorWindow& w = Open();
  EXPECT_EQ(w.dataPathEdit.Text(), DefaultDataPath());
  EXPECT_EQ(w.messageEdit.Text(), "朝です\r\n起きて");
  EXPECT_EQ(w.sampleView.Text(), "朝です\r\n起きて");
  EXPECT_EQ(w.preBellCheck.Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.mainBellTooCheck.Value(), ui::CheckState::Ticked);
  EXPECT_TRUE(w.onceOption.Value());
  EXPECT_EQ(w.hourEdit.Text(), "6");
  EXPECT_EQ(w.minuteEdit.Text(), "00");
  // The day view of today: the one-time entry of the 9th is not listed; 07:00 before 07:01.
  EXPECT_EQ(w.dailyViewCheck.Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.allEntriesViewCheck.Value(), ui::CheckState::Unticked);
  EXPECT_TRUE(w.dailyViewCheck.GetFont().bold);
  EXPECT_EQ(w.dailyViewCheck.BackColor(), 0x0000FFu);
  // Each row shows its entry's message after the line.
  EXPECT_EQ(Rows(w), (std::vector<std::string>{"■07:00 2026/12/03 毎日 －－－－－－－  テスト",
                                               "■07:01 2026/12/01 毎日 －－－－－－－  テスト"}));
  // The full list: the same minute sorts by date, all before the next minute.
  w.allEntriesViewCheck.Toggle();
  EXPECT_EQ(Rows(w), (std::vector<std::string>{"■07:00 2026/12/03 毎日 －－－－－－－  テスト",
                                               "□07:00 2026/12/09 一回 －－－－－－－  テスト",
                                               "■07:01 2026/12/01 毎日 －－－－－－－  テスト"}));
  EXPECT_FALSE(w.dailyViewCheck.GetFont().bold);
  EXPECT_EQ(w.dailyViewCheck.BackColor(), ui::kButtonFace);
  EXPECT_FALSE(w.ActiveGuards().loading);
  EXPECT_FALSE(UnsavedEdits::Any());
}

TEST_F(EditorList, ViewBoxesActAsAPairAndKeepTheShownEntrySelected) {
  SaveTable({Today(7, 0), Weekly(kMaskTuesday, MakeDate(2026, 12, 1, 8, 0)), Today(9, 0)});
  EditorWindow& w = Open();
  w.allEntriesViewCheck.Toggle();  // the only ticked box ticks itself again
  EXPECT_EQ(w.allEntriesViewCheck.Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.alarmList.ListCount(), 3);
  w.alarmList.ClickRow(2);  // 09:00
  w.dailyViewCheck.Toggle();
  EXPECT_EQ(w.allEntriesViewCheck.Value(), ui::CheckState::Unticked);
  ASSERT_EQ(w.alarmList.ListCount(), 2);  // Monday: not the Tuesday entry
  EXPECT_EQ((std::vector<int>{w.SlotOfRow(0), w.SlotOfRow(1)}), (std::vector<int>{0, 2}));
  EXPECT_EQ(SelectedRows(w), std::vector<int>{1});
  EXPECT_EQ(Focused(w), "alarmList");
  w.dailyViewCheck.Toggle();
  EXPECT_EQ(w.dailyViewCheck.Value(), ui::CheckState::Ticked);
  w.allEntriesViewCheck.Toggle();
  EXPECT_EQ(w.dailyViewCheck.Value(), ui::CheckState::Unticked);
  EXPECT_EQ(SelectedRows(w), std::vector<int>{2});
}

TEST_F(EditorList, ClickingACalendarDayListsItInTheDayViewAndMovesToAdd) {
  SaveTable({Weekly(kMaskTuesday, MakeDate(2026, 12, 1, 8, 0)), Daily(9, 0)});
  EditorWindow& w = Open();
  w.dailyViewCheck.Toggle();
  ASSERT_EQ(w.alarmList.ListCount(), 1);
  w.calendar.UserClickDay(MakeDate(2026, 12, 8));
  EXPECT_EQ(w.alarmList.ListCount(), 2);
  EXPECT_EQ(Focused(w), "addButton");
}

// What the calendar highlights is the entry's date: a month moved with the calendar's arrows
// (or its menus or keys) is followed like a clicked day, and the walk stays in the calendar.
TEST_F(EditorList, MovingTheCalendarsMonthMovesTheEntryDateAndTheDayView) {
  SaveTable({Weekly(kMaskThursday, MakeDate(2026, 12, 3, 8, 0)), Daily(9, 0)});
  EditorWindow& w = Open();
  w.dailyViewCheck.Toggle();
  ASSERT_EQ(w.alarmList.ListCount(), 1);  // Monday 2026/12/07
  w.calendar.SetFocus();
  w.calendar.UserMoveSelection(MakeDate(2027, 1, 7));  // the next-month arrow: a Thursday
  EXPECT_EQ(w.alarmList.ListCount(), 2);
  EXPECT_EQ(Focused(w), "calendar");
  SetTime(w, 10, 0);
  w.addButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 3);
  EXPECT_EQ(FormatMoment(App().table[2].AlarmTime), "2027/01/07 10:00:00");
}

// A click on the box that is already the only ticked one leaves everything as it is: the
// list, a selection of several rows, and a field edited but not yet committed.
TEST_F(EditorList, ClickingTheOnlyTickedViewBoxChangesNothing) {
  SaveTable({Today(7, 0), Today(8, 0), Today(9, 0)});
  EditorWindow& w = Open();
  for (ui::CheckBox EditorWindow::*box : {&EditorWindow::allEntriesViewCheck, &EditorWindow::dailyViewCheck}) {
    ui::CheckBox& view = w.*box;
    SCOPED_TRACE(view.Caption());
    if (!view.Ticked()) view.Toggle();
    w.alarmList.UserSelect({true, false, true}, 2);
    w.hourEdit.SetText("11");
    const std::vector<std::string> rows = Rows(w);
    view.Toggle();
    EXPECT_EQ(view.Value(), ui::CheckState::Ticked);
    EXPECT_EQ(Rows(w), rows);
    EXPECT_EQ(SelectedRows(w), (std::vector<int>{0, 2}));
    EXPECT_EQ(w.hourEdit.Text(), "11");
  }
}

// A screen reader announces a control by its name, and a test finds it by it: every box,
// list, slider and button a user can operate, in every window that has such, has one; the
// buttons that show only an icon keep showing only it.
TEST_F(EditorList, EveryControlTabReachesHasAName) {
  EditorWindow& w = Open();
  for (const ui::Form* form : std::initializer_list<const ui::Form*>{
           &w, &ui::TheForm<DeviceDialog>(), &ui::TheForm<HistoryWindow>(), &ui::TheForm<MissedNoticeWindow>(),
           &ui::TheForm<AlarmWindow>()})
    for (const ui::Control* c : form->Controls()) {
      if (!ui::TakesFocus(c->GetKind()) || !c->Visible() || !c->Enabled()) continue;
      EXPECT_FALSE(c->ScreenReaderName().empty()) << form->Name() << "." << c->Name();
    }
  const std::pair<ui::Button EditorWindow::*, const char*> iconButtons[] = {
      {&EditorWindow::changeButton, "変更"},      {&EditorWindow::deleteButton, "削除"},
      {&EditorWindow::browseSoundButton, "参照"}, {&EditorWindow::browseDataFileButton, "参照"},
      {&EditorWindow::testPlayButton, "試聴"}};
  for (auto [button, name] : iconButtons) {
    const ui::Button& b = w.*button;
    EXPECT_EQ(b.Caption(), name) << b.Name();
    EXPECT_TRUE(b.PictureOnly() && !b.Picture().empty()) << b.Name();
  }
}

TEST_F(EditorList, SelectingAThirdWeekdayEntryFillsEveryField) {
  AlarmEntry e = Weekly(kMaskMonday | kMaskWednesday, MakeDate(2026, 12, 2, 7, 5));
  e.RepeatKind = 9;  // 第３
  e.Message = "会議";
  e.BellMode = BellMode::PreAndMain;
  e.PreBellMinutes = 10;
  e.Sound.Flag = 1;
  e.Sound.File = "C:\\chime.wav";
  e.MidiVolume = int32_t(0x56785678);
  e.Look.ForeColorIndex = 4;
  e.Look.ForeColor = 0x0000FF;
  SaveTable({e});
  EditorWindow& w = Open();
  w.alarmList.ClickRow(0);
  EXPECT_TRUE(w.weeklyOption.Value());
  EXPECT_EQ(w.weekUnitCombo.ListIndex(), 4);
  std::vector<int> ticked;
  for (int i = 0; i < 7; ++i) ticked.push_back(int(w.weekdayChecks[size_t(i)].Value()));
  EXPECT_EQ(ticked, (std::vector<int>{0, 1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(FormatDate(w.calendar.Value()), "2026/12/02");
  EXPECT_EQ(w.hourEdit.Text(), "7");
  EXPECT_EQ(w.minuteEdit.Text(), "05");
  EXPECT_EQ(w.messageEdit.Text(), "会議");
  EXPECT_EQ(w.preBellCheck.Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.mainBellTooCheck.Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.preBellLeadEdit.Text(), "10");
  EXPECT_EQ(w.soundFileEdit.Text(), "C:\\chime.wav");
  EXPECT_TRUE(w.soundFileEdit.Enabled());
  EXPECT_EQ(w.midiVolumeSlider.Value(), -10632);
  EXPECT_EQ(w.textColorChecks[4].Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.textColorChecks[7].Value(), ui::CheckState::Unticked);
  EXPECT_EQ(w.sampleView.TextColor(), 0x0000FFu);
  EXPECT_EQ(w.CurrentEntry(), 0);
  EXPECT_FALSE(w.ActiveGuards().fillingFields);
}

struct Typing {
  const char* name;
  ui::TextBox EditorWindow::*field;
  std::vector<const char*> keys;  // typed one after another over a cleared field
  const char* kept;
  const char* message;  // the last message shown, "" for none
};

TEST_F(EditorList, FieldsFilterWhatIsTyped) {
  const Typing cases[] = {
      {"hour 2 then 5", &EditorWindow::hourEdit, {"2", "5"}, "2", ""},
      {"hour 1 then a letter", &EditorWindow::hourEdit, {"1", "a"}, "1", ""},
      {"hour 0 then 0", &EditorWindow::hourEdit, {"0", "0"}, "00", "時に、０～２３の数値を入力してください"},
      {"minute 6 then 0", &EditorWindow::minuteEdit, {"6", "0"}, "6", ""},
      {"full-width day", &EditorWindow::dayOfMonthEdit, {"１", "５"}, "１５", ""},  // narrowed only to read
      {"day 3 then 2", &EditorWindow::dayOfMonthEdit, {"3", "2"}, "32", "日付を、１から３１までの値にしてください"},
      {"day with a letter", &EditorWindow::dayOfMonthEdit, {"1", "x"}, "1", ""},
      {"pre-bell 32768", &EditorWindow::preBellLeadEdit, {"3", "2", "7", "6", "8"}, "3276", ""},
  };
  for (const Typing& c : cases) {
    SCOPED_TRACE(c.name);
    EditorWindow& w = Open();
    w.monthlyOption.SetValue(true);
    w.preBellCheck.SetValue(ui::CheckState::Ticked);
    ui::TextBox& field = w.*c.field;
    field.SetText("");
    dialogs.Asked.clear();
    for (const char* key : c.keys) field.Type(key);
    EXPECT_EQ(field.Text(), c.kept);
    EXPECT_EQ(LastMessage(), c.message);
    ui::ForgetForm<EditorWindow>();
    ui::CollectRetiredForms();
  }
}

TEST_F(EditorList, HourAndSpinFollowEachOther) {
  EditorWindow& w = Open();
  w.hourSpin.Step(1);
  EXPECT_EQ(w.hourEdit.Text(), "7");
  w.hourEdit.SetText("23");
  EXPECT_EQ(w.hourSpin.Value(), 23);
}

TEST_F(EditorList, WeekStartRelabelsTheBoxesAndKeepsTheTickedDays) {
  EditorWindow& w = Open();
  w.weeklyOption.SetValue(true);
  for (auto& box : w.weekdayChecks) box.SetValue(ui::CheckState::Unticked);
  w.weekdayChecks[1].SetValue(ui::CheckState::Ticked);  // 月
  w.weekdayChecks[5].SetValue(ui::CheckState::Ticked);  // 金
  w.mondayFirstCheck.Toggle();
  EXPECT_EQ(w.weekdayChecks[0].Caption(), "月");
  EXPECT_EQ(w.weekdayChecks[6].Caption(), "日");
  EXPECT_EQ(w.weekdayChecks[6].ForeColor(), 0x0000FFu);
  EXPECT_EQ(w.weekdayChecks[5].ForeColor(), 0xFF0000u);
  EXPECT_EQ(w.calendar.StartOfWeek(), 2);
  EXPECT_EQ(w.weekdayChecks[0].Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.weekdayChecks[4].Value(), ui::CheckState::Ticked);
  w.addButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(App().table[0].WeekdayMask, kMaskMonday | kMaskFriday);
  EXPECT_EQ(Rows(w)[0].substr(Rows(w)[0].size() - 21), "月－－－金－－");  // listed Monday first
}

TEST_F(EditorList, RepetitionOptionsSetTheWeekdayBoxes) {
  clock.Set(MakeDate(2026, 12, 9, 6, 0));  // a Wednesday
  EditorWindow& w = Open();
  w.weekUnitCombo.SetListIndex(1);  // 隔週 selects 週単位 by itself
  EXPECT_TRUE(w.weeklyOption.Value());
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(w.weekdayChecks[size_t(i)].Value(), ui::TickedIf(i == 3)) << i;
    EXPECT_EQ(w.weekdayChecks[size_t(i)].Enabled(), i == 3) << i;
  }
  EXPECT_FALSE(w.dayOfMonthEdit.Enabled());
  w.dailyOption.SetValue(true);
  for (auto& box : w.weekdayChecks) {
    EXPECT_EQ(box.Value(), ui::CheckState::Ticked);
    EXPECT_FALSE(box.Enabled());
  }
  w.monthlyOption.RaiseMouseDown(1);  // a click goes on into the day box
  w.monthlyOption.SetValue(true);
  EXPECT_TRUE(w.dayOfMonthEdit.Enabled());
  EXPECT_EQ(Focused(w), "dayOfMonthEdit");
  w.soundCheck.SetValue(ui::CheckState::Unticked);
  EXPECT_FALSE(w.testPlayButton.Enabled());
  EXPECT_FALSE(w.waveVolumeSlider.Enabled());
  w.preBellCheck.SetValue(ui::CheckState::Unticked);
  EXPECT_FALSE(w.mainBellTooCheck.Enabled());
}

TEST_F(EditorList, AnAlarmRingingRefreshesTheMarksOfALoadedEditorOnly) {
  SaveTable({Daily(6, 1), Daily(6, 3)});
  Start();
  clock.Advance(61000);
  ASSERT_TRUE(AlarmShown());
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);  // the due check never opens the editor
  TheAlarm().Dismiss();
  EditorWindow& w = Start().Editor();
  EXPECT_EQ(Rows(w)[1].substr(0, 3), "■");
  clock.Advance(120000);
  ASSERT_TRUE(AlarmShown());
  EXPECT_EQ(Rows(w)[1].substr(0, 3), "□");
}

TEST_F(EditorList, OpeningTheEditorInTheBellsMinuteDoesNotRingItAgain) {
  SaveTable({Daily(5, 0), Daily(6, 1)});
  Start();
  clock.Advance(61000);
  ASSERT_TRUE(AlarmShown());
  TheAlarm().Dismiss();
  // Unsaved: the first entry goes, so the rung one moves to another slot.
  EditorWindow& w = Start().Editor();
  w.alarmList.ClickRow(0);
  w.deleteButton.Press();
  w.RequestClose();
  Start().Editor();  // reads the file again, whose marks are from before the bell
  clock.Advance(20000);
  EXPECT_FALSE(AlarmShown());
  EXPECT_NE(App().table[1].MainBellFiredAt, 0);
}

}  // namespace
}  // namespace wb::test
