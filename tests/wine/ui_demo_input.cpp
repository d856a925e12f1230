// Native input comes back as the objects' own state changes and events: clicks, typing through
// the KeyPress filter, list and combo picks, the calendar, the up-down, the scroll bar, focus,
// and the form's keys (Tab, Enter, Esc).
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"
#include "ui_demo.h"

namespace wb::demo {
namespace {

void SendCommand(ui::Control& c, int code) {
  SendMessageW(GetParent(H(c)), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H(c)), code), reinterpret_cast<LPARAM>(H(c)));
}

void Click(HWND h, int x, int y) {
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump(100);
}

// Where the calendar shows `day`, found by asking it point by point.
bool FindDay(HWND cal, const SYSTEMTIME& day, POINT& at) {
  RECT r;
  GetClientRect(cal, &r);
  for (int y = 0; y < r.bottom; y += 3)
    for (int x = 0; x < r.right; x += 3) {
      MCHITTESTINFO hit{};
      hit.cbSize = MCHITTESTINFO_V1_SIZE;
      hit.pt = {x, y};
      SendMessageW(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == day.wYear && hit.st.wMonth == day.wMonth &&
          hit.st.wDay == day.wDay) {
        at = hit.pt;
        return true;
      }
    }
  return false;
}

void Key(HWND h, UINT vk) {
  PostMessageW(h, WM_KEYDOWN, vk, 1);
  PostMessageW(h, WM_KEYUP, vk, 1 | (1u << 30) | (1u << 31));
  Pump(100);
}

void Shift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace

