// The native side of one form: a top-level window with one child window per control object.
// It mirrors the objects' state into the native controls and turns user input into the same
// state changes on the objects; all behaviour stays in the objects. Internal to platform/win32.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/win32/Owned.h"

namespace wb::win32 {

inline constexpr const wchar_t* kFormClass = L"WakebellForm";
inline constexpr int kFirstControlId = 1000;
// Posted to a form when a control took the focus: the form then scrolls it into view.
inline constexpr UINT kScrollIntoViewMessage = WM_APP + 1;

HINSTANCE Module();
void SetModule(HINSTANCE module);

// Colour values with 0x80000000 set name a system colour (its number in the low byte).
COLORREF ToColorRef(ui::Color c);
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, int(dpi), 1440); }
UINT WindowDpi(HWND hwnd);  // null: the system DPI
// Outer size of a window whose client area is `w` x `h` pixels at `dpi`.
SIZE WindowSizeForClient(int w, int h, DWORD style, DWORD exStyle, UINT dpi);
// Drops the visual style of one control so that its colours are honoured (Vista and later).
void DropTheme(HWND hwnd);
// The rich edit's window class (msftedit's, or riched20's where that is missing).
const wchar_t* RichEditClass();

// Carets: the objects count code points, the native controls UTF-16 units.
int Utf16Offset(const std::wstring& w, int codePoints);
int CodePointOffset(const std::wstring& w, int units);
// The UTF-16 range of `length` code points from `start` in `w`, the control's shown text: the
// selection of a text box (EM_SETSEL) and of a rich edit (EM_EXSETSEL) alike.
CHARRANGE SelectionUnits(const std::wstring& w, int start, int length);
std::wstring WindowText(HWND h);
// The width (pixels) a rich edit `boxPixels` wide gets its lines ended at (LineBreaks.h), and
// the text with those ends, in `font`: what the rich edit shows and what measuring it counts.
int RichLineWidth(int boxPixels, bool border, bool scrollBarRoom, UINT dpi);
std::wstring BreakRichLines(const std::wstring& text, int lineWidth, HFONT font);

class FormWindow : public FormPeer {
 public:
  explicit FormWindow(ui::Form& form);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  void SyncForm(ui::Prop p) override;
  void SyncControl(ui::Control& c, ui::Prop p) override;

  // The form is unloaded or gone: destroys the window without touching the control objects
  // (they may already be destroyed) and frees this object once no handler of it runs.
  void Retire();

  HWND Hwnd() const { return hwnd_; }
  static FormWindow* FromHwnd(HWND hwnd);  // a form window of ours, else null
  // Tab, Enter, Esc and Alt+mnemonic of the form, taken from the message loop before dispatch.
  bool HandleKey(const MSG& msg);

  // Keeps the object alive while one of its handlers runs, and frees it afterwards when it was
  // retired meanwhile.
  class Busy {
   public:
    explicit Busy(FormWindow* w) : w_(w) { ++w_->depth_; }
    ~Busy() {
      if (--w_->depth_ == 0 && w_->retired_) delete w_;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
   private:
    FormWindow* w_;
  };
  bool Retired() const { return retired_; }

 private:
  ~FormWindow() override;
  friend class Busy;

  // FrontEndForm.cpp: the top-level window.
  static LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT Handle(UINT m, WPARAM w, LPARAM l);
  // FrontEndForm.cpp: the window inside its monitor's work area. A form larger than the work
  // area gets scroll bars, so every control stays within reach; the focus moving to a control
  // out of sight scrolls it into view.
  void PlaceWindow(bool centre);
  void FitToWorkArea(bool centre);
  void OnScroll(int bar, int code);
  void ScrollTo(int x, int y);
  void ScrollIntoView(const ui::Control& c);
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  void OnUserSize(WPARAM kind);
  RECT SizeGripRect() const;
  void RestoreFocus();
  void MoveFocus(int direction);
  bool CanTabTo(const ui::Control& c) const;
  void ApplyTabOrder();
  bool PressMnemonic(wchar_t key);
  void ApplyFormIcons();

