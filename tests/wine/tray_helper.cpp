// tray_helper.exe: the Windows side of the monitor's smoke tests under Wine.
//   tray_helper tip            prints the text of the visible tooltip (the tray icon's tip) in UTF-8
//   tray_helper data PATH      writes a data file of three entries: a once entry two hours from
//                              now (prints its minute "hh:nn"), and two more days away
//   tray_helper empty PATH     writes a data file without entries
//   tray_helper sample PATH    writes a data file of four entries of different kinds (once,
//                              daily, monthly, weekly), none due within the next two hours
//   tray_helper origin CAPTION prints "x y", the screen position of the client area's top left
//                              corner of the visible top-level window with that caption (message
//                              boxes aside)
//   tray_helper rows CAPTION   prints the lines of that window's first list box, one a line, in
//                              UTF-8: what a screen reader reads from it
//   tray_helper row CAPTION N  prints "x y", the screen position of the middle of line N (from 0)
//                              of that list box, when the line is scrolled into view
//   tray_helper message        prints the text of the visible message box, in UTF-8
//   tray_helper texts CAPTION  prints the texts of that window's controls, one a line (line
//                              breaks within a text as spaces), in UTF-8: what a screen reader
//                              reads from the window
//   tray_helper controls CAPTION  prints one line per visible control of that window a user
//                              operates (labels, frames and read-only rich text aside): "off"
//                              (disabled), "stop" or "free" (a Tab stop, or an option beside
//                              one that is, or not), "icon" or "text" (a button
//                              drawing only its picture, or anything else), its class, then its
//                              window text (what a screen reader names it by), in UTF-8
//   tray_helper calendar CAPTION  prints "x y w h yyyy/mm/dd": the screen rectangle of the month
//                              that window's calendar draws (centred in the control) and the
//                              date it highlights
//   tray_helper place CAPTION  prints "l t r b" screen rectangles, one a line: the work area of
//                              the window's monitor, the window, its client area, and the
//                              control that has the keyboard focus (when it is in the window),
//                              followed by its window text
//   tray_helper at PATH KIND "yyyy/mm/dd hh:nn" MESSAGE [KIND MOMENT MESSAGE ...]
//                              writes a data file of these entries (KIND once or daily)
//   tray_helper resume         posts the resume notice (WM_POWERBROADCAST, resume automatic) to
//                              the program's power-notice window, as Windows does after sleep
//   tray_helper monitors       prints how many monitor windows (running copies) there are
//   tray_helper close          posts WM_CLOSE to the hidden monitor window, as an end task does
//   tray_helper endsession 1|0 asks the monitor window whether the session may end (prints the
//                              answer, 1 or 0), then tells it the session ends (1) or not (0)
// Exit 0 on success, 1 when there is no such window (or line), no visible tip, no monitor window
// or the file cannot be written.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
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
  e.Look.BackColor = wb::kButtonFaceColor;
  e.Look.FontName = "MS Pゴシック";
  e.Look.FontSize = 12;
  e.Look.FontBold = wb::kTrue;
  e.BlinkCount = 10;
  e.Look.ForeColorIndex = 7;
  e.Look.BackColorIndex = 5;
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

// Entries as the editor makes them, at the given moments.
int WriteEntries(int argc, wchar_t** argv) {
  wb::AlarmTable table;
  for (int i = 3; i + 2 < argc; i += 3) {
    wb::OleDate when = 0;
    if (!wb::ParseMoment(wb::win32::Narrow(argv[i + 1]) + ":00", when)) return 1;
    const bool daily = std::wstring(argv[i]) == L"daily";
    const std::string message = wb::win32::Narrow(argv[i + 2]);
    wb::AlarmEntry e = Entry(daily ? wb::kRepeatDaily : wb::kRepeatOnce, when, message.c_str());
    e.WeekdayMask = daily ? 0x7F : wb::MaskBitOfWeekday(wb::WeekdayOf(when));
    table.Add(e);
  }
  return wb::SaveAlarmTable(wb::win32::Narrow(argv[2]), table) ? 0 : 1;
}

