// The top-level window of a form: creation, placement at the window's DPI, the form's own
// messages (close, end of session, activate, paint, DPI change) and the keyboard of the form
// (Tab, Enter, Esc).
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Diag.h"

namespace wb::win32 {
namespace {

HINSTANCE g_module = nullptr;

template <class F>
F UserProc(const char* name) {
  static HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

void RegisterFormClass(WNDPROC proc) {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = Module();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormClass;
  done = RegisterClassExW(&wc) != 0;
  if (!done) DiagLastError("RegisterClassExW(WakebellForm)");  // every form's window then fails
}

DWORD FormStyle(const ui::Form& f) {
  return WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | (f.hasCloseBox ? WS_SYSMENU : 0) |
         (f.resizable ? DWORD(WS_THICKFRAME | WS_MAXIMIZEBOX) : 0);
}

// The keys a button has no use for, as the scroll steps a window may take them for.
std::optional<ui::ScrollStep> ScrollStepOfKey(WPARAM key) {
  switch (key) {
    case VK_UP: return ui::ScrollStep::LineUp;
    case VK_DOWN: return ui::ScrollStep::LineDown;
    case VK_PRIOR: return ui::ScrollStep::PageUp;
    case VK_NEXT: return ui::ScrollStep::PageDown;
    case VK_HOME: return ui::ScrollStep::Top;
    case VK_END: return ui::ScrollStep::Bottom;
    default: return std::nullopt;
  }
}
DWORD FormExStyle(const ui::Form& f) {
  return WS_EX_CONTROLPARENT | (f.toolWindow ? WS_EX_TOOLWINDOW : 0) | (f.TopMost() ? WS_EX_TOPMOST : 0);
}

}  // namespace

HINSTANCE Module() { return g_module ? g_module : GetModuleHandleW(nullptr); }
void SetModule(HINSTANCE module) { g_module = module; }

COLORREF ToColorRef(ui::Color c) {
  if (c & 0x80000000u) return GetSysColor(int(c & 0xFF));
  return COLORREF(c & 0xFFFFFFu);
}

UINT WindowDpi(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static Fn getDpiForWindow = UserProc<Fn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    UINT dpi = getDpiForWindow(hwnd);
    if (dpi) return dpi;
  }
  const UINT dpi = UINT(GetDeviceCaps(ScreenDc().Get(), LOGPIXELSY));
  return dpi ? dpi : 96;
}

SIZE WindowSizeForClient(int w, int h, DWORD style, DWORD exStyle, UINT dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static Fn adjustForDpi = UserProc<Fn>("AdjustWindowRectExForDpi");
  RECT r{0, 0, w, h};
  if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void DropTheme(HWND hwnd) {
  using Fn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static HMODULE theme = LoadLibraryW(L"uxtheme.dll");
  static Fn setWindowTheme =
      theme ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme"))) : nullptr;
  if (setWindowTheme) setWindowTheme(hwnd, L"", L"");
}

FormWindow::FormWindow(ui::Form& form) : form_(form) {
  RegisterFormClass(&FormWindow::WndProc);
  const auto& controls = form_.Controls();
  natives_.assign(controls.size(), nullptr);
  unthemed_.assign(controls.size(), false);
  for (size_t i = 0; i < controls.size(); ++i) index_[controls[i]] = i;

  // Windows not placed in the middle of the screen go where the system puts new windows.
  int x = form_.centerOnScreen ? 0 : CW_USEDEFAULT;
  hwnd_ = CreateWindowExW(FormExStyle(form_), kFormClass, Widen(form_.Caption()).c_str(), FormStyle(form_), x, 0, 0, 0,
                          nullptr, nullptr, Module(), this);
  if (!hwnd_) {
    DiagLastError("CreateWindowExW of the form " + form_.Name());
    return;
  }
  form_.native = hwnd_;
  dpi_ = WindowDpi(hwnd_);
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                          0, hwnd_, nullptr, Module(), nullptr);
  if (!tips_) DiagLastError("CreateWindowExW of the tooltips of " + form_.Name());
  if (tips_) SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, int(dpi_), 96));
  for (ui::Control* c : controls) CreateControl(*c);
  ApplyTabOrder();
  ApplyFormIcons();
  PlaceWindow(form_.centerOnScreen);
}

