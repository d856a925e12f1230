// A hidden window of our own that no form owns (the tray's owner, the timers' host, the power
// watch): its class registered once, the window made, its object found again at every message,
// the window destroyed with the object. Internal to platform/win32; window logic never sees it.
#pragma once
#include <windows.h>

#include <string_view>

#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Diag.h"

namespace wb::win32 {

// `Derived` names its window class in `static constexpr const wchar_t* kClassName` and takes
// the messages it wants in `bool OnMessage(UINT, WPARAM, LPARAM, LRESULT& result)`: true with
// `result` set when it handled one, false for the default handling.
template <typename Derived>
class HiddenWindow {
 public:
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;

 protected:
  HiddenWindow() = default;
  // The object lets go of the window before the window goes: the messages of its destruction
  // then find no object, whose own members are gone by now.
  ~HiddenWindow() {
    if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
  }

  // Called from the derived constructor once its members are ready: messages reach them while
  // the window is being made. `parent` is HWND_MESSAGE for a message-only window, nullptr for a
  // top-level one (the only kind broadcasts reach). A failure is logged as `failure`; without
  // the class there is nothing to make, and its own failure was logged once already.
  void Create(DWORD exStyle, DWORD style, HWND parent, std::string_view failure) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClassOnce(instance)) return;
    window_.Reset(CreateWindowExW(exStyle, Derived::kClassName, L"", style, 0, 0, 0, 0, parent, nullptr, instance,
                                  static_cast<Derived*>(this)));
    if (!window_) DiagLastError(failure);
  }

  HWND Window() const { return window_.Get(); }

 private:
  // Once per process, however many objects come and go: the class is never unregistered.
  static bool RegisterClassOnce(HINSTANCE instance) {
    static const bool registered = [instance] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &HiddenWindow::WndProc;
      wc.hInstance = instance;
      wc.lpszClassName = Derived::kClassName;
      if (RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
      DiagLastError("RegisterClassExW(" + Narrow(Derived::kClassName) + ")");
      return false;
    }();
    return registered;
  }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
      LRESULT result = 0;
      if (self->OnMessage(msg, wParam, lParam, result)) return result;
      if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  UniqueWindow window_;
};

}  // namespace wb::win32
