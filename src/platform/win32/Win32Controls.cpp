// Native controls of a form: one child window per control object, created from the object's
// state and kept equal to it. Every write first compares with what the control shows, so a
// mirrored value never comes back as a second change.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "platform/LineBreaks.h"
#include "platform/win32/FrontEnd.h"
#include "platform/win32/FrontEndPeer.h"
#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Diag.h"

namespace wb::win32 {
namespace {

using ui::Kind;
using ui::Prop;

struct NativeKind {
  const wchar_t* cls;
  DWORD style, exStyle;
};

NativeKind NativeFor(const ui::Control& c) {
  switch (c.GetKind()) {
    case Kind::Label:  // only a label carrying an access key underlines the letter after "&"
      return {L"STATIC", static_cast<const ui::Label&>(c).AccessKeyTarget() ? 0u : DWORD(SS_NOPREFIX), 0};
    case Kind::Button: return {L"BUTTON", BS_PUSHBUTTON, 0};
    case Kind::CheckBox: return {L"BUTTON", BS_3STATE | BS_MULTILINE, 0};  // the object owns the state
    case Kind::OptionButton: return {L"BUTTON", BS_RADIOBUTTON | BS_MULTILINE, 0};
    case Kind::TextBox:
      if (static_cast<const ui::TextBox&>(c).MultiLine())
        return {L"EDIT", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
      return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::ComboBox: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case Kind::ListBox: {
      const auto& list = static_cast<const ui::ListBox&>(c);
      return {L"LISTBOX",
              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | (list.MultiSelect() ? DWORD(LBS_EXTENDEDSEL) : 0) |
                  (list.MarkCutRows() ? DWORD(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) : 0),
              WS_EX_CLIENTEDGE};
    }
    case Kind::MonthView: return {MONTHCAL_CLASSW, MCS_DAYSTATE, 0};  // bold days asked by MCN_GETDAYSTATE
    case Kind::UpDown: return {UPDOWN_CLASSW, UDS_HOTTRACK, 0};
    case Kind::RichText: {
      const auto& r = static_cast<const ui::RichText&>(c);
      // A scrollable one shows its bar only while its text is taller than the box.
      return {RichEditClass(), ES_MULTILINE | ES_READONLY | (r.Scrollable() ? DWORD(WS_VSCROLL | ES_AUTOVSCROLL) : 0),
              r.Border() ? DWORD(WS_EX_CLIENTEDGE) : 0};
    }
    case Kind::HScrollBar: return {L"SCROLLBAR", SBS_HORZ, 0};
    case Kind::PictureBox: return {L"STATIC", SS_ICON | SS_CENTERIMAGE, 0};
    case Kind::Line: return {L"STATIC", 0, 0};
    case Kind::Frame: return {L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0};  // never over the controls it frames
    case Kind::ImageList: break;
  }
  return {nullptr, 0, 0};
}

DWORD LabelAlignStyle(ui::Align a) {
  return a == ui::Align::Center ? SS_CENTER : a == ui::Align::Right ? SS_RIGHT : SS_LEFT;
}

void SetTextIfDifferent(HWND h, const std::string& text) {
  std::wstring w = Widen(text);
  if (WindowText(h) != w) SetWindowTextW(h, w.c_str());
}

SYSTEMTIME ToSystemTime(OleDate d) {
  CivilTime t = ToCivil(d);
  SYSTEMTIME st{};
  st.wYear = WORD(t.year);
  st.wMonth = WORD(t.month);
  st.wDay = WORD(t.day);
  st.wDayOfWeek = WORD(WeekdayOf(d) - 1);
  return st;
}

}  // namespace

HWND FormWindow::NativeOf(const ui::Control& c) const {
  auto it = index_.find(&c);
  return it == index_.end() ? nullptr : natives_[it->second];
}

ui::Control* FormWindow::ControlById(int id) const {
  size_t i = size_t(id - kFirstControlId);
  return id >= kFirstControlId && i < natives_.size() ? form_.Controls()[i] : nullptr;
}

ui::Control* FormWindow::ControlOfWindow(HWND h) const {
  for (; h && h != hwnd_; h = GetParent(h))
    if (GetParent(h) == hwnd_) return ControlById(GetDlgCtrlID(h));
  return nullptr;
}

void FormWindow::CreateControl(ui::Control& c) {
  auto it = index_.find(&c);
  if (it == index_.end()) return;
  NativeKind k = NativeFor(c);
  if (!k.cls) return;  // an image list has no window: its keys name the program's icons
  int id = kFirstControlId + int(it->second);
  HWND h = CreateWindowExW(k.exStyle, k.cls, L"", WS_CHILD | k.style, 0, 0, 0, 0, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Module(), nullptr);
  if (!h) {  // the object keeps working; the user just cannot see or reach it
    DiagLastError("CreateWindowExW of " + form_.Name() + "." + c.Name());
    return;
  }
  natives_[it->second] = h;
  c.native = h;
  SetWindowSubclass(h, &FormWindow::ChildProc, UINT_PTR(id), reinterpret_cast<DWORD_PTR>(this));
  if (c.GetKind() == Kind::RichText) {
    SendMessageW(h, EM_SETEVENTMASK, 0, 0);
    SendMessageW(h, EM_AUTOURLDETECT, FALSE, 0);
    // One format for the whole text, which is all the program ever gives it: the edit then
    // keeps no format per paragraph, which makes laying out a long text many times cheaper.
    // Only an empty edit takes the mode.
    SendMessageW(h, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  }
  SyncAll(c);
  if (!c.AccessibleName().empty()) NameForScreenReaders(h, c);
}

// Screen readers name a button by its caption, but a list, a text box or a button without a
// caption by a label beside it, which these windows do not always have: the name is given to
// the accessibility layer directly. A system without the service only loses the name.
void FormWindow::NameForScreenReaders(HWND h, const ui::Control& c) {
  const std::string& name = c.AccessibleName();
  // A list, a calendar, a slider or a spin button shows no window text: there it can carry the
  // name too, for tools that read window texts and for systems without the service.
  switch (c.GetKind()) {
    case Kind::ListBox: case Kind::MonthView: case Kind::HScrollBar: case Kind::UpDown:
      SetTextIfDifferent(h, name);
      break;
    default:
      break;
  }
  ComScope com;
  ComPtr<IAccPropServices> props;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              props.PutVoid())))
    return;
  props->SetHwndPropStr(h, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, Widen(name).c_str());
}