FormWindow::~FormWindow() = default;  // the caches free their fonts, brushes and icons

void FormWindow::Retire() {
  Busy busy(this);  // frees this object when the last handler on the stack returns
  retired_ = true;
  if (hwnd_) DestroyWindow(hwnd_);  // children and the owned tooltip go with it
  hwnd_ = nullptr;
}

FormWindow* FormWindow::FromHwnd(HWND hwnd) {
  wchar_t cls[32] = {};
  if (!hwnd || !GetClassNameW(hwnd, cls, 32) || lstrcmpW(cls, kFormClass) != 0) return nullptr;
  return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void FormWindow::PlaceWindow(bool centre) { FitToWorkArea(centre); }

// The window's size for its form at its DPI, cut to the work area of its monitor (the screen
// less the taskbar), with scroll bars for what no longer fits; placed in the middle of the
// screen, or kept where it is, and then moved inside the work area.
void FormWindow::FitToWorkArea(bool centre) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, centre ? MONITOR_DEFAULTTOPRIMARY : MONITOR_DEFAULTTONEAREST), &mi);
  const RECT work = mi.rcWork;
  const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
  const DWORD style = DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & ~DWORD(WS_HSCROLL | WS_VSCROLL);
  const DWORD exStyle = DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  const int contentWidth = TwipsToPixels(form_.ClientWidth(), dpi_);
  const int contentHeight = TwipsToPixels(form_.ClientHeight(), dpi_);
  SIZE size = WindowSizeForClient(contentWidth, contentHeight, style, exStyle, dpi_);
  // A bar for one direction takes room from the other, which may then need its own bar.
  const int barWidth = MulDiv(GetSystemMetrics(SM_CXVSCROLL), int(dpi_), int(WindowDpi(nullptr)));
  const int barHeight = MulDiv(GetSystemMetrics(SM_CYHSCROLL), int(dpi_), int(WindowDpi(nullptr)));
  bool vertical = false, horizontal = false;
  for (int pass = 0; pass < 2; ++pass) {
    if (!vertical && size.cy > workHeight) {
      vertical = true;
      size.cx += barWidth;
    }
    if (!horizontal && size.cx > workWidth) {
      horizontal = true;
      size.cy += barHeight;
    }
  }
  size.cx = std::min(size.cx, LONG(workWidth));
  size.cy = std::min(size.cy, LONG(workHeight));
  LONG_PTR wanted = LONG_PTR(style) | (vertical ? WS_VSCROLL : 0) | (horizontal ? WS_HSCROLL : 0);
  if (wanted != GetWindowLongPtrW(hwnd_, GWL_STYLE)) SetWindowLongPtrW(hwnd_, GWL_STYLE, wanted);

  RECT now{};
  GetWindowRect(hwnd_, &now);
  int x = now.left, y = now.top;
  if (centre) {  // the middle of the screen, as always, unless that reaches under the taskbar
    x = (mi.rcMonitor.left + mi.rcMonitor.right - size.cx) / 2;
    y = (mi.rcMonitor.top + mi.rcMonitor.bottom - size.cy) / 2;
  }
  x = std::clamp(x, int(work.left), int(work.right - size.cx));
  y = std::clamp(y, int(work.top), int(work.bottom - size.cy));
  ++placing_;  // the size given here is the form's own, not the user's
  SetWindowPos(hwnd_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  --placing_;

  RECT client{};
  GetClientRect(hwnd_, &client);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = contentHeight - 1;
  si.nPage = UINT(client.bottom);
  if (vertical) SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  si.nMax = contentWidth - 1;
  si.nPage = UINT(client.right);
  if (horizontal) SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
  // What fits again needs no scrolling: the content goes back to its place.
  ScrollTo(horizontal ? scroll_.x : 0, vertical ? scroll_.y : 0);
}

