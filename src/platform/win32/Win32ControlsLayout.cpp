// Placement and drawing resources of the native controls: twips to pixels at the window's DPI,
// fonts in points at that DPI, brushes for the objects' colours, icons by image key, and the
// caret arithmetic between the objects' code points and the controls' UTF-16 units.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/FrontEnd.h"
#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Utf.h"

namespace wb::win32 {

using ui::Kind;

std::wstring WindowText(HWND h) {
  int n = GetWindowTextLengthW(h);
  std::wstring w(size_t(n) + 1, L'\0');
  n = GetWindowTextW(h, w.data(), n + 1);
  w.resize(size_t(n > 0 ? n : 0));
  return w;
}

int Utf16Offset(const std::wstring& w, int codePoints) {
  size_t i = 0;
  for (int k = 0; k < codePoints && i < w.size(); ++k) i += IS_HIGH_SURROGATE(w[i]) && i + 1 < w.size() ? 2 : 1;
  return int(i);
}

int CodePointOffset(const std::wstring& w, int units) {
  int n = 0;
  for (size_t i = 0; i < w.size() && int(i) < units; ++i) n += !IS_LOW_SURROGATE(w[i]);
  return n;
}

CHARRANGE SelectionUnits(const std::wstring& w, int start, int length) {
  return CHARRANGE{Utf16Offset(w, start), Utf16Offset(w, start + length)};
}

void FormWindow::MoveControl(ui::Control& c, HWND h) {
  const ui::Rect& r = c.Position();
  int x = TwipsToPixels(r.left, dpi_) - scroll_.x, y = TwipsToPixels(r.top, dpi_) - scroll_.y;
  int w = TwipsToPixels(r.width, dpi_), ht = TwipsToPixels(r.height, dpi_);
  if (c.GetKind() == Kind::Line) {  // a hairline stays visible at every DPI
    w = std::max(w, 1);
    ht = std::max(ht, 1);
  }
  if (c.GetKind() == Kind::ComboBox) {
    // The height of a drop-down list's window includes its open list.
    int item = int(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0));
    ht = std::max(ht, item + 6) + 10 * std::max(item, 1) + 2;
  }
  MoveWindow(h, x, y, w, ht, TRUE);
  if (c.GetKind() == Kind::MonthView) FitCalendar(c, h, w, ht);
}

// The calendar draws its grid from its font. Where the font's face is wider than the one the
// window was designed with, the grid would be cut; a smaller size keeps every day in the box.
void FormWindow::FitCalendar(ui::Control& c, HWND h, int width, int height) {
  int pixels = MulDiv(c.GetFont().size, int(dpi_), 72);
  int smallest = MulDiv(6, int(dpi_), 72);
  for (;; --pixels) {
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontForPixels(c.GetFont(), pixels)), FALSE);
    RECT need{};
    SendMessageW(h, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    if ((need.right <= width && need.bottom <= height) || pixels <= smallest) break;
  }
  InvalidateRect(h, nullptr, TRUE);
}

HFONT FormWindow::FontFor(const ui::Font& f) { return FontForPixels(f, MulDiv(f.size, int(dpi_), 72)); }

HFONT FormWindow::FontForPixels(const ui::Font& f, int pixels) {
  FontKey key{f.name, pixels, f.bold, f.italic, f.underline, f.strikethru};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.Get();
  LOGFONTW lf{};
  lf.lfHeight = -pixels;
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikethru;
  lf.lfCharSet = DEFAULT_CHARSET;  // the face decides; Japanese faces bring their glyphs
  lf.lfQuality = DEFAULT_QUALITY;
  std::wstring face = Widen(f.name).substr(0, LF_FACESIZE - 1);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return fonts_.emplace(key, CreateFontIndirectW(&lf)).first->second.Get();
}

HBRUSH FormWindow::BrushFor(ui::Color c) {
  if (c & 0x80000000u) return GetSysColorBrush(int(c & 0xFF));
  COLORREF rgb = ToColorRef(c);
  auto it = brushes_.find(rgb);
  if (it != brushes_.end()) return it->second.Get();
  return brushes_.emplace(rgb, CreateSolidBrush(rgb)).first->second.Get();
}

HICON FormWindow::IconFor(const std::string& key, int size) {
  auto k = std::make_pair(key, size);
  auto it = icons_.find(k);
  if (it != icons_.end()) return it->second.Get();
  return icons_.emplace(k, LoadKeyIcon(key, size)).first->second.Get();
}

UniqueIcon LoadKeyIcon(const std::string& key, int size) {
  return UniqueIcon(
      static_cast<HICON>(LoadImageW(Module(), Widen(key).c_str(), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace wb::win32
