// Bringing one of our windows to the front although another program owns the keyboard focus:
// join that program's input queue for a moment so that SetForegroundWindow is allowed.
#include "platform/win32/FrontEnd.h"

namespace wb {
namespace {

class Win32Foreground : public IForeground {
 public:
  Win32Foreground() : uiThread_(GetCurrentThreadId()) {}

  void BringToForeground(ui::Form& form) override {
    DWORD theirs = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (theirs == uiThread_) return;  // we have the foreground already
    auto hwnd = static_cast<HWND>(form.native);
    bool attached = theirs != 0 && AttachThreadInput(uiThread_, theirs, TRUE);
    if (hwnd) SetForegroundWindow(hwnd);
    if (Svc().frontEnd) Svc().frontEnd->DoEvents();
    if (attached) {
      AttachThreadInput(uiThread_, theirs, FALSE);
      // Some systems (Wine) drop the foreground when the queues part; we hold it at this point,
      // so asking again is allowed and keeps the window in front.
      if (hwnd && GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
    }
  }

 private:
  DWORD uiThread_;
};

}  // namespace

std::unique_ptr<IForeground> MakeWin32Foreground() { return std::make_unique<Win32Foreground>(); }

}  // namespace wb