int PostResume() {
  HWND power = FindWindowW(L"WakebellPowerWatch", nullptr);
  return power && PostMessageW(power, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0) ? 0 : 1;
}

int CountMonitors() {
  int count = 0;
  HWND h = nullptr;
  while ((h = FindWindowExW(nullptr, h, L"WakebellForm", L"Wakebell")) != nullptr)
    if (!IsWindowVisible(h)) ++count;
  std::printf("%d\n", count);
  return 0;
}

int WriteEmpty(const std::string& path) { return wb::SaveAlarmTable(path, wb::AlarmTable()) ? 0 : 1; }

int WriteSample(const std::string& path) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  const wb::OleDate today = wb::MakeDate(st.wYear, st.wMonth, st.wDay);
  // The repeating entries ring three hours from now (on the clock), so not during a test.
  const int later = (st.wHour + 3) % 24;
  wb::AlarmTable table;
  wb::AlarmEntry once = Entry(wb::kRepeatOnce, wb::MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute) + 2.0 / 24,
                             "会議の準備");
  once.WeekdayMask = wb::MaskBitOfWeekday(wb::WeekdayOf(once.AlarmTime));
  table.Add(once);
  wb::AlarmEntry daily = Entry(wb::kRepeatDaily, today + later / 24.0 + 0.5 / 24, "薬を飲む");
  daily.WeekdayMask = 0x7F;
  table.Add(daily);
  wb::AlarmEntry monthly = Entry(wb::kRepeatMonthly, today + 10 + later / 24.0, "家賃の振込");
  monthly.WeekdayMask = wb::MaskBitOfWeekday(wb::WeekdayOf(monthly.AlarmTime));
  table.Add(monthly);
  wb::AlarmEntry weekly = Entry(wb::kRepeatWeekly, today + later / 24.0 + 0.25 / 24, "ゴミ出し");
  weekly.WeekdayMask = wb::kMaskMonday | wb::kMaskThursday;
  table.Add(weekly);
  return wb::SaveAlarmTable(path, table) ? 0 : 1;
}

struct WindowSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindCaptioned(HWND h, LPARAM out) {
  auto* search = reinterpret_cast<WindowSearch*>(out);
  if (!IsWindowVisible(h)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (lstrcmpW(cls, L"#32770") == 0) return TRUE;  // a message box may carry the same caption
  wchar_t text[256] = {};
  GetWindowTextW(h, text, 256);
  if (search->caption != text) return TRUE;
  search->found = h;
  return FALSE;
}

HWND WindowCaptioned(const std::wstring& caption) {
  WindowSearch search{caption};
  EnumWindows(&FindCaptioned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK FindListBox(HWND h, LPARAM out) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (lstrcmpiW(cls, L"ListBox") != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = h;
  return FALSE;
}

HWND ListBoxOf(const std::wstring& caption) {
  HWND window = WindowCaptioned(caption);
  HWND list = nullptr;
  if (window) EnumChildWindows(window, &FindListBox, reinterpret_cast<LPARAM>(&list));
  return list;
}

int PrintOrigin(const std::wstring& caption) {
  HWND window = WindowCaptioned(caption);
  if (!window) return 1;
  POINT p = {0, 0};
  ClientToScreen(window, &p);
  std::printf("%ld %ld\n", p.x, p.y);
  return 0;
}

int PrintRows(const std::wstring& caption) {
  HWND list = ListBoxOf(caption);
  if (!list) return 1;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  if (count < 0) return 1;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
    if (length < 0) return 1;
    std::wstring line(size_t(length) + 1, L'\0');
    const LRESULT got = SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(line.data()));
    if (got < 0) return 1;
    line.resize(size_t(got));
    std::printf("%s\n", wb::win32::Narrow(line).c_str());
  }
  return 0;
}

int PrintRowPosition(const std::wstring& caption, int row) {
  HWND list = ListBoxOf(caption);
  if (!list || row < 0 || row >= SendMessageW(list, LB_GETCOUNT, 0, 0)) return 1;
  const int top = int(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  const int height = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  POINT p = {client.right / 2, (row - top) * height + height / 2};
  if (height <= 0 || p.y < 0 || p.y >= client.bottom) return 1;
  ClientToScreen(list, &p);
  std::printf("%ld %ld\n", p.x, p.y);
  return 0;
}

BOOL CALLBACK AppendStaticText(HWND h, LPARAM out) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (lstrcmpiW(cls, L"Static") != 0) return TRUE;
  wchar_t text[1024] = {};
  GetWindowTextW(h, text, 1024);
  if (*text) *reinterpret_cast<std::wstring*>(out) += text;
  return TRUE;
}

BOOL CALLBACK FindMessageBox(HWND h, LPARAM out) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND*>(out) = h;
  return FALSE;
}