void FormWindow::SyncAll(ui::Control& c) {
  HWND h = NativeOf(c);
  if (!h) return;
  ++mirroring_;
  for (Prop p : {Prop::Font, Prop::Caption, Prop::Text, Prop::Items, Prop::Value, Prop::Selection, Prop::ListIndex,
                 Prop::Caret, Prop::MaxLength, Prop::WeekStart, Prop::Alignment, Prop::Picture, Prop::ForeColor, Prop::BackColor,
                 Prop::Default, Prop::ToolTip, Prop::Enabled, Prop::Position, Prop::Visible})
    Mirror(c, h, p);
  --mirroring_;
}

void FormWindow::SyncControl(ui::Control& c, ui::Prop p) {
  if (retired_ || !hwnd_) return;
  if (!index_.count(&c)) {  // a control made after the form was loaded
    index_[&c] = natives_.size();
    natives_.push_back(nullptr);
    unthemed_.push_back(false);
    CreateControl(c);
    ApplyTabOrder();
    return;
  }
  HWND h = NativeOf(c);
  if (!h) return;
  Busy busy(this);
  ++mirroring_;
  Mirror(c, h, p);
  --mirroring_;
}

void FormWindow::Mirror(ui::Control& c, HWND h, ui::Prop p) {
  Kind kind = c.GetKind();
  if (kind == Kind::RichText && p != Prop::Enabled && p != Prop::Visible && p != Prop::Position &&
      p != Prop::ToolTip && p != Prop::Focus) {
    MirrorRich(static_cast<ui::RichText&>(c), h, p);
    return;
  }
  switch (p) {
    case Prop::Text: MirrorText(c, h); break;
    case Prop::Caption:
      if (const std::string* cap = ui::CaptionOf(c)) {
        SetTextIfDifferent(h, *cap);
        if (kind == Kind::Button) MirrorPicture(c, h);  // an icon alone, or beside the caption
      }
      break;
    case Prop::Value: MirrorValue(c, h); break;
    case Prop::Items:
      if (kind == Kind::ComboBox || kind == Kind::ListBox) MirrorItems(static_cast<ui::ListControl&>(c), h);
      break;
    case Prop::Selection: case Prop::ListIndex:
      if (kind == Kind::ComboBox || kind == Kind::ListBox) MirrorSelection(static_cast<ui::ListControl&>(c), h);
      break;
    case Prop::Caret: MirrorCaret(c, h); break;
    case Prop::WeekStart:
      if (kind == Kind::MonthView)  // the calendar counts 0 = Monday ... 6 = Sunday
        SendMessageW(h, MCM_SETFIRSTDAYOFWEEK, 0, static_cast<ui::MonthView&>(c).StartOfWeek() == 2 ? 0 : 6);
      break;
    case Prop::MaxLength:
      if (kind == Kind::TextBox) SendMessageW(h, EM_LIMITTEXT, WPARAM(static_cast<ui::TextBox&>(c).MaxLength()), 0);
      break;
    case Prop::Alignment:
      if (kind == Kind::Label) {
        LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE) & ~LONG_PTR(SS_TYPEMASK);
        SetWindowLongPtrW(h, GWL_STYLE, style | LabelAlignStyle(static_cast<ui::Label&>(c).Alignment()));
        InvalidateRect(h, nullptr, TRUE);
      }
      break;
    case Prop::Picture: MirrorPicture(c, h); break;
    case Prop::ForeColor: case Prop::BackColor: MirrorColours(c, h); break;
    case Prop::Default:
      if (kind == Kind::Button) {
        DWORD style = DWORD(GetWindowLongPtrW(h, GWL_STYLE)) & ~DWORD(BS_TYPEMASK);
        style |= static_cast<ui::Button&>(c).IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        SendMessageW(h, BM_SETSTYLE, style, TRUE);
      }
      break;
    case Prop::ToolTip: MirrorToolTip(c, h); break;
    case Prop::Enabled: EnableWindow(h, c.Enabled()); break;
    case Prop::Visible: ShowWindow(h, c.Visible() ? SW_SHOWNA : SW_HIDE); break;
    case Prop::Position:
      MoveControl(c, h);
      if (kind == Kind::RichText) ShowRichText(static_cast<ui::RichText&>(c), h, false);  // new cuts for a new width
      break;
    case Prop::Font:
      SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.GetFont())), TRUE);
      if (IsRowMarkingList(c)) SendMessageW(h, LB_SETITEMHEIGHT, 0, RowHeight(c));
      if (kind == Kind::ComboBox || kind == Kind::PictureBox || kind == Kind::MonthView) MoveControl(c, h);
      break;
    case Prop::Focus:
      // A hidden form takes the focus when it is shown (RestoreFocus); focus set on a control
      // of a visible form activates that form, as the program expects.
      if (IsWindowVisible(hwnd_) && IsWindowVisible(h) && IsWindowEnabled(h) && GetFocus() != h) SetFocus(h);
      break;
    case Prop::Scroll: case Prop::ScrollBar: break;  // a rich text's, above
    case Prop::TopMost: case Prop::TabOrder: case Prop::ClientSize: break;  // the form's, not a control's
  }
}

