#include "monitor/MonitorWindow.h"


#include "about/AboutBox.h"
#include "alert/Alert.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "editor/EditorWindow.h"
#include "model/DueCheck.h"
#include "storage/Settings.h"

namespace wb {

MonitorWindow::MonitorWindow() : ui::Form("MonitorWindow", kProgramTitle, 3000, 2000) {
  editItem = &trayMenu.Add("editItem", "編集");
  startupMenu = &trayMenu.Add("startupMenu", "スタートアップ");
  registerStartupItem = &startupMenu->Add("registerStartupItem", "登録");
  removeStartupItem = &startupMenu->Add("removeStartupItem", "削除");
  trayMenu.Add("separator1", "-");
  pauseItem = &trayMenu.Add("pauseItem", "一時停止");
  trayMenu.Add("separator2", "-");
  aboutItem = &trayMenu.Add("aboutItem", "バージョン情報");
  trayMenu.Add("separator3", "-");
  exitItem = &trayMenu.Add("exitItem", "終了");
  trayMenu.SetVisible(false);  // a pop-up only, never a menu bar

  onLoad = [this] { StartUp(); };
  // Unloading ends the process's timers: nothing may tick after the monitor is gone.
  onUnload = [this] {
    dueCheckTimer.SetEnabled(false);
    hoverTimer.SetEnabled(false);
    StopAlarmTimers();
  };
  // A close request (an end task without force) would otherwise unload the hidden window
  // and leave the process running with no window at all, still holding the instance guard;
  // it ends the program as 終了 does, which unloads the window in its own order.
  onQueryUnload = [this](int& cancel, ui::UnloadMode mode) {
    if (mode == ui::UnloadMode::Code) return;
    cancel = 1;
    ShutDown();
  };
  // Windows ends the process right after the session: an alarm sounding then must not leave
  // the devices at its volumes, nor the flag or the icon behind.
  onSessionEnd = [this] { ShutDown(); };
  dueCheckTimer.onTick = [this] { OnDueCheckTick(); };
  hoverTimer.onTick = [this] { OnHoverTick(); };
  editItem->onClick = [this] { OpenEditor(); };
  registerStartupItem->onClick = [this] { RegisterStartupShortcut(); };
  removeStartupItem->onClick = [this] { RemoveStartupShortcut(); };
  pauseItem->onClick = [this] { TogglePause(); };
  aboutItem->onClick = [this] { ShowAboutBox(); };
  exitItem->onClick = [this] { ShutDown(); };
  WireAppHooks();
}

MonitorWindow::~MonitorWindow() { App().hooks = {}; }

// The calls that run against the include order, wired once, as the process starts.
void MonitorWindow::WireAppHooks() {
  AppHooks& hooks = App().hooks;
  // The editor's OK holds the due check while it writes the table, then restarts it with a
  // full second to the next tick.
  hooks.pauseDueCheck = [this](bool paused) {
    dueCheckTimer.SetEnabled(false);
    if (paused) return;
    dueCheckTimer.SetInterval(1000);
    dueCheckTimer.SetEnabled(true);
  };
  // The volumes are for the devices the editor's lists select, while it is open.
  hooks.editorMidiDevice = [] {
    const EditorWindow* editor = ui::FormIfLoaded<EditorWindow>();
    return editor ? editor->SelectedMidiDevice() : std::nullopt;
  };
  hooks.editorWaveDevice = [] {
    const EditorWindow* editor = ui::FormIfLoaded<EditorWindow>();
    return editor ? editor->SelectedWaveDevice() : std::nullopt;
  };
}

void MonitorWindow::OnDueCheckTick() {
  if (App().monitor.paused) return;
  const OleDate now = Svc().clock->Now();
  App().nextBellTime = 0;  // the tip refresh finds it again when it is wanted
  const DueResult due = RunDueCheck(App().table, now);
  if (due.slot == -1) return;
  // A pre-bell falling due together with the main bell is shown as the main bell.
  PresentAlarm(due.slot, due.main, FormatHourMinute(now));
  // The fired-at marks the due check set show in an open editor's list.
  RefreshListIfLoaded();
}

void MonitorWindow::BringToForeground(ui::Form& form) { Svc().foreground->BringToForeground(form); }

void MonitorWindow::OpenEditor() {
  // A click on the icon just before must not dismiss an alarm now: the user asked for the editor.
  TheAlarmTimers().singleClickTimer.SetEnabled(false);
  EditorWindow& editor = ui::TheForm<EditorWindow>();
  BringToForeground(editor);
  editor.Show();
}

void MonitorWindow::ShowAboutBox() { ui::TheForm<AboutBox>().Show(); }

std::string ProgramSettingsPath() { return ProgramIniPath(App().programFolder); }
std::string DataSettingsPath() { return DataIniPath(App().dataPath); }

}  // namespace wb
