// The monitor window: the hidden window that lives from start-up until 終了. It owns the tray
// icon and its menu, the due check and the hover timer, and runs start-up and shut-down.
// Touching it (ui::TheForm<MonitorWindow>) is the start-up. It makes the alarm (alert/) with
// itself as the one told of snooze changes, and the editor with itself as the editor's host.
// Portable window logic: talks to the system only through platform/ services and controls.
#pragma once
#include <string>

#include "alert/Alarm.h"
#include "editor/EditorHost.h"
#include "monitor/BellWatch.h"
#include "platform/Controls.h"
#include "platform/Services.h"
#include "storage/FileStamp.h"

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

class EditorWindow;

class MonitorWindow : public ui::Form, private EditorHost, private SnoozeObserver {
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
  ui::MenuItem* historyItem = nullptr;
  ui::MenuItem* cancelSnoozeItem = nullptr;  // スヌーズを解除, greyed while nothing is snoozed
  ui::MenuItem* aboutItem = nullptr;
  ui::MenuItem* exitItem = nullptr;

  // Tells the shell the icon and tip, the tip cut to what the icon record holds.
  void ModifyTrayIcon(TrayIcon icon, const std::string& tip);

  // From the load until the due check runs; between 終了 (or the end of the session) and the
  // last window gone; while 一時停止 is ticked.
  bool StartingUp() const override { return startingUp_; }
  bool ShuttingDown() const override { return shuttingDown_; }
  bool Paused() const { return paused_; }
  // National holidays and the user's days off, for the entries that rest on them: the due
  // check, the catch-up, the wake timer, the tip, the snooze and the editor all ask these.
  const DaysOff& DaysOffInUse() const override { return daysOff_; }
  // The editor as the tray opens it: made, when there is none, with this monitor as its host.
  // Touching it loads it hidden.
  EditorWindow& Editor();

 private:
  TrayIconRecord trayIconRecord;
  bool startingUp_ = false;
  bool shuttingDown_ = false;
  bool paused_ = false;
  bool hoverActive_ = false;  // the cursor rests on the tray icon; the tip was refreshed
  int32_t hoverCursorX_ = 0, hoverCursorY_ = 0;
  // The monitor reads the days-off file (LoadDaysOff) and so owns what it holds; others are
  // lent it for reading.
  DaysOff daysOff_;
  // The days-off file's bad lines as last reported, so the same ones are reported only once.
  std::string daysOffReport_;
  FileStamp daysOffStamp_;  // of the days-off file as last read
  int64_t daysOffCheckMinute_ = 0;
  void LookAtDaysOffFile(const Moment& now);
  // The catch-up, the wake timer and the state file.
  BellWatch watch{daysOff_};

  // The editor's calls (EditorHost).
  void PauseDueCheck(bool paused) override;
  void DataFileSwitched() override;
  // The alarm it made tells it: the state file, the wake timer, the tip and スヌーズを解除 follow.
  void SnoozesChanged() override;
  // Start-up (the window's load) and the instance guard that runs first. PassInstanceGuard
  // answers false when another instance owns the settings and this process must end without
  // a trace.
  void StartUp();
  bool PassInstanceGuard();
  // A data file that exists (or that DATAPATH names) and cannot be read: said once, recorded.
  void ReportUnreadableTable();
  // The orderly end run by 終了, a close request and the end of the Windows session; runs
  // once, later calls do nothing.
  void ShutDown();
  // 終了 from the tray menu: unsaved edits in the editor are asked about first.
  void OnExitClick();
  // Timer reactions.
  void OnDueCheckTick();
  void OnPowerEvent(PowerEvent event);
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
  void ShowHistory();
  void ShowAboutBox();
  // Puts the check mark on 登録 or 削除.
  void ShowStartMode(bool registered);
  // Reads the days-off file beside the data file; with `tell`, says what was wrong with it in
  // a message, each finding once.
  void LoadDaysOff(bool tell = true);
  void TellDaysOffReport();
  std::string daysOffPending;  // what the last reading found wrong, not yet told

  // The data file changed elsewhere (another PC through a shared folder, the tool, a backup
  // put back): looked at when its folder sends a notice and once a minute, and read again
  // unless the editor holds edits (its OK asks then).
  void WatchDataFile();
  void CheckDataFile(const Moment& now);
  void ReloadTable(const Moment& now);
  void TellUnreadableOnce(const Moment& now);
  int64_t dataCheckMinute_ = 0;
  // When the file was last found as it was read: a change made elsewhere came after it.
  LocalSecond dataSeenUnchangedAt_ = 0;
  LocalSecond unreadableSince_ = 0;  // the first failed reading of a changed file; 0 none
  bool unreadableTold_ = false;
};

// The two settings files every writer of the monitor writes, program folder first.
std::string ProgramSettingsPath();
std::string DataSettingsPath();

}  // namespace wb