void FormWindow::MirrorText(ui::Control& c, HWND h) {
  if (c.GetKind() != Kind::TextBox) return;
  auto& t = static_cast<ui::TextBox&>(c);
  std::wstring w = Widen(t.Text());
  if (WindowText(h) == w) return;  // the user's own typing, already shown
  SetWindowTextW(h, w.c_str());
  MirrorCaret(c, h);
}

void FormWindow::MirrorCaret(ui::Control& c, HWND h) {
  if (c.GetKind() != Kind::TextBox) return;
  auto& t = static_cast<ui::TextBox&>(c);
  std::wstring w = WindowText(h);
  DWORD start = 0, end = 0;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const CHARRANGE units = SelectionUnits(w, t.SelStart(), t.SelLength());
  if (LONG(start) != units.cpMin || LONG(end) != units.cpMax)
    SendMessageW(h, EM_SETSEL, WPARAM(units.cpMin), LPARAM(units.cpMax));
}

void FormWindow::MirrorValue(ui::Control& c, HWND h) {
  switch (c.GetKind()) {
    case Kind::CheckBox: {
      ui::CheckState v = static_cast<ui::CheckBox&>(c).Value();
      WPARAM state = v == ui::CheckState::Ticked ? BST_CHECKED : v == ui::CheckState::Grey ? BST_INDETERMINATE : BST_UNCHECKED;
      if (WPARAM(SendMessageW(h, BM_GETCHECK, 0, 0)) != state) SendMessageW(h, BM_SETCHECK, state, 0);
      break;
    }
    case Kind::OptionButton: {
      WPARAM state = static_cast<ui::OptionButton&>(c).Value() ? BST_CHECKED : BST_UNCHECKED;
      if (WPARAM(SendMessageW(h, BM_GETCHECK, 0, 0)) != state) SendMessageW(h, BM_SETCHECK, state, 0);
      break;
    }
    case Kind::MonthView: {
      OleDate d = static_cast<ui::MonthView&>(c).Value();
      if (d == 0) break;  // never set: the calendar keeps showing today
      SYSTEMTIME want = ToSystemTime(d), have{};
      SendMessageW(h, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&have));
      if (have.wYear != want.wYear || have.wMonth != want.wMonth || have.wDay != want.wDay)
        SendMessageW(h, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&want));
      break;
    }
    case Kind::UpDown: {
      auto& u = static_cast<ui::UpDown&>(c);
      SendMessageW(h, UDM_SETRANGE32, WPARAM(u.Min()), LPARAM(u.Max()));
      if (int(SendMessageW(h, UDM_GETPOS32, 0, 0)) != u.Value()) SendMessageW(h, UDM_SETPOS32, 0, LPARAM(u.Value()));
      break;
    }
    case Kind::HScrollBar: {
      auto& s = static_cast<ui::HScrollBar&>(c);
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_RANGE | SIF_POS;
      si.nMin = s.Min();
      si.nMax = s.Max();
      si.nPos = s.Value();
      SetScrollInfo(h, SB_CTL, &si, TRUE);
      break;
    }
    default:
      break;
  }
}

