// The keyboard alone: groups of options and palettes as one stop moved by the arrows, focus by
// Tab selecting a box's text, Enter and Escape, and the windows' tab orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "EditorFixture.h"
#include "about/AboutBox.h"
#include "alert/AlarmWindow.h"
#include "audio/DeviceDialog.h"
#include "monitor/HistoryWindow.h"
#include "monitor/MissedNoticeWindow.h"
#include "platform/Controls.h"
#include "storage/Settings.h"

namespace wb::test {
namespace {

class KeySample : public ui::Form {
 public:
  KeySample() : ui::Form("KeySample", "KeySample", 3000, 2000) {
    SetTabOrder({&hourEdit, &onceOption, &dailyOption, &monthlyOption, &redCheck, &blueCheck, &greenCheck,
                 &messageEdit, &okButton});
    AddArrowGroup({&redCheck, &blueCheck, &greenCheck});
    okButton.SetDefault(true);
    okButton.onClick = [this] { ++okPresses; };
  }
  ui::TextBox hourEdit{*this, "hourEdit", {}};
  ui::OptionButton onceOption{*this, "onceOption", {.caption = "a", .group = 1}};
  ui::OptionButton dailyOption{*this, "dailyOption", {.caption = "b", .group = 1}};
  ui::OptionButton monthlyOption{*this, "monthlyOption", {.caption = "c", .group = 1}};
  ui::CheckBox redCheck{*this, "redCheck", {.caption = "赤"}};
  ui::CheckBox blueCheck{*this, "blueCheck", {.caption = "青"}};
  ui::CheckBox greenCheck{*this, "greenCheck", {.caption = "緑"}};
  ui::TextBox messageEdit{*this, "messageEdit", {.multiLine = true}};
  ui::Button okButton{*this, "okButton", {.caption = "OK"}};
  int okPresses = 0;
};

std::string Focused(const ui::Form& f) { return f.ActiveControl() ? f.ActiveControl()->Name() : "none"; }

using Keyboard = UiTest;

TEST_F(Keyboard, ArrowsMoveAndTickInsideAGroupOfOptionsAndOnlyMoveInAPalette) {
  struct Case {
    const char* name;
    std::vector<int> arrows;
    bool othersOff;  // 毎日 disabled, 毎月 hidden
    const char* focused;  // and ticked
  };
  const Case cases[] = {
      {"down ticks the next option", {1}, false, "dailyOption"},
      {"past the last wraps to the first", {1, 1, 1}, false, "onceOption"},
      {"up from the first wraps to the last", {-1}, false, "monthlyOption"},
      {"disabled and hidden options are passed over", {1, 1}, true, "onceOption"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeySample f;
    f.onceOption.SetValue(true);
    f.dailyOption.SetEnabled(!c.othersOff);
    f.monthlyOption.SetVisible(!c.othersOff);
    f.onceOption.SetFocus();
    for (int a : c.arrows) EXPECT_TRUE(f.PressArrow(a));
    EXPECT_EQ(Focused(f), c.focused);
    EXPECT_TRUE(static_cast<ui::OptionButton*>(f.Find(c.focused))->Value());
  }
  KeySample f;
  f.blueCheck.SetValue(ui::CheckState::Ticked);
  f.redCheck.SetFocus();
  EXPECT_TRUE(f.PressArrow(1));
  EXPECT_TRUE(f.PressArrow(1));
  EXPECT_EQ(Focused(f), "greenCheck");
  EXPECT_FALSE(f.greenCheck.Ticked());  // Space ticks, not the arrow
  EXPECT_TRUE(f.blueCheck.Ticked());
  f.hourEdit.SetFocus();
  EXPECT_FALSE(f.PressArrow(1));  // the box's own arrow
  EXPECT_EQ(Focused(f), "hourEdit");
}

TEST_F(Keyboard, TabStopsOnceOnAPaletteAtItsTickedBox) {
  KeySample f;
  f.onceOption.SetValue(true);
  f.blueCheck.SetValue(ui::CheckState::Ticked);
  std::vector<std::string> walk;
  for (int i = 0; i < 5; ++i) {
    f.PressTab(1);
    walk.push_back(Focused(f));
  }
  EXPECT_EQ(walk, (std::vector<std::string>{"hourEdit", "onceOption", "blueCheck", "messageEdit", "okButton"}));
}

TEST_F(Keyboard, TabSelectsAOneLineBoxSoTypingReplacesIt) {
  KeySample f;
  f.hourEdit.SetText("1");
  f.messageEdit.SetText("朝");
  f.okButton.SetFocus();
  f.PressTab(1);
  f.hourEdit.Type("7");
  EXPECT_EQ(f.hourEdit.Text(), "7");
  f.dailyOption.SetFocus();
  f.PressTab(1);
  f.PressTab(1);
  ASSERT_EQ(Focused(f), "messageEdit");
  EXPECT_EQ(f.messageEdit.SelLength(), 0);  // a message is not typed over by accident
}

TEST_F(Keyboard, EnterInAOneLineBoxPressesTheDefaultButtonInAMessageBoxItIsTyping) {
  KeySample f;
  f.messageEdit.SetFocus();
  f.PressEnter();
  EXPECT_EQ(f.okPresses, 0);  // a new line of the message
  f.hourEdit.SetFocus();
  f.PressEnter();
  EXPECT_EQ(f.okPresses, 1);  // the default button, as in every dialog
  f.onceOption.SetFocus();
  f.PressEnter();
  EXPECT_EQ(f.okPresses, 2);
}

TEST_F(Keyboard, TheCaptionBeforeTheAccessKeyIsWhatIsRead) {
  const std::pair<const char*, const char*> cases[] = {
      {"アラーム追加(&A)", "アラーム追加"}, {"ｼｽﾃﾑ情報(&S)...", "ｼｽﾃﾑ情報..."},
      {"&Save", "Save"},                   {"R&&D", "R&D"},
      {"１回だけ(&1)", "１回だけ"},         {"(&)", "()"}};
  for (auto [caption, read] : cases) EXPECT_EQ(ui::WithoutAccessKey(caption), read) << caption;
  EXPECT_EQ(ui::AccessKeyOf("アラーム追加(&a)"), 'A');
  EXPECT_EQ(ui::AccessKeyOf("R&&D"), 0);
}

using KeyboardEditor = EditorTest;

// Alt and a letter act on one control only: in no window do two share a key.
TEST_F(KeyboardEditor, AccessKeysAreUniqueInEachWindowAndActOnTheirControl) {
  std::vector<ui::Form*> forms = {&Start().Editor(), &ui::TheForm<DeviceDialog>(),
                                  &ui::TheForm<AlarmWindow>(), &ui::TheForm<HistoryWindow>(),
                                  &ui::TheForm<MissedNoticeWindow>(), &ui::TheForm<AboutBox>()};
  for (ui::Form* f : forms) {
    std::map<char, std::string> seen;
    for (ui::Control* c : f->Controls()) {
      const char key = ui::AccessKeyOfControl(*c);
      if (!key) continue;
      EXPECT_TRUE(seen.emplace(key, c->Name()).second)
          << f->Name() << ": " << key << " on " << c->Name() << " and " << seen[key];
    }
  }
  EditorWindow& w = Start().Editor();
  w.Show();
  w.hourEdit.SetText("7");
  EXPECT_TRUE(w.PressAccessKey('d'));
  EXPECT_TRUE(w.dailyOption.Value());
  EXPECT_TRUE(w.PressAccessKey('T'));  // the label 設定時刻 names the hour box
  EXPECT_EQ(Focused(w), "hourEdit");
  EXPECT_EQ(w.hourEdit.SelLength(), 1);
  EXPECT_TRUE(w.PressAccessKey('A'));
  EXPECT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(ui::AccessKeyOfControl(ui::TheForm<AlarmWindow>().snoozeButton), 'S');
  EXPECT_EQ(ui::AccessKeyOfControl(ui::TheForm<HistoryWindow>().closeButton), 'C');
  EXPECT_EQ(ui::AccessKeyOfControl(ui::TheForm<MissedNoticeWindow>().missedList), 'L');
  EXPECT_EQ(ui::TheForm<MissedNoticeWindow>().missedList.AccessibleName(), "次のアラームは鳴りませんでした。");
  EXPECT_EQ(ui::AccessKeyOfControl(ui::TheForm<DeviceDialog>().waveDeviceCombo), 'W');
  EXPECT_EQ(ui::TheForm<DeviceDialog>().waveDeviceCombo.AccessibleName(), "WAVEデバイス");
}

TEST_F(KeyboardEditor, TheArrowsChangeTheRepeatKind) {
  EditorWindow& w = Open();
  ASSERT_TRUE(w.onceOption.Value());
  w.minuteEdit.SetFocus();
  w.PressTab(1);
  ASSERT_EQ(Focused(w), "onceOption");
  w.PressArrow(1);
  EXPECT_TRUE(w.dailyOption.Value());
  w.PressArrow(1);
  EXPECT_TRUE(w.monthlyOption.Value());
  EXPECT_TRUE(w.dayOfMonthEdit.Enabled());
  EXPECT_EQ(Focused(w), "monthlyOption");  // the arrows go on from here
  w.PressTab(1);
  EXPECT_EQ(Focused(w), "dayOfMonthEdit");
  w.PressTab(-1);  // and back, past the kinds
  w.PressTab(-1);
  EXPECT_EQ(Focused(w), "minuteEdit");
  w.monthlyOption.SetFocus();
  w.PressArrow(1);
  EXPECT_TRUE(w.weeklyOption.Value());
}

TEST_F(KeyboardEditor, QuickTimerAddsOnlyWhenTheUserPicks) {
  EditorWindow& w = Open();
  w.quickTimerCombo.SetFocus();
  w.quickTimerCombo.UserBrowse(1);
  w.quickTimerCombo.UserBrowse(2);
  EXPECT_EQ(App().table.EntryCount(), 0);
  w.PressEnter();  // the item shown
  EXPECT_EQ(App().table.EntryCount(), 1);
  w.quickTimerCombo.UserPick(2);  // again, from the open list
  w.quickTimerCombo.UserPick(0);
  EXPECT_EQ(App().table.EntryCount(), 3);
}

TEST_F(KeyboardEditor, TabSelectsTheTimeSoTypingReplacesIt) {
  EditorWindow& w = Open();
  const std::pair<ui::Control*, ui::TextBox*> cases[] = {{&w.calendar, &w.hourEdit}, {&w.hourEdit, &w.minuteEdit}};
  for (auto [before, edit] : cases) {
    edit->SetText("1");
    before->SetFocus();
    w.PressTab(1);
    ASSERT_EQ(w.ActiveControl(), edit);
    edit->Type("7");
    EXPECT_EQ(edit->Text(), "7") << edit->Name();
  }
}

// Every control a user can operate is a tab stop, in every window.
TEST_F(KeyboardEditor, EveryOperableControlIsInTheTabOrder) {
  std::vector<ui::Form*> forms = {&Start().Editor(), &ui::TheForm<DeviceDialog>(),
                                  &ui::TheForm<AlarmWindow>(), &ui::TheForm<HistoryWindow>(),
                                  &ui::TheForm<MissedNoticeWindow>(), &ui::TheForm<AboutBox>()};
  for (ui::Form* f : forms)
    for (ui::Control* c : f->Controls()) {
      if (!ui::TakesFocus(c->GetKind())) continue;
      EXPECT_NE(std::find(f->TabOrder().begin(), f->TabOrder().end(), c), f->TabOrder().end())
          << f->Name() << "." << c->Name();
    }
  // Read as they sit: 平日のみ right of クイックタイマー, 祝日は鳴らさない right of 月曜始まり.
  EditorWindow& w = Start().Editor();
  auto at = [&](const ui::Control& c) { return std::find(w.TabOrder().begin(), w.TabOrder().end(), &c); };
  EXPECT_EQ(at(w.weekdaysOnlyButton), at(w.quickTimerOption) + 1);
  EXPECT_EQ(at(w.restOnDaysOffCheck), at(w.mondayFirstCheck) + 1);
}

TEST_F(KeyboardEditor, APaletteIsOneStopAndTickingKeepsTheFocus) {
  EditorWindow& w = Open();
  w.warnPastTimeCheck.SetFocus();
  w.PressTab(1);
  EXPECT_EQ(Focused(w), "textColorChecks[7]");  // 黒, the ticked one
  w.PressArrow(1);
  EXPECT_EQ(Focused(w), "textColorChecks[0]");
  w.PressArrow(1);
  w.textColorChecks[1].Toggle();  // Space
  EXPECT_EQ(Focused(w), "textColorChecks[1]");
  w.PressTab(1);
  EXPECT_EQ(Focused(w), "backColorChecks[5]");  // 灰
}

TEST_F(KeyboardEditor, EscapeClosesTheEditorThroughItsQuestion) {
  EditorWindow& w = Open();
  w.PressEscape();  // nothing changed: closes at once
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_TRUE(dialogs.Asked.empty());
  EditorWindow& again = Start().Editor();
  again.Show();
  SetTime(again, 7, 0);
  again.addButton.Press();
  dialogs.MsgAnswers = {kAnswerCancel};
  again.PressEscape();
  EXPECT_EQ(LastMessage(), kUnsavedQuestion);
  ASSERT_NE(ui::FormIfLoaded<EditorWindow>(), nullptr);
  again.PressEscape();  // OK this time
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
}

TEST_F(KeyboardEditor, EscapeCancelsTheDeviceDialog) {
  devices.AddWave("Speakers", 0xFFFFFFFF);
  Start();
  DeviceDialog& d = ui::TheForm<DeviceDialog>();
  d.Show();
  d.PressEscape();
  EXPECT_EQ(ui::FormIfLoaded<DeviceDialog>(), nullptr);
  EXPECT_EQ(ChosenWaveDevice(), "");  // nothing chosen: asked again next time
  EXPECT_TRUE(DeviceNamesMissing());
}

TEST_F(KeyboardEditor, ExitWithUnsavedEditsAsksTheEditorsQuestionFirst) {
  struct Case {
    const char* name;
    int answer;
    bool ends;
  };
  for (const Case& c : {Case{"キャンセル keeps all running", kAnswerCancel, false}, Case{"OK ends", kAnswerOk, true}}) {
    SCOPED_TRACE(c.name);
    EditorWindow& w = Open();
    SetTime(w, 7, 0);
    w.addButton.Press();
    dialogs.Asked.clear();
    dialogs.MsgAnswers = {c.answer};
    ui::TheForm<MonitorWindow>().exitItem->Choose();
    EXPECT_EQ(LastMessage(), kUnsavedQuestion);
    EXPECT_EQ(dialogs.Asked.size(), 1u);
    EXPECT_EQ(frontEnd.QuitCalled, c.ends);
    EXPECT_EQ(ui::FormIfLoaded<EditorWindow>() != nullptr, !c.ends);
    EXPECT_EQ(ui::FormIfLoaded<MonitorWindow>() != nullptr, !c.ends);
    ForgetWindows();
    frontEnd.QuitCalled = false;
  }
}

}  // namespace
}  // namespace wb::test