// Scrolls the content so that its point (x, y) is at the client's top left, within its range.
void FormWindow::ScrollTo(int x, int y) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int contentWidth = TwipsToPixels(form_.ClientWidth(), dpi_);
  const int contentHeight = TwipsToPixels(form_.ClientHeight(), dpi_);
  x = std::clamp(x, 0, std::max(0, contentWidth - int(client.right)));
  y = std::clamp(y, 0, std::max(0, contentHeight - int(client.bottom)));
  if (x == scroll_.x && y == scroll_.y) return;
  scroll_ = POINT{x, y};
  ++mirroring_;
  for (ui::Control* c : form_.Controls())
    if (HWND h = NativeOf(*c)) MoveControl(*c, h);  // its place less the scroll
  --mirroring_;
  // The form's background is filled at once and its paint left out: a paint is the form's
  // event (the editor takes the focus back to its list on one), and a scroll is none.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN);
  ValidateRect(hwnd_, nullptr);
  if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_HSCROLL) SetScrollPos(hwnd_, SB_HORZ, x, TRUE);
  if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VSCROLL) SetScrollPos(hwnd_, SB_VERT, y, TRUE);
}

// The form's own scroll bars (SB_HORZ or SB_VERT): arrows, page, thumb, ends.
void FormWindow::OnScroll(int bar, int code) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(hwnd_, bar, &si)) return;
  const int line = MulDiv(20, int(dpi_), 96);
  int pos = si.nPos;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= int(si.nPage); break;
    case SB_PAGEDOWN: pos += int(si.nPage); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  if (bar == SB_HORZ) ScrollTo(pos, scroll_.y);
  else ScrollTo(scroll_.x, pos);
}

// A control the keyboard moves the focus to, where the window shows only part of its form,
// comes into view: whole, or a control longer than half the view its start (top, left), so a
// tall list taking the focus does not push the labels above it out. A click needs nothing: what
// was clicked is in view.
void FormWindow::ScrollIntoView(const ui::Control& c) {
  if (!(GetWindowLongPtrW(hwnd_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL))) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const ui::Rect& r = c.Position();
  const int margin = MulDiv(8, int(dpi_), 96);
  // The new scroll position along one axis for a control from `start` to `end` in a view of
  // `view` pixels now scrolled to `at`.
  auto along = [margin](int start, int end, int view, int at) {
    if (end - start > view / 2) end = start;  // long: its start is enough
    if (end + margin > at + view) at = end + margin - view;
    if (start - margin < at) at = start - margin;
    return at;
  };
  const int left = TwipsToPixels(r.left, dpi_), top = TwipsToPixels(r.top, dpi_);
  ScrollTo(along(left, left + TwipsToPixels(r.width, dpi_), int(client.right), int(scroll_.x)),
           along(top, top + TwipsToPixels(r.height, dpi_), int(client.bottom), int(scroll_.y)));
}

// The user dragged the frame, maximised or restored the window: a resizable form takes the new
// client size while it fits without scrolling (a form larger than the work area keeps its
// size and scrolls as before).
void FormWindow::OnUserSize(WPARAM kind) {
  if (const RECT grip = SizeGripRect(); form_.resizable && !EqualRect(&grip, &sizeGrip_)) {
    InvalidateRect(hwnd_, &sizeGrip_, TRUE);  // the grip leaves its old corner for the new one
    sizeGrip_ = grip;
    InvalidateRect(hwnd_, &sizeGrip_, TRUE);
  }
  if (!form_.resizable || placing_ || kind == SIZE_MINIMIZED || retired_) return;
  if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = form_.ClientWidth(), height = form_.ClientHeight();
  userSizing_ = true;
  form_.UserResize(MulDiv(int(client.right), 1440, int(dpi_)), MulDiv(int(client.bottom), 1440, int(dpi_)));
  userSizing_ = false;
  if (width == form_.ClientWidth() && height == form_.ClientHeight()) return;
  // The controls moved: everything drawn again at once, the form's paint left out as a
  // scroll leaves it out (a paint is the form's event; a new size is none).
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN);
  ValidateRect(hwnd_, nullptr);
}

