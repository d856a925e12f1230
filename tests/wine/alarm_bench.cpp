// alarm_bench.exe: times presenting an alarm whose message is as long as the editor accepts
// (32,767 characters) with the real Win32 front end, as a user meets it under Wine or Windows:
// the window filled, formatted and shown with the paints that follow, and the memory it took.
//   alarm_bench          prints one line per figure
//   alarm_bench --check  the same, and fails (exit 1) when a long message takes more than a
//                        second of the processor to present (or three on the clock) or the
//                        window does not hold the whole message; and a message of 600
//                        characters must grow the window, show a scroll bar and reach its
//                        last line by the keyboard (Page Down, End) from the focused button
//   alarm_bench --show-long FOLDER [CHARS]  presents the 600 characters (or CHARS) and keeps the window up for
//                        the keyboard and screenshots of a test: FOLDER/shown once it is up,
//                        until FOLDER/done appears (a minute at most); then prints where the
//                        view is and exits 1 unless the last line is in view
// alarm_bench.sh runs it under Wine and prints the figures; alarm_long_message_test.sh checks.
#include <windows.h>

#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "alert/AlarmWindow.h"
#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "platform/NativeServices.h"
#include "platform/win32/FrontEnd.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace {

using namespace wb;
using Ms = std::chrono::duration<double, std::milli>;

constexpr int kLongestMessage = 32767;  // the editor's message box holds no more
// The budget holds for the processor time the program takes; the time on the clock may be
// longer on a machine busy with other work, but not three times.
constexpr double kPresentBudgetMs = 1000, kPresentClockLimitMs = 3000;

// Every message waiting, the paints included: the user sees the alarm only then.
void Settle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The processor time this process has taken, user and kernel, in milliseconds.
double CpuMsNow() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000; };
  return ms(kernel) + ms(user);
}

// Committed memory (what the process allocated) and the peak of its working set, in MB.
struct Memory {
  double committedMb = 0, peakMb = 0;
};
Memory MemoryNow() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return {double(pmc.PagefileUsage) / (1 << 20), double(pmc.PeakWorkingSetSize) / (1 << 20)};
}

// `count` characters of `unit` repeated, cut at a character (every unit character is one).
std::string Repeat(const std::string& unit, int unitChars, int count) {
  std::string out;
  for (int n = 0; n < count; n += unitChars) out += unit;
  // Cut back to `count` characters: walk UTF-8 lead bytes.
  int chars = 0;
  size_t i = 0;
  for (; i < out.size() && chars < count; ++i)
    if ((static_cast<unsigned char>(out[i]) & 0xC0) != 0x80) ++chars;
  while (i < out.size() && (static_cast<unsigned char>(out[i]) & 0xC0) == 0x80) ++i;
  out.resize(i);
  return out;
}

AlarmEntry LongEntry(const std::string& message) {
  AlarmEntry e;
  e.RepeatKind = kRepeatOnce;
  e.Message = message;
  e.BlinkFlag = 0;
  e.KeepWindowFlag = 1;
  e.Look.ForeColor = 0x0000C0;
  e.Look.BackColor = 0xE0FFFF;
  e.Look.FontName = "MS Pゴシック";
  e.Look.FontSize = 16;
  e.Look.FontBold = kTrue;
  return e;
}

// The text of the alarm window's message box (the rich edit that has the most text), without
// its paragraph ends: the window may cut a long run of letters into lines of its own.
std::wstring ShownMessage() {
  HWND window = FindWindowW(nullptr, L"Wakebell (アラーム)");
  std::wstring longest;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM out) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (!std::wcsstr(cls, L"RICHEDIT") && !std::wcsstr(cls, L"RichEdit")) return TRUE;
        GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
        std::wstring text(size_t(SendMessageW(child, EM_GETTEXTLENGTHEX, WPARAM(&q), 0)) + 1, L'\0');
        GETTEXTEX get{DWORD(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
        text.resize(size_t(SendMessageW(child, EM_GETTEXTEX, WPARAM(&get), LPARAM(text.data()))));
        std::erase(text, L'\r');
        auto& best = *reinterpret_cast<std::wstring*>(out);
        if (text.size() > best.size()) best = std::move(text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&longest));
  return longest;
}

