// User input on the native controls, turned into the same state changes on the control objects
// that program code makes (so the objects raise Click and Change), and the colours the controls
// ask their form for. Notifications caused by our own mirroring are echoes and are ignored.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"

namespace wb::win32 {

using ui::Kind;

LRESULT FormWindow::OnCommand(int id, int code, HWND h) {
  if (mirroring_) return 0;
  ui::Control* c = ControlById(id);
  if (!c || NativeOf(*c) != h) return 0;
  switch (c->GetKind()) {
    case Kind::Button:
      if (code == BN_CLICKED) static_cast<ui::Button*>(c)->Press();
      return 0;
    case Kind::CheckBox:
      if (code != BN_CLICKED) return 0;
      static_cast<ui::CheckBox*>(c)->Toggle();
      break;
    case Kind::OptionButton:
      if (code != BN_CLICKED) return 0;
      static_cast<ui::OptionButton*>(c)->SetValue(true);
      break;
    case Kind::TextBox: {
      if (code != EN_CHANGE) return 0;
      auto* t = static_cast<ui::TextBox*>(c);
      std::wstring w = WindowText(h);
      t->SetText(Narrow(w));
      if (retired_) return 0;
      DWORD start = 0, end = 0;  // the object keeps the user's caret, not the start of the text
      SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      t->SetSelStart(CodePointOffset(w, int(start)));
      t->SetSelLength(CodePointOffset(w, int(end)) - CodePointOffset(w, int(start)));
      break;
    }
    case Kind::ComboBox: {
      auto* combo = static_cast<ui::ComboBox*>(c);
      const int picked = int(SendMessageW(h, CB_GETCURSEL, 0, 0));
      if (code == CBN_DROPDOWN) {
        droppedCombo_ = h;
        droppedIndex_ = combo->ListIndex();
        return 0;
      }
      if (code == CBN_SELENDOK) {
        // The item already shown picked again from the open list: only this end of the
        // selection tells of it. Any other pick came as a selection change already.
        const bool dropped = droppedCombo_ == h;
        const bool samePick = dropped && picked == droppedIndex_;
        droppedCombo_ = nullptr;
        if (combo->Repick()) {
          // A list of actions runs one when the open list closes on an item; the arrow keys
          // on the closed list end each step with this too, and pick nothing.
          if (!dropped) return 0;
          combo->UserPick(picked);
        } else if (samePick) {
          combo->UserPick(picked);
        } else {
          combo->SetListIndex(picked);
        }
        break;
      }
      if (code == CBN_SELENDCANCEL) {
        droppedCombo_ = nullptr;
        // The list closed without a pick and shows what it shows now: a list of actions keeps
        // that as the item Enter runs, without running it.
        if (combo->Repick()) combo->UserBrowse(picked);
        return 0;
      }
      if (code != CBN_SELCHANGE) return 0;
      if (droppedCombo_ == h) droppedIndex_ = -2;  // moved: the end of this pick is no repeat
      combo->UserBrowse(picked);
      break;
    }
    case Kind::ListBox: {
      if (code != LBN_SELCHANGE) return 0;
      auto* l = static_cast<ui::ListBox*>(c);
      std::vector<bool> rows(size_t(l->ListCount()));
      for (int i = 0; i < l->ListCount(); ++i) rows[size_t(i)] = SendMessageW(h, LB_GETSEL, WPARAM(i), 0) > 0;
      int focus = l->MultiSelect() ? int(SendMessageW(h, LB_GETCARETINDEX, 0, 0))
                                   : int(SendMessageW(h, LB_GETCURSEL, 0, 0));
      l->UserSelect(rows, focus >= 0 && focus < l->ListCount() ? focus : -1);
      break;
    }
    default:
      return 0;
  }
  // The object may have refused or altered the change (a disabled box, a handler resetting it):
  // show what it holds now.
  if (!retired_) {
    SyncControl(*c, ui::Prop::Value);
    SyncControl(*c, ui::Prop::Selection);
  }
  return 0;
}

LRESULT FormWindow::OnNotify(NMHDR* n) {
  if (mirroring_ || !n) return 0;
  ui::Control* c = ControlById(int(n->idFrom));
  if (!c || NativeOf(*c) != n->hwndFrom) return 0;
  if (c->GetKind() == Kind::MonthView && (n->code == MCN_SELECT || n->code == MCN_SELCHANGE)) {
    // A click on a day selects it; the month arrows, the month and year menus and the keyboard
    // move the selection too, and what the calendar highlights is the editor's date.
    const SYSTEMTIME& st = reinterpret_cast<NMSELCHANGE*>(n)->stSelStart;
    auto* calendar = static_cast<ui::MonthView*>(c);
    const OleDate day = MakeDate(st.wYear, st.wMonth, st.wDay);
    if (n->code == MCN_SELECT)
      calendar->UserClickDay(day);
    else
      calendar->UserMoveSelection(day);
    if (!retired_) SyncControl(*c, ui::Prop::Value);
    return 0;
  }
  if (c->GetKind() == Kind::MonthView && n->code == MCN_GETDAYSTATE) {
    // The calendar asks for the months it shows, from stStart on; it reads the answer from
    // the array prgDayState points to, which must outlive the notification.
    static MONTHDAYSTATE states[14];
    auto* ask = reinterpret_cast<NMDAYSTATE*>(n);
    const auto& view = *static_cast<ui::MonthView*>(c);
    int year = ask->stStart.wYear, month = ask->stStart.wMonth;
    const int count = std::min(int(ask->cDayState), int(std::size(states)));
    for (int i = 0; i < count; ++i) {
      MONTHDAYSTATE bits = 0;
      for (int day = 1; view.isBoldDay && day <= DaysInMonth(year, month); ++day)
        if (view.isBoldDay(MakeDate(year, month, day))) bits |= MONTHDAYSTATE(1) << (day - 1);
      states[i] = bits;
      if (++month > 12) month = 1, ++year;
    }
    ask->prgDayState = states;
    return 0;
  }
  if (c->GetKind() == Kind::UpDown && n->code == UDN_DELTAPOS) {
    static_cast<ui::UpDown*>(c)->Step(reinterpret_cast<NMUPDOWN*>(n)->iDelta);
    if (!retired_) SyncControl(*c, ui::Prop::Value);
    return TRUE;  // the object moved; the native position follows it, not the click
  }
  return 0;
}

void FormWindow::OnHScroll(int code, HWND h) {
  if (mirroring_) return;
  ui::Control* c = ControlOfWindow(h);
  if (!c || c->GetKind() != Kind::HScrollBar) return;
  auto* s = static_cast<ui::HScrollBar*>(c);
  int v = s->Value();
  switch (code) {
    case SB_LINELEFT: v -= s->SmallChange(); break;
    case SB_LINERIGHT: v += s->SmallChange(); break;
    case SB_PAGELEFT: v -= s->LargeChange(); break;
    case SB_PAGERIGHT: v += s->LargeChange(); break;
    case SB_LEFT: v = s->Min(); break;
    case SB_RIGHT: v = s->Max(); break;
    case SB_THUMBPOSITION: {  // the drag ended; while dragging only the thumb moves
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(h, SB_CTL, &si);
      v = si.nTrackPos;
      break;
    }
    default:
      return;
  }
  s->SetValue(v);
  if (!retired_) SyncControl(*c, ui::Prop::Value);
}

LRESULT FormWindow::OnCtlColor(UINT m, HDC dc, HWND h) {
  ui::Control* c = ControlOfWindow(h);
  if (!c) return DefWindowProcW(hwnd_, m, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h));
  switch (c->GetKind()) {
    case Kind::Line:  // a line is its colour
      return reinterpret_cast<LRESULT>(BrushFor(c->ForeColor()));
    case Kind::Button:  // only the corners around a push button take the form's colour
      return reinterpret_cast<LRESULT>(BrushFor(form_.BackColor()));
    case Kind::TextBox:
      // A disabled text box keeps its background and greys its text.
      SetTextColor(dc, m == WM_CTLCOLORSTATIC ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(c->ForeColor()));
      break;
    default:
      SetTextColor(dc, ToColorRef(c->ForeColor()));
      break;
  }
  SetBkColor(dc, ToColorRef(c->BackColor()));
  return reinterpret_cast<LRESULT>(BrushFor(c->BackColor()));
}

