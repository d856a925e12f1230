// Add, change, delete and the quick timer, driven through the editor's controls as a user
// drives them.
#include <functional>

#include "EditorFixture.h"
#include "app_state/AppState.h"
#include "model/AlarmTable.h"

namespace wb::test {
namespace {

using EditorCommit = EditorTest;

struct RefusedAdd {
  const char* name;
  std::function<void(EditorWindow&)> fill;
  const char* message;
  const char* focus;  // "" when the box moves no focus
};

// Each row breaks the fields in one way (some in two, to pin which check comes first) and
// presses アラーム追加: the message, where the focus goes, and an untouched table.
TEST_F(EditorCommit, AddRefusesInTheOrderOfItsChecks) {
  const RefusedAdd cases[] = {
      {"quick timer option", [](EditorWindow& w) { w.quickTimerOption.SetValue(true); },
       "クイックタイマーは追加ボタンで追加できません\r\nクイックタイマーリストから登録してください", ""},
      {"hour 00 before an empty minute", [](EditorWindow& w) { w.hourEdit.SetText("00"); w.minuteEdit.SetText(""); },
       "時間に、０～２３の数値を入力してください", "hourEdit"},
      {"empty minute", [](EditorWindow& w) { w.minuteEdit.SetText(""); }, "分に、０～５９の数値を入力してください", "minuteEdit"},
      {"day 0 before a bad pre-bell",
       [](EditorWindow& w) {
         w.monthlyOption.SetValue(true);
         w.dayOfMonthEdit.SetText("0");
         w.preBellCheck.SetValue(ui::CheckState::Ticked);
         w.preBellLeadEdit.SetText("00");
       },
       "日付を、１から３１までの値にしてください", "dayOfMonthEdit"},
      {"pre-bell 00", [](EditorWindow& w) { w.preBellCheck.SetValue(ui::CheckState::Ticked); w.preBellLeadEdit.SetText("00"); },
       "予鈴時間を、０以上の値にしてください", "preBellLeadEdit"},
      {"monthly without a day", [](EditorWindow& w) { w.monthlyOption.SetValue(true); w.dayOfMonthEdit.SetText(""); },
       "日付を、１から３１までの値にしてください", "dayOfMonthEdit"},
      {"weekly without a weekday",
       [](EditorWindow& w) {
         w.weeklyOption.SetValue(true);
         for (auto& box : w.weekdayChecks) box.SetValue(ui::CheckState::Unticked);
       },
       "曜日のいずれかを選択してください", "weekdayChecks[0]"},
      {"sound file of spaces", [](EditorWindow& w) { w.soundCheck.SetValue(ui::CheckState::Ticked); w.soundFileEdit.SetText("   "); },
       "有効なファイルが指定されていません", "soundFileEdit"},
      {"31st of a 30-day month",
       [](EditorWindow& w) {
         w.calendar.SetValue(MakeDate(2026, 11, 5));
         w.monthlyOption.SetValue(true);
         w.dayOfMonthEdit.SetText("31");
       },
       "日付を、その月にある日にしてください", "dayOfMonthEdit"},
      {"blink count that is no number", [](EditorWindow& w) { w.blinkCountEdit.SetText("x"); },
       "ブリンク回数に、０～３２７６７の数値を入力してください", "blinkCountEdit"},
      {"message the data file cannot hold", [](EditorWindow& w) { w.messageEdit.SetText("起きて😀"); },
       "表示メッセージに、保存できない文字が含まれています\r\n別の文字に置き換えてください", "messageEdit"},
      {"message with a byte escape that would read back as ア",
       [](EditorWindow& w) { w.messageEdit.SetText("\xef\x9e\x83" "A"); },
       "表示メッセージに、保存できない文字が含まれています\r\n別の文字に置き換えてください", "messageEdit"},
      {"past time, question cancelled",
       [this](EditorWindow& w) {
         SetTime(w, 5, 0);
         w.warnPastTimeCheck.SetValue(ui::CheckState::Ticked);
         dialogs.MsgAnswers = {kAnswerCancel};
       },
       "設定時刻が過去になっていますが、設定しますか", ""},
  };
  for (const RefusedAdd& c : cases) {
    SCOPED_TRACE(c.name);
    EditorWindow& w = Open();
    c.fill(w);
    w.alarmList.SetFocus();
    w.addButton.Press();
    EXPECT_EQ(LastMessage(), c.message);
    if (*c.focus) {
      EXPECT_EQ(Focused(w), c.focus);
    }
    EXPECT_EQ(App().table.EntryCount(), 0);
    EXPECT_FALSE(UnsavedEdits::Any());
    EXPECT_EQ(w.alarmList.ListCount(), 0);
    ui::ForgetForm<EditorWindow>();
    ui::CollectRetiredForms();
    dialogs.Asked.clear();
  }
}

TEST_F(EditorCommit, AddAppendsTheFieldsAndRemembersThemForTheNextEntry) {
  EditorWindow& w = Open();
  SetTime(w, 7, 30);
  w.weeklyOption.SetValue(true);
  w.weekUnitCombo.SetListIndex(6);  // 第５
  w.weekdayChecks[5].SetValue(ui::CheckState::Ticked);   // 金 with a Sunday start
  w.messageEdit.SetText("ゴミ出し");
  w.preBellCheck.SetValue(ui::CheckState::Ticked);
  w.preBellLeadEdit.SetText("15");
  w.addButton.Press();

  ASSERT_EQ(App().table.EntryCount(), 1);
  const AlarmEntry& e = App().table[0];
  EXPECT_EQ(FormatMoment(e.AlarmTime), "2026/12/07 07:30:00");
  EXPECT_EQ(e.RepeatKind, 11);
  EXPECT_EQ(e.WeekdayMask, kMaskMonday | kMaskFriday);  // the calendar's Monday was ticked too
  EXPECT_EQ(e.BellMode, BellMode::PreOnly);
  EXPECT_EQ(e.PreBellMinutes, 15);
  EXPECT_EQ(e.Message, "ゴミ出し");
  EXPECT_EQ(e.MainBellFiredAt, 0);
  EXPECT_TRUE(UnsavedEdits::Any());
  EXPECT_EQ(App().lastEditedSlot, 0);
  EXPECT_EQ(App().prefs.weeklyRepeat, 11);
  EXPECT_EQ(App().prefs.message, "ゴミ出し");
  EXPECT_EQ(SelectedRows(w), std::vector<int>{0});
  // December has no 5th Monday; the message, cut to the list's 46 columns, after the line.
  EXPECT_EQ(Rows(w)[0], "□07:30 2026/12/07 第５ －月－－－金－  ゴミ…");

  // The next new entry starts from what was committed.
  w.resetFieldsButton.Press();
  EXPECT_EQ(w.weekUnitCombo.ListIndex(), 6);
  EXPECT_EQ(w.messageEdit.Text(), "ゴミ出し");
  EXPECT_TRUE(w.onceOption.Value());
}

TEST_F(EditorCommit, MonthlyEntryTakesItsDayFromTheDayBox) {
  EditorWindow& w = Open();
  w.calendar.SetValue(MakeDate(2026, 12, 6));
  w.monthlyOption.SetValue(true);
  w.dayOfMonthEdit.SetText("15");
  SetTime(w, 8, 0);
  w.addButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(FormatMoment(App().table[0].AlarmTime), "2026/12/15 08:00:00");
  EXPECT_EQ(App().table[0].RepeatKind, kRepeatMonthly);
}

TEST_F(EditorCommit, PastTimeIsAddedWithoutAQuestionWhenNotWarned) {
  EditorWindow& w = Open();
  w.warnPastTimeCheck.SetValue(ui::CheckState::Unticked);
  w.dailyOption.SetValue(true);
  SetTime(w, 5, 0);
  w.addButton.Press();
  EXPECT_EQ(dialogs.CountMsgBoxes("設定時刻が過去になっていますが、設定しますか"), 0);
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(App().table[0].WeekdayMask, 0x7F);
  EXPECT_EQ(App().prefs.warnPastTime, 0);
}

TEST_F(EditorCommit, PastTimeAnsweredOkIsAdded) {
  EditorWindow& w = Open();
  w.warnPastTimeCheck.SetValue(ui::CheckState::Ticked);
  SetTime(w, 5, 0);
  dialogs.MsgAnswers = {kAnswerOk};
  w.addButton.Press();
  EXPECT_EQ(dialogs.CountMsgBoxes("設定時刻が過去になっていますが、設定しますか"), 1);
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(FormatMoment(App().table[0].AlarmTime), "2026/12/07 05:00:00");
}

// A daily alarm that rang this morning and is moved to later today rings again at its new time.
TEST_F(EditorCommit, ChangeClearsTheRungMarks) {
  clock.Set(MakeDate(2026, 12, 7, 8, 0, 0));
  AlarmEntry rung = Today(7, 0);
  rung.MainBellFiredAt = MakeDate(2026, 12, 7, 7, 0, 0);
  rung.PreBellFiredAt = MakeDate(2026, 12, 7, 6, 55, 0);
  SaveTable({rung});
  EditorWindow& w = Open();
  w.alarmList.ClickRow(0);
  SetTime(w, 8, 1);
  w.changeButton.Press();
  EXPECT_EQ(App().table[0].MainBellFiredAt, 0);
  EXPECT_EQ(App().table[0].PreBellFiredAt, 0);
  w.saveAndCloseButton.Press();
  Seconds(62);
  EXPECT_TRUE(AlarmShown());
}

// A bell that rang this minute has rung for the entry the user changes in that minute: a new
// message does not ring it again; moved to a later minute, it rings there.
TEST_F(EditorCommit, AChangeInTheBellsOwnMinuteDoesNotRingItAgain) {
  clock.Set(MakeDate(2026, 12, 7, 6, 59, 58));
  SaveTable({Today(7, 0)});
  EditorWindow& w = Open();
  Seconds(3);  // 07:00:01
  ASSERT_TRUE(AlarmShown());
  ui::TheForm<AlarmWindow>().okButton.Press();
  w.alarmList.ClickRow(0);
  w.messageEdit.SetText("朝会");
  w.changeButton.Press();
  w.saveAndCloseButton.Press();
  Seconds(40);
  EXPECT_FALSE(AlarmShown());
  Open();
  w.alarmList.ClickRow(0);
  SetTime(w, 7, 2);
  w.changeButton.Press();
  w.saveAndCloseButton.Press();
  Seconds(90);  // 07:02:11
  EXPECT_TRUE(AlarmShown());
}

// The view and the week start are preferences a commit stores, beside the program and the data.
TEST_F(EditorCommit, ACommitStoresTheViewAndTheWeekStart) {
  const std::string dataPath = MoveDataFolder();
  struct Case {
    bool dailyView, mondayFirst;
    const char *listView, *weekStart;
  };
  for (const Case& c : {Case{true, true, "2", "1"}, Case{false, false, "1", "0"}}) {
    EditorWindow& w = Open();
    (c.dailyView ? w.dailyViewCheck : w.allEntriesViewCheck).SetValue(ui::CheckState::Ticked);
    w.mondayFirstCheck.SetValue(ui::TickedIf(c.mondayFirst));
    SetTime(w, 7, 0);
    w.dailyOption.SetValue(true);
    w.addButton.Press();
    w.saveAndCloseButton.Press();
    for (const std::string& ini : {ProgramIni(), DataIniPath(dataPath)}) {
      EXPECT_EQ(Setting(ini, "LISTDISPFLG"), c.listView) << ini;
      EXPECT_EQ(Setting(ini, "WEEKSTART"), c.weekStart) << ini;
    }
  }
}

// The quick-timer list is a list of actions: each pick adds a timer, the item already shown too.
TEST_F(EditorCommit, PickingTheSameQuickTimerItemAgainAddsAnother) {
  EditorWindow& w = Open();
  w.quickTimerCombo.UserPick(0);
  w.quickTimerCombo.UserPick(0);
  EXPECT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(w.alarmList.ListCount(), 2);
}

TEST_F(EditorCommit, ChangeNeedsExactlyOneSelectedRowAndNoQuickTimer) {
  AlarmEntry quick = Daily(9, 0);
  quick.RepeatKind = kRepeatQuick;
  SaveTable({Daily(7, 0), Daily(8, 0), quick});
  EditorWindow& w = Open();
  w.changeButton.Press();
  EXPECT_EQ(LastMessage(), "アラームエントリを１つ選択してください");
  w.alarmList.UserSelect({true, true, false}, 1);
  w.changeButton.Press();
  EXPECT_EQ(LastMessage(), "アラームエントリを１つ選択してください");
  w.alarmList.ClickRow(2);
  EXPECT_TRUE(w.quickTimerOption.Value());
  w.changeButton.Press();
  EXPECT_EQ(LastMessage(), "クイックタイマーは変更できません");
  EXPECT_FALSE(UnsavedEdits::Any());
}

TEST_F(EditorCommit, ChangeWritesTheSelectedRowEvenWhenTheFocusRestsOnAnother) {
  SaveTable({Daily(7, 0), Daily(8, 0)});
  EditorWindow& w = Open();
  // Ctrl-click 08:00, then ctrl-click 07:00 off again: the focus stays on row 0.
  w.alarmList.UserSelect({false, true}, 0);
  SetTime(w, 9, 15);
  w.changeButton.Press();
  EXPECT_EQ(FormatHourMinute(App().table[0].AlarmTime), "07:00");
  EXPECT_EQ(FormatHourMinute(App().table[1].AlarmTime), "09:15");
  EXPECT_EQ(App().lastEditedSlot, 1);
  EXPECT_EQ(SelectedRows(w), std::vector<int>{1});
  EXPECT_EQ(clock.SleptMs, 200);  // the pause before the row is selected again
}

TEST_F(EditorCommit, ChangeOutOfTheDayViewSwitchesToTheFullList) {
  SaveTable({Today(7, 0), Today(8, 0)});
  EditorWindow& w = Open();
  w.dailyViewCheck.SetValue(ui::CheckState::Ticked);
  ASSERT_EQ(w.alarmList.ListCount(), 2);
  w.alarmList.ClickRow(1);  // 08:00, now made a Tuesday-only weekly entry
  w.weeklyOption.SetValue(true);
  w.weekdayChecks[1].SetValue(ui::CheckState::Unticked);
  w.weekdayChecks[2].SetValue(ui::CheckState::Ticked);
  w.changeButton.Press();
  EXPECT_EQ(w.allEntriesViewCheck.Value(), ui::CheckState::Ticked);
  EXPECT_EQ(w.dailyViewCheck.Value(), ui::CheckState::Unticked);
  ASSERT_EQ(SelectedRows(w).size(), 1u);
  EXPECT_EQ(w.SlotOfRow(SelectedRows(w)[0]), 1);
  EXPECT_EQ(App().table[1].RepeatKind, kRepeatWeekly);
  EXPECT_EQ(App().table[1].WeekdayMask, kMaskTuesday);
}

TEST_F(EditorCommit, ChangeAndDeleteWaitWhileAnAlarmSounds) {
  SaveTable({Daily(7, 0)});
  EditorWindow& w = Open();
  w.alarmList.ClickRow(0);
  TheAlarm().Present(0, true, "07:00");  // silent, but in progress until its window goes
  ASSERT_TRUE(TheAlarm().Sounding());
  SetTime(w, 9, 0);
  w.changeButton.Press();
  w.deleteButton.Press();
  EXPECT_TRUE(dialogs.Asked.empty());
  EXPECT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(FormatHourMinute(App().table[0].AlarmTime), "07:00");
}

TEST_F(EditorCommit, DeleteRemovesExactlyTheSelectedRowsKeepingTheOrder) {
  SaveTable({Daily(10, 0), Daily(6, 30), Daily(8, 0), Daily(7, 0), Daily(9, 0)});
  EditorWindow& w = Open();
  // Rows in time order: 06:30 07:00 08:00 09:00 10:00; select 07:00, 08:00 and 10:00.
  w.alarmList.UserSelect({false, true, true, false, true}, 4);
  w.deleteButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 2);
  EXPECT_EQ(FormatHourMinute(App().table[0].AlarmTime), "06:30");
  EXPECT_EQ(FormatHourMinute(App().table[1].AlarmTime), "09:00");
  EXPECT_EQ(w.alarmList.ListCount(), 2);
  EXPECT_TRUE(SelectedRows(w).empty());
  EXPECT_TRUE(w.onceOption.Value());  // fields back to the defaults
  EXPECT_TRUE(UnsavedEdits::Any());
}

TEST_F(EditorCommit, DeleteInTheDayViewTouchesOnlyListedRows) {
  SaveTable({Weekly(kMaskTuesday, MakeDate(2026, 12, 1, 7, 0)), Daily(8, 0), Daily(9, 0)});
  EditorWindow& w = Open();
  w.dailyViewCheck.SetValue(ui::CheckState::Ticked);  // Monday: the Tuesday entry is not listed
  ASSERT_EQ(w.alarmList.ListCount(), 2);
  w.alarmList.UserSelect({true, true}, 1);
  w.deleteButton.Press();
  ASSERT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(App().table[0].RepeatKind, kRepeatWeekly);
}

TEST_F(EditorCommit, QuickTimerRingsMinutesFromNowWithoutChecksOrDefaults) {
  clock.Set(MakeDate(2026, 12, 7, 23, 30, 15));
  EditorWindow& w = Open();
  w.soundCheck.SetValue(ui::CheckState::Ticked);
  w.soundFileEdit.SetText("");
  w.messageEdit.SetText("変更中");
  const Preferences before = App().prefs;
  w.quickTimerCombo.SetListIndex(10);  // 120分
  ASSERT_EQ(App().table.EntryCount(), 1);
  const AlarmEntry& e = App().table[0];
  EXPECT_EQ(FormatMoment(e.AlarmTime), "2026/12/08 01:30:15");
  EXPECT_EQ(e.RepeatKind, kRepeatQuick);
  EXPECT_EQ(e.WeekdayMask, kMaskTuesday);
  EXPECT_EQ(e.Message, "クイックタイマー");
  EXPECT_EQ(e.Sound.Flag, 1);
  EXPECT_TRUE(dialogs.Asked.empty());
  EXPECT_EQ(App().prefs.message, before.message);
  EXPECT_EQ(App().lastEditedSlot, 0);
  EXPECT_EQ(w.alarmList.ListCount(), 1);
  EXPECT_TRUE(SelectedRows(w).empty());
  w.quickTimerCombo.SetListIndex(0);  // 3分: a second, separate entry
  EXPECT_EQ(App().table.EntryCount(), 2);
}

TEST_F(EditorCommit, AFullTableRefusesAddAndQuickTimer) {
  EditorWindow& w = Open();
  App().table.Assign(std::vector<AlarmEntry>(AlarmTable::kMaxEntries + 1, Daily(7, 0)));
  SetTime(w, 8, 0);
  w.addButton.Press();
  EXPECT_EQ(LastMessage(), "アラームエントリは３２７６７個までです\r\n不要なエントリを削除してから追加してください");
  w.quickTimerCombo.SetListIndex(0);
  EXPECT_EQ(dialogs.CountMsgBoxes(LastMessage()), 2);
  EXPECT_EQ(App().table.EntryCount(), AlarmTable::kMaxEntries);
  EXPECT_FALSE(UnsavedEdits::Any());
}

}  // namespace
}  // namespace wb::test
