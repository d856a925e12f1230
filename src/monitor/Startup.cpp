// Form3's load: the start-up of the process, and the instance guard that runs first.
#include "audio/Volume.h"
#include "monitor/Form3.h"
#include "monitor/Globals.h"
#include "storage/DataFile.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr int kRetries = 2;
constexpr int kRetryWaitMs = 1000;
}  // namespace

bool Form3::CheckSingleStart() {
  G().DataPath = ReadDataPath(G().ProgramFolder);
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

void Form3::Form_Load() {
  if (!CheckSingleStart()) {
    // Ends silently: no icon, no window, nothing written.
    Unload();
    Svc().frontEnd->Quit();
    return;
  }

  AppState& g = G();
  g.Table.Clear();
  g.Mon.StartingUp = true;
  g.LastEditedIndex = -1;
  g.Mon.ActiveIndex = -1;
  g.Mon.SoundKind = 0;
  g.Mon.AlarmSounding = false;
  g.Ed.DataChanged = false;
  g.Mon.Paused = false;
  g.Ed.CurrentIndex = -1;
  g.Mon.HoverActive = false;

  Picture1.SetVisible(false);
  Svc().tray->SetMouseHandler([this](int mouseMessage) { Picture1_MouseMove(mouseMessage); });
  Svc().tray->SetShellRestartHandler([this] { ShellRestarted(); });
  AddTrayIcon(TrayIcon::App, kTrayTitle);
  Hide();

  const std::string dataIni = DataSettingsPath();
  ShowStartMode(ReadStartMode(dataIni));

  ReadDeviceNames(dataIni, g.Audio.MidiDeviceName, g.Audio.WaveDeviceName);
  SaveMidiVolume();
  SaveWaveVolume();

  LoadAlarmTable(g.DataPath, g.Table, g.Audio.SavedMidiVolume, g.Audio.SavedWaveVolume);

  Timer1.SetEnabled(false);
  Timer1.SetInterval(1000);
  Timer1.SetEnabled(true);
  g.Mon.StartingUp = false;
}

}  // namespace wb
