// tray_helper.exe: the Windows side of the monitor's smoke tests under Wine.
//   tray_helper tip          prints the text of the visible tooltip (the tray icon's tip) in UTF-8
//   tray_helper data PATH    writes a data file of three entries: a once entry two hours from
//                            now (prints its minute "hh:nn"), and two more days away
//   tray_helper close        posts WM_CLOSE to the hidden monitor window, as an end task does
//   tray_helper endsession 1|0
//                            asks the monitor window whether the session may end (prints the
//                            answer, 1 or 0), then tells it the session ends (1) or not (0)
// Exit 0 on success, 1 when there is no visible tip, no monitor window or the file cannot be
// written.
#include <windows.h>

#include <cstdio>
#include <string>

#include "model/AlarmTable.h"
#include "platform/win32/Utf.h"
#include "storage/DataFile.h"

namespace {

BOOL CALLBACK FindVisibleTip(HWND h, LPARAM out) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (lstrcmpiW(cls, L"tooltips_class32") != 0 || !IsWindowVisible(h)) return TRUE;
  wchar_t text[256] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
  if (!*text) return TRUE;
  *reinterpret_cast<std::wstring*>(out) = text;
  return FALSE;
}

wb::AlarmEntry Entry(int16_t kind, wb::OleDate when, const char* message) {
  wb::AlarmEntry e;
  e.AlarmTime = when;
  e.RepeatKind = kind;
  e.Message = message;
  e.BackColor = wb::kButtonFaceColor;
  e.FontName = "MS Pゴシック";
  e.FontSize = 12;
  e.FontBold = wb::kTrue;
  e.BlinkCount = 10;
  e.ForeColorIndex = 7;
  e.BackColorIndex = 5;
  return e;
}

int WriteData(const std::string& path) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  const wb::OleDate today = wb::MakeDate(st.wYear, st.wMonth, st.wDay);
  // Nothing rings while the test runs: the bells are hours or days away.
  const wb::OleDate soon = wb::MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute) + 2.0 / 24;
  wb::AlarmTable table;
  table.Add(Entry(wb::kRepeatOnce, soon, "会議の準備"));
  table.Add(Entry(wb::kRepeatOnce, today + 4 + 12.0 / 24, "昼休み"));
  table.Add(Entry(wb::kRepeatOnce, today + 5 + 7.5 / 24, "歯医者の予約"));
  if (!wb::SaveAlarmTable(path, table)) return 1;
  std::printf("%s\n", wb::FormatHourMinute(soon).c_str());
  return 0;
}

// The monitor: the program's one hidden form captioned with the program's title.
HWND MonitorWindow() {
  HWND h = nullptr;
  while ((h = FindWindowExW(nullptr, h, L"WakebellForm", L"Wakebell")) != nullptr)
    if (!IsWindowVisible(h)) return h;
  return nullptr;
}

// What Windows does at log-off: the question to every window, then the outcome. The answer
// is sent with a timeout, as Windows gives a hung program only a few seconds.
int EndSession(bool ending) {
  HWND monitor = MonitorWindow();
  if (!monitor) return 1;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(monitor, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer))
    return 1;
  std::printf("%d\n", answer ? 1 : 0);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(monitor, WM_ENDSESSION, ending ? TRUE : FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000,
                      &ignored);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"tip") {
    std::wstring tip;
    EnumWindows(&FindVisibleTip, reinterpret_cast<LPARAM>(&tip));
    if (tip.empty()) return 1;
    std::printf("%s\n", wb::win32::Narrow(tip).c_str());
    return 0;
  }
  if (command == L"data" && argc > 2) return WriteData(wb::win32::Narrow(argv[2]));
  if (command == L"close") {
    HWND monitor = MonitorWindow();
    return monitor && PostMessageW(monitor, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (command == L"endsession" && argc > 2) return EndSession(std::wstring(argv[2]) == L"1");
  std::fprintf(stderr, "usage: tray_helper tip | data PATH | close | endsession 1|0\n");
  return 2;
}