// The grip of a resizable form: drawn in the bottom right corner of the client area, where a
// user looks for one, and a handle of the frame there. Not a child window: it is no control, and
// neither the keyboard nor a screen reader has anything to do with it (the system menu's サイズ
// is the keyboard's way). None while the window is maximised or scrolls its form.
RECT FormWindow::SizeGripRect() const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (!form_.resizable || IsZoomed(hwnd_) || (GetWindowLongPtrW(hwnd_, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)))
    return RECT{};
  const int side = MulDiv(GetSystemMetrics(SM_CXVSCROLL), int(dpi_), int(WindowDpi(nullptr)));
  return RECT{client.right - side, client.bottom - side, client.right, client.bottom};
}

void FormWindow::ApplyFormIcons() {
  if (form_.iconKey.empty()) return;
  int big = MulDiv(32, int(dpi_), 96), small = MulDiv(16, int(dpi_), 96);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(IconFor(form_.iconKey, big)));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(IconFor(form_.iconKey, small)));
}

void FormWindow::OnDpiChanged(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  // Fonts and icons are made for one DPI: make the new ones, hand them out, then free the old.
  auto oldFonts = std::exchange(fonts_, {});
  auto oldIcons = std::exchange(icons_, {});
  if (suggested)
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  // The controls go to their places at the new DPI from an unscrolled start, then the window
  // fits the work area of the monitor it is on now.
  ScrollTo(0, 0);
  FitToWorkArea(false);
  ++mirroring_;
  for (ui::Control* c : form_.Controls()) {
    HWND h = NativeOf(*c);
    if (!h) continue;
    Mirror(*c, h, ui::Prop::Font);
    Mirror(*c, h, ui::Prop::Picture);
    Mirror(*c, h, ui::Prop::Position);
  }
  --mirroring_;
  ApplyFormIcons();
  if (tips_) SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, int(dpi_), 96));
  oldFonts.clear();
  oldIcons.clear();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormWindow::SyncForm(ui::Prop p) {
  if (retired_ || !hwnd_) return;
  Busy busy(this);
  if (p == ui::Prop::Caption) SetWindowTextW(hwnd_, Widen(form_.Caption()).c_str());
  if (p == ui::Prop::BackColor) InvalidateRect(hwnd_, nullptr, TRUE);
  if (p == ui::Prop::TabOrder) ApplyTabOrder();
  // A new size from the program (not the user's drag, which the form already has): the window
  // follows, in the middle of the screen while it is not shown yet.
  if (p == ui::Prop::ClientSize && !userSizing_) FitToWorkArea(form_.centerOnScreen && !IsWindowVisible(hwnd_));
  if (p == ui::Prop::TopMost) {
    // The flags the alarm window has always used to keep itself above the others.
    SetWindowPos(hwnd_, form_.TopMost() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOSENDCHANGING);
  }
  if (p == ui::Prop::Visible) {
    bool shown = IsWindowVisible(hwnd_) != FALSE;
    if (form_.Visible() && !shown) {
      ShowWindow(hwnd_, SW_SHOW);
      if (!retired_ && GetActiveWindow() == hwnd_) RestoreFocus();
    } else if (!form_.Visible() && shown) {
      ShowWindow(hwnd_, SW_HIDE);
    }
  }
}

LRESULT CALLBACK FormWindow::WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = h;
    return DefWindowProcW(h, m, w, l);
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self) return DefWindowProcW(h, m, w, l);
  if (m == WM_NCDESTROY) {
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(h, m, w, l);
  }
  if (self->retired_) return DefWindowProcW(h, m, w, l);
  Busy busy(self);
  return self->Handle(m, w, l);
}