namespace {
// The messages of a long fill or selection go straight to the control's own window procedure.
// Through our subclass each message first looks up the subclass's data, which under Wine is a
// round trip to the server: 32767 rows took seconds that way, milliseconds this way. The
// subclass handles no list message, so nothing is lost.
struct DirectSender {
  HWND h;
  WNDPROC proc;
  LRESULT operator()(UINT m, WPARAM w = 0, LPARAM l = 0) const { return CallWindowProcW(proc, h, m, w, l); }
};
DirectSender Direct(HWND h) { return {h, reinterpret_cast<WNDPROC>(GetClassLongPtrW(h, GCLP_WNDPROC))}; }
}  // namespace

void FormWindow::MirrorItems(ui::ListControl& c, HWND h) {
  bool combo = c.GetKind() == Kind::ComboBox;
  UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT, reset = combo ? CB_RESETCONTENT : LB_RESETCONTENT,
       add = combo ? CB_ADDSTRING : LB_ADDSTRING;
  const DirectSender send = Direct(h);
  int have = int(send(count));
  if (c.LastChangeAppendedOne() && c.ListCount() == have + 1) {
    // AddItem appends one row at a time: filling a list that way stays linear.
    send(add, 0, reinterpret_cast<LPARAM>(Widen(c.List(have)).c_str()));
  } else {
    send(WM_SETREDRAW, FALSE);
    send(reset);
    if (!combo) {  // room for every row at once instead of growing row by row
      size_t chars = 0;
      for (int i = 0; i < c.ListCount(); ++i) chars += c.List(i).size() + 1;
      send(LB_INITSTORAGE, WPARAM(c.ListCount()), LPARAM(chars * sizeof(wchar_t)));
    }
    for (int i = 0; i < c.ListCount(); ++i) send(add, 0, reinterpret_cast<LPARAM>(Widen(c.List(i)).c_str()));
    send(WM_SETREDRAW, TRUE);
    InvalidateRect(h, nullptr, TRUE);
  }
  MirrorSelection(c, h);
}

void FormWindow::MirrorSelection(ui::ListControl& c, HWND h) {
  const DirectSender send = Direct(h);
  if (c.GetKind() == Kind::ComboBox) {
    if (int(send(CB_GETCURSEL)) != c.ListIndex()) send(CB_SETCURSEL, WPARAM(c.ListIndex()));
    return;
  }
  auto& l = static_cast<ui::ListBox&>(c);
  if (!l.MultiSelect()) {
    if (int(send(LB_GETCURSEL)) != l.ListIndex()) send(LB_SETCURSEL, WPARAM(l.ListIndex()));
    return;
  }
  // The rows selected now, in one message, then only the rows that differ.
  std::vector<int> rows(size_t(std::max<LRESULT>(0, send(LB_GETSELCOUNT))));
  if (!rows.empty()) send(LB_GETSELITEMS, WPARAM(rows.size()), reinterpret_cast<LPARAM>(rows.data()));
  std::vector<bool> shown(size_t(l.ListCount()), false);
  for (int r : rows)
    if (r >= 0 && r < l.ListCount()) shown[size_t(r)] = true;
  std::vector<int> differ;
  for (int i = 0; i < l.ListCount(); ++i)
    if (shown[size_t(i)] != l.Selected(i)) differ.push_back(i);
  // Many rows at once are drawn once at the end, not row by row.
  const bool many = differ.size() > 16;
  if (many) send(WM_SETREDRAW, FALSE);
  for (int i : differ) send(LB_SETSEL, l.Selected(i), LPARAM(i));
  if (many) {
    send(WM_SETREDRAW, TRUE);
    InvalidateRect(h, nullptr, TRUE);
  }
  if (l.ListIndex() >= 0 && int(send(LB_GETCARETINDEX)) != l.ListIndex())
    send(LB_SETCARETINDEX, WPARAM(l.ListIndex()), FALSE);
}

