// Form3: the hidden start-up window. It owns the tray icon, the tray menu, the four timers
// and the procedures of the background monitor. It lives from start-up until 終了.
// Portable window logic: talks to the system only through platform/ services and controls.
#pragma once
#include <string>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb {

inline constexpr const char* kTrayTitle = "Wakebell";
inline constexpr const char* kPausedTip = "アラームは停止中です";

// The tray's mouse messages (the shell reports them in place of the x coordinate).
inline constexpr int kMouseLeftDown = 0x201;
inline constexpr int kMouseLeftDoubleClick = 0x203;
inline constexpr int kMouseRightDown = 0x204;

// What the shell was last told about the icon; put back when a restarted shell forgot it.
struct TrayIconRecord {
  TrayIcon icon = TrayIcon::App;
  std::string tip;
};

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

  TrayIconRecord TrayIconData;

  // Start-up (the load event) and the instance guard. CheckSingleStart answers false when
  // another instance owns the settings and this process must end without a trace.
  void Form_Load();
  bool CheckSingleStart();
  // The orderly end run by 終了.
  void ShutDown();
  // Timer ticks.
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();  // the one dismiss routine (OK, close box, tray click)
  void Timer4_Timer();
  // Tray icon.
  void AddTrayIcon(TrayIcon icon, const std::string& tip);
  void ModifyTrayIcon(TrayIcon icon, const std::string& tip);
  void DeleteTrayIcon();
  void Picture1_MouseMove(int mouseMessage);
  void UpdateTrayTip();
  void ShellRestarted();
  void BringToForeground(ui::Form& form);
  // Tray menu.
  void medit_Click();
  void mstartin_Click();
  void mstartout_Click();
  void mstop_Click();
  void mver_Click();
  void mend_Click();
  // Puts the check mark on 登録 or 削除.
  void ShowStartMode(bool registered);
};

// The one Form3 of the process; touching it creates and loads it.
Form3& TheForm3();
bool Form3Exists();
void ResetForm3();  // tests: forget the window entirely

// The two settings files every writer of the monitor writes, program folder first.
std::string ProgramSettingsPath();
std::string DataSettingsPath();

}  // namespace wb