LRESULT FormWindow::Handle(UINT m, WPARAM w, LPARAM l) {
  HWND h = hwnd_;
  switch (m) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(h, &r);
      FillRect(reinterpret_cast<HDC>(w), &r, BrushFor(form_.BackColor()));
      if (RECT grip = SizeGripRect(); grip.right > grip.left)
        DrawFrameControl(reinterpret_cast<HDC>(w), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
      return 1;
    }
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcW(h, m, w, l);
      POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      ScreenToClient(h, &at);
      const RECT grip = SizeGripRect();
      return hit == HTCLIENT && PtInRect(&grip, at) ? HTBOTTOMRIGHT : hit;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      EndPaint(h, &ps);
      form_.RaisePaint();
      return 0;
    }
    case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
      return OnCtlColor(m, reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_COMMAND:
      if (l) return OnCommand(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(l));
    case WM_MEASUREITEM: {
      // Sent while the list is made, before its font: the font's row height comes with it.
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      ui::Control* c = mi && mi->CtlType == ODT_LISTBOX ? ControlById(int(mi->CtlID)) : nullptr;
      if (!c || !IsRowMarkingList(*c)) break;
      mi->itemHeight = UINT(RowHeight(*c));
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      if (!d || d->CtlType != ODT_LISTBOX) break;
      DrawRow(*d);
      return TRUE;
    }
    case WM_HSCROLL:
      if (l) OnHScroll(LOWORD(w), reinterpret_cast<HWND>(l));
      else OnScroll(SB_HORZ, LOWORD(w));
      return 0;
    case WM_VSCROLL:
      if (!l) OnScroll(SB_VERT, LOWORD(w));
      return 0;
    case kScrollIntoViewMessage:
      if (ui::Control* c = ControlOfWindow(GetFocus())) ScrollIntoView(*c);
      return 0;
    case WM_MOUSEWHEEL:
      if (GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL)
        ScrollTo(scroll_.x, scroll_.y - MulDiv(GET_WHEEL_DELTA_WPARAM(w), 3 * MulDiv(20, int(dpi_), 96), WHEEL_DELTA));
      return 0;
    case WM_CLOSE:
      form_.RequestClose();  // the form decides; an unload destroys this window
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // no window of ours stands in the way of a log-off
    case WM_ENDSESSION:
      // Only when the session really ends (another program may have refused it). The process
      // may be ended as soon as this returns, so the form does its work here.
      if (w) form_.RaiseSessionEnd();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) {
        RestoreFocus();
        if (!retired_) form_.RaiseActivate();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(w), reinterpret_cast<const RECT*>(l));
      return 0;
    case WM_GETMINMAXINFO:
      if (form_.resizable && hwnd_ && !placing_) {  // the program's own sizes are not limited here
        // Never smaller than the form was made (nor than the work area, where it then scrolls).
        auto* mm = reinterpret_cast<MINMAXINFO*>(l);
        const DWORD style = DWORD(GetWindowLongPtrW(h, GWL_STYLE)) & ~DWORD(WS_HSCROLL | WS_VSCROLL);
        SIZE least = WindowSizeForClient(TwipsToPixels(form_.DesignedWidth(), dpi_),
                                         TwipsToPixels(form_.DesignedHeight(), dpi_), style,
                                         DWORD(GetWindowLongPtrW(h, GWL_EXSTYLE)), dpi_);
        RECT now{};
        GetWindowRect(h, &now);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoW(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi);
        mm->ptMinTrackSize.x = std::min(least.cx, mi.rcWork.right - mi.rcWork.left);
        mm->ptMinTrackSize.y = std::min(least.cy, mi.rcWork.bottom - mi.rcWork.top);
        // A window that scrolls its form (larger than the work area) keeps the size it was given.
        if (GetWindowLongPtrW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) {
          mm->ptMinTrackSize = POINT{now.right - now.left, now.bottom - now.top};
          mm->ptMaxTrackSize = mm->ptMinTrackSize;
        }
        return 0;
      }
      break;
    case WM_SIZE:
      OnUserSize(w);
      break;
    case WM_SYSCOLORCHANGE:
      InvalidateRect(h, nullptr, TRUE);
      break;
    default:
      break;
  }
  return DefWindowProcW(h, m, w, l);
}

bool FormWindow::CanTabTo(const ui::Control& c) const {
  HWND h = NativeOf(c);
  return h && ui::TakesFocus(c.GetKind()) && c.Visible() && c.Enabled() && IsWindowVisible(h) && IsWindowEnabled(h);
}