void RunInputChecks(SampleForm& f) {
  int pressed = 0, ticks = 0, options = 0;
  f.Command1.Click = [&] { ++pressed; };
  f.Check1.Click = [&] { ++ticks; };
  f.Option1.Click = [&] { ++options; };
  SendMessageW(H(f.Command1), BM_CLICK, 0, 0);
  Check(pressed == 1, "a native click presses the button");
  int before = f.Check1.Value();
  SendMessageW(H(f.Check1), BM_CLICK, 0, 0);
  Check(f.Check1.Value() == 1 - before && ticks == 1 &&
            SendMessageW(H(f.Check1), BM_GETCHECK, 0, 0) == (before ? BST_UNCHECKED : BST_CHECKED),
        "a native click toggles the check box and raises Click");
  SendMessageW(H(f.Option1), BM_CLICK, 0, 0);
  Check(f.Option1.Value() && !f.Option2.Value() && options == 1 &&
            SendMessageW(H(f.Option2), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
        "a native click selects the option and clears its group");
  f.Command1.SetEnabled(false);
  SendCommand(f.Command1, BN_CLICKED);
  f.Command1.SetEnabled(true);
  Check(pressed == 1, "a disabled button is not pressed");

  // Typing passes KeyPress: letters are swallowed, digits typed at the caret.
  int changes = 0;
  f.Text1.Change = [&] { ++changes; };
  f.Text1.SetText("1");
  f.Text1.SetSelStart(1);
  changes = 0;
  for (wchar_t ch : std::wstring(L"a2x")) SendMessageW(H(f.Text1), WM_CHAR, ch, 1);
  Check(f.Text1.Text() == "12" && Text(H(f.Text1)) == "12" && changes == 1 && f.Text1.SelStart() == 2,
        "typing goes through KeyPress and keeps the caret", f.Text1.Text());
  SendMessageW(H(f.Text1), WM_CHAR, '3', 1);
  Check(f.Text1.Text() == "12", "MaxLength holds natively");
  SendMessageW(H(f.Text2), EM_SETSEL, 0, -1);
  SendMessageW(H(f.Text2), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"貼り付けた文"));
  Check(f.Text2.Text() == "貼り付けた文" && f.Text2.SelStart() == 6, "a paste reaches the object (EN_CHANGE)",
        f.Text2.Text());

  // List and combo picks.
  int listClicks = 0, comboClicks = 0;
  f.List1.Click = [&] { ++listClicks; };
  f.Combo1.Click = [&] { ++comboClicks; };
  SendMessageW(H(f.List1), LB_SETSEL, FALSE, -1);
  SendMessageW(H(f.List1), LB_SETSEL, TRUE, 0);
  SendMessageW(H(f.List1), LB_SETSEL, TRUE, 2);
  SendMessageW(H(f.List1), LB_SETCARETINDEX, 2, FALSE);
  SendCommand(f.List1, LBN_SELCHANGE);
  Check(f.List1.Selected(0) && !f.List1.Selected(1) && f.List1.Selected(2) && f.List1.ListIndex() == 2 &&
            listClicks == 1,
        "a native multiple selection reaches the list with one Click");
  RECT item;
  SendMessageW(H(f.List1), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  Click(H(f.List1), item.left + 4, (item.top + item.bottom) / 2);
  Check(f.List1.ListIndex() == 3 && f.List1.Selected(3) && !f.List1.Selected(0) && listClicks == 2,
        "a mouse click on a row selects it alone", std::to_string(f.List1.ListIndex()));
  SendMessageW(H(f.Combo1), CB_SETCURSEL, 4, 0);
  SendCommand(f.Combo1, CBN_SELCHANGE);
  Check(f.Combo1.ListIndex() == 4 && comboClicks == 1, "a combo pick sets ListIndex and raises Click");

  // The calendar: a click on a day changes the date, then DateClick.
  int dateClicks = 0, selChanges = 0;
  f.MonthView1.DateClick = [&] { ++dateClicks; };
  f.MonthView1.SelChange = [&] { ++selChanges; };
  SYSTEMTIME day{};
  day.wYear = 2026;
  day.wMonth = 12;
  day.wDay = 17;
  POINT at{};
  bool found = FindDay(H(f.MonthView1), day, at);
  if (found) Click(H(f.MonthView1), at.x, at.y);
  Check(found && f.MonthView1.Value() == MakeDate(2026, 12, 17) && dateClicks == 1 && selChanges == 1,
        "a click on a calendar day", std::to_string(dateClicks) + "," + std::to_string(selChanges));

  // The up-down's arrows step the object, wrapping past its ends.
  int steps = 0;
  f.UpDown1.Change = [&] { ++steps; };
  f.UpDown1.SetValue(23);
  steps = 0;
  RECT ud;
  GetClientRect(H(f.UpDown1), &ud);
  Click(H(f.UpDown1), ud.right / 2, ud.bottom / 4);
  Check(f.UpDown1.Value() == 0 && steps == 1 && SendMessageW(H(f.UpDown1), UDM_GETPOS32, 0, 0) == 0,
        "the up arrow wraps 23 to 0", std::to_string(f.UpDown1.Value()));
  Click(H(f.UpDown1), ud.right / 2, ud.bottom * 3 / 4);
  Check(f.UpDown1.Value() == 23 && steps == 2, "the down arrow wraps 0 to 23");

  // The scroll bar: arrows and pages by SmallChange and LargeChange; the thumb on release.
  f.HScroll1.SetValue(0);
  int moves = 0;
  f.HScroll1.Change = [&] { ++moves; };
  HWND sb = H(f.HScroll1);
  SendMessageW(H(f), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(H(f), WM_HSCROLL, SB_PAGELEFT, reinterpret_cast<LPARAM>(sb));
  Check(f.HScroll1.Value() == -900 && GetScrollPos(sb, SB_CTL) == -900 && moves == 2, "scroll bar arrows and pages");
  SendMessageW(H(f), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(sb));
  Check(f.HScroll1.Value() == 32767, "scroll bar to its end");

  // A mouse press is reported before the control takes the focus (the reset button relies on
  // it to let the hour check that the focus change runs pass).
  f.Text1.SetFocus();
  Pump(50);
  int downs = 0;
  bool textHadFocus = false;
  f.Command3.MouseDown = [&](int button) {
    ++downs;
    textHadFocus = button == 1 && GetFocus() == H(f.Text1) && f.ActiveControl() == &f.Text1;
  };
  RECT button;
  GetClientRect(H(f.Command3), &button);
  Click(H(f.Command3), button.right / 2, button.bottom / 2);
  Check(downs == 1 && textHadFocus && f.ActiveControl() == &f.Command3, "MouseDown before the focus moves");

  // Focus: where the native focus goes, the object learns it.
  f.Text1.SetFocus();
  Pump(50);
  int got = 0, lost = 0;
  f.List1.GotFocus = [&] { ++got; };
  f.List1.LostFocus = [&] { ++lost; };
  SetFocus(H(f.List1));
  Pump(50);
  Check(f.ActiveControl() == &f.List1 && got == 1, "native focus reported to the form");
  f.Text1.SetFocus();
  Pump(50);
  Check(GetFocus() == H(f.Text1) && lost == 1, "focus from code moves the native focus");
}

void RunKeyboardChecks(SampleForm& f) {
  int pressed = 0, cancelled = 0;
  f.Command1.Click = [&] { ++pressed; };
  f.Command4.Click = [&] { ++cancelled; };
  SetForegroundWindow(H(f));
  f.Text1.SetFocus();
  Key(H(f.Text1), VK_RETURN);
  Check(pressed == 1, "Enter in a text box presses the default button");
  f.Command3.SetFocus();
  int edits = 0;
  f.Command3.Click = [&] { ++edits; };
  Key(H(f.Command3), VK_RETURN);
  Check(edits == 1 && pressed == 1, "Enter on a focused button presses that button");
  f.Text1.SetFocus();
  PostMessageW(H(f.Text1), WM_SYSCHAR, 'e', 1u << 29);
  Pump(100);
  Check(edits == 2 && f.ActiveControl() == &f.Command3, "Alt and the underlined letter press the button");
  f.Text2.SetText("一行目");
  f.Text2.SetFocus();
  f.Text2.SetSelStart(3);
  Key(H(f.Text2), VK_RETURN);
  Check(pressed == 1 && f.Text2.Text() == "一行目\r\n", "a multi-line text box keeps Enter", f.Text2.Text());
  Key(H(f.Text2), VK_ESCAPE);
  Check(cancelled == 1, "Esc presses the cancel button");

  // Tab order follows TabIndex; of an option group only the ticked option is a stop.
  f.Check2.SetFocus();
  Key(H(f.Check2), VK_TAB);
  Check(f.ActiveControl() == &f.Option1 && GetFocus() == H(f.Option1), "Tab to the ticked option",
        f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  Key(H(f.Option1), VK_TAB);
  Check(f.ActiveControl() == &f.Text1, "Tab skips the unticked option and the labels",
        f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  Shift(true);
  Key(H(f.Text1), VK_TAB);
  Shift(false);
  Check(f.ActiveControl() == &f.Option1, "Shift+Tab goes back", f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  f.Command4.SetFocus();
  Key(H(f.Command4), VK_TAB);
  Check(f.ActiveControl() == &f.List1, "Tab wraps to the first stop", f.ActiveControl() ? f.ActiveControl()->Name() : "none");
}

}  // namespace wb::demo
