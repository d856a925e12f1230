// The editor's size (the user's, kept per PC, the list taking what is added), ＯＫ as the
// default button, the question before 初期状態にする throws typed values away, and minutes
// shown with two digits.
#include "EditorFixture.h"

#include "app_state/AppState.h"

namespace wb::test {
namespace {

using EditorSizeAndKeys = EditorTest;
constexpr int kPx = ui::kTwipsPerPixel;

TEST_F(EditorSizeAndKeys, ALargerEditorGivesTheListTheRoomAndKeepsItsSizeForTheNextOpening) {
  AlarmEntry weekly = Today(7, 30);
  weekly.Message = "週報を書いて部長に送る（金曜の朝会までに）";
  SaveTable({weekly});
  EditorWindow& w = Open();
  const ui::Rect list = w.alarmList.Position(), ok = w.saveAndCloseButton.Position(),
                 calendar = w.calendar.Position(), dataPath = w.dataPathEdit.Position(),
                 label = w.alarmListLabel.Position();
  const std::string narrowRow = Rows(w)[0];
  w.alarmList.ClickRow(0);

  w.UserResize(w.ClientWidth() + 300 * kPx, w.ClientHeight() + 120 * kPx);
  EXPECT_EQ(w.alarmList.Position().width, list.width + 300 * kPx);
  EXPECT_EQ(w.alarmList.Position().height, list.height + 120 * kPx);
  EXPECT_EQ(w.saveAndCloseButton.Position().left, ok.left + 300 * kPx);  // still the bottom right corner
  EXPECT_EQ(w.saveAndCloseButton.Position().top, ok.top + 120 * kPx);
  EXPECT_EQ(w.calendar.Position().left, calendar.left + 300 * kPx);
  EXPECT_EQ(w.calendar.Position().top, calendar.top);
  EXPECT_EQ(w.dataPathEdit.Position().top, dataPath.top + 120 * kPx);
  EXPECT_EQ(w.alarmListLabel.Position().left, label.left);
  // More of the message shows after the line, and the row is still the one selected.
  const std::string wideRow = Rows(w)[0];
  EXPECT_GT(wideRow.size(), narrowRow.size());
  EXPECT_NE(wideRow.find("週報を書いて部長に送る"), std::string::npos) << wideRow;
  EXPECT_EQ(SelectedRows(w), std::vector<int>{0});
  const int width = w.ClientWidth() / kPx, height = w.ClientHeight() / kPx;

  // Never smaller than designed: a smaller window scrolls what it cannot show.
  w.UserResize(100 * kPx, 100 * kPx);
  EXPECT_EQ(w.ClientWidth(), w.DesignedWidth());
  EXPECT_EQ(w.alarmList.Position().width, list.width);
  w.UserResize(width * kPx, height * kPx);

  dialogs.MsgAnswers = {kAnswerOk};
  w.RequestClose();
  EXPECT_EQ(Setting(ProgramIni(), "EDITORWIDTH"), std::to_string(width));
  EXPECT_EQ(Setting(ProgramIni(), "EDITORHEIGHT"), std::to_string(height));
  EditorWindow& again = Open();
  EXPECT_EQ(again.ClientWidth(), width * kPx);
  EXPECT_EQ(again.alarmList.Position().width, list.width + 300 * kPx);
  EXPECT_EQ(Rows(again)[0], wideRow);
}

TEST_F(EditorSizeAndKeys, TheSizeIsWrittenOnlyOnceTheUserChangedItAndFitsTheWorkArea) {
  EditorWindow& w = Open();
  w.RequestClose();
  EXPECT_EQ(Setting(ProgramIni(), "EDITORWIDTH"), "<none>");  // never resized: the file as it was
  SetSetting(ProgramIni(), "EDITORWIDTH", "5000");
  SetSetting(ProgramIni(), "EDITORHEIGHT", "3000");
  EditorWindow& big = Open();
  EXPECT_EQ(big.ClientWidth(), frontEnd.WorkArea().width);
  EXPECT_EQ(big.ClientHeight(), frontEnd.WorkArea().height);
}

TEST_F(EditorSizeAndKeys, OkIsTheDefaultButtonAndHasAltO) {
  const struct {
    const char* what;
    void (*press)(EditorWindow&);
  } cases[] = {
      {"Enter in the hour box", [](EditorWindow& w) { w.hourEdit.SetFocus(); w.PressEnter(); }},
      {"Enter in the data file's box", [](EditorWindow& w) { w.dataPathEdit.SetFocus(); w.PressEnter(); }},
      {"Alt+O", [](EditorWindow& w) { w.PressAccessKey('O'); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EditorWindow& w = Open();
    w.messageEdit.SetText("朝会");
    w.addButton.Press();
    ASSERT_TRUE(UnsavedEdits::Any());
    c.press(w);
    EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr) << "saved and closed";
    EXPECT_FALSE(UnsavedEdits::Any());
    ui::CollectRetiredForms();
  }
  // Enter in the message is a new line, not ＯＫ.
  EditorWindow& w = Open();
  w.messageEdit.SetFocus();
  w.PressEnter();
  EXPECT_NE(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_EQ(w.DefaultButton(), &w.saveAndCloseButton);
}

TEST_F(EditorSizeAndKeys, ResetAsksBeforeItThrowsTypedValuesAway) {
  const struct {
    const char* what;
    void (*type)(EditorWindow&);
    std::vector<int> answers;  // none: no question expected
    bool reset;
  } cases[] = {
      {"nothing typed", [](EditorWindow&) {}, {}, true},
      {"a row shown, nothing typed", [](EditorWindow& w) { w.alarmList.ClickRow(0); }, {}, true},
      {"a message typed, kept", [](EditorWindow& w) { w.messageEdit.SetText("資料を印刷"); }, {kAnswerCancel}, false},
      {"a message typed, let go", [](EditorWindow& w) { w.messageEdit.SetText("資料を印刷"); }, {kAnswerOk}, true},
      {"a minute typed over a row", [](EditorWindow& w) { w.alarmList.ClickRow(0); w.minuteEdit.SetText("45"); },
       {kAnswerCancel}, false},
      {"a message typed and added", [](EditorWindow& w) { w.messageEdit.SetText("資料を印刷"); w.addButton.Press(); },
       {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SaveTable({Today(7, 5)});
    EditorWindow& w = Open();
    c.type(w);
    const std::string message = w.messageEdit.Text(), minute = w.minuteEdit.Text();
    dialogs.Asked.clear();
    dialogs.MsgAnswers = {c.answers.begin(), c.answers.end()};
    w.PressAccessKey('0');
    if (c.answers.empty()) {
      EXPECT_TRUE(dialogs.Asked.empty());
    } else {
      ASSERT_EQ(dialogs.Asked.size(), 1u);
      EXPECT_EQ(dialogs.Asked[0].text, kResetQuestion);
    }
    if (c.reset) {
      EXPECT_EQ(w.messageEdit.Text(), App().prefs.message);
      EXPECT_EQ(w.CurrentEntry(), -1);
    } else {
      EXPECT_EQ(w.messageEdit.Text(), message);
      EXPECT_EQ(w.minuteEdit.Text(), minute);
    }
    dialogs.MsgAnswers = {kAnswerOk};
    w.RequestClose();
    ui::CollectRetiredForms();
  }
}

TEST_F(EditorSizeAndKeys, MinutesShowTwoDigitsButTypingIsLeftAsTyped) {
  SaveTable({Today(10, 3)});
  EditorWindow& w = Open();
  w.alarmList.ClickRow(0);
  EXPECT_EQ(w.minuteEdit.Text(), "03");
  w.minuteSpin.Step(1);
  EXPECT_EQ(w.minuteEdit.Text(), "04");
  w.minuteEdit.SetFocus();
  w.minuteEdit.SetText("");
  w.minuteEdit.Type("7");
  EXPECT_EQ(w.minuteEdit.Text(), "7");  // not "07" under the caret
  EXPECT_EQ(w.minuteSpin.Value(), 7);
  w.hourEdit.SetFocus();
  w.minuteEdit.onLostFocus();
  EXPECT_EQ(w.minuteEdit.Text(), "07");
  w.changeButton.Press();
  EXPECT_EQ(ToCivil(App().table[0].AlarmTime).minute, 7);
}

}  // namespace
}  // namespace wb::test
