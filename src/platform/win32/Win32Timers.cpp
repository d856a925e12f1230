// Timer objects on Win32: one SetTimer id per armed Timer on a hidden message-only window of
// the UI thread; WM_TIMER fires the object. Ids are never reused, so a tick already queued for
// a timer that was stopped or destroyed finds nothing and is dropped.
#include <map>

#include "platform/win32/FrontEnd.h"
#include "platform/win32/HiddenWindow.h"

namespace wb {
namespace {

class Win32TimerHost final : public ui::ITimerHost, win32::HiddenWindow<Win32TimerHost> {
 public:
  Win32TimerHost() { Create(0, 0, HWND_MESSAGE, "CreateWindowExW of the timer window"); }  // no timer will tick

  void Armed(ui::Timer& t) override {
    auto it = ids_.find(&t);
    UINT_PTR id = it != ids_.end() ? it->second : nextId_++;
    ids_[&t] = id;
    timers_[id] = &t;
    SetTimer(Window(), id, UINT(t.Interval()), nullptr);  // the same id restarts the count
  }

  void Disarmed(ui::Timer& t) override {
    auto it = ids_.find(&t);
    if (it == ids_.end()) return;
    KillTimer(Window(), it->second);
    timers_.erase(it->second);
    ids_.erase(it);
  }

 private:
  friend win32::HiddenWindow<Win32TimerHost>;
  static constexpr const wchar_t* kClassName = L"WakebellTimerHost";

  bool OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_TIMER) return false;
    auto it = timers_.find(UINT_PTR(wParam));
    if (it != timers_.end()) it->second->Fire();
    result = 0;
    return true;
  }

  UINT_PTR nextId_ = 1;
  std::map<ui::Timer*, UINT_PTR> ids_;
  std::map<UINT_PTR, ui::Timer*> timers_;
};

}  // namespace

std::unique_ptr<ui::ITimerHost> MakeWin32TimerHost() { return std::make_unique<Win32TimerHost>(); }

}  // namespace wb
