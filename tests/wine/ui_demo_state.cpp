// State set from code reaches the native controls; the layout follows the window's DPI.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>

#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"
#include "ui_demo.h"

namespace wb::demo {
namespace {

std::string Str(long a, long b) { return std::to_string(a) + " vs " + std::to_string(b); }

bool SameRect(const RECT& r, int x, int y, int w, int h) {
  return r.left == x && r.top == y && r.right - r.left == w && r.bottom - r.top == h;
}

// Controls whose window is exactly their twips rectangle (a drop-down list also holds its list).
void CheckPlacement(SampleForm& f, UINT dpi, const char* name) {
  std::string wrong;
  for (ui::Control* c : f.Controls()) {
    if (!H(*c) || c->GetKind() == ui::Kind::ComboBox) continue;
    const ui::Rect& r = c->Position();
    int w = win32::TwipsToPixels(r.width, dpi), h = std::max(1, win32::TwipsToPixels(r.height, dpi));
    if (!SameRect(ClientRectOf(H(*c)), win32::TwipsToPixels(r.left, dpi), win32::TwipsToPixels(r.top, dpi), w, h))
      wrong += c->Name() + " ";
  }
  Check(wrong.empty(), name, wrong);
}

LOGFONTW FontOf(HWND h) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

// The caption fits its control: nothing is cut at the right or the bottom.
void CheckCaptionsFit(SampleForm& f, UINT dpi) {
  std::string clipped;
  for (ui::Control* c : f.Controls()) {
    ui::Kind k = c->GetKind();
    if (k != ui::Kind::Label && k != ui::Kind::Button && k != ui::Kind::CheckBox && k != ui::Kind::OptionButton) continue;
    std::wstring text = win32::WindowText(H(*c));
    if (text.empty()) continue;
    HDC dc = GetDC(H(*c));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(H(*c), WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(H(*c), dc);
    RECT r;
    GetClientRect(H(*c), &r);
    int room = r.right;
    if (k == ui::Kind::CheckBox || k == ui::Kind::OptionButton) room -= MulDiv(18, int(dpi), 96);  // the box
    if (k == ui::Kind::Button) room -= MulDiv(8, int(dpi), 96);  // the frame
    // Japanese glyphs end a little below the baseline; the rest of the descent is spacing
    // (generous in the Noto faces) and may be cut without losing any ink.
    int ink = tm.tmAscent + tm.tmDescent / 2;
    if (size.cx > room || ink > r.bottom)
      clipped += c->Name() + "(" + Str(size.cx, room) + ", " + Str(ink, r.bottom) + ") ";
  }
  Check(clipped.empty(), "captions fit their controls", clipped);
}

void CheckJapaneseGlyphs(SampleForm& f) {
  const wchar_t* text = L"アラーム表示";
  std::string missing;
  for (ui::Control* c : {static_cast<ui::Control*>(&f.listLabel), static_cast<ui::Control*>(&f.alarmList)}) {
    HDC dc = GetDC(H(*c));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(H(*c), WM_GETFONT, 0, 0)));
    WORD glyphs[8] = {};
    GetGlyphIndicesW(dc, text, 6, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    ReleaseDC(H(*c), dc);
    for (WORD g : glyphs)
      if (g == 0xFFFF) {
        missing += c->Name() + "(" + win32::Narrow(face) + ") ";
        break;
      }
  }
  Check(missing.empty(), "Japanese glyphs in the controls' fonts", missing);
}

}  // namespace

void RunStateChecks(SampleForm& f, TopForm& top, UINT expectDpi) {
  int activations = 0, paints = 0;
  f.onActivate = [&] { ++activations; };
  f.onPaint = [&] { ++paints; };
  f.EnsureLoaded();
  Check(H(f) && !IsWindowVisible(H(f)), "a touched form is created hidden");
  f.Show();
  top.Show();
  // Keep the always-on-top window off the sample for the screenshot.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT tr;
  GetWindowRect(H(top), &tr);
  SetWindowPos(H(top), nullptr, work.right - (tr.right - tr.left) - 8, work.bottom - (tr.bottom - tr.top) - 8, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetForegroundWindow(H(f));
  Pump(300);
  Check(activations > 0 && paints > 0, "Activate and Paint are raised", Str(activations, paints));

  UINT dpi = win32::WindowDpi(H(f));
  std::printf("window DPI %u\n", dpi);
  Check(expectDpi == 0 || dpi == expectDpi, "the window has the configured DPI", Str(long(dpi), long(expectDpi)));
  RECT client;
  GetClientRect(H(f), &client);
  Check(client.right == win32::TwipsToPixels(9000, dpi) && client.bottom == win32::TwipsToPixels(5100, dpi),
        "client size from ClientWidth/ClientHeight", Str(client.right, client.bottom));
  RECT wr;
  GetWindowRect(H(f), &wr);
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  Check(std::abs((wr.left + wr.right) / 2 - cx / 2) <= 2 && (std::abs((wr.top + wr.bottom) / 2 - cy / 2) <= 2 || wr.top == work.top),
        "the form is centred on the screen", Str(wr.left, wr.top));
  CheckPlacement(f, dpi, "controls placed from their twips");
  LOGFONTW lf = FontOf(H(f.listLabel));
  Check(lf.lfHeight == -MulDiv(9, int(dpi), 72) && win32::Narrow(lf.lfFaceName) == "MS UI Gothic",
        "control font in points at the window's DPI", win32::Narrow(lf.lfFaceName) + " " + std::to_string(lf.lfHeight));
  Check(FontOf(H(f.dailyCheck)).lfWeight == FW_BOLD && win32::Narrow(FontOf(H(f.alarmList)).lfFaceName) == "ＭＳ ゴシック",
        "per-control fonts");
  CheckJapaneseGlyphs(f);
  CheckCaptionsFit(f, dpi);
  RECT need{};
  SendMessageW(H(f.calendar), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  RECT have = ClientRectOf(H(f.calendar));
  Check(need.right <= have.right - have.left && need.bottom <= have.bottom - have.top, "the calendar is not clipped",
        Str(need.right, have.right - have.left) + ", " + Str(need.bottom, have.bottom - have.top));

  // Values from code.
  Check(Text(H(f.listLabel)) == "アラームリスト" && Text(H(f.blinkCheck)) == "アラームウィンドウをブリンクする",
        "captions reach the native controls");
  f.SetCaption("見本ウィンドウ");
  Check(Text(H(f)) == "見本ウィンドウ", "form caption from code");
  f.hourEdit.SetText("12");
  Check(Text(H(f.hourEdit)) == "12", "text box text from code");
  f.hourEdit.SetMaxLength(3);
  bool longer = SendMessageW(H(f.hourEdit), EM_GETLIMITTEXT, 0, 0) == 3;
  f.hourEdit.SetMaxLength(2);
  Check(longer && SendMessageW(H(f.hourEdit), EM_GETLIMITTEXT, 0, 0) == 2, "text box MaxLength from code");
  int clicks = 0;
  f.blinkCheck.onClick = [&] { ++clicks; };
  f.blinkCheck.SetValue(ui::CheckState::Ticked);
  Check(SendMessageW(H(f.blinkCheck), BM_GETCHECK, 0, 0) == BST_CHECKED && clicks == 1, "check box value from code");
  f.dailyOption.SetValue(true);
  f.monthlyOption.SetValue(true);
  Check(SendMessageW(H(f.dailyOption), BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
            SendMessageW(H(f.monthlyOption), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "option group from code");
  Check(SendMessageW(H(f.alarmList), LB_GETCOUNT, 0, 0) == 4, "list rows");
  f.alarmList.SetSelected(1, true);
  f.alarmList.SetSelected(3, true);
  Check(SendMessageW(H(f.alarmList), LB_GETSEL, 1, 0) > 0 && SendMessageW(H(f.alarmList), LB_GETSEL, 3, 0) > 0 &&
            SendMessageW(H(f.alarmList), LB_GETSEL, 0, 0) == 0,
        "list selection from code");
  f.alarmList.ClearItems();
  for (const char* row : {"07:00 毎日     起床", "12:30 １回だけ 昼休み", "18:00 週単位   月水金", "21:15 毎月     ２５日"})
    f.alarmList.AddItem(row);
  Check(SendMessageW(H(f.alarmList), LB_GETCOUNT, 0, 0) == 4 && SendMessageW(H(f.alarmList), LB_GETSEL, 1, 0) == 0,
        "list refilled from code");
  f.weekUnitCombo.SetListIndex(2);
  Check(SendMessageW(H(f.weekUnitCombo), CB_GETCURSEL, 0, 0) == 2 && SendMessageW(H(f.weekUnitCombo), CB_GETCOUNT, 0, 0) == 5,
        "combo index from code");
  f.calendar.SetValue(MakeDate(2026, 12, 24));
  f.calendar.SetStartOfWeek(2);
  SYSTEMTIME st{};
  SendMessageW(H(f.calendar), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  Check(st.wYear == 2026 && st.wMonth == 12 && st.wDay == 24 &&
            LOWORD(SendMessageW(H(f.calendar), MCM_GETFIRSTDAYOFWEEK, 0, 0)) == 0,
        "calendar date and week start from code");
  f.hourSpin.SetValue(12);
  Check(SendMessageW(H(f.hourSpin), UDM_GETPOS32, 0, 0) == 12, "up-down value from code");
  f.volumeSlider.SetValue(-1000);
  Check(GetScrollPos(H(f.volumeSlider), SB_CTL) == -1000, "scroll bar value from code (negative range)");
  f.addButton.SetEnabled(false);
  bool disabled = !IsWindowEnabled(H(f.addButton));
  f.addButton.SetEnabled(true);
  f.hourLabel.SetVisible(false);
  bool hidden = !IsWindowVisible(H(f.hourLabel));
  f.hourLabel.SetVisible(true);
  Check(disabled && hidden && IsWindowEnabled(H(f.addButton)) && IsWindowVisible(H(f.hourLabel)), "enabled and visible");
  Check(GetWindowLongPtrW(H(f.addButton), GWL_STYLE) & BS_DEFPUSHBUTTON, "the default button is drawn as such");
  Check(SendMessageW(H(f.openButton), BM_GETIMAGE, IMAGE_ICON, 0) != 0 &&
            SendMessageW(H(f.iconPicture), STM_GETICON, 0, 0) != 0,
        "pictures from the resources by key");

  // Rich text: the whole text in one colour, font and alignment, kept over a new text.
  auto richFormat = [&](CHARFORMAT2W& cf, PARAFORMAT2& pf) {
    cf = CHARFORMAT2W{};
    cf.cbSize = sizeof cf;
    pf = PARAFORMAT2{};
    pf.cbSize = sizeof pf;
    SendMessageW(H(f.sampleView), EM_SETSEL, 0, -1);
    SendMessageW(H(f.sampleView), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(H(f.sampleView), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    SendMessageW(H(f.sampleView), EM_SETSEL, 0, 0);
  };
  CHARFORMAT2W cf;
  PARAFORMAT2 pf;
  richFormat(cf, pf);
  Check(cf.crTextColor == 0x0000C0 && (cf.dwEffects & CFE_BOLD) && cf.yHeight == 240 &&
            win32::Narrow(cf.szFaceName) == "MS Pｺﾞｼｯｸ" && pf.wAlignment == PFA_CENTER,
        "rich text colour, bold font and centring", win32::Narrow(cf.szFaceName));
  f.sampleView.SetText("新しいメッセージ");
  richFormat(cf, pf);
  Check(cf.crTextColor == 0x0000C0 && (cf.dwEffects & CFE_BOLD) && pf.wAlignment == PFA_CENTER,
        "rich text keeps its format over a new text");
  LRESULT previous = SendMessageW(H(f.sampleView), EM_SETBKGNDCOLOR, 0, 0xC0FFFF);
  Check(previous == 0xC0FFFF, "rich text back colour", std::to_string(previous));
  f.sampleView.SetText("アラームです\r\n起きてください");

  // Always on top.
  Check(GetWindowLongPtrW(H(top), GWL_EXSTYLE) & WS_EX_TOPMOST, "TopMost form is topmost");
  top.SetTopMost(false);
  bool off = !(GetWindowLongPtrW(H(top), GWL_EXSTYLE) & WS_EX_TOPMOST);
  top.SetTopMost(true);
  Check(off && (GetWindowLongPtrW(H(top), GWL_EXSTYLE) & WS_EX_TOPMOST), "TopMost switched off and on");
  SetForegroundWindow(H(f));
  Pump(50);
  bool above = false;
  for (HWND w = GetWindow(H(top), GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) above |= w == H(f);
  Check(above, "TopMost form stays above an activated form");

  // Back colour of the form, as painted.
  f.SetBackColor(0xE0F0E0);
  UpdateWindow(H(f));
  Pump(100);
  HDC dc = GetDC(H(f));
  COLORREF px = GetPixel(dc, win32::TwipsToPixels(8950, dpi), win32::TwipsToPixels(5000, dpi));
  ReleaseDC(H(f), dc);
  Check(px == 0xE0F0E0, "form back colour painted", std::to_string(px));
  f.SetBackColor(ui::kButtonFace);

  // A DPI change re-lays the window out at the new DPI and back.
  RECT rect;
  GetWindowRect(H(f), &rect);
  SendMessageW(H(f), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), reinterpret_cast<LPARAM>(&rect));
  CheckPlacement(f, dpi * 2, "re-laid out on a DPI change");
  Check(FontOf(H(f.listLabel)).lfHeight == -MulDiv(9, int(dpi * 2), 72), "fonts re-made on a DPI change");
  SendMessageW(H(f), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rect));
  CheckPlacement(f, dpi, "and back");
}

}  // namespace wb::demo
