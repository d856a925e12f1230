// Entry point of Wakebell.exe: puts the real services in place, touches the hidden monitor
// window (its load is the whole start-up) and runs the message loop until 終了.
#include <windows.h>

#include <memory>

#include "app_state/AppState.h"
#include "monitor/MonitorWindow.h"
#include "platform/NativeServices.h"
#include "platform/win32/FrontEnd.h"
#include "platform/win32/Win32Diag.h"
#include "platform/win32/Win32Services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace wb;
  // A windowed program has no standard error: its diagnostic lines go to the debugger output.
  win32::LogToDebugger();
  App().programFolder = ProgramFolder();

  // The front end first: it loads the common controls every window needs.
  std::unique_ptr<IFrontEnd> frontEnd = MakeWin32FrontEnd(instance);
  std::unique_ptr<ui::ITimerHost> timers = MakeWin32TimerHost();
  std::unique_ptr<IDialogs> dialogs = MakeWin32Dialogs();
  std::unique_ptr<IForeground> foreground = MakeWin32Foreground();
  std::unique_ptr<IClock> clock = MakeNativeClock();
  std::unique_ptr<IMci> mci = MakeWin32Mci();
  std::unique_ptr<ISystemSound> sound = MakeWin32SystemSound();
  std::unique_ptr<IAudioDevices> devices = MakeWin32AudioDevices();
  std::unique_ptr<ITray> tray = MakeWin32Tray();
  std::unique_ptr<IShell> shell = MakeWin32Shell();
  std::unique_ptr<IRegistry> registry = MakeWin32Registry();
  std::unique_ptr<ILauncher> launcher = MakeWin32Launcher();
  std::unique_ptr<IInstance> instanceGuard = MakeWin32Instance();
  std::unique_ptr<IPower> power = MakeWin32Power();
  std::unique_ptr<IFolderAccess> folders = MakeWin32FolderAccess();
  std::unique_ptr<IFileWatch> fileWatch = MakeWin32FileWatch();

  Services& svc = Svc();
  svc.frontEnd = frontEnd.get();
  svc.dialogs = dialogs.get();
  svc.foreground = foreground.get();
  svc.clock = clock.get();
  svc.mci = mci.get();
  svc.sound = sound.get();
  svc.devices = devices.get();
  svc.tray = tray.get();
  svc.shell = shell.get();
  svc.registry = registry.get();
  svc.launcher = launcher.get();
  svc.instance = instanceGuard.get();
  svc.power = power.get();
  svc.folders = folders.get();
  svc.fileWatch = fileWatch.get();
  ui::Timer::SetHost(timers.get());

  int exitCode = 0;
  // Touching the monitor runs the start-up; the instance guard may end it there and then.
  if (ui::TheForm<MonitorWindow>().Loaded()) exitCode = RunMessageLoop();

  // Every window is gone by now (ShutDown, or Windows ending the session); the timers and
  // services go in the reverse order of their making.
  ui::ForgetForm<MonitorWindow>();
  ui::CollectRetiredForms();
  ui::Timer::SetHost(nullptr);
  svc = Services{};
  return exitCode;
}
