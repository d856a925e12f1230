// editor_bench.exe: times the editor over a full table (32767 entries) with the real Win32
// front end, as a user meets it under Wine or Windows: opening (data file read, sort, the list
// box filled and painted), add, change, delete of one row and of 1000 rows, and a view switch,
// each with its list refresh and the paint that follows. Message boxes answer OK at once.
//   editor_bench FOLDER      works in FOLDER (a Windows path); prints one line per figure
// editor_bench.sh runs it under Wine.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app_state/AppState.h"
#include "editor/EditorWindow.h"
#include "platform/NativeServices.h"
#include "platform/win32/FrontEnd.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"
#include "storage/DataFile.h"

namespace {

using namespace wb;
using Ms = std::chrono::duration<double, std::milli>;

// OK to every question, so nothing waits for a person.
struct AnsweringDialogs : IDialogs {
  int MsgBox(const std::string&, int, const std::string&) override { return kAnswerOk; }
  bool OpenFile(const std::string&, const std::string&, std::string&) override { return false; }
  bool ChooseColor(uint32_t&) override { return false; }
  bool ChooseFont(ui::Font&) override { return false; }
};

// The real clock, counting the pauses the program makes on purpose (the change's re-selection).
struct CountingClock : IClock {
  std::unique_ptr<IClock> real = MakeNativeClock();
  int sleptMs = 0;
  Moment Read() override { return real->Read(); }
  int UtcOffsetMinutes(OleDate local) override { return real->UtcOffsetMinutes(local); }
  void Sleep(int ms) override {
    sleptMs += ms;
    real->Sleep(ms);
  }
};

// Every message waiting, the paints included: the user sees the result only then.
void Settle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

template <class F>
double Time(F&& step) {
  auto start = std::chrono::steady_clock::now();
  step();
  Settle();
  return Ms(std::chrono::steady_clock::now() - start).count();
}

void WriteFullTable(const std::string& path) {
  AlarmTable table;
  for (int i = 0; i < AlarmTable::kMaxEntries; ++i) {
    AlarmEntry e;
    e.AlarmTime = MakeDate(2026, 1 + i % 12, 1 + i % 28, (i / 60) % 24, i % 60);
    e.RepeatKind = int16_t(1 + i % 4);
    e.WeekdayMask = int16_t(1 << (i % 7));
    e.Message = "アラーム" + std::to_string(i);
    e.Look.BackColor = kButtonFaceColor;
    e.Look.FontName = "MS Pゴシック";
    e.Look.FontSize = 12;
    e.BlinkCount = 10;
    e.Look.ForeColorIndex = 7;
    e.Look.BackColorIndex = 5;
    table.Add(e);
  }
  SaveAlarmTable(path, table);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: editor_bench FOLDER\n");
    return 2;
  }
  const std::string folder = win32::Narrow(argv[1]) + "\\";
  auto frontEnd = MakeWin32FrontEnd(GetModuleHandleW(nullptr));
  auto timers = MakeWin32TimerHost();
  AnsweringDialogs dialogs;
  CountingClock clock;
  auto foreground = MakeWin32Foreground();
  auto mci = MakeWin32Mci();
  auto sound = MakeWin32SystemSound();
  auto devices = MakeWin32AudioDevices();
  auto shell = MakeWin32Shell();
  auto launcher = MakeWin32Launcher();
  Services& svc = Svc();
  svc.frontEnd = frontEnd.get();
  svc.dialogs = &dialogs;
  svc.clock = &clock;
  svc.foreground = foreground.get();
  svc.mci = mci.get();
  svc.sound = sound.get();
  svc.devices = devices.get();
  svc.shell = shell.get();
  svc.launcher = launcher.get();
  ui::Timer::SetHost(timers.get());

  AppState& app = App();
  app.programFolder = folder;
  app.dataPath = folder + "Wakebell.dat";
  ChooseMidiDevice("-");  // no device dialog in a benchmark
  ChooseWaveDevice("-");
  WriteFullTable(app.dataPath);

  EditorWindow* w = nullptr;
  auto report = [](const char* what, double ms) { std::printf("%-28s %8.1f ms\n", what, ms); };
  report("open (load, sort, fill)", Time([&] { w = &ui::TheForm<EditorWindow>(); }));
  report("open (show, first paint)", Time([&] { w->Show(); }));
  std::printf("rows: %d\n", w->alarmList.ListCount());
  report("delete one row", Time([&] {
           w->alarmList.ClickRow(5);
           w->deleteButton.Press();
         }));
  report("add", Time([&] {  // into the room the delete made
           w->hourEdit.SetText("23");
           w->minuteEdit.SetText("59");
           w->addButton.Press();
         }));
  clock.sleptMs = 0;
  double change = Time([&] {
    w->alarmList.ClickRow(100);
    w->hourEdit.SetText("12");
    w->changeButton.Press();
  });
  report("change (without its pause)", change - clock.sleptMs);
  std::vector<bool> rows(size_t(w->alarmList.ListCount()), false);
  for (size_t i = 0; i < 1000; ++i) rows[i * 7] = true;
  report("select 1000 rows", Time([&] { w->alarmList.UserSelect(rows, 0); }));
  report("delete 1000 rows", Time([&] { w->deleteButton.Press(); }));
  report("view switch to デイリー", Time([&] { w->dailyViewCheck.Toggle(); }));
  report("view switch to 一覧", Time([&] { w->allEntriesViewCheck.Toggle(); }));
  std::printf("rows: %d\n", w->alarmList.ListCount());

  ui::ForgetForm<EditorWindow>();
  ui::CollectRetiredForms();
  ui::Timer::SetHost(nullptr);
  svc = Services{};
  return 0;
}
