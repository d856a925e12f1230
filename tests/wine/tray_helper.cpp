// tray_helper.exe: the Windows side of the monitor's smoke tests under Wine.
//   tray_helper tip          prints the text of the visible tooltip (the tray icon's tip) in UTF-8
//   tray_helper data PATH    writes a data file of three entries: a once entry two hours from
//                            now (prints its minute "hh:nn"), and two more days away
// Exit 0 on success, 1 when there is no visible tip or the file cannot be written.
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
  std::fprintf(stderr, "usage: tray_helper tip | data PATH\n");
  return 2;
}
