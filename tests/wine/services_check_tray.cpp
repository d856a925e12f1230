// Checker of the real Win32 services, part four: the tray icon through Wine's shell, its
// callback messages, the shell-restart broadcast, the tip cut and the cursor position.
#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"
#include "services_check.h"

namespace wbcheck {

namespace {

// Asks the shell whether it knows our icon: modifying nothing succeeds only for an icon it has.
bool ShellHasIcon(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TipChecks(Tally& t) {
  using wb::win32::TrayTipText;
  t.Expect(TrayTipText(std::string(70, 'a')) == std::wstring(63, L'a'), "tip: cut to 63 characters");
  const std::string paused = "\u30A2\u30E9\u30FC\u30E0\u306F\u505C\u6B62\u4E2D\u3067\u3059";
  t.Expect(TrayTipText(paused) == L"\u30A2\u30E9\u30FC\u30E0\u306F\u505C\u6B62\u4E2D\u3067\u3059", "tip: Japanese kept whole");
  // U+1F514 (a bell) takes two UTF-16 units; the cut counts it once and never halves it.
  std::string bells;
  for (int i = 0; i < 70; ++i) bells += "\U0001F514";
  const std::wstring cut = TrayTipText(bells);
  t.Expect(cut.size() == 126 && IS_HIGH_SURROGATE(cut[124]) && IS_LOW_SURROGATE(cut[125]),
           "tip: 63 surrogate pairs, none split", std::to_string(cut.size()));
  const std::wstring mixed = TrayTipText(std::string(62, 'a') + "\U0001F514\U0001F514");
  t.Expect(mixed.size() == 64 && IS_LOW_SURROGATE(mixed.back()), "tip: a pair at the limit stays whole");
  t.Expect(TrayTipText("").empty(), "tip: empty stays empty");
}

void SignalScript(const Setup& setup, const std::wstring& name) {
  std::ofstream(std::filesystem::path(setup.sync) / (name + L".ready")).put('\n');
}

}  // namespace

void TrayChecks(Tally& t, const Setup& setup) {
  TipChecks(t);
  auto tray = wb::MakeWin32Tray();
  HWND owner = FindWindowW(wb::win32::kTrayWindowClass, nullptr);
  t.Expect(owner != nullptr && !IsWindowVisible(owner), "tray: a hidden owner window exists");
  std::vector<int> mouse;
  int restarts = 0;
  tray->SetMouseHandler([&](int m) { mouse.push_back(m); });
  tray->SetShellRestartHandler([&] { ++restarts; });

  tray->Add(wb::TrayIcon::App, "Wakebell");
  t.Expect(ShellHasIcon(owner), "tray: the shell shows the added icon");

  PostMessageW(owner, WM_MOUSEMOVE, 1, WM_RBUTTONDOWN);
  PumpUntil([&] { return !mouse.empty(); }, 2000);
  t.Expect(mouse.size() == 1 && mouse[0] == WM_RBUTTONDOWN, "tray: a callback reaches the handler as its mouse message");

  if (setup.trayClick && !setup.sync.empty()) {
    mouse.clear();
    SignalScript(setup, L"tray-ready");
    const bool clicked = PumpUntil([&] {
      for (int m : mouse) if (m == WM_LBUTTONDOWN) return true;
      return false;
    }, 20000);
    SignalScript(setup, L"tray-clicked");  // the script stops clicking
    t.Expect(clicked, "tray: a real click on the icon arrives as WM_LBUTTONDOWN");
  }

  // The shell forgets the icon (it restarted): the broadcast must bring it back.
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = owner;
  gone.uID = 1;
  Shell_NotifyIconW(NIM_DELETE, &gone);
  t.Expect(!ShellHasIcon(owner), "tray: the shell forgot the icon");
  PostMessageW(owner, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  PumpUntil([&] { return restarts > 0; }, 2000);
  t.Expect(restarts == 1 && ShellHasIcon(owner), "tray: TaskbarCreated adds the icon again and tells the program");

  tray->Modify(wb::TrayIcon::Stop, "\u30A2\u30E9\u30FC\u30E0\u306F\u505C\u6B62\u4E2D\u3067\u3059");
  t.Expect(ShellHasIcon(owner), "tray: modified icon still shown");
  tray->Delete();
  t.Expect(!ShellHasIcon(owner), "tray: deleted icon gone");
  PostMessageW(owner, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  PumpUntil([] { return false; }, 300);
  t.Expect(restarts == 1 && !ShellHasIcon(owner), "tray: a deleted icon stays deleted when the shell restarts");

  int32_t x = 0, y = 0;
  SetCursorPos(123, 77);
  tray->CursorPos(x, y);
  t.Expect(x == 123 && y == 77, "tray: cursor position", std::to_string(x) + "," + std::to_string(y));
}

}  // namespace wbcheck
