// The rich edit behind RichText. The program always colours, sizes and aligns the whole text,
// so the object holds those as properties of the text and this side applies them to all of it,
// again after every new text (a new text would otherwise take the edit's default format).
#include <windows.h>

#include <richedit.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/LineBreaks.h"
#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"

namespace wb::win32 {
namespace {

WORD ParaAlign(ui::Align a) {
  return a == ui::Align::Center ? PFA_CENTER : a == ui::Align::Right ? PFA_RIGHT : PFA_LEFT;
}

void ApplyCharFormat(ui::RichText& r, HWND h) {
  const ui::Font& f = r.GetFont();
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_CHARSET;
  cf.dwEffects = (f.bold ? CFE_BOLD : 0) | (f.italic ? CFE_ITALIC : 0) | (f.underline ? CFE_UNDERLINE : 0) |
                 (f.strikethru ? CFE_STRIKEOUT : 0);
  cf.yHeight = f.size * 20;  // twips
  cf.crTextColor = ToColorRef(r.TextColor());
  cf.bCharSet = DEFAULT_CHARSET;
  std::wstring face = Widen(f.name).substr(0, LF_FACESIZE - 1);
  lstrcpynW(cf.szFaceName, face.c_str(), LF_FACESIZE);
  // Every change of format lays the whole text out again, which for a long message takes
  // seconds: a format the text already has is not applied again.
  CHARFORMAT2W now{};
  now.cbSize = sizeof now;
  SendMessageW(h, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&now));
  const DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT;
  const DWORD compared = cf.dwMask & ~CFM_CHARSET;  // the edit may name the character set it chose
  if ((now.dwMask & compared) == compared && (now.dwEffects & effects) == cf.dwEffects &&
      now.yHeight == cf.yHeight && now.crTextColor == cf.crTextColor && !(now.dwEffects & CFE_AUTOCOLOR) &&
      lstrcmpW(now.szFaceName, cf.szFaceName) == 0)
    return;
  SendMessageW(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void SetSelection(HWND h, const std::wstring& text, int start, int length) {
  CHARRANGE cr = SelectionUnits(text, start, length);
  SendMessageW(h, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void ApplyAlignment(ui::RichText& r, HWND h) {
  PARAFORMAT2 now{};
  now.cbSize = sizeof now;
  SendMessageW(h, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&now));
  if ((now.dwMask & PFM_ALIGNMENT) && now.wAlignment == ParaAlign(r.Alignment())) return;  // as above
  std::wstring text = WindowText(h);
  SetSelection(h, text, 0, int(text.size()) + 1);
  PARAFORMAT2 pf{};
  pf.cbSize = sizeof pf;
  pf.dwMask = PFM_ALIGNMENT;
  pf.wAlignment = ParaAlign(r.Alignment());
  SendMessageW(h, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
  SetSelection(h, text, r.SelStart(), r.SelLength());
}

}  // namespace

const wchar_t* RichEditClass() {
  static const wchar_t* cls = [] {
    if (LoadLibraryW(L"msftedit.dll")) return MSFTEDIT_CLASS;
    LoadLibraryW(L"riched20.dll");
    return RICHEDIT_CLASSW;
  }();
  return cls;
}

void FormWindow::MirrorRich(ui::RichText& r, HWND h, ui::Prop p) {
  using ui::Prop;
  switch (p) {
    case Prop::Text: ShowRichText(r, h, true); break;
    case Prop::Font: {
      ApplyCharFormat(r, h);
      // The edit sizes its text at the system DPI; a window on a monitor of another DPI zooms.
      UINT sys = WindowDpi(nullptr);  // no window: the system's
      SendMessageW(h, EM_SETZOOM, dpi_ == sys ? 0 : WPARAM(dpi_), dpi_ == sys ? 0 : LPARAM(sys));
      ShowRichText(r, h, false);  // the line ends follow the letters' width
      break;
    }
    case Prop::ForeColor: ApplyCharFormat(r, h); break;
    case Prop::BackColor: SendMessageW(h, EM_SETBKGNDCOLOR, 0, LPARAM(ToColorRef(r.BackColor()))); break;
    case Prop::Alignment: ApplyAlignment(r, h); break;
    case Prop::Caret: SetSelection(h, WindowText(h), r.SelStart(), r.SelLength()); break;
    case Prop::ScrollBar: ShowRichText(r, h, false); break;  // the lines end short of the bar
    case Prop::Scroll:
      if (auto step = r.LastScroll()) {
        static constexpr WORD kCodes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM};
        SendMessageW(h, WM_VSCROLL, MAKEWPARAM(kCodes[int(*step)], 0), 0);
      }
      break;
    default:
      break;
  }
}

int RichLineWidth(int boxPixels, bool border, bool scrollBarRoom, UINT dpi) {
  // The control's width less its border, the edit's own margins and its bar when it shows one,
  // and a little more, so that a line never reaches the edge and is broken again there.
  const int width = boxPixels - (border ? 2 * GetSystemMetrics(SM_CXEDGE) : 0) - 6 -
                    (scrollBarRoom ? MulDiv(GetSystemMetrics(SM_CXVSCROLL), int(dpi), int(WindowDpi(nullptr))) : 0);
  return width - width / 20;
}

std::wstring BreakRichLines(const std::wstring& text, int lineWidth, HFONT font) {
  // A device context only for a text that has a paragraph to measure.
  std::optional<ScreenDc> dc;
  HGDIOBJ oldFont = nullptr;
  std::wstring shown = ui::BreakLines(text, lineWidth, [&](std::wstring_view run) {
    if (!dc) oldFont = SelectObject(dc.emplace().Get(), font);
    std::vector<int> widths(run.size());
    SIZE size{};
    GetTextExtentExPointW(dc->Get(), run.data(), int(run.size()), 0, nullptr, widths.data(), &size);
    return widths;
  });
  if (dc) SelectObject(dc->Get(), oldFont);
  return shown;
}

void FormWindow::ShowRichText(ui::RichText& r, HWND h, bool always) {
  const int width = RichLineWidth(TwipsToPixels(r.Position().width, dpi_), r.Border(), r.ScrollBarRoom(), dpi_);
  std::wstring shown = BreakRichLines(Widen(r.Text()), width, FontFor(r.GetFont()));
  std::wstring& last = richShown_[&r];
  if (!always && shown == last) return;
  // Rich edits keep a paragraph end as CR alone, so the shown text is not compared with the
  // object's: the object reports only real changes.
  // The format goes on while the edit is empty, so a long text is laid out once, as it goes
  // in, and not again for each part of its format.
  SETTEXTEX st{ST_DEFAULT, 1200};
  SendMessageW(h, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(L""));
  ApplyCharFormat(r, h);
  ApplyAlignment(r, h);
  SendMessageW(h, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(shown.c_str()));
  last = std::move(shown);
}

}  // namespace wb::win32
