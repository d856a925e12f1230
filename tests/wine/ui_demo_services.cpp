// The timer host, the dialogs, the pop-up menu, the foreground helper, modal forms, and the end
// of a form: a close request it may refuse, and an unload that destroys the native window.
#include <windows.h>

#include "platform/win32/FrontEnd.h"
#include "platform/win32/Utf.h"
#include "ui_demo.h"

namespace wb::demo {
namespace {

class ModalForm : public ui::Form {
 public:
  ModalForm() : ui::Form("ModalForm", "モーダル", 3000, 1200) {}
  ui::Label noticeLabel{*this, "noticeLabel", {.rect = {120, 120, 2760, 255}, .caption = "モーダルウィンドウ"}};
};

std::string ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return win32::Narrow(path);
}

// Chooses menu items by keys once the menu is up.
BOOL CALLBACK FindMenu(HWND h, LPARAM p) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  if (lstrcmpW(cls, L"#32768") == 0 && IsWindowVisible(h)) {
    *reinterpret_cast<HWND*>(p) = h;
    return FALSE;
  }
  return TRUE;
}

// A window of another thread holding the foreground, as another program's window would.
class OtherProgram {
 public:
  OtherProgram() {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &OtherProgram::Run, this, 0, &id_);
    WaitForSingleObject(ready_, 5000);
  }
  ~OtherProgram() {
    PostThreadMessageW(id_, WM_QUIT, 0, 0);
    // Its window's end sends activation messages to our windows: keep serving them meanwhile.
    DWORD end = GetTickCount() + 5000;
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           int(end - GetTickCount()) > 0)
      Svc().frontEnd->DoEvents();
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  DWORD Thread() const { return id_; }

 private:
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<OtherProgram*>(p);
    HWND h = CreateWindowExW(0, L"STATIC", L"他のプログラム", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 120,
                             nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(h);
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(h);
    return 0;
  }
  HANDLE ready_ = nullptr, thread_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace

