// The monitor's load: the start-up of the process, and the instance guard that runs first.
#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "monitor/MonitorWindow.h"
#include "monitor/ReadOnlyFolder.h"
#include "storage/DataFile.h"
#include "storage/FileIo.h"
#include "storage/FileStamp.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr int kRetries = 2;
constexpr int kRetryWaitMs = 1000;
constexpr int kDueCheckIntervalMs = 1000;
const std::string kUnreadableTableText = "データファイルを読み込めませんでした。\r\n\r\n";
constexpr const char* kFirstStartTitle = "Wakebell は通知領域で動いています";
constexpr const char* kFirstStartText =
    "このアイコンをダブルクリックすると、アラームの設定画面が開きます。右クリックでメニューが出ます。";
const std::string kUnreadableTableTail =
    "\r\n\r\nこのファイルに登録したアラームは鳴りません。ファイルを確認してください。";
}  // namespace

bool MonitorWindow::PassInstanceGuard() {
  App().dataPath = ReadDataPath(App().programFolder);
  const std::string dataIni = DataSettingsPath();

  // STARTFLG 1 together with a running instance: that instance is alive and owns the files.
  // Any other mismatch may be a leftover of a crash or an instance on its way out: give it
  // two seconds. An instance still running then rings the bells itself; a second one would
  // ring each of them twice, so this one ends as quietly. A flag left behind alone starts.
  bool otherRunning = Svc().instance->OtherInstanceRunning();
  StartFlag startFlag = ReadSettings<DataFolderSettings>(dataIni).startFlag;
  if (startFlag == StartFlag::Running && otherRunning) return false;
  for (int retry = 0; retry < kRetries && !(startFlag == StartFlag::Ended && !otherRunning); ++retry) {
    Svc().clock->Sleep(kRetryWaitMs);
    otherRunning = Svc().instance->OtherInstanceRunning();
    startFlag = ReadSettings<DataFolderSettings>(dataIni).startFlag;
  }
  if (otherRunning) return false;

  DataFolderSettings starting;
  starting.startFlag = StartFlag::Ended;  // let start: no other instance holds the files
  WriteSettingsToBoth(App().programFolder, App().dataPath, starting, starting.startFlag);
  return true;
}

void MonitorWindow::StartUp() {
  // No settings file beside the program yet: nobody has run it here before (the guard below
  // writes the file, so this start is the only one that finds none).
  const bool firstStart = NothingAt(ProgramSettingsPath());
  if (!PassInstanceGuard()) {
    // Ends silently: no icon, no window, nothing written.
    Unload();
    Svc().frontEnd->Quit();
    return;
  }

  AppState& app = App();
  // Asked before anything is written beside the program; said to the user at the end.
  app.programFolderWritable = !Svc().folders || Svc().folders->CanCreateFilesIn(app.programFolder);
  app.table.Clear();
  startingUp_ = true;
  app.lastEditedSlot = -1;
  paused_ = false;
  hoverActive_ = false;

  Svc().tray->SetMouseHandler([this](int mouseMessage) { OnTrayMouse(mouseMessage); });
  Svc().tray->SetShellRestartHandler([this] { OnShellRestart(); });
  AddTrayIcon(TrayIcon::App, kProgramTitle);
  Hide();
  // The program has no window of its own to show, and the icon may sit in the hidden part of
  // the notification area: a new user is told once where it runs and how to reach it.
  if (firstStart && app.programFolderWritable) Svc().tray->ShowBalloon(kFirstStartTitle, kFirstStartText);

  const std::string dataIni = DataSettingsPath();
  const DataFolderSettings settings = ReadSettings<DataFolderSettings>(dataIni);
  ShowStartMode(settings.startWithWindows);

  TakeStoredDevices(settings.prefs);
  SaveMidiVolume(DeviceFrom::Choice);
  SaveWaveVolume(DeviceFrom::Choice);

  const bool tableRead = LoadAlarmTableStamped(app.dataPath, app.table, SavedMidiVolume(), SavedWaveVolume(), app.dataStamp);
  WatchDataFile();

  // The days off first: the catch-up must not ring or list a bell that rests on one.
  LoadDaysOff(false);
  // Before the first tick: the catch-up over the time the program was not running.
  watch.Start(Svc().clock->Read(), paused_);
  cancelSnoozeItem->SetEnabled(TheAlarm().AnySnoozed());  // snoozes of the last run

  dueCheckTimer.SetEnabled(false);
  dueCheckTimer.SetInterval(kDueCheckIntervalMs);
  dueCheckTimer.SetEnabled(true);
  startingUp_ = false;
  // After the due check runs: a message about the days-off file must not hold up the bells.
  TellDaysOffReport();
  if (!tableRead) ReportUnreadableTable();

  // Last, with the icon up and the due check running: the table read rings while the message
  // waits for the user.
  if (!app.programFolderWritable) WarnProgramFolderReadOnly(app.programFolder);
}

void MonitorWindow::ReportUnreadableTable() {
  const std::string& path = App().dataPath;
  // A first start has no data file yet, and nothing to say about it; a file that is there (or
  // a folder in its place), or one the settings name, held alarms the user believes are set.
  if (NothingAt(path) && !DataPathNamed(App().programFolder)) return;
  LogHistory(HistoryEvent::TableUnreadable, 0, path);
  Svc().dialogs->MsgBox(kUnreadableTableText + path + kUnreadableTableTail, kOkOnly | kIconExclamation, kProgramTitle);
}

}  // namespace wb