void FormWindow::MirrorPicture(ui::Control& c, HWND h) {
  if (c.GetKind() == Kind::Button) {
    auto& b = static_cast<ui::Button&>(c);
    HICON icon = b.Picture().empty() ? nullptr : IconFor(b.Picture(), MulDiv(16, int(dpi_), 96));
    // A picture without a caption, or whose caption is only the button's name, is drawn alone
    // and centred; with a caption, beside it.
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE) & ~LONG_PTR(BS_ICON);
    if (icon && (b.Caption().empty() || b.PictureOnly())) style |= BS_ICON;
    SetWindowLongPtrW(h, GWL_STYLE, style);
    SendMessageW(h, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    InvalidateRect(h, nullptr, TRUE);
  } else if (c.GetKind() == Kind::PictureBox) {
    auto& p = static_cast<ui::PictureBox&>(c);
    HICON icon = p.Picture().empty() ? nullptr : IconFor(p.Picture(), MulDiv(32, int(dpi_), 96));
    SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    MoveControl(c, h);  // the static sizes itself to the icon; keep the designed box
  }
}

void FormWindow::MirrorToolTip(ui::Control& c, HWND h) {
  if (!tips_) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(h);
  SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  // A list that marks its cut rows always has a tip: the row under the mouse fills it in.
  if (c.ToolTip().empty() && !IsRowMarkingList(c)) return;
  std::wstring text = Widen(c.ToolTip());
  ti.lpszText = text.data();
  SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void FormWindow::MirrorColours(ui::Control& c, HWND h) {
  Kind kind = c.GetKind();
  if ((kind == Kind::CheckBox || kind == Kind::OptionButton) && !unthemed_[index_[&c]] &&
      (c.ForeColor() != ui::kWindowText || c.BackColor() != ui::kButtonFace)) {
    // A themed check box draws its text in the theme's colour; the colour boxes and the
    // highlighted view box need theirs.
    DropTheme(h);
    unthemed_[index_[&c]] = true;
  }
  InvalidateRect(h, nullptr, TRUE);
}

bool FormWindow::IsRowMarkingList(const ui::Control& c) {
  return c.GetKind() == Kind::ListBox && static_cast<const ui::ListBox&>(c).MarkCutRows();
}

int FormWindow::RowHeight(const ui::Control& c) {
  ScreenDc dc;
  HGDIOBJ old = SelectObject(dc.Get(), FontFor(c.GetFont()));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.Get(), &tm);
  SelectObject(dc.Get(), old);
  return int(tm.tmHeight) + MulDiv(2, int(dpi_), 96);
}

// Where each part of a row starts, pixels from the list's left: 0, then the list's columns.
std::vector<int> FormWindow::ColumnStarts(const ui::Control& c) const {
  std::vector<int> starts{0};
  if (c.GetKind() == Kind::ListBox)
    for (int twips : static_cast<const ui::ListBox&>(c).Columns()) starts.push_back(TwipsToPixels(twips, dpi_));
  return starts;
}

