// Timer objects on Win32: one SetTimer id per armed Timer on a hidden message-only window of
// the UI thread; WM_TIMER fires the object. Ids are never reused, so a tick already queued for
// a timer that was stopped or destroyed finds nothing and is dropped.
#include <map>

#include "platform/win32/FrontEnd.h"

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
    RegisterClassExW(&wc);  // fails harmlessly when a second host registers it again
    hwnd_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
  }
  ~Win32TimerHost() override {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  Win32TimerHost(const Win32TimerHost&) = delete;
  Win32TimerHost& operator=(const Win32TimerHost&) = delete;

  void Armed(ui::Timer& t) override {
    auto it = ids_.find(&t);
    UINT_PTR id = it != ids_.end() ? it->second : nextId_++;
    ids_[&t] = id;
    timers_[id] = &t;
    SetTimer(hwnd_, id, UINT(t.Interval()), nullptr);  // the same id restarts the count
  }

  void Disarmed(ui::Timer& t) override {
    auto it = ids_.find(&t);
    if (it == ids_.end()) return;
    KillTimer(hwnd_, it->second);
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

  HWND hwnd_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::map<ui::Timer*, UINT_PTR> ids_;
  std::map<UINT_PTR, ui::Timer*> timers_;
};

}  // namespace

std::unique_ptr<ui::ITimerHost> MakeWin32TimerHost() { return std::make_unique<Win32TimerHost>(); }

}  // namespace wb
