// Form3: the hidden start-up window. It owns the tray icon, the tray menu, the four timers
// and the procedures of the background monitor. It lives from start-up until 終了.
// Portable window logic: talks to the system only through platform/ services and controls.
#pragma once
#include "platform/Controls.h"

namespace wb {

class Form3 : public ui::Form {
 public:
  Form3();

  ui::PictureBox Picture1;
  ui::Timer Timer1{"Timer1"};        // the due check, 1000 ms
  ui::Timer Timer2{"Timer2"};        // blinking and sound polling, 1000 ms, restarted per alarm
  ui::Timer Timer3{"Timer3", 500};   // delayed single-click dismissal
  ui::Timer Timer4{"Timer4"};        // notices the cursor leaving the tray icon, 50 ms

  ui::MenuItem IconMenu{"IconMenu", "ポップアップメニュー"};
  ui::MenuItem* medit = nullptr;
  ui::MenuItem* mstart = nullptr;
  ui::MenuItem* mstartin = nullptr;
  ui::MenuItem* mstartout = nullptr;
  ui::MenuItem* mstop = nullptr;
  ui::MenuItem* mver = nullptr;
  ui::MenuItem* mend = nullptr;

  // Start-up (the load event) and the instance guard.
  void Form_Load();
  void CheckSingleStart();
  // The orderly end run by 終了.
  void ShutDown();
  // Timer ticks.
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();  // the one dismiss routine (OK, close box, tray click)
  void Timer4_Timer();
  // Tray icon.
  void Picture1_MouseMove(int mouseMessage);
  void UpdateTrayTip();
  void BringToForeground(ui::Form& form);
};

// The one Form3 of the process; touching it creates and loads it.
Form3& TheForm3();
bool Form3Exists();
void ResetForm3();  // tests: forget the window entirely

}  // namespace wb
