// The スタートアップ submenu: 登録 and 削除 of the start-with-Windows shortcut, and the
// check marks that show whether it is registered.
#include "monitor/Shortcut.h"

#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "monitor/MonitorWindow.h"
#include "platform/Services.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr int kShowNoActivate = 4;
constexpr const char* kNoStartupFolder =
    "スタートアップフォルダが見つからないため、スタートアップに登録できませんでした。";

// Nothing when the system names no Startup folder.
std::optional<std::string> ShortcutPath(const std::string& name) {
  std::optional<std::string> folder = Svc().shell->StartupFolder();
  if (!folder) return std::nullopt;
  return *folder + "\\" + name;
}
}  // namespace

bool CreateStartupShortcut(const std::string& target, const std::string& name) {
  IShell& shell = *Svc().shell;
  const std::optional<std::string> link = ShortcutPath(name);
  if (!link) return false;
  // The user may have changed its properties; they are kept.
  if (shell.FileExists(*link)) return true;
  shell.CreateShortcut(*link, shell.ExpandEnvironment(target), kShowNoActivate);
  return true;
}

bool StartupShortcutExists(const std::string& name) {
  const std::optional<std::string> link = ShortcutPath(name);
  return link && Svc().shell->FileExists(*link);
}

void MonitorWindow::ShowStartMode(bool registered) {
  registerStartupItem->SetChecked(registered);
  removeStartupItem->SetChecked(!registered);
}

void MonitorWindow::RegisterStartupShortcut() {
  // The program folder already ends in "\".
  if (!CreateStartupShortcut(App().programFolder + kProgramFile, kShortcutName)) {
    // Nowhere to put it: the marks and the start mode stay as they were.
    Svc().dialogs->MsgBox(kNoStartupFolder, kOkOnly | kIconExclamation, kProgramTitle);
    return;
  }
  ShowStartMode(true);
  DataFolderSettings mode;
  mode.startWithWindows = true;
  WriteSettingsToBoth(App().programFolder, App().dataPath, mode, mode.startWithWindows);
}

void MonitorWindow::RemoveStartupShortcut() {
  ShowStartMode(false);
  IShell& shell = *Svc().shell;
  const std::optional<std::string> folder = shell.StartupFolder();
  if (!folder || !shell.FolderHasFiles(*folder)) return;
  const std::string link = *folder + "\\" + kShortcutName;
  if (shell.FileExists(link)) shell.RemoveFile(link);
  DataFolderSettings mode;
  mode.startWithWindows = false;
  WriteSettingsToBoth(App().programFolder, App().dataPath, mode, mode.startWithWindows);
}

}  // namespace wb
