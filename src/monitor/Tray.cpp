// Form3's tray icon: adding, changing and removing it, its mouse events, the tip that counts
// down to the next bell, and pausing from the tray menu.
#include "editor/Form1.h"
#include "model/TrayTip.h"
#include "monitor/Form3.h"
#include "monitor/Globals.h"
#include "monitor/Shortcut.h"

namespace wb {

namespace {
// The icon record holds 64 bytes of tip with its NUL; longer texts are cut, whole characters.
std::string LimitTip(const std::string& tip) {
  constexpr int kMaxChars = 63;
  size_t end = 0;
  for (int chars = 0; chars < kMaxChars && end < tip.size(); ++chars) {
    ++end;
    while (end < tip.size() && (static_cast<unsigned char>(tip[end]) & 0xC0) == 0x80) ++end;
  }
  return tip.substr(0, end);
}
}  // namespace

void Form3::AddTrayIcon(TrayIcon icon, const std::string& tip) {
  TrayIconData = {icon, LimitTip(tip)};
  Svc().tray->Add(TrayIconData.icon, TrayIconData.tip);
}

void Form3::ModifyTrayIcon(TrayIcon icon, const std::string& tip) {
  TrayIconData = {icon, LimitTip(tip)};
  Svc().tray->Modify(TrayIconData.icon, TrayIconData.tip);
}

void Form3::DeleteTrayIcon() { Svc().tray->Delete(); }

// The tray service has put the icon back after Explorer restarted; make sure it shows what
// the program last showed (the pause picture and tip while paused).
void Form3::ShellRestarted() { Svc().tray->Modify(TrayIconData.icon, TrayIconData.tip); }

void Form3::Picture1_MouseMove(int mouseMessage) {
  MonitorState& mon = G().Mon;
  Svc().tray->CursorPos(mon.HoverCursorX, mon.HoverCursorY);
  if (!mon.HoverActive && !mon.Paused) {
    Timer4.SetEnabled(false);
    Timer4.SetInterval(50);
    Timer4.SetEnabled(true);
    mon.HoverActive = true;
    UpdateTrayTip();
  }
  // The user may have removed the shortcut by hand: the marks follow the real file.
  ShowStartMode(StartupShortcutExists(kShortcutName));

  switch (mouseMessage) {
    case kMouseLeftDown:
      Timer3.SetEnabled(true);  // a double click within half a second cancels it
      break;
    case kMouseRightDown:
      BringToForeground(*this);  // or the menu would not close when the user clicks elsewhere
      Svc().frontEnd->PopupMenu(*this, IconMenu);
      break;
    case kMouseLeftDoubleClick: {
      Timer3.SetEnabled(false);
      Form1& editor = TheForm1();
      BringToForeground(editor);
      editor.Show();
      break;
    }
    default:
      break;
  }
}

void Form3::Timer4_Timer() {
  int32_t x = 0, y = 0;
  Svc().tray->CursorPos(x, y);
  MonitorState& mon = G().Mon;
  if (x != mon.HoverCursorX || y != mon.HoverCursorY) {
    Timer4.SetEnabled(false);
    mon.HoverActive = false;
  }
}

void Form3::UpdateTrayTip() {
  const OleDate now = Svc().clock->Now();
  // The editor's calendar when it is open; never create the editor for it.
  const Form1* editor = Form1IfLoaded();
  const OleDate calendarDay = editor ? editor->MonthView1.Value() : OleDate(DayOf(now));
  std::string tip;
  if (!ComputeTrayTip(G().Table, calendarDay, now, G().NextBellTime, tip)) return;
  ModifyTrayIcon(TrayIcon::App, tip);
}

void Form3::mstop_Click() {
  if (mstop->Checked()) {
    mstop->SetChecked(false);
    G().Mon.Paused = false;
    ModifyTrayIcon(TrayIcon::App, kTrayTitle);
  } else {
    mstop->SetChecked(true);
    G().Mon.Paused = true;
    // The pause picture is the program's own resource: taking it from the editor would
    // create the editor, whose load re-reads the data file and can ring an alarm twice.
    ModifyTrayIcon(TrayIcon::Stop, kPausedTip);
  }
}

}  // namespace wb