// The message box of the alarm window: the scrollable rich edit.
HWND MessageView() {
  HWND window = FindWindowW(nullptr, L"Wakebell (アラーム)");
  HWND found = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM out) -> BOOL {
        if (!(GetWindowLongPtrW(child, GWL_STYLE) & ES_AUTOVSCROLL)) return TRUE;
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

struct View {
  bool bar = false;       // the vertical scroll bar shows
  int firstLine = 0, lastShownLine = 0, lines = 0;
  SIZE window{}, work{};
};

View ViewOfMessage() {
  View v;
  HWND box = MessageView();
  if (!box) return v;
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  v.bar = (GetWindowLongPtrW(box, GWL_STYLE) & WS_VSCROLL) && GetScrollBarInfo(box, OBJID_VSCROLL, &sbi) &&
          !(sbi.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE));
  v.firstLine = int(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
  v.lines = int(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
  RECT r{};
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINTL bottom{r.left + 2, r.bottom - 2};
  const LRESULT at = SendMessageW(box, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&bottom));
  v.lastShownLine = int(SendMessageW(box, EM_EXLINEFROMCHAR, 0, at));
  RECT window{};
  GetWindowRect(GetAncestor(box, GA_ROOT), &window);
  v.window = {window.right - window.left, window.bottom - window.top};
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  v.work = {work.right - work.left, work.bottom - work.top};
  return v;
}

void PrintView(const char* when, const View& v) {
  std::printf("600 characters %s: window %ldx%ld in a work area of %ldx%ld, scroll bar %s, lines %d-%d of %d\n", when,
              v.window.cx, v.window.cy, v.work.cx, v.work.cy, v.bar ? "shown" : "none", v.firstLine + 1,
              v.lastShownLine + 1, v.lines);
}

// A key as the keyboard gives it to the focused control, through the program's message loop.
void PressKey(WPARAM key) {
  HWND focused = GetFocus();
  if (!focused) focused = static_cast<HWND>(ui::TheForm<AlarmWindow>().inertDefaultButton.native);
  PostMessageW(focused, WM_KEYDOWN, key, 1);
  PostMessageW(focused, WM_KEYUP, key, LPARAM(0xC0000001));
  Svc().frontEnd->DoEvents();
}

std::string LongMessage(int chars = 600) {
  return Repeat("会議の資料を持って三階の大会議室へ行く。終わったら議事録を共有フォルダに置く。", 38, chars);
}

// The 600 characters: a window larger than designed and at most half the work area, a scroll
// bar, and the last line reached by Page Down and by End from the focused button.
bool CheckLongMessageScrolls() {
  bool ok = true;
  auto fail = [&ok](const char* what) {
    std::printf("FAIL 600 characters: %s\n", what);
    ok = false;
  };
  // 217 characters: a larger window that shows all of them, without a bar.
  int slot = App().table.Add(LongEntry(LongMessage(217)));
  TheAlarm().Present(slot, true, "07:30");
  Svc().frontEnd->DoEvents();
  View v = ViewOfMessage();
  std::printf("217 characters: window %ldx%ld, scroll bar %s, lines %d-%d of %d\n", v.window.cx, v.window.cy,
              v.bar ? "shown" : "none", v.firstLine + 1, v.lastShownLine + 1, v.lines);
  if (v.window.cx <= 213 || v.bar || v.firstLine != 0 || v.lastShownLine + 1 < v.lines) {
    std::printf("FAIL 217 characters: not all of them shown in a larger window without a bar\n");
    ok = false;
  }
  TheAlarm().Dismiss();
  Settle();

  slot = App().table.Add(LongEntry(LongMessage()));
  TheAlarm().Present(slot, true, "07:30");
  Svc().frontEnd->DoEvents();
  v = ViewOfMessage();
  PrintView("shown", v);
  if (v.window.cx <= 213 || v.window.cy <= 142) fail("the window did not grow");
  if (v.window.cx > v.work.cx / 2 + 16 || v.window.cy > v.work.cy / 2 + 40) fail("the window is more than half the work area");
  if (!v.bar) fail("no scroll bar");
  if (v.firstLine != 0) fail("the message does not start at its top");
  if (v.lastShownLine + 1 >= v.lines) fail("all of it shows: nothing to scroll");
  int pages = 0;
  for (; pages < 40 && ViewOfMessage().lastShownLine + 1 < ViewOfMessage().lines; ++pages) PressKey(VK_NEXT);
  v = ViewOfMessage();
  PrintView("after Page Down", v);
  if (v.lastShownLine + 1 < v.lines) fail("Page Down does not reach the last line");
  PressKey(VK_HOME);
  if (ViewOfMessage().firstLine != 0) fail("Home does not go back to the top");
  PressKey(VK_END);
  v = ViewOfMessage();
  PrintView("after End", v);
  if (v.lastShownLine + 1 < v.lines) fail("End does not reach the last line");
  if (!TheAlarm().Progress().sounding) fail("the keys ended the alarm");
  TheAlarm().Dismiss();
  Settle();
  return ok;
}

// For a test's real keyboard and its screenshots.
int ShowLongMessage(const std::wstring& folder, int chars) {
  const int slot = App().table.Add(LongEntry(LongMessage(chars)));
  TheAlarm().Present(slot, true, "07:30");
  Svc().frontEnd->DoEvents();
  CloseHandle(CreateFileW((folder + L"\\shown").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  for (int i = 0; i < 1200 && GetFileAttributesW((folder + L"\\done").c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Svc().frontEnd->DoEvents();
    Sleep(50);
  }
  const View v = ViewOfMessage();
  PrintView("after the keys", v);
  const bool ok = (v.bar || chars < 600) && v.lastShownLine + 1 >= v.lines && TheAlarm().Progress().sounding;
  TheAlarm().Dismiss();
  Settle();
  return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool check = argc > 1 && std::wcscmp(argv[1], L"--check") == 0;
  const bool showLong = argc > 2 && std::wcscmp(argv[1], L"--show-long") == 0;
  auto frontEnd = MakeWin32FrontEnd(GetModuleHandleW(nullptr));
  auto timers = MakeWin32TimerHost();
  auto dialogs = MakeWin32Dialogs();
  auto clock = MakeNativeClock();
  auto foreground = MakeWin32Foreground();
  auto mci = MakeWin32Mci();
  auto sound = MakeWin32SystemSound();
  auto devices = MakeWin32AudioDevices();
  Services& svc = Svc();
  svc.frontEnd = frontEnd.get();
  svc.dialogs = dialogs.get();
  svc.clock = clock.get();
  svc.foreground = foreground.get();
  svc.mci = mci.get();
  svc.sound = sound.get();
  svc.devices = devices.get();
  ui::Timer::SetHost(timers.get());

  struct Case {
    const char* name;
    std::string message;
  };
  // A message typed or pasted as one paragraph, and one of many short lines.
  const Case cases[] = {
      {"one paragraph", Repeat("会議の時間です。資料を持って行く。", 17, kLongestMessage)},
      {"short lines", Repeat("会議の時間です。資料を持って行く\r\n", 18, kLongestMessage)},
      {"english", Repeat("Meeting at ten. Bring the papers. ", 34, kLongestMessage)},
      // No break for the edit to wrap at: one pasted word, kana alone, and words each wider
      // than a line.
      {"one word", Repeat("a", 1, kLongestMessage)},
      {"kana only", Repeat("あ", 1, kLongestMessage)},
      {"wide words", Repeat(std::string(63, 'a') + " ", 64, kLongestMessage)},
  };

  // A short alarm first, so the window class, fonts and rich edit are loaded before timing.
  App().table.Add(LongEntry("会議の時間です"));
  TheAlarm().Present(0, true, "07:30");
  Settle();
  TheAlarm().Dismiss();
  Settle();

  bool ok = true;
  if (showLong) {
    ok = ShowLongMessage(argv[2], argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 600) == 0;
  } else if (check) {
    ok = CheckLongMessageScrolls();
  }
  for (const Case& c : showLong ? std::span<const Case>() : std::span<const Case>(cases)) {
    AppState& app = App();
    const int slot = app.table.Add(LongEntry(c.message));
    const Memory before = MemoryNow();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuMsNow();
    TheAlarm().Present(slot, true, "07:30");
    Settle();
    const double ms = Ms(std::chrono::steady_clock::now() - start).count(), cpuMs = CpuMsNow() - cpuStart;
    const Memory after = MemoryNow();
    const std::wstring shown = ShownMessage();
    std::printf("present %-14s %8.1f ms (processor %7.1f ms)  committed %+7.1f MB  peak working set %7.1f MB  shown %d chars\n",
                c.name, ms, cpuMs, after.committedMb - before.committedMb, after.peakMb, int(shown.size()));
    if (check) {
      if (cpuMs > kPresentBudgetMs || ms > kPresentClockLimitMs) {
        std::printf("FAIL %s: %.0f ms (%.0f ms of the processor) to present, more than %.0f ms\n", c.name, ms, cpuMs,
                    kPresentBudgetMs);
        ok = false;
      }
      std::wstring message = wb::win32::Widen(c.message);
      std::erase(message, L'\r');
      std::erase(message, L'\n');
      if (shown != message) {
        std::printf("FAIL %s: the window holds %d characters, not the message's %d\n", c.name, int(shown.size()),
                    int(message.size()));
        ok = false;
      }
    }
    TheAlarm().Dismiss();
    Settle();
  }

  TheAlarm().StopTimers();
  ui::ForgetAllForms();
  ui::CollectRetiredForms();
  ui::Timer::SetHost(nullptr);
  svc = Services{};
  return ok ? 0 : 1;
}
