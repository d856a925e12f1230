#include "monitor/Form3.h"

#include <memory>

#include "about/frmAbout.h"
#include "alert/Alert.h"
#include "editor/Form1.h"
#include "model/DueCheck.h"
#include "monitor/Globals.h"
#include "storage/Settings.h"

namespace wb {

Form3::Form3()
    : ui::Form("Form3", "Wakebell", 3000, 2000), Picture1(*this, "Picture1", ui::Rect{0, 0, 480, 480}) {
  medit = &IconMenu.Add("medit", "編集");
  mstart = &IconMenu.Add("mstart", "スタートアップ");
  mstartin = &mstart->Add("mstartin", "登録");
  mstartout = &mstart->Add("mstartout", "削除");
  IconMenu.Add("sep1", "-");
  mstop = &IconMenu.Add("mstop", "一時停止");
  IconMenu.Add("sep2", "-");
  mver = &IconMenu.Add("mver", "バージョン情報");
  IconMenu.Add("sep3", "-");
  mend = &IconMenu.Add("mend", "終了");
  IconMenu.SetVisible(false);  // a pop-up only, never a menu bar

  Load = [this] { Form_Load(); };
  // Unloading destroys the window and its timers with it.
  UnloadEvent = [this] {
    for (ui::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4}) t->SetEnabled(false);
  };
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
  Timer3.Tick = [this] { Timer3_Timer(); };
  Timer4.Tick = [this] { Timer4_Timer(); };
  medit->Click = [this] { medit_Click(); };
  mstartin->Click = [this] { mstartin_Click(); };
  mstartout->Click = [this] { mstartout_Click(); };
  mstop->Click = [this] { mstop_Click(); };
  mver->Click = [this] { mver_Click(); };
  mend->Click = [this] { mend_Click(); };
}

void Form3::Timer1_Timer() {
  if (G().Mon.Paused) return;
  const OleDate now = Svc().clock->Now();
  G().NextBellTime = 0;  // the tip refresh finds it again when it is wanted
  const DueResult due = RunDueCheck(G().Table, now);
  if (due.slot == -1) return;
  // A pre-bell falling due together with the main bell is shown as the main bell.
  PresentAlarm(due.slot, due.main, FormatHourMinute(now));
}

void Form3::Timer2_Timer() {
  BlinkHalf();
  SoundHalf();
}

void Form3::Timer3_Timer() {
  // The timer stands for one click. Left armed after a click with no alarm in progress, it
  // would hide the next alarm window half a second after it appears.
  Timer3.SetEnabled(false);
  DismissAlarm();
}

void Form3::BringToForeground(ui::Form& form) { Svc().foreground->BringToForeground(form); }

void Form3::medit_Click() {
  Timer3.SetEnabled(false);
  Form1& editor = TheForm1();
  BringToForeground(editor);
  editor.Show();
}

void Form3::mver_Click() { TheFrmAbout().Show(); }

void Form3::mend_Click() { ShutDown(); }

namespace {
std::unique_ptr<Form3>& Slot() {
  static std::unique_ptr<Form3> form;
  return form;
}
}  // namespace

Form3& TheForm3() {
  auto& f = Slot();
  if (!f) {
    f = std::make_unique<Form3>();
    f->EnsureLoaded();
  }
  return *f;
}
bool Form3Exists() { return Slot() != nullptr; }
void ResetForm3() { Slot().reset(); }

std::string ProgramSettingsPath() { return ProgramIniPath(G().ProgramFolder); }
std::string DataSettingsPath() { return DataIniPath(G().DataPath); }

}  // namespace wb
