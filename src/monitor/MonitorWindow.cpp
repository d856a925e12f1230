#include "monitor/MonitorWindow.h"

#include "about/AboutBox.h"
#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "app_state/ProgramTitle.h"
#include "audio/DeviceDialog.h"
#include "editor/EditorWindow.h"
#include "model/DueCheck.h"
#include "monitor/HistoryWindow.h"
#include "storage/Settings.h"

namespace wb {

MonitorWindow::MonitorWindow() : ui::Form("MonitorWindow", kProgramTitle, 3000, 2000) {
  editItem = &trayMenu.Add("editItem", "編集");
  startupMenu = &trayMenu.Add("startupMenu", "スタートアップ");
  registerStartupItem = &startupMenu->Add("registerStartupItem", "登録");
  removeStartupItem = &startupMenu->Add("removeStartupItem", "削除");
  trayMenu.Add("separator1", "-");
  pauseItem = &trayMenu.Add("pauseItem", "一時停止");
  cancelSnoozeItem = &trayMenu.Add("cancelSnoozeItem", "スヌーズを解除");
  cancelSnoozeItem->SetEnabled(false);  // nothing is snoozed yet
  trayMenu.Add("separator2", "-");
  historyItem = &trayMenu.Add("historyItem", "履歴");
  aboutItem = &trayMenu.Add("aboutItem", "バージョン情報");
  trayMenu.Add("separator3", "-");
  exitItem = &trayMenu.Add("exitItem", "終了");
  trayMenu.SetVisible(false);  // a pop-up only, never a menu bar

  onLoad = [this] { StartUp(); };
  // Unloading ends the process's timers: nothing may tick after the monitor is gone.
  onUnload = [this] {
    dueCheckTimer.SetEnabled(false);
    hoverTimer.SetEnabled(false);
    TheAlarm().StopTimers();
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
  historyItem->onClick = [this] { ShowHistory(); };
  cancelSnoozeItem->onClick = [] { TheAlarm().CancelAllSnoozes(); };
  aboutItem->onClick = [this] { ShowAboutBox(); };
  exitItem->onClick = [this] { OnExitClick(); };
  // The alarm is made here, told of its snooze changes by this window (SnoozeObserver).
  MakeAlarm(this);
  // Sleep, resume and clock changes, heard by the power service's top-level window.
  if (Svc().power) Svc().power->SetEventHandler([this](PowerEvent event) { OnPowerEvent(event); });
}

MonitorWindow::~MonitorWindow() {
  ForgetAlarm();  // it would tell a monitor that is gone
  if (Svc().power) Svc().power->SetEventHandler(nullptr);
}

void MonitorWindow::SnoozesChanged() {
  cancelSnoozeItem->SetEnabled(TheAlarm().AnySnoozed());
  if (Loaded()) watch.SnoozesChanged(Svc().clock->Read(), paused_);
}

// The editor's OK holds the due check while it writes the table, then restarts it with a full
// second to the next tick.
void MonitorWindow::PauseDueCheck(bool paused) {
  dueCheckTimer.SetEnabled(false);
  if (paused) return;
  dueCheckTimer.SetInterval(1000);
  dueCheckTimer.SetEnabled(true);
  // The table was written anew: the wake timer follows its next bell.
  watch.Rearm(Svc().clock->Read(), paused_);
}

void MonitorWindow::DataFileSwitched() {
  LoadDaysOff();
  WatchDataFile();
  watch.Rearm(Svc().clock->Read(), paused_);
}

EditorWindow& MonitorWindow::Editor() { return ui::TheForm<EditorWindow>(static_cast<EditorHost*>(this)); }

void MonitorWindow::OnDueCheckTick() {
  // One reading of the clock for the whole tick.
  const Moment now = Svc().clock->Read();
  // Once a minute, and before the catch-up of a gap, the days-off file is looked at.
  if (now.LocalMinute() != daysOffCheckMinute_) LookAtDaysOffFile(now);
  // One comparison with the previous tick; the catch-up runs only after a gap.
  watch.Tick(now, paused_);
  // Before the due check: an entry another PC added rings from the table it is in.
  CheckDataFile(now);
  if (paused_) {
    TheAlarm().DropSnoozesDueInPause(now);
    return;
  }
  App().nextBellTime = 0;  // the tip refresh finds it again when it is wanted
  // The ledger has the last word: a bell rung before a restart, reported by the catch-up or
  // rung before the clock went back an hour for daylight saving is not shown again.
  const DueResult due = RunDueCheck(App().table, now.Local(), &daysOff_, [&](int slot, const DueResult& found, int64_t) {
    return watch.AlreadyHandled({slot, found.main, found.pre}, now);
  });
  if (due.slot != -1) {
    watch.NoteRang(due.slot, due, now);
    // A pre-bell falling due together with the main bell is shown as the main bell.
    TheAlarm().Present(due.slot, due.main, FormatHourMinute(LocalDateOf(now)));
  } else if (RingNow late; watch.TakePendingRing(late, now)) {
    // A bell the catch-up found young enough, one per tick like bells due together.
    TheAlarm().Present(late.slot, late.main, FormatHourMinute(DateOfLocal(late.moment)));
  } else if (!TheAlarm().RingDueSnooze(now, daysOff_)) {
    // A snooze whose time came rings the same way, on a tick no entry took.
    return;
  }
  // The fired-at marks the due check set show in an open editor's list.
  RefreshListIfLoaded();
}

void MonitorWindow::OnPowerEvent(PowerEvent event) {
  if (!Loaded() || shuttingDown_) return;
  const Moment now = Svc().clock->Read();
  // The days off as the file says now, before the catch-up of the time asleep asks them.
  if (event != PowerEvent::Suspend) LookAtDaysOffFile(now);
  watch.OnPowerEvent(event, now, paused_);
}

void MonitorWindow::ShowHistory() {
  ui::TheForm<HistoryWindow>().ShowLines(HistoryDisplayLines(ReadHistoryNewestFirst(HistoryPath())));
}

void MonitorWindow::BringToForeground(ui::Form& form) { Svc().foreground->BringToForeground(form); }

void MonitorWindow::OpenEditor() {
  // A click on the icon just before must not dismiss an alarm now: the user asked for the editor.
  TheAlarm().Timers().singleClickTimer.SetEnabled(false);
  // The editor is still loading behind the first-run device dialog: the dialog is what the
  // user has to answer first.
  if (DeviceDialog* dialog = ui::FormIfLoaded<DeviceDialog>(); dialog && dialog->Visible()) {
    BringToForeground(*dialog);
    return;
  }
  // The user may have changed the days-off file since; the editor's list shows them.
  LoadDaysOff();
  EditorWindow& editor = Editor();
  BringToForeground(editor);
  editor.Show();
}

void MonitorWindow::ShowAboutBox() { ui::TheForm<AboutBox>().Show(); }

std::string ProgramSettingsPath() { return ProgramIniPath(App().programFolder); }
std::string DataSettingsPath() { return DataIniPath(App().dataPath); }

}  // namespace wb
