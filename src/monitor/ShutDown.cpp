// The monitor's ShutDown: the orderly end started by 終了, by a close request to the monitor
// and by Windows ending the session.
#include "about/AboutBox.h"
#include "alert/Alarm.h"
#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "audio/Volume.h"
#include "audio/DeviceDialog.h"
#include "editor/EditorWindow.h"
#include "model/SoundFlag.h"
#include "monitor/HistoryWindow.h"
#include "monitor/MissedNoticeWindow.h"
#include "monitor/MonitorWindow.h"
#include "storage/Settings.h"

namespace wb {

// The end would unload the editor without its question and lose what was not saved: the
// editor asks first, and キャンセル keeps the program and the editor as they were.
void MonitorWindow::OnExitClick() {
  if (EditorWindow* editor = ui::FormIfLoaded<EditorWindow>(); editor && !editor->AskToDiscardEdits()) {
    if (editor->Visible()) BringToForeground(*editor);
    return;
  }
  ShutDown();
}

void MonitorWindow::ShutDown() {
  // Once only. The shell calls on the way out let Windows deliver its messages, the end of the
  // session among them; and after the end there is nothing left to put in order.
  if (!Loaded() || shuttingDown_) return;
  shuttingDown_ = true;

  // The alarm's sound and the editor's test go with the program; every volume goes back.
  TheAlarm().ShutDown();
  // The table is still there: its handled bells go into the state file.
  watch.End(Svc().clock->Read());
  if (Svc().power) Svc().power->SetEventHandler(nullptr);
  DeleteTrayIcon();
  DataFolderSettings ended;
  ended.startFlag = StartFlag::Ended;
  WriteSettingsToBoth(App().programFolder, App().dataPath, ended, ended.startFlag);
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
  if (MissedNoticeWindow* notice = ui::FormIfLoaded<MissedNoticeWindow>()) notice->Unload();
  if (HistoryWindow* history = ui::FormIfLoaded<HistoryWindow>()) history->Unload();
  Unload();

  shuttingDown_ = false;
  // With no window left the process ends.
  Svc().frontEnd->Quit();
}

}  // namespace wb