// Puts the keyboard focus back where the form had it, else on the first control in tab order.
void FormWindow::RestoreFocus() {
  if (retired_ || !IsWindowVisible(hwnd_)) return;
  ui::Control* c = form_.ActiveControl();
  if (c && index_.count(c) && CanTabTo(*c)) {
    HWND h = NativeOf(*c);
    if (GetFocus() != h) SetFocus(h);
    return;
  }
  ui::Control* first = form_.NextTabStop(1, [this](const ui::Control& k) { return CanTabTo(k); });
  if (first) first->SetFocus();
  else if (GetFocus() != hwnd_) SetFocus(hwnd_);
}

// Tab walks the form's tab order (the form keeps the rule for option groups); only controls
// whose native window can take the focus now are stops.
void FormWindow::MoveFocus(int direction) {
  if (ui::Control* next = form_.NextTabStop(direction, [this](const ui::Control& c) { return CanTabTo(c); }))
    form_.TabTo(*next);
}

// The native keyboard path follows the same list: the tab order's controls come first in the
// z-order, in its order, and only they carry WS_TABSTOP. Whatever the order the members were
// declared (and so created) in, a dialog-style walk of the children meets them in tab order.
void FormWindow::ApplyTabOrder() {
  const auto& order = form_.TabOrder();
  for (ui::Control* c : form_.Controls()) {
    HWND h = NativeOf(*c);
    if (!h) continue;
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    auto at = std::find(order.begin(), order.end(), c);
    bool stop = at != order.end();
    // A group of options or a palette starts where the one before it in the order belongs to
    // another group: what a dialog-style walk (and a screen reader's) takes as one group.
    bool first = stop && (at == order.begin() || !form_.SameKeyGroup(**(at - 1), *c));
    LONG_PTR want = stop ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP);
    want = first ? want | WS_GROUP : want & ~LONG_PTR(WS_GROUP);
    if (want != style) SetWindowLongPtrW(h, GWL_STYLE, want);
  }
  HWND after = HWND_TOP;
  for (ui::Control* c : order) {
    HWND h = NativeOf(*c);
    if (!h) continue;
    SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    after = h;
  }
  // Frames go behind everything, so the controls they group paint over them.
  for (ui::Control* c : form_.Controls())
    if (HWND h = NativeOf(*c); h && c->GetKind() == ui::Kind::Frame)
      SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// Alt and the underlined letter of a caption ("(&S)") act as a click on that control, or take
// the focus to the box a label names; the form keeps the rule.
bool FormWindow::PressMnemonic(wchar_t key) {
  if (key >= 0x80) return false;  // access keys are ASCII letters and digits
  return form_.PressAccessKey(char(key), [this](const ui::Control& c) { return CanTabTo(c); });
}

bool FormWindow::HandleKey(const MSG& msg) {
  if (retired_) return false;
  if (msg.message == WM_SYSCHAR) {
    Busy busy(this);
    return PressMnemonic(wchar_t(msg.wParam));
  }
  if (msg.message != WM_KEYDOWN) return false;
  WPARAM key = msg.wParam;
  if (auto step = ScrollStepOfKey(key); step && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    ui::Control* focused = ControlOfWindow(msg.hwnd);
    if (focused && focused->GetKind() == ui::Kind::Button) {
      Busy busy(this);
      if (form_.PressScrollKey(*step)) return true;
    }
  }
  const bool arrow = key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN;
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !arrow) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  ui::Control* c = ControlOfWindow(msg.hwnd);
  if (arrow) {  // inside a group of options or a palette; elsewhere the control's own
    if (!c || c != form_.ActiveControl()) return false;
    Busy busy(this);
    return form_.PressArrow(key == VK_LEFT || key == VK_UP ? -1 : 1,
                            [this](const ui::Control& k) { return CanTabTo(k); });
  }
  if (c && c->GetKind() == ui::Kind::ComboBox && SendMessageW(NativeOf(*c), CB_GETDROPPEDSTATE, 0, 0))
    return false;  // the open list takes its own Enter and Esc
  Busy busy(this);
  if (key == VK_TAB) {
    MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
  } else if (key == VK_RETURN) {
    if (c && c->GetKind() == ui::Kind::TextBox && static_cast<ui::TextBox*>(c)->MultiLine()) return false;
    form_.PressEnter();
  } else {
    form_.PressEscape();
  }
  return true;
}

}  // namespace wb::win32
