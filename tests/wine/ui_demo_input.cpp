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
  f.addButton.onClick = [&] { ++pressed; };
  f.blinkCheck.onClick = [&] { ++ticks; };
  f.dailyOption.onClick = [&] { ++options; };
  SendMessageW(H(f.addButton), BM_CLICK, 0, 0);
  Check(pressed == 1, "a native click presses the button");
  int before = int(f.blinkCheck.Value());
  SendMessageW(H(f.blinkCheck), BM_CLICK, 0, 0);
  Check(int(f.blinkCheck.Value()) == 1 - before && ticks == 1 &&
            SendMessageW(H(f.blinkCheck), BM_GETCHECK, 0, 0) == (before ? BST_UNCHECKED : BST_CHECKED),
        "a native click toggles the check box and raises Click");
  SendMessageW(H(f.dailyOption), BM_CLICK, 0, 0);
  Check(f.dailyOption.Value() && !f.monthlyOption.Value() && options == 1 &&
            SendMessageW(H(f.monthlyOption), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
        "a native click selects the option and clears its group");
  f.addButton.SetEnabled(false);
  SendCommand(f.addButton, BN_CLICKED);
  f.addButton.SetEnabled(true);
  Check(pressed == 1, "a disabled button is not pressed");

  // Typing passes KeyPress: letters are swallowed, digits typed at the caret.
  int changes = 0;
  f.hourEdit.onChange = [&] { ++changes; };
  f.hourEdit.SetText("1");
  f.hourEdit.SetSelStart(1);
  changes = 0;
  for (wchar_t ch : std::wstring(L"a2x")) SendMessageW(H(f.hourEdit), WM_CHAR, ch, 1);
  Check(f.hourEdit.Text() == "12" && Text(H(f.hourEdit)) == "12" && changes == 1 && f.hourEdit.SelStart() == 2,
        "typing goes through KeyPress and keeps the caret", f.hourEdit.Text());
  SendMessageW(H(f.hourEdit), WM_CHAR, '3', 1);
  Check(f.hourEdit.Text() == "12", "MaxLength holds natively");
  SendMessageW(H(f.messageEdit), EM_SETSEL, 0, -1);
  SendMessageW(H(f.messageEdit), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"貼り付けた文"));
  Check(f.messageEdit.Text() == "貼り付けた文" && f.messageEdit.SelStart() == 6, "a paste reaches the object (EN_CHANGE)",
        f.messageEdit.Text());

  // List and combo picks.
  int listClicks = 0, comboClicks = 0;
  f.alarmList.onClick = [&] { ++listClicks; };
  f.weekUnitCombo.onClick = [&] { ++comboClicks; };
  SendMessageW(H(f.alarmList), LB_SETSEL, FALSE, -1);
  SendMessageW(H(f.alarmList), LB_SETSEL, TRUE, 0);
  SendMessageW(H(f.alarmList), LB_SETSEL, TRUE, 2);
  SendMessageW(H(f.alarmList), LB_SETCARETINDEX, 2, FALSE);
  SendCommand(f.alarmList, LBN_SELCHANGE);
  Check(f.alarmList.Selected(0) && !f.alarmList.Selected(1) && f.alarmList.Selected(2) && f.alarmList.ListIndex() == 2 &&
            listClicks == 1,
        "a native multiple selection reaches the list with one Click");
  RECT item;
  SendMessageW(H(f.alarmList), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  Click(H(f.alarmList), item.left + 4, (item.top + item.bottom) / 2);
  Check(f.alarmList.ListIndex() == 3 && f.alarmList.Selected(3) && !f.alarmList.Selected(0) && listClicks == 2,
        "a mouse click on a row selects it alone", std::to_string(f.alarmList.ListIndex()));
  SendMessageW(H(f.weekUnitCombo), CB_SETCURSEL, 4, 0);
  SendCommand(f.weekUnitCombo, CBN_SELCHANGE);
  Check(f.weekUnitCombo.ListIndex() == 4 && comboClicks == 1, "a combo pick sets ListIndex and raises Click");

  // The calendar: a click on a day changes the date, then DateClick.
  int dateClicks = 0, selChanges = 0;
  f.calendar.onDateClick = [&] { ++dateClicks; };
  f.calendar.onSelChange = [&] { ++selChanges; };
  SYSTEMTIME day{};
  day.wYear = 2026;
  day.wMonth = 12;
  day.wDay = 17;
  POINT at{};
  bool found = FindDay(H(f.calendar), day, at);
  if (found) Click(H(f.calendar), at.x, at.y);
  Check(found && f.calendar.Value() == MakeDate(2026, 12, 17) && dateClicks == 1 && selChanges == 1,
        "a click on a calendar day", std::to_string(dateClicks) + "," + std::to_string(selChanges));

  // The up-down's arrows step the object, wrapping past its ends.
  int steps = 0;
  f.hourSpin.onChange = [&] { ++steps; };
  f.hourSpin.SetValue(23);
  steps = 0;
  RECT ud;
  GetClientRect(H(f.hourSpin), &ud);
  Click(H(f.hourSpin), ud.right / 2, ud.bottom / 4);
  Check(f.hourSpin.Value() == 0 && steps == 1 && SendMessageW(H(f.hourSpin), UDM_GETPOS32, 0, 0) == 0,
        "the up arrow wraps 23 to 0", std::to_string(f.hourSpin.Value()));
  Click(H(f.hourSpin), ud.right / 2, ud.bottom * 3 / 4);
  Check(f.hourSpin.Value() == 23 && steps == 2, "the down arrow wraps 0 to 23");

  // The scroll bar: arrows and pages by SmallChange and LargeChange; the thumb on release.
  f.volumeSlider.SetValue(0);
  int moves = 0;
  f.volumeSlider.onChange = [&] { ++moves; };
  HWND sb = H(f.volumeSlider);
  SendMessageW(H(f), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(H(f), WM_HSCROLL, SB_PAGELEFT, reinterpret_cast<LPARAM>(sb));
  Check(f.volumeSlider.Value() == -900 && GetScrollPos(sb, SB_CTL) == -900 && moves == 2, "scroll bar arrows and pages");
  SendMessageW(H(f), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(sb));
  Check(f.volumeSlider.Value() == 32767, "scroll bar to its end");

  // A mouse press is reported before the control takes the focus (the reset button relies on
  // it to let the hour check that the focus change runs pass).
  f.hourEdit.SetFocus();
  Pump(50);
  int downs = 0;
  bool textHadFocus = false;
  f.editButton.onMouseDown = [&](int button) {
    ++downs;
    textHadFocus = button == 1 && GetFocus() == H(f.hourEdit) && f.ActiveControl() == &f.hourEdit;
  };
  RECT button;
  GetClientRect(H(f.editButton), &button);
  Click(H(f.editButton), button.right / 2, button.bottom / 2);
  Check(downs == 1 && textHadFocus && f.ActiveControl() == &f.editButton, "MouseDown before the focus moves");

  // Focus: where the native focus goes, the object learns it.
  f.hourEdit.SetFocus();
  Pump(50);
  int got = 0, lost = 0;
  f.alarmList.onGotFocus = [&] { ++got; };
  f.alarmList.onLostFocus = [&] { ++lost; };
  SetFocus(H(f.alarmList));
  Pump(50);
  Check(f.ActiveControl() == &f.alarmList && got == 1, "native focus reported to the form");
  f.hourEdit.SetFocus();
  Pump(50);
  Check(GetFocus() == H(f.hourEdit) && lost == 1, "focus from code moves the native focus");
}

void RunKeyboardChecks(SampleForm& f) {
  int pressed = 0, cancelled = 0;
  f.addButton.onClick = [&] { ++pressed; };
  f.cancelButton.onClick = [&] { ++cancelled; };
  SetForegroundWindow(H(f));
  f.hourEdit.SetFocus();
  Key(H(f.hourEdit), VK_RETURN);
  // As in every dialog, Enter in a one-line box presses the default button.
  Check(pressed == 1, "Enter in a one-line text box presses the default button");
  f.editButton.SetFocus();
  int edits = 0;
  f.editButton.onClick = [&] { ++edits; };
  Key(H(f.editButton), VK_RETURN);
  Check(edits == 1 && pressed == 1, "Enter on a focused button presses that button");
  f.hourEdit.SetFocus();
  PostMessageW(H(f.hourEdit), WM_SYSCHAR, 'e', 1u << 29);
  Pump(100);
  Check(edits == 2 && f.ActiveControl() == &f.editButton, "Alt and the underlined letter press the button");
  f.messageEdit.SetText("一行目");
  f.messageEdit.SetFocus();
  f.messageEdit.SetSelStart(3);
  Key(H(f.messageEdit), VK_RETURN);
  Check(pressed == 1 && f.messageEdit.Text() == "一行目\r\n", "a multi-line text box keeps Enter", f.messageEdit.Text());
  Key(H(f.messageEdit), VK_ESCAPE);
  Check(cancelled == 1, "Esc presses the cancel button");

  // Tab walks the form's tab order; of an option group only the ticked option is a stop.
  f.dailyCheck.SetFocus();
  Key(H(f.dailyCheck), VK_TAB);
  Check(f.ActiveControl() == &f.dailyOption && GetFocus() == H(f.dailyOption), "Tab to the ticked option",
        f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  Key(H(f.dailyOption), VK_TAB);
  Check(f.ActiveControl() == &f.hourEdit, "Tab skips the unticked option and the labels",
        f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  Shift(true);
  Key(H(f.hourEdit), VK_TAB);
  Shift(false);
  Check(f.ActiveControl() == &f.dailyOption, "Shift+Tab goes back", f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  // The arrows move through the group and tick the option they reach.
  Key(H(f.dailyOption), VK_DOWN);
  Check(f.ActiveControl() == &f.monthlyOption && f.monthlyOption.Value() && GetFocus() == H(f.monthlyOption),
        "Down ticks the next option", f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  Key(H(f.monthlyOption), VK_UP);
  Check(f.ActiveControl() == &f.dailyOption && f.dailyOption.Value(), "Up ticks the option before");
  Key(H(f.dailyOption), VK_RETURN);
  Check(pressed == 2, "Enter outside a text box presses the default button");
  f.cancelButton.SetFocus();
  Key(H(f.cancelButton), VK_TAB);
  Check(f.ActiveControl() == &f.alarmList, "Tab wraps to the first stop", f.ActiveControl() ? f.ActiveControl()->Name() : "none");

  // The list, not the order the members were declared in: the combo, declared after the
  // calendar and the message, follows the hour; the open button, left out, is no stop.
  f.hourEdit.SetFocus();
  Key(H(f.hourEdit), VK_TAB);
  Check(f.ActiveControl() == &f.weekUnitCombo, "Tab follows the tab order, not the declaration order",
        f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  f.addButton.SetFocus();
  Key(H(f.addButton), VK_TAB);
  Check(f.ActiveControl() == &f.editButton, "a control left out of the tab order is no stop",
        f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  // The native walk of the dialog manager agrees: WS_TABSTOP and the z-order follow the list.
  Check((GetWindowLongPtrW(H(f.addButton), GWL_STYLE) & WS_TABSTOP) &&
            !(GetWindowLongPtrW(H(f.openButton), GWL_STYLE) & WS_TABSTOP) &&
            !(GetWindowLongPtrW(H(f.listLabel), GWL_STYLE) & WS_TABSTOP),
        "only the tab order's controls carry WS_TABSTOP");
  Check(GetNextDlgTabItem(H(f), H(f.hourEdit), FALSE) == H(f.weekUnitCombo) &&
            GetNextDlgTabItem(H(f), H(f.messageEdit), TRUE) == H(f.calendar),
        "the native tab walk follows the tab order");
}

}  // namespace wb::demo
