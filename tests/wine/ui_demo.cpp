// ui_demo.exe: a sample form with every control kind, run through the real Win32 front end
// under Wine. It checks that state set from code reaches the native controls, that native
// input (clicks, typing, keys, list picks) comes back as the objects' own changes and events,
// and that the layout follows the DPI. Prints "N passed, N failed"; non-zero exit on failure.
// Usage: ui_demo.exe [--dpi N] [--hold MS]   (--hold keeps the windows up for a screenshot)
#include "ui_demo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/FrontEnd.h"
#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"

namespace wb::demo {

int g_passed = 0, g_failed = 0;

void Check(bool ok, const char* name, const std::string& detail) {
  (ok ? g_passed : g_failed)++;
  std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", name, detail.empty() ? "" : ": ", detail.c_str());
  std::fflush(stdout);
}

void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  DWORD end = GetTickCount() + DWORD(ms);
  while (!done()) {
    if (int(end - GetTickCount()) <= 0) return false;
    Svc().frontEnd->DoEvents();
    Sleep(5);
  }
  return true;
}

RECT ClientRectOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Text(HWND h) { return win32::Narrow(win32::WindowText(h)); }

}  // namespace wb::demo

int main(int argc, char** argv) {
  using namespace wb;
  UINT expectDpi = 0;
  int hold = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--dpi")) expectDpi = UINT(std::atoi(argv[i + 1]));
    if (!std::strcmp(argv[i], "--hold")) hold = std::atoi(argv[i + 1]);
  }
  auto frontEnd = MakeWin32FrontEnd(GetModuleHandleW(nullptr));
  auto timers = MakeWin32TimerHost();
  ui::Timer::SetHost(timers.get());
  auto dialogs = MakeWin32Dialogs();
  auto foreground = MakeWin32Foreground();
  Svc().frontEnd = frontEnd.get();
  Svc().dialogs = dialogs.get();
  Svc().foreground = foreground.get();
  {
    demo::SampleForm form;
    demo::TopForm top;
    demo::RunStateChecks(form, top, expectDpi);
    demo::RunInputChecks(form);
    demo::RunKeyboardChecks(form);
    if (hold > 0) {
      std::printf("READY\n");
      std::fflush(stdout);
      demo::Pump(hold);
    }
    demo::RunServiceChecks(form, top);
  }
  ui::CollectRetiredForms();
  ui::Timer::SetHost(nullptr);
  Svc() = Services{};
  std::printf("%d passed, %d failed\n", demo::g_passed, demo::g_failed);
  return demo::g_failed ? 1 : 0;
}
