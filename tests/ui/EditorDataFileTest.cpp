// Saving with OK, the close guard, the data file's location and the reset button.
#include "EditorFixture.h"
#include <fstream>

#include "app_state/AppState.h"

namespace wb::test {
namespace {

using EditorDataFile = EditorTest;

// Adds a daily 07:00 entry through the fields.
void AddDaily(EditorWindow& w) {
  w.dailyOption.SetValue(true);
  w.hourEdit.SetText("7");
  w.minuteEdit.SetText("0");
  w.addButton.Press();
}

TEST_F(EditorDataFile, OkSavesTheTableAndWritesSettingsOnlyAfterAnEdit) {
  const std::string dataPath = MoveDataFolder();
  EditorWindow& first = Open();
  // DATAPATH names a file not there yet: the start-up said so once; OK asks nothing more.
  EXPECT_EQ(dialogs.Asked.size(), 1u);
  dialogs.Asked.clear();
  first.saveAndCloseButton.Press();
  EXPECT_TRUE(FileExists(dataPath));
  EXPECT_EQ(Setting(ProgramIni(), "MESSAGE"), "<none>");  // nothing committed since start-up
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);

  EditorWindow& w = Open();
  AddDaily(w);
  w.saveAndCloseButton.Press();
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  AlarmTable stored;
  ASSERT_TRUE(ReadAlarmFile(dataPath, stored, 0, 0));
  EXPECT_EQ(stored.EntryCount(), 1);
  EXPECT_EQ(Setting(ProgramIni(), "PREFLAG"), "0");
  EXPECT_EQ(Setting(DataIniPath(dataPath), "PREFLAG"), "0");
  EXPECT_FALSE(UnsavedEdits::Any());
  EXPECT_EQ(w.CurrentEntry(), -1);
  EXPECT_TRUE(ui::TheForm<MonitorWindow>().dueCheckTimer.Running());
  EXPECT_TRUE(dialogs.Asked.empty());
}

TEST_F(EditorDataFile, AFailedSaveKeepsTheWindowOpenAndSaysWhere) {
  EditorWindow& w = Open();
  AddDaily(w);
  // A folder where the data file should be: nothing can be written there.
  std::filesystem::create_directories(DefaultDataPath());
  w.saveAndCloseButton.Press();
  ASSERT_NE(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_NE(LastMessage().find("データファイルを保存できませんでした"), std::string::npos);
  EXPECT_NE(LastMessage().find(DefaultDataPath()), std::string::npos);
  EXPECT_TRUE(UnsavedEdits::Any());
  EXPECT_EQ(App().table.EntryCount(), 1);
  EXPECT_TRUE(ui::TheForm<MonitorWindow>().dueCheckTimer.Running());
  EXPECT_EQ(Setting(ProgramIni(), "PREFLAG"), "<none>");
}

TEST_F(EditorDataFile, ClosingWithUnsavedEditsAsksFirst) {
  EditorWindow& w = Open();
  AddDaily(w);
  dialogs.MsgAnswers = {kAnswerCancel};
  w.RequestClose();
  ASSERT_NE(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_EQ(LastMessage(), "データ変更されています。\r\nキャンセルしてもよろしいですか？");
  EXPECT_EQ(dialogs.Asked.back().style, kOkCancel | kIconExclamation);
  EXPECT_EQ(App().table.EntryCount(), 1);
  w.RequestClose();  // OK this time: closes, the file stays as it was
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_FALSE(FileExists(DefaultDataPath()));
  EXPECT_EQ(App().table.EntryCount(), 1);  // the monitor keeps ringing the edit until reloaded
  EXPECT_EQ(Start().Editor().alarmList.ListCount(), 0);
}

// Windows ending the session waits for no question (終了 asks: KeyboardTest).
TEST_F(EditorDataFile, TheEndOfTheSessionWithUnsavedEditsAsksNothing) {
  EditorWindow& w = Open();
  AddDaily(w);
  dialogs.Asked.clear();
  frontEnd.EndSession();
  EXPECT_TRUE(dialogs.Asked.empty());
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
}

TEST_F(EditorDataFile, TypingThePathOfAnotherDataFileSwitchesToIt) {
  std::filesystem::create_directories(dir / "other");
  const std::string other = (dir / "other" / "alarms.dat").string();
  SaveTable({Daily(7, 0), Daily(8, 0)}, other);
  EditorWindow& w = Open();
  ASSERT_EQ(w.alarmList.ListCount(), 0);
  // Not data files: a folder, a pattern, a file that does not exist.
  for (std::string text : {(dir / "other").string() + "/", (dir / "other" / "*.dat").string(),
                           (dir / "other" / "alarm").string(), (dir / "other").string()}) {
    w.dataPathEdit.SetText(text);
    EXPECT_EQ(App().dataPath, DefaultDataPath()) << text;
  }
  w.dataPathEdit.SetFocus();
  w.dataPathEdit.SetText(other.substr(0, other.size() - 1));
  w.dataPathEdit.SetSelStart(int(other.size()) - 1);
  w.dataPathEdit.Type("t");
  EXPECT_EQ(App().dataPath, other);
  EXPECT_EQ(w.alarmList.ListCount(), 2);
  EXPECT_EQ(w.dataPathEdit.SelStart(), int(other.size()));
  EXPECT_EQ(Setting(ProgramIni(), "DATAPATH"), other);
  EXPECT_EQ(Setting(DataIniPath(other), "DATAPATH"), other);
}

// The days-off file lives beside the data file: after a switch the new folder's days count,
// and the old folder's no longer do.
TEST_F(EditorDataFile, SwitchingTakesTheDaysOffOfTheNewFolder) {
  std::filesystem::create_directories(dir / "other");
  const std::string other = (dir / "other" / "alarms.dat").string();
  SaveTable({Daily(7, 0)}, other);
  std::ofstream(dir / "WakebellDaysOff.txt") << "2026/12/08 old\n";
  std::ofstream(dir / "other" / "WakebellDaysOff.txt") << "2026/12/09 new\n";
  EditorWindow& w = Open();
  const int64_t dec8 = DayOf(MakeDate(2026, 12, 8)), dec9 = DayOf(MakeDate(2026, 12, 9));
  ASSERT_TRUE(ui::TheForm<MonitorWindow>().DaysOffInUse().IsDayOff(dec8));
  w.dataPathEdit.SetText(other);
  ASSERT_EQ(App().dataPath, other);
  EXPECT_FALSE(ui::TheForm<MonitorWindow>().DaysOffInUse().IsDayOff(dec8));
  EXPECT_TRUE(ui::TheForm<MonitorWindow>().DaysOffInUse().IsDayOff(dec9));
}

// A relative path means the program's folder, as DATAPATH does at start-up, whatever the
// current folder is: the box then shows the full path, and OK saves where the next start reads.
TEST_F(EditorDataFile, ATypedRelativePathMeansTheProgramFolder) {
  std::filesystem::create_directories(dir / "other");
  std::filesystem::create_directories(dir / "elsewhere" / "other");
  const std::string other = (dir / "other" / "alarms.dat").string();
  const std::string decoy = (dir / "elsewhere" / "other" / "alarms.dat").string();
  SaveTable({Daily(8, 0), Daily(9, 0)}, other);
  SaveTable({Daily(10, 0)}, decoy);
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir / "elsewhere");
  EditorWindow& w = Open();
  w.dataPathEdit.SetFocus();
  w.dataPathEdit.SetText("other/alarms.dat");
  std::filesystem::current_path(before);
  EXPECT_EQ(App().dataPath, other);
  EXPECT_EQ(w.dataPathEdit.Text(), other);
  EXPECT_EQ(w.dataPathEdit.SelStart(), int(other.size()));
  EXPECT_EQ(w.alarmList.ListCount(), 2);
  EXPECT_EQ(Setting(ProgramIni(), "DATAPATH"), other);
  AddDaily(w);
  w.saveAndCloseButton.Press();
  AlarmTable stored;
  ASSERT_TRUE(ReadAlarmFile(other, stored, 0, 0));
  EXPECT_EQ(stored.EntryCount(), 3);
  ASSERT_TRUE(ReadAlarmFile(decoy, stored, 0, 0));
  EXPECT_EQ(stored.EntryCount(), 1);
}

TEST_F(EditorDataFile, SwitchingAsksBeforeDroppingUnsavedEdits) {
  const std::string other = (dir / "alarms.dat").string();
  SaveTable({Daily(8, 0)}, other);
  EditorWindow& w = Open();
  AddDaily(w);
  dialogs.MsgAnswers = {kAnswerCancel};
  w.dataPathEdit.SetText(other);
  EXPECT_EQ(LastMessage(), "データ変更されています。\r\nキャンセルしてもよろしいですか？");
  EXPECT_EQ(App().dataPath, DefaultDataPath());
  EXPECT_EQ(App().table.EntryCount(), 1);
  EXPECT_EQ(FormatHourMinute(App().table[0].AlarmTime), "07:00");
}

TEST_F(EditorDataFile, BrowsingToANewNameSwitchesToAnEmptyTable) {
  SaveTable({Daily(8, 0)});
  EditorWindow& w = Open();
  const std::string fresh = (dir / "new.dat").string();
  dialogs.OpenAnswers = {fresh};
  w.browseDataFileButton.Press();
  EXPECT_EQ(dialogs.Asked.back().text, "Fileを開く");
  EXPECT_EQ(App().dataPath, fresh);
  EXPECT_EQ(App().table.EntryCount(), 0);
  EXPECT_FALSE(FileExists(fresh));  // made by the next OK
  dialogs.OpenAnswers = {""};       // cancelled: nothing changes
  w.browseDataFileButton.Press();
  EXPECT_EQ(App().dataPath, fresh);
  EXPECT_FALSE(w.ActiveGuards().dialogOpen);
}

// A browsed path passes the checks a typed one gets, with the same messages; a refused one
// changes nothing: the file in use, its name in the box, DATAPATH.
TEST_F(EditorDataFile, ABrowsedPathTheSettingsCannotKeepOrThatIsNoDataFileIsRefused) {
  std::string deep = (dir / "").string();
  for (int i = 0; i < 154; ++i) deep += "日";
  std::filesystem::create_directories(dir / "notes");
  const std::string text = (dir / "notes" / "memo.dat").string();
  { std::ofstream(PathFromUtf8(text)) << "not a table"; }
  const struct {
    const char* name;
    std::string path;
    const char* message;
  } cases[] = {
      {"no code page 932 code", (dir / "Café😀" / "alarms.dat").string(),
       "データファイルのパスに、保存できない文字が含まれています\r\n別の場所のファイルを指定してください"},
      {"longer than a settings read", deep + ".dat", "データファイルのパスが長すぎます\r\n短いパスの場所を指定してください"},
      {"a device", (dir / "NUL.dat").string(), "データファイルに、デバイス名は使えません\r\n別の名前を指定してください"},
      {"a file that is no data file", text, "データファイルではありません\r\n別のファイルを指定してください"},
  };
  SaveTable({Daily(8, 0)});
  EditorWindow& w = Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.OpenAnswers = {c.path};
    w.browseDataFileButton.Press();
    EXPECT_EQ(LastMessage(), c.message);
    EXPECT_EQ(App().dataPath, DefaultDataPath());
    EXPECT_EQ(w.dataPathEdit.Text(), DefaultDataPath());
    EXPECT_EQ(App().table.EntryCount(), 1);
    EXPECT_EQ(Setting(ProgramIni(), "DATAPATH"), "<none>");
  }
  std::ifstream kept(PathFromUtf8(text));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "not a table");
}

