// Where the data file lives, saving with OK, the guard against closing with unsaved changes,
// and the reset button.
#include "alert/Alert.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "platform/Services.h"
#include "storage/TextBytes.h"
#include "storage/DataFile.h"
#include "storage/FileIo.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr const char* kDataFileFilter = "データファイル|*.dat|すべてのファイル|*.*";

// A typed path switches only to something that can be the data file: an existing regular
// file the data-file reader accepts, and a path the settings file can store.
bool IsDataFileToSwitchTo(const std::string& path) {
  if (path.empty() || path.find_first_of("*?\"<>|") != std::string::npos) return false;
  if (path.back() == '\\' || path.back() == '/') return false;
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathFromUtf8(path), error)) return false;
  bool lossless = true;
  StorageCodec().ToCp932(path, &lossless);
  if (!lossless) return false;
  AlarmTable probe;
  return ReadAlarmFile(path, probe, 0, 0);
}
}  // namespace

bool EditorWindow::SwitchDataFile(const std::string& path) {
  AppState& app = App();
  // Switching re-reads the table from the new file: edits not saved yet would be gone.
  if (app.editor.dataChanged) {
    app.editor.dialogOpen = true;
    int answer = Svc().dialogs->MsgBox(kUnsavedQuestion, kOkCancel | kIconExclamation, kProgramTitle);
    app.editor.dialogOpen = false;
    if (answer == kAnswerCancel) return false;
  }
  app.dataPath = path;
  WriteDataPath(DataIniPath(path), path);
  WriteDataPath(ProgramIniPath(app.programFolder), path);
  OpenEditor();
  return true;
}

void EditorWindow::OnDataPathChange() {
  if (App().editor.editorLoading) return;
  const std::string text = dataPathEdit.Text();
  if (!IsDataFileToSwitchTo(text)) return;
  dataPathTyped = true;
  if (text == App().dataPath) return;
  int start = dataPathEdit.SelStart(), length = dataPathEdit.SelLength();
  SwitchDataFile(text);
  dataPathEdit.SetFocus();
  dataPathEdit.SetSelStart(start);
  dataPathEdit.SetSelLength(length);
}

void EditorWindow::OnDataPathGotFocus() {
  if (dataPathTyped) return;
  SelectAllText(dataPathEdit);
}

void EditorWindow::BrowseDataFile() {
  AppState& app = App();
  app.editor.dialogOpen = true;
  std::string folder = FolderOf(dataPathEdit.Text());
  if (folder.empty() || dataPathEdit.Text().find_first_not_of(' ') == std::string::npos)
    folder = app.programFolder;
  std::string path = folder + "Wakebell";
  bool chosen = Svc().dialogs->OpenFileWith("Fileを開く", kDataFileFilter, path,
                                            {.createPrompt = true, .defaultExtension = "dat"});
  if (chosen) {
    dataPathEdit.SetText(path);
    CaretToEnd(dataPathEdit);
    dataPathEdit.SetFocus();
    // A new name the user agreed to create: an empty table, written by the next OK.
    if (dataPathEdit.Text() != app.dataPath) SwitchDataFile(dataPathEdit.Text());
  }
  app.editor.dialogOpen = false;
}

void EditorWindow::SaveAndClose() {
  AppState& app = App();
  app.editor.currentIndex = -1;
  // The due check must not ring from a table that is half written.
  PauseDueCheck(true);
  bool saved = SaveAlarmTable(app.dataPath, app.table);
  if (saved) {
    SavePreferences(ProgramIniPath(app.programFolder), app.prefs, app.lastEditedIndex);
    SavePreferences(DataIniPath(app.dataPath), app.prefs, app.lastEditedIndex);
  }
  PauseDueCheck(false);
  if (!saved) {
    // Closing now would lose the day's edits without a word: stay open so another place can
    // be chosen.
    Warn("データファイルを保存できませんでした\r\n" + app.dataPath +
             "\r\n保存先を確認してから、もう一度ＯＫを押してください",
         &dataPathEdit);
    return;
  }
  app.editor.dataChanged = false;
  StopTestPlay();
  Unload();
}

void EditorWindow::OnQueryUnload(int& cancel) {
  AppState& app = App();
  app.editor.currentIndex = -1;
  if (app.editor.dataChanged && !app.monitor.shuttingDown) {
    app.editor.dialogOpen = true;
    int answer = Svc().dialogs->MsgBox(kUnsavedQuestion, kOkCancel | kIconExclamation, kProgramTitle);
    app.editor.dialogOpen = false;
    if (answer == kAnswerCancel) {
      cancel = 1;
      return;
    }
  }
  StopTestPlay();
}

void EditorWindow::ResetFields() {
  AppState& app = App();
  alarmList.ClearSelection();
  ResetEntryFields();
  CaretToEnd(soundFileEdit);
  RefreshList();
  FocusList();
  app.editor.currentIndex = -1;
  // An alarm in progress puts the volumes back itself when it ends.
  if (!app.alarm.sounding) {
    RestoreMidiVolume();
    RestoreWaveVolume();
  }
  ShowVolumeOnSlider(midiVolumeSlider, app.audio.savedMidiVolume);
  ShowVolumeOnSlider(waveVolumeSlider, app.audio.savedWaveVolume);
}

}  // namespace wb