int PrintMessage() {
  HWND box = nullptr;
  EnumWindows(&FindMessageBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return 1;
  std::wstring text;
  EnumChildWindows(box, &AppendStaticText, reinterpret_cast<LPARAM>(&text));
  std::printf("%s\n", wb::win32::Narrow(text).c_str());
  return 0;
}

// Asked of the control itself: for a window of another process GetWindowText gives only the
// text it was created with, not what an edit box or rich edit holds now.
BOOL CALLBACK AppendControlText(HWND h, LPARAM out) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) || length == 0) return TRUE;
  std::wstring text(size_t(length) + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 2000, &got))
    return TRUE;
  text.resize(std::min(size_t(got), size_t(length)));
  for (wchar_t& ch : text)
    if (ch == L'\r' || ch == L'\n') ch = L' ';
  auto& lines = *reinterpret_cast<std::wstring*>(out);
  lines += text;
  lines += L'\n';
  return TRUE;
}

int PrintTexts(const std::wstring& caption) {
  HWND window = WindowCaptioned(caption);
  if (!window) return 1;
  std::wstring lines;
  EnumChildWindows(window, &AppendControlText, reinterpret_cast<LPARAM>(&lines));
  std::printf("%s", wb::win32::Narrow(lines).c_str());
  return 0;
}

