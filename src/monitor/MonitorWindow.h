// The monitor window: the hidden window that lives from start-up until 終了. It owns the tray
// icon and its menu, the due check and the hover timer, and runs start-up and shut-down.
// Touching it (ui::TheForm<MonitorWindow>) is the start-up; its constructor wires App().hooks.
// Portable window logic: talks to the system only through platform/ services and controls.
#pragma once
#include <string>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb {

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

class MonitorWindow : public ui::Form {
 public:
  MonitorWindow();
  ~MonitorWindow() override;

  ui::Timer dueCheckTimer{"dueCheckTimer"};  // 1000 ms, from the end of start-up
  ui::Timer hoverTimer{"hoverTimer"};        // notices the cursor leaving the tray icon, 50 ms

  ui::MenuItem trayMenu{"trayMenu", "ポップアップメニュー"};
  ui::MenuItem* editItem = nullptr;
  ui::MenuItem* startupMenu = nullptr;
  ui::MenuItem* registerStartupItem = nullptr;
  ui::MenuItem* removeStartupItem = nullptr;
  ui::MenuItem* pauseItem = nullptr;
  ui::MenuItem* aboutItem = nullptr;
  ui::MenuItem* exitItem = nullptr;

  // Tells the shell the icon and tip, the tip cut to what the icon record holds.
  void ModifyTrayIcon(TrayIcon icon, const std::string& tip);

 private:
  TrayIconRecord trayIconRecord;

  void WireAppHooks();
  // Start-up (the window's load) and the instance guard that runs first. PassInstanceGuard
  // answers false when another instance owns the settings and this process must end without
  // a trace.
  void StartUp();
  bool PassInstanceGuard();
  // The orderly end run by 終了, a close request and the end of the Windows session; runs
  // once, later calls do nothing.
  void ShutDown();
  // Timer reactions.
  void OnDueCheckTick();
  void OnHoverTick();
  // Tray icon.
  void AddTrayIcon(TrayIcon icon, const std::string& tip);
  void DeleteTrayIcon();
  void OnTrayMouse(int mouseMessage);
  void OnShellRestart();
  void UpdateTrayTip();
  void BringToForeground(ui::Form& form);
  // Tray menu.
  void OpenEditor();
  void RegisterStartupShortcut();
  void RemoveStartupShortcut();
  void TogglePause();
  void ShowAboutBox();
  // Puts the check mark on 登録 or 削除.
  void ShowStartMode(bool registered);
};

// The two settings files every writer of the monitor writes, program folder first.
std::string ProgramSettingsPath();
std::string DataSettingsPath();

}  // namespace wb
