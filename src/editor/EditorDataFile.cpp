// Where the data file lives, saving with OK, the guard against closing with unsaved changes,
// and the reset button.
#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "platform/Services.h"
#include "storage/TextBytes.h"
#include "storage/DataFile.h"
#include "storage/FileIo.h"
#include "storage/FileStamp.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr const char* kDataFileFilter = "データファイル|*.dat|すべてのファイル|*.*";
constexpr const char* kDataPathNotStorable =
    "データファイルのパスに、保存できない文字が含まれています\r\n別の場所のファイルを指定してください";
constexpr const char* kDataPathTooLong =
    "データファイルのパスが長すぎます\r\n短いパスの場所を指定してください";
constexpr const char* kDataPathDevice =
    "データファイルに、デバイス名は使えません\r\n別の名前を指定してください";
constexpr const char* kNotADataFile = "データファイルではありません\r\n別のファイルを指定してください";

bool PathExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(PathFromUtf8(path), error);
}

// Whether a path could name a file at all: no pattern, not a folder's name.
bool IsFileName(const std::string& path) {
  if (path.empty() || path.find_first_of("*?\"<>|") != std::string::npos) return false;
  return path.back() != '\\' && path.back() != '/';
}

// An existing regular file the data-file reader accepts.
bool IsDataFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathFromUtf8(path), error)) return false;
  // Checked at every keystroke: the header says enough, and the file may be of any size.
  return ProbeAlarmFile(path);
}

// Why a data file the user names cannot be used: the settings file could not keep its path
// (the next start would open another file), or there is a file that is no data file (OK would
// overwrite it). Nothing when it can be used.
const char* RefusalOf(const std::string& path) {
  switch (DataPathFaultOf(path)) {
    case DataPathFault::NotStorable: return kDataPathNotStorable;
    case DataPathFault::TooLong: return kDataPathTooLong;
    case DataPathFault::DeviceName: return kDataPathDevice;
    case DataPathFault::None: break;
  }
  if (PathExists(path) && !IsDataFile(path)) return kNotADataFile;
  return nullptr;
}
}  // namespace

bool EditorWindow::SwitchDataFile(const std::string& path) {
  AppState& app = App();
  // Switching re-reads the table from the new file: edits not saved yet would be gone.
  if (UnsavedEdits::Any()) {
    dialogOpen_ = true;
    int answer = Svc().dialogs->MsgBox(kUnsavedQuestion, kOkCancel | kIconExclamation, kProgramTitle);
    dialogOpen_ = false;
    if (answer == kAnswerCancel) return false;
  }
  app.dataPath = path;
  ProgramFolderSettings named;
  named.dataPath = path;
  WriteSettings(DataIniPath(path), named, named.dataPath);
  WriteSettings(ProgramIniPath(app.programFolder), named, named.dataPath);
  // The days-off file lives beside the data file: the list below shows the new folder's.
  if (host_) host_->DataFileSwitched();
  OpenEditor();
  return true;
}

// The path box shows the file in use: after a refused or cancelled switch it shows it again.
void EditorWindow::ShowDataPathInUse() {
  loading_ = true;  // not a typed change
  dataPathEdit.SetText(App().dataPath);
  loading_ = false;
  CaretToEnd(dataPathEdit);
}

void EditorWindow::OnDataPathChange() {
  if (loading_) return;
  const std::string text = dataPathEdit.Text();
  // A relative path means the program's folder, as at start-up: read against the current folder,
  // OK would save one table and the next start ring another.
  const std::string path = ResolveDataPath(App().programFolder, text);
  // Typing passes through names of no data file on its way: only a whole one switches.
  if (!IsFileName(text) || !IsDataFile(path)) return;
  dataPathTyped = true;
  if (path == App().dataPath) return;
  if (const char* refusal = RefusalOf(path)) {
    Warn(refusal, &dataPathEdit);
    ShowDataPathInUse();
    return;
  }
  int start = dataPathEdit.SelStart(), length = dataPathEdit.SelLength();
  if (!SwitchDataFile(path)) {
    ShowDataPathInUse();
    dataPathEdit.SetFocus();
    return;
  }
  // The box now shows the file in use by its full path: after a relative one, the caret goes to
  // its end; after a full one, typing goes on where it was.
  dataPathEdit.SetFocus();
  if (path != text) {
    CaretToEnd(dataPathEdit);
    return;
  }
  dataPathEdit.SetSelStart(start);
  dataPathEdit.SetSelLength(length);
}

