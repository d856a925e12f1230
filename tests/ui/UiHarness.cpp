#include "UiHarness.h"

#include <atomic>
#include <unistd.h>

#include "about/AboutBox.h"
#include "alert/Alert.h"
#include "alert/AlarmWindow.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "monitor/MonitorWindow.h"

namespace wb::test {

UiTest::UiTest() {
  static std::atomic<int> serial{0};
  dir = std::filesystem::temp_directory_path() /
        ("wakebell-ui-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
  std::filesystem::create_directories(dir);
  ResetAppState();
  App().programFolder = dir.string() + "/";  // the settings and data files live here
  EditorDevices() = {};
  Svc() = Services{};
  Svc().clock = &clock;
  Svc().dialogs = &dialogs;
  Svc().frontEnd = &frontEnd;
  Svc().mci = &mci;
  Svc().sound = &systemSound;
  Svc().devices = &devices;
  Svc().tray = &tray;
  Svc().shell = &shell;
  Svc().registry = &registry;
  Svc().launcher = &launcher;
  Svc().instance = &instance;
  Svc().foreground = &foreground;
  Svc().folders = &folders;
  ui::Timer::SetHost(&clock);
}

UiTest::~UiTest() {
  ResetAlarmWindow();
  ResetAlert();
  ResetEditor();
  ResetAboutBox();
  ResetMonitor();
  ui::CollectRetiredForms();
  ui::Timer::SetHost(nullptr);
  Svc() = Services{};
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

}  // namespace wb::test