  // Win32Controls.cpp: creating and mirroring.
  void CreateControl(ui::Control& c);
  HWND NativeOf(const ui::Control& c) const;
  ui::Control* ControlById(int id) const;
  ui::Control* ControlOfWindow(HWND h) const;  // the control owning `h` or one of its parents
  void SyncAll(ui::Control& c);
  static void NameForScreenReaders(HWND h, const ui::Control& c);
  void Mirror(ui::Control& c, HWND h, ui::Prop p);
  void MirrorText(ui::Control& c, HWND h);
  void MirrorValue(ui::Control& c, HWND h);
  void MirrorItems(ui::ListControl& c, HWND h);
  void MirrorSelection(ui::ListControl& c, HWND h);
  void MirrorCaret(ui::Control& c, HWND h);
  void MirrorPicture(ui::Control& c, HWND h);
  void MirrorToolTip(ui::Control& c, HWND h);
  void MirrorColours(ui::Control& c, HWND h);
  // Lists whose cut rows end in "…" (ListBoxOptions::markCutRows): drawn by the form.
  static bool IsRowMarkingList(const ui::Control& c);
  int RowHeight(const ui::Control& c);
  void DrawRow(const DRAWITEMSTRUCT& d);
  std::vector<int> ColumnStarts(const ui::Control& c) const;
  void ShowRowTip(ui::Control& c, HWND h, LPARAM at);
  void MoveControl(ui::Control& c, HWND h);
  HFONT FontFor(const ui::Font& f);
  HFONT FontForPixels(const ui::Font& f, int pixels);
  void FitCalendar(ui::Control& c, HWND h, int width, int height);
  HBRUSH BrushFor(ui::Color c);
  HICON IconFor(const std::string& key, int size);

  // Win32ControlsRich.cpp: the rich edit.
  void MirrorRich(ui::RichText& r, HWND h, ui::Prop p);
  // Puts the object's text into the rich edit, its lines ended by the program (LineBreaks.h) at
  // the edit's width; again only when `always` or when the line ends moved (a new font or size).
  void ShowRichText(ui::RichText& r, HWND h, bool always);

  // Win32ControlsInput.cpp: notifications of the native controls.
  LRESULT OnCommand(int id, int code, HWND h);
  LRESULT OnNotify(NMHDR* n);
  void OnHScroll(int code, HWND h);
  LRESULT OnCtlColor(UINT m, HDC dc, HWND h);
  static LRESULT CALLBACK ChildProc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR ref);
  LRESULT HandleChild(ui::Control& c, HWND h, UINT m, WPARAM w, LPARAM l);

  ui::Form& form_;
  HWND hwnd_ = nullptr;
  HWND tips_ = nullptr;
  UINT dpi_ = 96;
  int depth_ = 0;         // handlers of this window on the stack
  bool retired_ = false;
  int mirroring_ = 0;     // > 0 while we write into native controls: their notifications are echoes
  // The drop-down list open now and the item it showed when it opened: a pick of that same
  // item sends no selection change, only the end of the selection.
  HWND droppedCombo_ = nullptr;
  int droppedIndex_ = -1;
  bool placed_ = false;
  int placing_ = 0;          // > 0 while the window is sized for its form: no user's resize
  bool userSizing_ = false;  // the form hears of the user's new size: the window has it already
  RECT sizeGrip_{};          // where the grip was drawn last, drawn again after a new size
  POINT scroll_{0, 0};  // how far the form's content is scrolled, in pixels
  HWND tipList_ = nullptr;  // the list and row whose text the tip shows now
  int tipRow_ = -1;

  std::vector<HWND> natives_;  // by index in form_.Controls()
  std::unordered_map<const ui::Control*, size_t> index_;
  std::vector<bool> unthemed_;
  // Made on first use and freed with the window (fonts and icons also on a change of DPI).
  using FontKey = std::tuple<std::string, int, bool, bool, bool, bool>;
  std::map<FontKey, UniqueFont> fonts_;
  std::map<const ui::Control*, std::wstring> richShown_;  // what each rich edit was given
  std::map<COLORREF, UniqueBrush> brushes_;
  std::map<std::pair<std::string, int>, UniqueIcon> icons_;
};

}  // namespace wb::win32