void EditorWindow::OnDataPathGotFocus() {
  if (dataPathTyped) return;
  SelectAllText(dataPathEdit);
}

void EditorWindow::BrowseDataFile() {
  AppState& app = App();
  dialogOpen_ = true;
  // An empty box or a bare name opens in the program's folder.
  const std::string folder = FolderOf(ResolveDataPath(app.programFolder, dataPathEdit.Text()));
  std::string path = folder + "Wakebell";
  bool chosen = Svc().dialogs->OpenFileWith("Fileを開く", kDataFileFilter, path,
                                            {.createPrompt = true, .defaultExtension = "dat"});
  dialogOpen_ = false;
  if (!chosen || path == app.dataPath) return;
  // The same checks as a typed path, and one question at most about unsaved edits. A new name
  // the user agreed to create: an empty table, written by the next OK.
  if (const char* refusal = RefusalOf(path)) {
    Warn(refusal, &dataPathEdit);
    return;
  }
  if (!SwitchDataFile(path)) ShowDataPathInUse();
  CaretToEnd(dataPathEdit);
  dataPathEdit.SetFocus();
}

void EditorWindow::SaveAndClose() {
  AppState& app = App();
  currentSlot_ = -1;
  // Another PC, the tool or a backup put back may have saved meanwhile: never over it unseen.
  // Asked before the due check is held: bells ring while the question waits.
  if (!ResolveChangedFile()) return;
  // The due check must not ring from a table that is half written.
  PauseDueCheck(true);
  bool saved = SaveAlarmTable(app.dataPath, app.table);
  if (saved) {
    app.dataStamp = StampOfFile(app.dataPath);
    SavePreferences(ProgramIniPath(app.programFolder), app.prefs, app.lastEditedSlot);
    SavePreferences(DataIniPath(app.dataPath), app.prefs, app.lastEditedSlot);
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
  UnsavedEdits::Set(false);
  TheAlarm().StopTestPlay();
  Unload();
}

void EditorWindow::OnQueryUnload(int& cancel) {
  currentSlot_ = -1;
  if (!(host_ && host_->ShuttingDown()) && !AskToDiscardEdits()) {
    cancel = 1;
    return;
  }
  TheAlarm().StopTestPlay();
}

bool EditorWindow::AskToDiscardEdits() {
  if (!UnsavedEdits::Any()) return true;
  dialogOpen_ = true;
  int answer = Svc().dialogs->MsgBox(kUnsavedQuestion, kOkCancel | kIconExclamation, kProgramTitle);
  dialogOpen_ = false;
  return answer != kAnswerCancel;
}

void EditorWindow::ResetFields() {
  // Typed values are lost without a trace: the user says so first.
  if (TypedFields() != shownFields_) {
    dialogOpen_ = true;
    const int answer = Svc().dialogs->MsgBox(kResetQuestion, kOkCancel | kIconQuestion, kProgramTitle);
    dialogOpen_ = false;
    if (answer != kAnswerOk) return;
  }
  alarmList.ClearSelection();
  ResetEntryFields();
  CaretToEnd(soundFileEdit);
  RefreshList();
  FocusList();
  currentSlot_ = -1;
  // An alarm in progress puts the volumes back itself when it ends.
  if (!TheAlarm().Sounding()) {
    RestoreMidiVolume();
    RestoreWaveVolume();
  }
  ShowVolumeOnSlider(midiVolumeSlider, SavedMidiVolume());
  ShowVolumeOnSlider(waveVolumeSlider, SavedWaveVolume());
  NoteFieldsShown();
}

}  // namespace wb