// A row as the plain list would draw it, but ending in "…" where the list cuts it.
void FormWindow::DrawRow(const DRAWITEMSTRUCT& d) {
  if (d.itemID == UINT(-1)) return;
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  FillRect(d.hDC, &d.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int length = int(SendMessageW(d.hwndItem, LB_GETTEXTLEN, d.itemID, 0));
  if (length > 0) {
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(SendMessageW(d.hwndItem, LB_GETTEXT, d.itemID, reinterpret_cast<LPARAM>(text.data()))));
    ui::Control* c = ControlById(int(d.CtlID));
    HGDIOBJ oldFont = c ? SelectObject(d.hDC, FontFor(c->GetFont())) : nullptr;
    const int oldMode = SetBkMode(d.hDC, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(d.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    // Each part of a row split by tabs in its column, cut there; the last part to the edge. A
    // part is cut between two grapheme clusters, never inside a flag or a letter and its mark,
    // as the system's own ellipsis would.
    const std::vector<int> starts = c ? ColumnStarts(*c) : std::vector<int>{0};
    SIZE mark{};
    GetTextExtentPoint32W(d.hDC, L"…", 1, &mark);
    size_t from = 0;
    for (size_t part = 0; from <= text.size(); ++part) {
      size_t tab = part + 1 < starts.size() ? text.find(L'\t', from) : std::wstring::npos;
      const size_t end = tab == std::wstring::npos ? text.size() : tab;
      RECT r = d.rcItem;
      r.left += starts[part] + MulDiv(2, int(dpi_), 96);
      if (tab != std::wstring::npos) r.right = std::min(r.right, LONG(d.rcItem.left + starts[part + 1]));
      std::wstring piece = text.substr(from, end - from);
      std::vector<int> extents(piece.size());
      SIZE whole{};
      if (!piece.empty())
        GetTextExtentExPointW(d.hDC, piece.c_str(), int(piece.size()), 0, nullptr, extents.data(), &whole);
      const size_t keep = ui::RowCutUnits(piece, int(r.right - r.left), int(mark.cx), extents);
      if (keep < piece.size()) piece = piece.substr(0, keep) + L"…";
      DrawTextW(d.hDC, piece.c_str(), int(piece.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      if (tab == std::wstring::npos) break;
      from = tab + 1;
    }
    SetTextColor(d.hDC, oldColor);
    SetBkMode(d.hDC, oldMode);
    if (oldFont) SelectObject(d.hDC, oldFont);
  }
  if (d.itemState & ODS_FOCUS) DrawFocusRect(d.hDC, &d.rcItem);
}

// The mouse over a list that marks its cut rows: the tip becomes the whole row under it when
// the list cuts that row, else the list's own tip.
void FormWindow::ShowRowTip(ui::Control& c, HWND h, LPARAM at) {
  if (!tips_) return;
  const LRESULT hit = SendMessageW(h, LB_ITEMFROMPOINT, 0, at);
  const int row = HIWORD(hit) ? -1 : int(LOWORD(hit));
  if (h == tipList_ && row == tipRow_) return;
  tipList_ = h;
  tipRow_ = row;
  std::wstring text = Widen(c.ToolTip());
  if (row >= 0) {
    const int length = int(SendMessageW(h, LB_GETTEXTLEN, WPARAM(row), 0));
    std::wstring rowText(size_t(std::max(length, 0)) + 1, L'\0');
    rowText.resize(size_t(std::max<LRESULT>(0, SendMessageW(h, LB_GETTEXT, WPARAM(row), reinterpret_cast<LPARAM>(rowText.data())))));
    RECT client{};
    GetClientRect(h, &client);
    ScreenDc dc;
    HGDIOBJ old = SelectObject(dc.Get(), FontFor(c.GetFont()));
    // Cut when a part is wider than its column; the tip shows the parts two spaces apart.
    const std::vector<int> starts = ColumnStarts(c);
    bool cut = false;
    std::wstring whole;
    size_t from = 0;
    for (size_t part = 0; from <= rowText.size(); ++part) {
      size_t tab = part + 1 < starts.size() ? rowText.find(L'\t', from) : std::wstring::npos;
      const size_t end = tab == std::wstring::npos ? rowText.size() : tab;
      const int room = (tab == std::wstring::npos ? int(client.right) : starts[part + 1]) - starts[part];
      SIZE size{};
      GetTextExtentPoint32W(dc.Get(), rowText.c_str() + from, int(end - from), &size);
      cut = cut || size.cx + MulDiv(2, int(dpi_), 96) > room;
      if (part > 0 && end > from) whole += L"  ";
      whole.append(rowText, from, end - from);
      if (tab == std::wstring::npos) break;
      from = tab + 1;
    }
    SelectObject(dc.Get(), old);
    if (cut) text = std::move(whole);
  }
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(h);
  ti.lpszText = text.data();
  SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  if (text.empty()) SendMessageW(tips_, TTM_POP, 0, 0);
}

}  // namespace wb::win32
