// The power service on Win32: one waitable timer with the resume flag for the next bell, the
// thread's execution state while an alarm is on, and a hidden top-level window that hears the
// power and clock broadcasts (a message-only window would never receive them).
#include <windows.h>

#include <utility>

#include "platform/win32/Owned.h"
#include "platform/win32/Win32Diag.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

// Set by SetWaitableTimer with success when the system will not wake for the timer; Wine
// always reports it. Missing from some SDK headers.
constexpr DWORD kTimerResumeIgnored = 722;

// Local moment -> absolute UTC file time as SetWaitableTimer takes it; false when the moment
// cannot be converted (out of the system's range).
bool LocalToUtcFileTime(OleDate local, LARGE_INTEGER& out) {
  const SYSTEMTIME localTime = win32::SystemTimeOf(local);
  SYSTEMTIME utc{};
  FILETIME file{};
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc) || !SystemTimeToFileTime(&utc, &file))
    return false;
  out.LowPart = file.dwLowDateTime;
  out.HighPart = LONG(file.dwHighDateTime);
  return true;
}

class Win32Power final : public IPower {
 public:
  Win32Power() {
    timer_.Reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    if (!timer_) win32::DiagLastError("CreateWaitableTimerW");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Power::WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = win32::kPowerWindowClass;
    RegisterClassExW(&wc);  // fails harmlessly when a second service registers it again
    window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, win32::kPowerWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, this));
    if (!window_) win32::DiagLastError("CreateWindowExW (power notices)");
  }

  ~Win32Power() override {
    if (awake_) SetThreadExecutionState(ES_CONTINUOUS);
  }
  Win32Power(const Win32Power&) = delete;
  Win32Power& operator=(const Win32Power&) = delete;

  WakeArm ArmWakeTimer(OleDate localMoment) override {
    LARGE_INTEGER due{};
    if (!timer_ || !LocalToUtcFileTime(localMoment, due)) return WakeArm::Failed;
    SetLastError(ERROR_SUCCESS);
    if (!SetWaitableTimer(timer_.Get(), &due, 0, nullptr, nullptr, TRUE)) {
      win32::DiagLastError("SetWaitableTimer");
      return WakeArm::Failed;
    }
    const DWORD error = GetLastError();
    return error == ERROR_NOT_SUPPORTED || error == kTimerResumeIgnored ? WakeArm::NotSupported : WakeArm::Armed;
  }

  void CancelWakeTimer() override {
    if (timer_) CancelWaitableTimer(timer_.Get());
  }

  void KeepAwake(bool on) override {
    if (on == awake_) return;
    awake_ = on;
    SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED : ES_CONTINUOUS);
  }

  void SetEventHandler(std::function<void(PowerEvent)> handler) override { handler_ = std::move(handler); }

 private:
  void Deliver(PowerEvent event) {
    if (handler_) handler_(event);
  }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Power*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
      switch (msg) {
        case WM_POWERBROADCAST:
          // Both resume notices may come for one wake (automatic first, then suspend once a
          // user is there); the monitor's catch-up makes the second one harmless.
          if (wParam == PBT_APMSUSPEND) self->Deliver(PowerEvent::Suspend);
          if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) self->Deliver(PowerEvent::Resume);
          return TRUE;
        case WM_TIMECHANGE:
          self->Deliver(PowerEvent::TimeChange);
          return 0;
        case WM_NCDESTROY:
          SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
          break;
        default:
          break;
      }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  std::function<void(PowerEvent)> handler_;  // declared first: it outlives the window
  win32::UniqueHandle timer_;
  win32::UniqueWindow window_;
  bool awake_ = false;
};

}  // namespace

std::unique_ptr<IPower> MakeWin32Power() { return std::make_unique<Win32Power>(); }

}  // namespace wb
