// The monitor's ShutDown: the orderly end started by 終了, by a close request to the monitor
// and by Windows ending the session.
#include "about/AboutBox.h"
#include "alert/Alert.h"
#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "audio/Volume.h"
#include "audio/DeviceDialog.h"
#include "editor/EditorWindow.h"
#include "model/SoundFlag.h"
#include "monitor/MonitorWindow.h"
#include "storage/Settings.h"

namespace wb {

void MonitorWindow::ShutDown() {
  MonitorState& monitor = App().monitor;
  // Once only. The shell calls on the way out let Windows deliver its messages, the end of the
  // session among them; and after the end there is nothing left to put in order.
  if (!Loaded() || monitor.shuttingDown) return;
  monitor.shuttingDown = true;

  if (App().alarm.activeIndex != -1 && AlarmPlaysSound(ActiveEntry().SoundFlag)) ShutDownSoundRule();
  App().alarm.testPlaying = false;
  RestoreMidiVolume();
  RestoreWaveVolume();

  DeleteTrayIcon();
  WriteStartFlag(false, ProgramSettingsPath());
  WriteStartFlag(false, DataSettingsPath());
  App().table.Clear();

  // Only windows that exist: touching one now would create it, and the editor's load would
  // read the data file again on the way out.
  EditorWindow* editor = ui::FormIfLoaded<EditorWindow>();
  AlarmWindow* alarm = ui::FormIfLoaded<AlarmWindow>();
  AboutBox* about = ui::FormIfLoaded<AboutBox>();
  if (editor) editor->Hide();
  if (alarm) alarm->Hide();
  if (about) about->Hide();
  Hide();
  if (editor) editor->Unload();
  if (alarm) alarm->Unload();
  if (about) about->Unload();
  if (DeviceDialog* devices = ui::FormIfLoaded<DeviceDialog>()) devices->Unload();
  Unload();

  monitor.shuttingDown = false;
  // With no window left the process ends.
  Svc().frontEnd->Quit();
}

}  // namespace wb
