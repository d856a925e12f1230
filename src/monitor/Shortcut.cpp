// The スタートアップ submenu: 登録 and 削除 of the start-with-Windows shortcut, and the
// check marks that show whether it is registered.
#include "monitor/Shortcut.h"

#include "app_state/AppState.h"
#include "monitor/MonitorWindow.h"
#include "platform/Services.h"
#include "storage/Settings.h"

namespace wb {

namespace {
constexpr int kShowNoActivate = 4;
std::string ShortcutPath(const std::string& name) { return Svc().shell->StartupFolder() + "\\" + name; }
}  // namespace

void CreateStartupShortcut(const std::string& target, const std::string& name) {
  IShell& shell = *Svc().shell;
  const std::string link = ShortcutPath(name);
  // The user may have changed its properties; they are kept.
  if (shell.FileExists(link)) return;
  shell.CreateShortcut(link, shell.ExpandEnvironment(target), kShowNoActivate);
}

bool StartupShortcutExists(const std::string& name) { return Svc().shell->FileExists(ShortcutPath(name)); }

void MonitorWindow::ShowStartMode(bool registered) {
  registerStartupItem->SetChecked(registered);
  removeStartupItem->SetChecked(!registered);
}

void MonitorWindow::RegisterStartupShortcut() {
  ShowStartMode(true);
  // The program folder already ends in "\".
  CreateStartupShortcut(App().programFolder + kProgramFile, kShortcutName);
  WriteStartMode(true, ProgramSettingsPath());
  WriteStartMode(true, DataSettingsPath());
}

void MonitorWindow::RemoveStartupShortcut() {
  ShowStartMode(false);
  IShell& shell = *Svc().shell;
  const std::string folder = shell.StartupFolder();
  if (!shell.FolderHasFiles(folder)) return;
  const std::string link = ShortcutPath(kShortcutName);
  if (shell.FileExists(link)) shell.RemoveFile(link);
  WriteStartMode(false, ProgramSettingsPath());
  WriteStartMode(false, DataSettingsPath());
}

}  // namespace wb