BOOL CALLBACK AppendOperable(HWND h, LPARAM out) {
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  if (!IsWindowVisible(h)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  const bool button = lstrcmpiW(cls, L"Button") == 0;
  if (lstrcmpiW(cls, L"Static") == 0 || (button && (style & BS_TYPEMASK) == BS_GROUPBOX) ||
      (_wcsnicmp(cls, L"RichEdit", 8) == 0 && (style & ES_READONLY)))
    return TRUE;
  const bool iconOnly = button && (style & BS_ICON);
  // An option is reached as its group: the ticked one carries the stop (the button itself
  // moves WS_TABSTOP to the option ticked), the arrows lead to the others. The program's
  // windows have one group of options each.
  auto isOption = [](HWND k) {
    const LONG_PTR type = GetWindowLongPtrW(k, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
  };
  bool stop = style & WS_TABSTOP;
  if (!stop && button && isOption(h))
    for (HWND k = GetWindow(h, GW_HWNDFIRST); k && !stop; k = GetWindow(k, GW_HWNDNEXT))
      stop = isOption(k) && (GetWindowLongPtrW(k, GWL_STYLE) & WS_TABSTOP);
  std::wstring line = !IsWindowEnabled(h) ? L"off " : stop ? L"stop " : L"free ";
  line += iconOnly ? L"icon " : L"text ";
  line += cls;
  line += L' ';
  std::wstring names;
  AppendControlText(h, reinterpret_cast<LPARAM>(&names));  // nothing for an empty text
  line += names.empty() ? L"\n" : names;
  *reinterpret_cast<std::wstring*>(out) += line;
  return TRUE;
}

int PrintOperable(const std::wstring& caption) {
  HWND window = WindowCaptioned(caption);
  if (!window) return 1;
  std::wstring lines;
  EnumChildWindows(window, &AppendOperable, reinterpret_cast<LPARAM>(&lines));
  std::printf("%s", wb::win32::Narrow(lines).c_str());
  return 0;
}

BOOL CALLBACK FindCalendar(HWND h, LPARAM out) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (lstrcmpiW(cls, MONTHCAL_CLASSW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = h;
  return FALSE;
}

// The highlighted date is asked through memory of the program's own: the calendar writes it
// into the caller's process space.
int PrintCalendar(const std::wstring& caption) {
  HWND window = WindowCaptioned(caption), calendar = nullptr;
  if (window) EnumChildWindows(window, &FindCalendar, reinterpret_cast<LPARAM>(&calendar));
  if (!calendar) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(calendar, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  SYSTEMTIME st{};
  RECT drawn{};  // the month as drawn, centred in the control
  void* remote = VirtualAllocEx(process, nullptr, sizeof st + sizeof drawn, MEM_COMMIT, PAGE_READWRITE);
  DWORD_PTR got = 0;
  bool read = remote &&
              SendMessageTimeoutW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                  2000, &got) &&
              got && ReadProcessMemory(process, remote, &st, sizeof st, nullptr) &&
              SendMessageTimeoutW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(remote),
                                  SMTO_ABORTIFHUNG, 2000, &got) &&
              ReadProcessMemory(process, remote, &drawn, sizeof drawn, nullptr);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  if (!read) return 1;
  RECT r;
  GetWindowRect(calendar, &r);
  const long width = r.right - r.left, drawnWidth = std::min(width, drawn.right - drawn.left);
  std::printf("%ld %ld %ld %ld %04d/%02d/%02d\n", r.left + (width - drawnWidth) / 2, r.top, drawnWidth,
              r.bottom - r.top, st.wYear, st.wMonth, st.wDay);
  return 0;
}

int PrintPlace(const std::wstring& caption) {
  HWND window = WindowCaptioned(caption);
  if (!window) return 1;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi);
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  auto print = [](const RECT& r) { std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom); };
  print(mi.rcWork);
  print(outer);
  print(client);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) && gui.hwndFocus &&
      IsChild(window, gui.hwndFocus)) {
    RECT focus{};
    GetWindowRect(gui.hwndFocus, &focus);
    wchar_t text[256] = {};
    GetWindowTextW(gui.hwndFocus, text, 256);
    std::printf("%ld %ld %ld %ld %s\n", focus.left, focus.top, focus.right, focus.bottom, wb::win32::Narrow(text).c_str());
  }
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
  if (command == L"at" && argc > 5) return WriteEntries(argc, argv);
  if (command == L"resume") return PostResume();
  if (command == L"monitors") return CountMonitors();
  if (command == L"close") {
    HWND monitor = MonitorWindow();
    return monitor && PostMessageW(monitor, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (command == L"endsession" && argc > 2) return EndSession(std::wstring(argv[2]) == L"1");
  if (command == L"empty" && argc > 2) return WriteEmpty(wb::win32::Narrow(argv[2]));
  if (command == L"sample" && argc > 2) return WriteSample(wb::win32::Narrow(argv[2]));
  if (command == L"origin" && argc > 2) return PrintOrigin(argv[2]);
  if (command == L"rows" && argc > 2) return PrintRows(argv[2]);
  if (command == L"place" && argc > 2) return PrintPlace(argv[2]);
  if (command == L"row" && argc > 3) return PrintRowPosition(argv[2], _wtoi(argv[3]));
  if (command == L"message") return PrintMessage();
  if (command == L"texts" && argc > 2) return PrintTexts(argv[2]);
  if (command == L"controls" && argc > 2) return PrintOperable(argv[2]);
  if (command == L"calendar" && argc > 2) return PrintCalendar(argv[2]);
  std::fprintf(stderr,
               "usage: tray_helper tip | data PATH | at PATH KIND MOMENT MESSAGE... | resume | monitors | empty PATH | sample PATH | origin CAPTION | rows CAPTION"
               " | place CAPTION | row CAPTION N | message | texts CAPTION | close | endsession 1|0\n");
  return 2;
}