LRESULT CALLBACK FormWindow::ChildProc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR ref) {
  if (m == WM_NCDESTROY) {
    RemoveWindowSubclass(h, &FormWindow::ChildProc, id);
    return DefSubclassProc(h, m, w, l);
  }
  auto* self = reinterpret_cast<FormWindow*>(ref);
  if (self->retired_) return DefSubclassProc(h, m, w, l);
  ui::Control* c = self->ControlById(int(id));
  if (!c) return DefSubclassProc(h, m, w, l);
  Busy busy(self);
  return self->HandleChild(*c, h, m, w, l);
}

LRESULT FormWindow::HandleChild(ui::Control& c, HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_ERASEBKGND:
      // A group box paints only its edge and caption; the form does not paint under a child,
      // so the frame fills its inside with the form's colour itself.
      if (c.GetKind() == Kind::Frame) {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, BrushFor(form_.BackColor()));
        return 1;
      }
      break;
    case WM_SETFOCUS: {
      LRESULT r = DefSubclassProc(h, m, w, l);
      // Scrolled once the focus has settled: moving the controls while the focus moves
      // between them lost it under Wine.
      if (!retired_ && GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0)
        PostMessageW(hwnd_, kScrollIntoViewMessage, 0, 0);
      // The object learns where the focus went and raises onLostFocus / onGotFocus.
      if (!retired_ && form_.ActiveControl() != &c) c.SetFocus();
      return r;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      // Before the control handles the press, which moves the focus to it.
      c.RaiseMouseDown(m == WM_RBUTTONDOWN || m == WM_RBUTTONDBLCLK   ? 2
                       : m == WM_MBUTTONDOWN || m == WM_MBUTTONDBLCLK ? 4
                                                                       : 1);
      if (retired_ || !IsWindow(h)) return 0;
      break;
    case WM_MOUSEMOVE:
      if (IsRowMarkingList(c)) ShowRowTip(c, h, l);
      break;
    case WM_CHAR:
      // Typed characters pass the text box's onKeyPress first, which may swallow or replace them.
      if (c.GetKind() == Kind::TextBox && c.onKeyPress && w < 0x80) {
        int key = int(w);
        c.onKeyPress(key);
        if (retired_ || !IsWindow(h) || key == 0) return 0;
        w = WPARAM(key);
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(h, m, w, l);
}

}  // namespace wb::win32