void RunServiceChecks(SampleForm& f, TopForm& top) {
  // Timers tick on the message loop until disabled; a restart takes the new interval.
  ui::Timer t("sampleTimer", 30);
  int ticks = 0;
  t.onTick = [&] { ++ticks; };
  t.SetEnabled(true);
  bool ticked = PumpUntil([&] { return ticks >= 3; }, 3000);
  t.SetEnabled(false);
  int stopped = ticks;
  Pump(200);
  Check(ticked && ticks == stopped, "a timer ticks until disabled", std::to_string(ticks));

  // Message box: the style and answer numbers pass through; timers tick in its modal loop.
  int answer;
  {
    DialogAnswer cancel{IDCANCEL};
    answer = Svc().dialogs->MsgBox("よろしいですか？", kOkCancel | kIconQuestion, "Wakebell");
  }
  Check(answer == kAnswerCancel, "message box answered Cancel", std::to_string(answer));

  // Open-file dialog: starts in the folder of the path given and offers its name.
  std::string path = ProgramPath(), chosen = path;
  bool ok;
  {
    DialogAnswer accept{IDOK};
    ok = Svc().dialogs->OpenFile("ファイルを開く", "プログラム|*.exe|すべてのファイル|*.*", chosen);
  }
  Check(ok && lstrcmpiW(win32::Widen(chosen).c_str(), win32::Widen(path).c_str()) == 0,
        "open-file dialog returns the offered file", chosen);
  chosen = "C:\\no such folder\\Wakebell";
  {
    DialogAnswer cancel{IDCANCEL};
    ok = Svc().dialogs->OpenFile("ファイルを開く", "データファイル|*.dat", chosen);
  }
  Check(!ok && chosen == "C:\\no such folder\\Wakebell", "a cancelled dialog leaves the path");
  std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  chosen = folder + "新しいデータ";
  {
    DialogAnswer acceptAndCreate{IDOK, IDYES};
    ok = Svc().dialogs->OpenFileWith("Fileを開く", "データファイル|*.dat|すべてのファイル|*.*", chosen,
                                     OpenFileOptions{true, ".dat"});
  }
  Check(ok && lstrcmpiW(win32::Widen(chosen).c_str(), win32::Widen(folder + "新しいデータ.dat").c_str()) == 0,
        "a new file name may be chosen after the question, with the default extension", chosen);
  uint32_t color = 0x00336699;
  {
    DialogAnswer accept{IDOK};
    ok = Svc().dialogs->ChooseColor(color);
  }
  Check(ok && color == 0x00336699, "colour dialog starts from the colour given", std::to_string(color));
  ui::Font font{"Noto Sans CJK JP", 12, true, false, false, false};
  {
    DialogAnswer accept{IDOK};
    ok = Svc().dialogs->ChooseFont(font);
  }
  Check(ok && font.name == "Noto Sans CJK JP" && font.size == 12 && font.bold && !font.italic,
        "font dialog starts from the font given", font.name + " " + std::to_string(font.size));

  // Pop-up menu: check marks, a submenu, a greyed item; the chosen item's Click runs.
  ui::MenuItem menu("trayMenu", "ポップアップメニュー");
  ui::MenuItem& edit = menu.Add("editItem", "編集");
  ui::MenuItem& start = menu.Add("startupMenu", "スタートアップ");
  start.Add("registerStartupItem", "登録").SetChecked(true);
  start.Add("removeStartupItem", "削除");
  menu.Add("separator1", "-");
  ui::MenuItem& stop = menu.Add("pauseItem", "一時停止");
  stop.SetEnabled(false);
  ui::MenuItem& end = menu.Add("exitItem", "終了");
  int edits = 0, ends = 0;
  edit.onClick = [&] { ++edits; };
  end.onClick = [&] { ++ends; };
  ui::Timer chooser("chooser", 100);
  int presses = 0;
  chooser.onTick = [&] {
    HWND m = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindMenu, reinterpret_cast<LPARAM>(&m));
    if (!m) return;
    chooser.SetEnabled(false);
    // Down from nothing selects the first item; up from there wraps to the last.
    for (UINT vk : {UINT(VK_DOWN), UINT(VK_UP), UINT(VK_RETURN)}) {
      PostMessageW(m, WM_KEYDOWN, vk, 1);
      ++presses;
    }
  };
  SetCursorPos(200, 200);
  SetForegroundWindow(H(f));
  Pump(300);  // let the focus changes of the dialogs above settle: they would close the menu
  chooser.SetEnabled(true);
  Svc().frontEnd->PopupMenu(f, menu);
  Check(presses == 3 && ends == 1 && edits == 0, "a pop-up menu item chosen by keys runs its onClick",
        std::to_string(presses) + "," + std::to_string(ends) + "," + std::to_string(edits));

  // Bringing a window to the front: while one of ours has it nothing changes; from another
  // program's window the foreground is taken.
  SetForegroundWindow(H(f));
  Pump(100);
  Svc().foreground->BringToForeground(top);
  Check(GetForegroundWindow() == H(f), "BringToForeground leaves our own foreground alone");
  {
    OtherProgram other;
    Pump(100);
    bool theirs = GetWindowThreadProcessId(GetForegroundWindow(), nullptr) == other.Thread();
    Svc().foreground->BringToForeground(top);
    Check(theirs && GetForegroundWindow() == H(top), "BringToForeground takes it from another program",
          std::to_string(theirs) + " " + std::to_string(GetForegroundWindow() == H(top)));
  }

  // A modal form disables the others until it is hidden.
  ModalForm modal;
  ui::Timer closer("closer", 200);
  bool mainDisabled = false;
  closer.onTick = [&] {
    mainDisabled = !IsWindowEnabled(H(f));
    closer.SetEnabled(false);
    modal.Hide();
  };
  closer.SetEnabled(true);
  modal.ShowModal();
  Check(mainDisabled && IsWindowEnabled(H(f)) && !modal.Visible(), "a modal form disables the others while up");

  // The close box asks the form, which may refuse; an unload destroys the native window.
  int asked = 0;
  top.onQueryUnload = [&](int& cancel, ui::UnloadMode mode) {
    ++asked;
    cancel = asked == 1 && mode == ui::UnloadMode::ControlMenu;
  };
  HWND topWindow = H(top);
  SendMessageW(topWindow, WM_CLOSE, 0, 0);
  Check(asked == 1 && top.Loaded() && IsWindow(topWindow), "a refused close keeps the form");
  SendMessageW(topWindow, WM_CLOSE, 0, 0);
  Check(asked == 2 && !top.Loaded() && !IsWindow(topWindow) && top.native == nullptr,
        "an accepted close unloads the form and destroys its window");
  HWND mainWindow = H(f);
  f.cancelButton.onClick = [&] { f.Unload(); };  // unloading from inside a handler of the window itself
  SendMessageW(H(f.cancelButton), BM_CLICK, 0, 0);
  Check(!f.Loaded() && !IsWindow(mainWindow), "a form unloads itself from its own button");
  f.Show();
  Check(f.Loaded() && IsWindow(H(f)) && H(f) != mainWindow && Text(H(f.listLabel)) == "アラームリスト",
        "an unloaded form loads again with new windows");
  f.Unload();
}

}  // namespace wb::demo
