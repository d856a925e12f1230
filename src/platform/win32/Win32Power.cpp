// The power service on Win32: one waitable timer with the resume flag for the next bell, the
// thread's execution state while an alarm is on, and a hidden top-level window that hears the
// power and clock broadcasts (a message-only window would never receive them).
#include <windows.h>

#include <utility>

#include "platform/win32/HiddenWindow.h"
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

class Win32Power final : public IPower, win32::HiddenWindow<Win32Power> {
 public:
  Win32Power() {
    timer_.Reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    if (!timer_) win32::DiagLastError("CreateWaitableTimerW");
    Create(WS_EX_TOOLWINDOW, WS_POPUP, nullptr, "CreateWindowExW (power notices)");
  }

  ~Win32Power() override {
    if (awake_) SetThreadExecutionState(ES_CONTINUOUS);
  }

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

  friend win32::HiddenWindow<Win32Power>;
  static constexpr const wchar_t* kClassName = win32::kPowerWindowClass;

  bool OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
      case WM_POWERBROADCAST:
        // Both resume notices may come for one wake (automatic first, then suspend once a
        // user is there); the monitor's catch-up makes the second one harmless.
        if (wParam == PBT_APMSUSPEND) Deliver(PowerEvent::Suspend);
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) Deliver(PowerEvent::Resume);
        result = TRUE;
        return true;
      case WM_TIMECHANGE:
        Deliver(PowerEvent::TimeChange);
        result = 0;
        return true;
      default:
        return false;
    }
  }

  std::function<void(PowerEvent)> handler_;
  win32::UniqueHandle timer_;
  bool awake_ = false;
};

}  // namespace

std::unique_ptr<IPower> MakeWin32Power() { return std::make_unique<Win32Power>(); }

}  // namespace wb
