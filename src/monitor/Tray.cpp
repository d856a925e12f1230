// The monitor's tray icon: adding, changing and removing it, its mouse events, the tip that counts
// down to the next bell, and pausing from the tray menu.
#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "editor/EditorWindow.h"
#include "model/Snooze.h"
#include "model/TrayTip.h"
#include "monitor/MonitorWindow.h"
#include "monitor/Shortcut.h"

namespace wb {

namespace {
constexpr int kHoverIntervalMs = 50;
}  // namespace

void MonitorWindow::AddTrayIcon(TrayIcon icon, const std::string& tip) {
  trayIconRecord = {icon, LimitTrayTip(tip)};
  Svc().tray->Add(trayIconRecord.icon, trayIconRecord.tip);
}

void MonitorWindow::ModifyTrayIcon(TrayIcon icon, const std::string& tip) {
  trayIconRecord = {icon, LimitTrayTip(tip)};
  Svc().tray->Modify(trayIconRecord.icon, trayIconRecord.tip);
}

void MonitorWindow::DeleteTrayIcon() { Svc().tray->Delete(); }

// The tray service has put the icon back after Explorer restarted; make sure it shows what
// the program last showed (the pause picture and tip while paused).
void MonitorWindow::OnShellRestart() { Svc().tray->Modify(trayIconRecord.icon, trayIconRecord.tip); }

void MonitorWindow::OnTrayMouse(int mouseMessage) {
  Svc().tray->CursorPos(hoverCursorX_, hoverCursorY_);
  if (!hoverActive_ && !paused_) {
    hoverTimer.SetEnabled(false);
    hoverTimer.SetInterval(kHoverIntervalMs);
    hoverTimer.SetEnabled(true);
    hoverActive_ = true;
    UpdateTrayTip();
  }
  // The user may have removed the shortcut by hand: the marks follow the real file.
  ShowStartMode(StartupShortcutExists(kShortcutName));

  switch (mouseMessage) {
    case kMouseLeftDown:
      TheAlarm().Timers().singleClickTimer.SetEnabled(true);  // a double click within half a second cancels it
      break;
    case kMouseRightDown:
      BringToForeground(*this);  // or the menu would not close when the user clicks elsewhere
      cancelSnoozeItem->SetEnabled(TheAlarm().AnySnoozed());
      Svc().frontEnd->PopupMenu(*this, trayMenu);
      break;
    case kMouseLeftDoubleClick:
      OpenEditor();
      break;
    default:
      break;
  }
}

void MonitorWindow::OnHoverTick() {
  int32_t x = 0, y = 0;
  Svc().tray->CursorPos(x, y);
  if (x != hoverCursorX_ || y != hoverCursorY_) {
    hoverTimer.SetEnabled(false);
    hoverActive_ = false;
  }
}

void MonitorWindow::UpdateTrayTip() {
  const OleDate now = Svc().clock->Now();
  // The editor's calendar when it is open; never create the editor for it.
  const EditorWindow* editor = ui::FormIfLoaded<EditorWindow>();
  const OleDate calendarDay = editor ? editor->calendar.Value() : OleDate(DayOf(now));
  std::string tip;
  const bool found = ComputeTrayTip(App().table, calendarDay, now, App().nextBellTime, tip, &daysOff_);
  // A snooze is the next bell too when it comes first.
  if (const LocalSecond snooze = NextSnoozeRing(TheAlarm().Snoozes(), Svc().clock->Read());
      snooze != 0 && (!found || snooze < SecondNumber(App().nextBellTime))) {
    App().nextBellTime = DateOfLocal(snooze);
    tip = TrayTipText(App().nextBellTime, now);
  } else if (!found) {
    return;
  }
  ModifyTrayIcon(TrayIcon::App, tip);
}

void MonitorWindow::TogglePause() {
  if (pauseItem->Checked()) {
    pauseItem->SetChecked(false);
    paused_ = false;
    ModifyTrayIcon(TrayIcon::App, kProgramTitle);
    watch.Rearm(Svc().clock->Read(), false);
  } else {
    pauseItem->SetChecked(true);
    if (Loaded()) watch.PauseStarting(Svc().clock->Read());
    paused_ = true;
    // The pause picture is the program's own resource: taking it from the editor would
    // create the editor, whose load re-reads the data file and can ring an alarm twice.
    ModifyTrayIcon(TrayIcon::Stop, kPausedTip);
    watch.Rearm(Svc().clock->Read(), true);  // no bell rings while paused: the PC may sleep
  }
}

}  // namespace wb
