// Timer objects on Win32: one SetTimer id per armed Timer on a hidden message-only window of
// the UI thread; WM_TIMER fires the object. Ids are never reused, so a tick already queued for
// a timer that was stopped or destroyed finds nothing and is dropped.
#include <map>

#include "platform/win32/FrontEnd.h"
#include "platform/win32/Owned.h"
#include "platform/win32/Win32Diag.h"

namespace wb {
namespace {

constexpr const wchar_t* kTimerClass = L"WakebellTimerHost";

class Win32TimerHost : public ui::ITimerHost {
 public:
  Win32TimerHost() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32TimerHost::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerClass;
    // Fails harmlessly when a second host registers it again.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      win32::DiagLastError("RegisterClassExW(WakebellTimerHost)");
    hwnd_.Reset(CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this));
    if (!hwnd_) win32::DiagLastError("CreateWindowExW of the timer window");  // no timer will tick
  }
  Win32TimerHost(const Win32TimerHost&) = delete;
  Win32TimerHost& operator=(const Win32TimerHost&) = delete;

  void Armed(ui::Timer& t) override {
    auto it = ids_.find(&t);
    UINT_PTR id = it != ids_.end() ? it->second : nextId_++;
    ids_[&t] = id;
    timers_[id] = &t;
    SetTimer(hwnd_.Get(), id, UINT(t.Interval()), nullptr);  // the same id restarts the count
  }

  void Disarmed(ui::Timer& t) override {
    auto it = ids_.find(&t);
    if (it == ids_.end()) return;
    KillTimer(hwnd_.Get(), it->second);
    timers_.erase(it->second);
    ids_.erase(it);
  }

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCREATE)
      SetWindowLongPtrW(h, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<Win32TimerHost*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_TIMER && self) {
      auto it = self->timers_.find(UINT_PTR(w));
      if (it != self->timers_.end()) it->second->Fire();
      return 0;
    }
    return DefWindowProcW(h, m, w, l);
  }

  UINT_PTR nextId_ = 1;
  std::map<ui::Timer*, UINT_PTR> ids_;
  std::map<UINT_PTR, ui::Timer*> timers_;
  win32::UniqueWindow hwnd_;  // the last member: goes first, before the maps its ticks read
};

}  // namespace

std::unique_ptr<ui::ITimerHost> MakeWin32TimerHost() { return std::make_unique<Win32TimerHost>(); }

}  // namespace wb
