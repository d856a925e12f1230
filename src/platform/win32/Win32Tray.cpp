// The notification-area icon. A hidden top-level window owns it: the shell sends the icon's
// mouse events there as WM_MOUSEMOVE with the mouse message in lParam, and a restarted shell
// broadcasts "TaskbarCreated" there, on which the icon is put back (or the program would
// become unreachable: it has no other window).
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "model/TrayTip.h"
#include "platform/win32/HiddenWindow.h"
#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Diag.h"
#include "platform/win32/Win32Services.h"

namespace wb {

namespace win32 {

std::wstring TrayTipText(const std::string& utf8) {
  // The monitor has cut the tip already; cutting by the same rule again costs nothing and keeps
  // any caller's text inside the record's fixed field.
  return Widen(LimitTrayTip(utf8));
}

}  // namespace win32

namespace {

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;

// At the small-icon size of the present DPI; null when the program carries no such resource.
win32::UniqueIcon LoadTrayIcon(const wchar_t* resourceName) {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  return win32::UniqueIcon(
      HICON(LoadImageW(GetModuleHandleW(nullptr), resourceName, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR)));
}

class Win32Tray final : public ITray, win32::HiddenWindow<Win32Tray> {
 public:
  Win32Tray() {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    Create(WS_EX_TOOLWINDOW, WS_POPUP, nullptr, "CreateWindowExW of the tray's owner window");  // no icon, no menu
    // An elevated program would otherwise never hear of a restarted (unelevated) shell.
    if (Window() && taskbarCreated_) ChangeWindowMessageFilterEx(Window(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  }

  // The icon leaves the shell before the icons it showed and the window go.
  ~Win32Tray() override {
    if (wanted_) Delete();
  }

  void Add(TrayIcon icon, const std::string& tip) override {
    Remember(icon, tip);
    // Wanted even when the shell refused: at log-on the taskbar may not exist yet, and its
    // "TaskbarCreated" then brings the icon in.
    wanted_ = true;
    Notify(NIM_ADD);
  }

  void Modify(TrayIcon icon, const std::string& tip) override {
    Remember(icon, tip);
    Notify(NIM_MODIFY);
  }

  void Delete() override {
    Notify(NIM_DELETE);
    wanted_ = false;
  }

  void SetMouseHandler(std::function<void(int)> handler) override { mouse_ = std::move(handler); }
  void SetShellRestartHandler(std::function<void()> handler) override { restart_ = std::move(handler); }

  void CursorPos(int32_t& x, int32_t& y) override {
    POINT p{};
    if (!GetCursorPos(&p)) p = POINT{};
    x = p.x;
    y = p.y;
  }

  void ShowBalloon(const std::string& title, const std::string& text) override {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Window();
    data.uID = kIconId;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    // The zeroed record supplies the NULs; a longer text is cut, never written past the field.
    const std::wstring t = win32::Widen(title), x = win32::Widen(text);
    t.copy(data.szInfoTitle, std::min(t.size(), size_t(ARRAYSIZE(data.szInfoTitle)) - 1));
    x.copy(data.szInfo, std::min(x.size(), size_t(ARRAYSIZE(data.szInfo)) - 1));
    if (!Shell_NotifyIconW(NIM_MODIFY, &data)) win32::DiagLastError("Shell_NotifyIconW(NIF_INFO)");
  }

 private:
  void Remember(TrayIcon icon, const std::string& tip) {
    icon_ = icon;
    tip_ = win32::TrayTipText(tip);
  }

  HICON Icon(TrayIcon which) {
    const size_t slot = which == TrayIcon::Stop ? 1 : 0;
    if (!tried_[slot]) {
      tried_[slot] = true;
      loaded_[slot] = LoadTrayIcon(which == TrayIcon::Stop ? L"STOP" : L"APP");
    }
    // A build without the icon resources still shows something the user can click.
    return loaded_[slot] ? loaded_[slot].Get() : LoadIconW(nullptr, IDI_APPLICATION);
  }

  bool Notify(DWORD action) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Window();
    data.uID = kIconId;
    if (action != NIM_DELETE) {
      data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
      data.uCallbackMessage = kCallbackMessage;
      data.hIcon = Icon(icon_);
      // A cut tip always fits; the bound only guards against text that was not valid UTF-8
      // (each stray byte widens to a character of its own). The zeroed record supplies the NUL.
      constexpr size_t kTipField = ARRAYSIZE(data.szTip);
      static_assert(size_t(2 * kTrayTipMaxChars) < kTipField, "a cut tip and its NUL fit the field");
      tip_.copy(data.szTip, std::min(tip_.size(), kTipField - 1));
    }
    return Shell_NotifyIconW(action, &data) != FALSE;
  }

  void ShellRestarted() {
    if (!wanted_) return;  // deleted at shut-down: stay away
    // The broadcast also follows a change of DPI, so the icons are loaded again at the new
    // size; the shell keeps its own copy, so the old ones may go once the new one is in.
    {
      const win32::UniqueIcon old[2] = {std::move(loaded_[0]), std::move(loaded_[1])};
      tried_[0] = tried_[1] = false;
      if (!Notify(NIM_ADD)) Notify(NIM_MODIFY);  // a shell that kept the icon refuses to add it twice
    }
    if (restart_) restart_();
  }

  friend win32::HiddenWindow<Win32Tray>;
  static constexpr const wchar_t* kClassName = win32::kTrayWindowClass;

  bool OnMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (msg == kCallbackMessage) {
      // The window is never visible, so every WM_MOUSEMOVE here comes from the icon.
      if (mouse_) mouse_(int(LOWORD(lParam)));
      return true;
    }
    if (msg == taskbarCreated_ && msg != 0) {
      ShellRestarted();
      return true;
    }
    return false;
  }

  UINT taskbarCreated_ = 0;
  TrayIcon icon_ = TrayIcon::App;
  std::wstring tip_;
  bool wanted_ = false;  // added and not deleted since
  bool tried_[2] = {false, false};
  win32::UniqueIcon loaded_[2];
  std::function<void(int)> mouse_;
  std::function<void()> restart_;
};

}  // namespace

std::unique_ptr<ITray> MakeWin32Tray() { return std::make_unique<Win32Tray>(); }

}  // namespace wb
