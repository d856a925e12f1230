// The monitor's load: the start-up of the process, and the instance guard that runs first.
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "monitor/MonitorWindow.h"
#include "monitor/ReadOnlyFolder.h"
#include "storage/DataFile.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr int kRetries = 2;
constexpr int kRetryWaitMs = 1000;
constexpr int kDueCheckIntervalMs = 1000;
}  // namespace

bool MonitorWindow::PassInstanceGuard() {
  App().dataPath = ReadDataPath(App().programFolder);
  const std::string dataIni = DataSettingsPath();

  // STARTFLG 1 together with a running instance: that instance is alive and owns the files.
  // Any other mismatch may be a leftover of a crash or an instance on its way out: give it
  // two seconds, then start all the same.
  bool otherRunning = Svc().instance->OtherInstanceRunning();
  int startFlag = ReadStartFlag(dataIni);
  if (startFlag == 1 && otherRunning) return false;
  for (int retry = 0; retry < kRetries && !(startFlag == 0 && !otherRunning); ++retry) {
    Svc().clock->Sleep(kRetryWaitMs);
    otherRunning = Svc().instance->OtherInstanceRunning();
    startFlag = ReadStartFlag(dataIni);
  }

  WriteStartFlag(false, ProgramSettingsPath());
  WriteStartFlag(false, dataIni);
  return true;
}

void MonitorWindow::StartUp() {
  if (!PassInstanceGuard()) {
    // Ends silently: no icon, no window, nothing written.
    Unload();
    Svc().frontEnd->Quit();
    return;
  }

  AppState& app = App();
  app.table.Clear();
  app.monitor.startingUp = true;
  app.lastEditedIndex = -1;
  app.alarm.activeIndex = -1;
  app.alarm.soundKind = SoundKind::None;
  app.alarm.sounding = false;
  app.editor.dataChanged = false;
  app.monitor.paused = false;
  app.editor.currentIndex = -1;
  app.monitor.hoverActive = false;

  Svc().tray->SetMouseHandler([this](int mouseMessage) { OnTrayMouse(mouseMessage); });
  Svc().tray->SetShellRestartHandler([this] { OnShellRestart(); });
  AddTrayIcon(TrayIcon::App, kProgramTitle);
  Hide();

  const std::string dataIni = DataSettingsPath();
  ShowStartMode(ReadStartMode(dataIni));

  ReadDeviceNames(dataIni, app.audio.midiDeviceName, app.audio.waveDeviceName);
  SaveMidiVolume();
  SaveWaveVolume();

  LoadAlarmTable(app.dataPath, app.table, app.audio.savedMidiVolume, app.audio.savedWaveVolume);

  dueCheckTimer.SetEnabled(false);
  dueCheckTimer.SetInterval(kDueCheckIntervalMs);
  dueCheckTimer.SetEnabled(true);
  app.monitor.startingUp = false;

  // Last, with the icon up and the due check running: the table read rings while the message
  // waits for the user.
  WarnIfProgramFolderReadOnly(app.programFolder);
}

}  // namespace wb
