#include "UiHarness.h"

#include "alert/Alarm.h"
#include "platform/Controls.h"

namespace wb::test {

UiTest::UiTest() {
  ResetAppState();
  ForgetAlarm();
  App().programFolder = dir.string() + "/";  // the settings and data files live here
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
  Svc().power = &power;
  Svc().foreground = &foreground;
  Svc().folders = &folders;
  ui::Timer::SetHost(&clock);
}

void UiTest::ForgetWindows() {
  ui::ForgetAllForms();
  ui::CollectRetiredForms();
}

UiTest::~UiTest() {
  ForgetWindows();
  ForgetAlarm();  // while the clock still hosts the alarm's timers
  ResetAppState();
  ui::Timer::SetHost(nullptr);
  Svc() = Services{};
}

}  // namespace wb::test
