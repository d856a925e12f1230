// The window front end: native peers of the forms, the message loops (the program's, the modal
// one, DoEvents) with the forms' keyboard, and the pop-up menu built from MenuItem objects.
#include "platform/win32/FrontEnd.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"

namespace wb {
namespace {

using win32::FormWindow;

// Tab, Enter, Esc and Alt+mnemonic belong to the form, not to the control that has the focus.
void Dispatch(MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSCHAR) {
    if (FormWindow* w = FormWindow::FromHwnd(GetAncestor(msg.hwnd, GA_ROOT)))
      if (w->HandleKey(msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

HMENU BuildMenu(ui::MenuItem& menu, std::vector<ui::MenuItem*>& commands) {
  HMENU h = CreatePopupMenu();
  for (auto& item : menu.Items()) {
    if (!item->Visible()) continue;
    if (item->Separator()) {
      AppendMenuW(h, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED);
    std::wstring caption = win32::Widen(item->Caption());
    if (!item->Items().empty()) {
      AppendMenuW(h, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(*item, commands)), caption.c_str());
    } else {
      commands.push_back(item.get());
      AppendMenuW(h, flags, commands.size(), caption.c_str());  // command ids start at 1
    }
  }
  return h;
}

struct ModalState {
  HWND self;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOthers(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<ModalState*>(p);
  if (h != s->self && IsWindowVisible(h) && IsWindowEnabled(h)) {
    EnableWindow(h, FALSE);
    s->disabled.push_back(h);
  }
  return TRUE;
}

class Win32FrontEnd : public IFrontEnd {
 public:
  FormPeer* CreatePeer(ui::Form& form) override {
    auto* w = new FormWindow(form);
    if (w->Hwnd()) return w;
    w->Retire();
    return nullptr;
  }

  void DestroyPeer(ui::Form& form, FormPeer* peer) override {
    form.native = nullptr;
    if (peer) static_cast<FormWindow*>(peer)->Retire();
  }

  void PopupMenu(ui::Form& form, ui::MenuItem& menu) override {
    auto owner = static_cast<HWND>(form.native);
    if (!owner) return;
    std::vector<ui::MenuItem*> commands;
    UINT chosen = 0;
    {  // the menu is gone before the chosen item's handler runs
      const win32::UniqueMenu h(BuildMenu(menu, commands));
      // Without the owner in the foreground the menu would not close when the user clicks away.
      SetForegroundWindow(owner);
      POINT pt{};
      GetCursorPos(&pt);
      chosen = UINT(TrackPopupMenu(h.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr));
      PostMessageW(owner, WM_NULL, 0, 0);
    }
    if (chosen >= 1 && chosen <= commands.size()) commands[chosen - 1]->Choose();
  }

  // Retired forms are not freed here: a handler of one of them may be below us on the stack.
  void DoEvents() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));  // leave it for the program's loop
        return;
      }
      Dispatch(msg);
    }
  }

  void RunModal(ui::Form& form) override {
    if (!form.Loaded() || !form.Visible()) return;
    HWND before = GetActiveWindow();
    ModalState state{static_cast<HWND>(form.native), {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOthers, reinterpret_cast<LPARAM>(&state));
    MSG msg;
    while (form.Loaded() && form.Visible()) {
      BOOL r = GetMessageW(&msg, nullptr, 0, 0);
      if (r <= 0) {
        if (r == 0) PostQuitMessage(int(msg.wParam));
        break;
      }
      Dispatch(msg);
    }
    for (HWND h : state.disabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    if (before && before != state.self && IsWindow(before) && IsWindowVisible(before)) SetForegroundWindow(before);
  }

  void Quit() override { PostQuitMessage(0); }

  ui::Rect WorkArea() override {
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int dpi = int(win32::WindowDpi(nullptr));
    auto twips = [dpi](LONG px) { return MulDiv(int(px), 1440, dpi); };
    return {twips(work.left), twips(work.top), twips(work.right - work.left), twips(work.bottom - work.top)};
  }

  // Laid out at the system DPI, as the rich edit lays out its text (a window on a monitor of
  // another DPI zooms it, which scales the height with the width).
  int TextHeight(const std::string& text, const ui::Font& font, int width, bool scrollBarRoom) override {
    const UINT dpi = win32::WindowDpi(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.size, int(dpi), 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, win32::Widen(font.name).substr(0, LF_FACESIZE - 1).c_str(), LF_FACESIZE);
    const win32::UniqueFont hfont(CreateFontIndirectW(&lf));
    const int box = MulDiv(width, int(dpi), 1440);
    std::wstring shown =
        win32::BreakRichLines(win32::Widen(text), win32::RichLineWidth(box, false, scrollBarRoom, dpi), hfont.Get());
    // DrawText ends a line at LF; every paragraph end the edit would make becomes one.
    std::wstring lines;
    lines.reserve(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
      if (shown[i] == L'\r' && i + 1 < shown.size() && shown[i + 1] == L'\n') continue;
      lines += shown[i] == L'\r' ? L'\n' : shown[i];
    }
    win32::ScreenDc dc;
    HGDIOBJ old = SelectObject(dc.Get(), hfont.Get());
    RECT r{0, 0, box - 6, 0};
    DrawTextW(dc.Get(), lines.c_str(), int(lines.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    SelectObject(dc.Get(), old);
    // The edit's own margins above and below the text, and its line spacing, which may be a
    // little more than the font's height: a quarter line more, so the last line is never cut.
    const int pixels = int(r.bottom) + 4 + int(tm.tmHeight) / 4;
    return MulDiv(pixels, 1440, int(dpi));
  }
};

}  // namespace

std::unique_ptr<IFrontEnd> MakeWin32FrontEnd(HINSTANCE module) {
  win32::SetModule(module);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                           ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  win32::RichEditClass();  // loads the rich edit before the first form needs it
  return std::make_unique<Win32FrontEnd>();
}

int RunMessageLoop() {
  MSG msg{};
  BOOL r;
  while ((r = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    Dispatch(msg);
    ui::CollectRetiredForms();
  }
  ui::CollectRetiredForms();
  return r == 0 ? int(msg.wParam) : 1;
}

}  // namespace wb