// A typed path to a data file the settings file could not name again is refused with the
// browse's message; the box shows the file in use again.
TEST_F(EditorDataFile, ATypedPathTooLongForTheSettingsIsRefused) {
  std::string part;
  for (int i = 0; i < 50; ++i) part += "日";
  const std::filesystem::path deep = dir / part / part / part;
  std::filesystem::create_directories(deep);
  const std::string other = (deep / "a.dat").string();  // over 300 bytes in code page 932
  SaveTable({Daily(8, 0), Daily(9, 0)}, other);
  EditorWindow& w = Open();
  w.dataPathEdit.SetText(other);
  EXPECT_EQ(LastMessage(), "データファイルのパスが長すぎます\r\n短いパスの場所を指定してください");
  EXPECT_EQ(App().dataPath, DefaultDataPath());
  EXPECT_EQ(w.dataPathEdit.Text(), DefaultDataPath());
  EXPECT_EQ(Setting(ProgramIni(), "DATAPATH"), "<none>");
}

// With unsaved edits a switch asks once, however the path came; Cancel keeps the file in use,
// and the box names it.
TEST_F(EditorDataFile, CancellingASwitchAsksOnceAndShowsTheFileInUse) {
  const std::string other = (dir / "alarms.dat").string();
  SaveTable({Daily(8, 0)}, other);
  for (bool browsed : {true, false}) {
    SCOPED_TRACE(browsed ? "browsed" : "typed");
    EditorWindow& w = Open();
    AddDaily(w);
    dialogs.Asked.clear();
    dialogs.MsgAnswers = {kAnswerCancel, kAnswerCancel};
    if (browsed) {
      dialogs.OpenAnswers = {other};
      w.browseDataFileButton.Press();
    } else {
      w.dataPathEdit.SetText(other);
    }
    EXPECT_EQ(dialogs.CountMsgBoxes(kUnsavedQuestion), 1);
    EXPECT_EQ(App().dataPath, DefaultDataPath());
    EXPECT_EQ(w.dataPathEdit.Text(), DefaultDataPath());
    EXPECT_EQ(App().table.EntryCount(), 1);
    dialogs.MsgAnswers = {kAnswerOk};  // the edits may go
    w.RequestClose();
    App().table = AlarmTable();
  }
}

TEST_F(EditorDataFile, ResetPutsTheFieldsBackWithoutTouchingTheTable) {
  SaveTable({Daily(7, 0)});
  EditorWindow& w = Open();
  w.alarmList.ClickRow(0);
  EXPECT_TRUE(w.dailyOption.Value());
  w.hourEdit.SetFocus();
  w.hourEdit.SetText("");
  dialogs.Asked.clear();
  // Pressing the button takes the focus from the hour box; its check lets this one pass, and
  // the one question is whether the typed values may go.
  dialogs.MsgAnswers = {kAnswerOk};
  w.resetFieldsButton.RaiseMouseDown(1);
  w.hourEdit.onLostFocus();
  w.resetFieldsButton.Press();
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(dialogs.Asked[0].text, kResetQuestion);
  EXPECT_TRUE(w.onceOption.Value());
  EXPECT_EQ(w.hourEdit.Text(), "6");
  EXPECT_TRUE(SelectedRows(w).empty());
  EXPECT_EQ(w.CurrentEntry(), -1);
  EXPECT_EQ(App().table.EntryCount(), 1);
  EXPECT_FALSE(UnsavedEdits::Any());
}

}  // namespace
}  // namespace wb::test
