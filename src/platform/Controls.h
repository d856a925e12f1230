// Control objects: every window of the program is portable logic over these. A control holds
// its whole state; setting a value raises its Click/Change reaction when the value changes,
// exactly as user input does, so that rule lives here and never in a front end.
// Front ends mirror the state through the form's FormPeer; the fake front end has no peer.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/OleDate.h"
#include "platform/Font.h"

namespace wb {
struct FormPeer;

namespace ui {

using Color = uint32_t;  // 0x00BBGGRR, or 0x80000000 + system colour number
constexpr Color kButtonFace = 0x8000000F;
constexpr Color kWindowText = 0x80000008;
constexpr Color kWindowBack = 0x80000005;

// A check box's state; Grey is the third state a program may set and a click never gives.
enum class CheckState { Unticked = 0, Ticked = 1, Grey = 2 };
constexpr CheckState TickedIf(bool on) { return on ? CheckState::Ticked : CheckState::Unticked; }

enum class Kind {
  Label, Button, CheckBox, OptionButton, TextBox, ComboBox, ListBox, MonthView, UpDown,
  RichText, HScrollBar, PictureBox, Line, Frame, ImageList,
};
enum class Align { Left, Center, Right };

// What changed, so a front end mirrors only that: one value per property.
enum class Prop {
  Text, Value, Enabled, Visible, Font, ForeColor, BackColor, Items, ListIndex, Selection, Position,
  Picture, ToolTip, Alignment, Caret, Caption, Focus, Default, MaxLength, WeekStart,
  Scroll, ScrollBar,  // of a rich text: a scroll step asked for; room for its bar
  TopMost, TabOrder, ClientSize,  // of the form
};
// What the keyboard asks of a view that scrolls: the arrows, Page Up and Down, Home and End.
enum class ScrollStep { LineUp, LineDown, PageUp, PageDown, Top, Bottom };

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;  // twips
};
// Layouts are drawn in pixels at 96 DPI; controls are placed in twips, 15 to such a pixel.
constexpr int kTwipsPerPixel = 15;
constexpr Rect Px(int x, int y, int w, int h) {
  return {x * kTwipsPerPixel, y * kTwipsPerPixel, w * kTwipsPerPixel, h * kTwipsPerPixel};
}

class Form;

// Whether a kind of control can hold the keyboard focus (and so be a tab stop).
bool TakesFocus(Kind kind);

// What each kind of control is made with: an aggregate for designated initialisers, the
// rectangle first, e.g. `TextBox hourEdit{*this, "hourEdit", {.rect = {...}, .maxLength = 2}}`.
// Every member has a default, so any of them may be left out.
struct LabelOptions {
  Rect rect{};
  std::string caption{};
};
struct ButtonOptions {
  Rect rect{};
  std::string caption{};
  std::string picture{};  // image key; a picture without a caption is drawn alone
  // With a picture: the caption is the button's name (window text, read by screen readers and
  // found by name) while only the picture is drawn.
  bool pictureOnly = false;
};
struct CheckBoxOptions {
  Rect rect{};
  std::string caption{};
};
struct OptionButtonOptions {
  Rect rect{};
  std::string caption{};
  int group = 0;  // options with the same group on one form exclude each other
};
struct TextBoxOptions {
  Rect rect{};
  bool multiLine = false;
  int maxLength = 0;  // characters; 0 for no limit
};
struct ComboBoxOptions {
  Rect rect{};
  bool repick = false;  // picking the item already shown raises Click again
};
struct ListBoxOptions {
  Rect rect{};
  bool multiSelect = false;  // shift- and ctrl-click select several rows
  // A row wider than the list ends in "…" where it is cut, and the whole row shows as the
  // tip of the mouse over it: for rows of free text (messages) a user must be able to read.
  bool markCutRows = false;
  // With markCutRows: where the second and later parts of a row (split by tabs) start, in
  // twips from the list's left; each part is cut to its column. Empty: a row is one text.
  std::vector<int> columns{};
};
struct MonthViewOptions {
  Rect rect{};
};
struct UpDownOptions {
  Rect rect{};
  int min = 0, max = 0;
  bool wrap = false;  // an arrow past one end goes on from the other
};
struct RichTextOptions {
  Rect rect{};
  bool locked = false;  // shows text the user cannot change
  bool border = false;  // a sunken edge, for a box that must show where it is when empty
  // A vertical scroll bar shows when the text is taller than the box (SetScrollBarRoom).
  bool scrollable = false;
};
struct HScrollBarOptions {
  Rect rect{};
  int min = 0, max = 0;
  int smallChange = 1, largeChange = 1;  // an arrow's step and a page's
};
struct PictureBoxOptions {
  Rect rect{};
  std::string picture{};  // image key, empty for none
};
struct LineOptions {
  Rect rect{};
};
struct FrameOptions {
  Rect rect{};
  std::string caption;  // "" for a plain frame
};

class Control {
 public:
  Control(Form& form, std::string name, Kind kind, Rect r);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Kind GetKind() const { return kind_; }
  Form& Owner() const { return form_; }

  const Rect& Position() const { return rect_; }
  void Move(Rect r);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& f);
  Color ForeColor() const { return fore_; }
  void SetForeColor(Color c);
  Color BackColor() const { return back_; }
  void SetBackColor(Color c);
  const std::string& ToolTip() const { return tip_; }
  void SetToolTip(std::string t);
  void SetFocus();
  // What a screen reader calls the control where its caption does not say it (a list, a text
  // box, a button without a caption). Set while the form is made, before its native window.
  const std::string& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
  // The name a screen reader announces: the accessible name when one was given, else the
  // caption of a control that has one; empty for a control nobody named.
  std::string ScreenReaderName() const;

  // Native handle slot for the front end (an HWND in the Win32 one).
  void* native = nullptr;

  std::function<void()> onClick;
  std::function<void()> onChange;
  std::function<void()> onGotFocus;
  std::function<void()> onLostFocus;
  std::function<void(int& keyAscii)> onKeyPress;  // set keyAscii to 0 to swallow the key
  // A mouse button went down on the control (1 left, 2 right, 4 middle), before the control
  // takes the focus from another one.
  std::function<void(int button)> onMouseDown;
  void RaiseMouseDown(int button) { if (onMouseDown) onMouseDown(button); }

 protected:
  void Notify(Prop p);
  void RaiseClick() { if (onClick) onClick(); }
  void RaiseChange() { if (onChange) onChange(); }

 private:
  Form& form_;
  std::string name_;
  Kind kind_;
  Rect rect_;
  bool enabled_ = true, visible_ = true;
  Font font_;
  Color fore_ = kWindowText, back_ = kButtonFace;
  std::string tip_;
  std::string accessibleName_;
};

class Label : public Control {
 public:
  Label(Form& f, std::string name, LabelOptions o);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  Align Alignment() const { return align_; }
  void SetAlignment(Align a);
  // A label naming a box or list beside it carries that control's access key: Alt and the
  // letter of its "(&X)" take the focus there. Without a target its "&" is a plain character.
  Control* AccessKeyTarget() const { return accessKeyTarget_; }
  void SetAccessKeyTarget(Control& target) { accessKeyTarget_ = &target; }
 private:
  std::string caption_;
  Align align_ = Align::Left;
  Control* accessKeyTarget_ = nullptr;
};

class Button : public Control {
 public:
  Button(Form& f, std::string name, ButtonOptions o);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  const std::string& Picture() const { return picture_; }  // image key, empty for a caption button
  void SetPicture(std::string key);
  // The picture alone is drawn; the caption is only the button's name.
  bool PictureOnly() const { return pictureOnly_; }
  bool IsDefault() const { return default_; }
  void SetDefault(bool on);
  bool IsCancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  // The user pressed it (mouse, Enter as default, Space with focus).
  void Press() { if (Enabled()) RaiseClick(); }
 private:
  std::string caption_, picture_;
  bool pictureOnly_ = false;
  bool default_ = false, cancel_ = false;
};

class CheckBox : public Control {
 public:
  CheckBox(Form& f, std::string name, CheckBoxOptions o);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  CheckState Value() const { return value_; }
  bool Ticked() const { return value_ == CheckState::Ticked; }
  void SetValue(CheckState v);  // raises Click when it changes
  // What a user's click does: a grey box becomes ticked.
  void Toggle() { SetValue(Ticked() ? CheckState::Unticked : CheckState::Ticked); }
 private:
  std::string caption_;
  CheckState value_ = CheckState::Unticked;
};

class OptionButton : public Control {
 public:
  OptionButton(Form& f, std::string name, OptionButtonOptions o);
  const std::string& Caption() const { return caption_; }
  bool Value() const { return value_; }
  // Setting True clears the others of the group and raises Click when it was False.
  void SetValue(bool v);
  int Group() const { return group_; }
 private:
  std::string caption_;
  bool value_ = false;
  int group_;
};

// Text with a caret and a selection: what the text box and the rich text have in common.
class TextControl : public Control {
 public:
  const std::string& Text() const { return text_; }
  void SetText(std::string t);  // raises Change when it changes; caret to the start
  // Caret and selection in characters (UTF-8 code points).
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelStart(int s);  // collapses the selection
 protected:
  TextControl(Form& f, std::string name, Kind kind, Rect rect);
  void SetSelLength(int n);
  void SelectAll();
  std::string text_;
  int selStart_ = 0, selLength_ = 0;
};

class TextBox : public TextControl {
 public:
  TextBox(Form& f, std::string name, TextBoxOptions o);
  bool MultiLine() const { return multiLine_; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n) { maxLength_ = n; Notify(Prop::MaxLength); }
  using TextControl::SetSelLength;
  using TextControl::SelectAll;
  // A user typing one character: onKeyPress may swallow it; otherwise replaces the selection.
  void Type(const std::string& text);
 private:
  bool multiLine_;
  int maxLength_ = 0;
};

class ListControl : public Control {
 public:
  using Control::Control;
  int ListCount() const { return int(items_.size()); }
  const std::string& List(int i) const;
  void SetList(int i, std::string text);
  void AddItem(std::string text);
  void RemoveItem(int i);
  void ClearItems();
  // Replaces every item at once, nothing selected: one update of the native list however
  // long it is (a full alarm table is 32767 rows).
  void SetItems(std::vector<std::string> items);
  int ListIndex() const { return index_; }
  void SetListIndex(int i);  // raises Click when it changes
  const std::string& SelectedText() const;  // "" when nothing is selected
  // The last change of the items appended one row (AddItem): a front end adds just that row.
  bool LastChangeAppendedOne() const { return appendedOne_; }
 protected:
  std::vector<std::string> items_;
  int index_ = -1;
  bool appendedOne_ = false;
};

class ComboBox : public ListControl {  // drop-down list
 public:
  ComboBox(Form& f, std::string name, ComboBoxOptions o);
  // The user picks an item from the open list: a change raises Click; with `repick` a pick of
  // the item already shown raises it too (a list of actions rather than of values).
  void UserPick(int i);
  // The user moves through the items without picking (the arrow keys on the closed list, the
  // highlight in the open one): the item shown changes. A list of values takes it as the new
  // value (Click); a list of actions runs nothing until the user picks.
  void UserBrowse(int i);
  bool Repick() const { return repick_; }
 private:
  bool repick_ = false;
};

class ListBox : public ListControl {
 public:
  ListBox(Form& f, std::string name, ListBoxOptions o);
  bool Selected(int i) const;
  void SetSelected(int i, bool on);  // also makes it the focused row when set; raises Click
  void ClearSelection();
  bool MultiSelect() const { return multi_; }
  bool MarkCutRows() const { return markCutRows_; }
  const std::vector<int>& Columns() const { return columns_; }
  // Clicking a row as a user: select it alone and focus it.
  void ClickRow(int i);
  // The user changed the selection in one gesture (shift- or ctrl-click, keyboard): the rows
  // selected and the focused row, then one onClick, as the native list reports it.
  void UserSelect(const std::vector<bool>& rows, int focusRow);
 private:
  bool multi_;
  bool markCutRows_ = false;
  std::vector<int> columns_;
  std::vector<bool> selected_;
  friend class ListControl;
};

class MonthView : public Control {
 public:
  MonthView(Form& f, std::string name, MonthViewOptions o);
  OleDate Value() const { return value_; }  // a whole day
  // From code: changes the date without raising onSelChange (the calendar does not report it).
  void SetValue(OleDate d);
  int StartOfWeek() const { return startOfWeek_; }  // 1 Sunday, 2 Monday
  void SetStartOfWeek(int w);
  // The user clicks a day: the date changes (onSelChange), then onDateClick.
  void UserClickDay(OleDate d);
  // The user moves the selection without clicking a day (the month arrows, the month and year
  // menus, the keyboard): the date changes (onSelChange), no onDateClick.
  void UserMoveSelection(OleDate d);
  std::function<void()> onDateClick;
  std::function<void()> onSelChange;
  // Days the calendar shows in bold; the front end asks for each day of the months it shows.
  std::function<bool(OleDate day)> isBoldDay;
 private:
  OleDate value_ = 0;
  int startOfWeek_ = 1;
};

class UpDown : public Control {
 public:
  UpDown(Form& f, std::string name, UpDownOptions o);
  int Value() const { return value_; }
  void SetValue(int v);  // clamped; raises Change when it changes
  int Min() const { return min_; }
  int Max() const { return max_; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool w) { wrap_ = w; }
  // The user pressed an arrow: moves by `delta`, wrapping past the ends when Wrap is set.
  void Step(int delta);
 private:
  int value_, min_, max_;
  bool wrap_ = false;
};

// Rich text: the program always colours and aligns the whole text, so that is what it holds.
class RichText : public TextControl {
 public:
  RichText(Form& f, std::string name, RichTextOptions o);
  using TextControl::SelectAll;
  // Applied to the selection; with the whole text selected they set the text's colour/alignment.
  void SetSelColor(Color c);
  void SetSelAlignment(Align a);
  Color TextColor() const { return textColor_; }
  Align Alignment() const { return align_; }
  bool Locked() const { return locked_; }
  void SetLocked(bool on) { locked_ = on; }
  bool Border() const { return border_; }
  bool Scrollable() const { return scrollable_; }
  // The text is taller than the box: its lines leave room for the scroll bar that then shows.
  bool ScrollBarRoom() const { return scrollBarRoom_; }
  void SetScrollBarRoom(bool on);
  // Scrolls the text as the keyboard asks (a command, like SetFocus: the front end holds where
  // the view is); the last step asked and how many were asked, for whoever checks.
  void Scroll(ScrollStep step);
  std::optional<ScrollStep> LastScroll() const { return lastScroll_; }
  int ScrollCount() const { return scrollCount_; }
 private:
  Color textColor_ = 0;
  Align align_ = Align::Left;
  bool locked_ = false;
  bool border_ = false;
  bool scrollable_ = false;
  bool scrollBarRoom_ = false;
  std::optional<ScrollStep> lastScroll_;
  int scrollCount_ = 0;
};

class HScrollBar : public Control {
 public:
  HScrollBar(Form& f, std::string name, HScrollBarOptions o);
  int Value() const { return value_; }
  void SetValue(int v);  // clamped; raises Change when it changes
  int Min() const { return min_; }
  int Max() const { return max_; }
  int SmallChange() const { return smallChange_; }
  int LargeChange() const { return largeChange_; }
 private:
  int value_, min_, max_;
  int smallChange_, largeChange_;
};

class PictureBox : public Control {
 public:
  PictureBox(Form& f, std::string name, PictureBoxOptions o);
  const std::string& Picture() const { return picture_; }  // image key, empty for none
  void SetPicture(std::string key);
 private:
  std::string picture_;
};

// A separator line, or a frame grouping other controls.
class Line : public Control {
 public:
  Line(Form& f, std::string name, LineOptions o);
};

// A frame around a group of controls, drawn behind them.
class Frame : public Control {
 public:
  Frame(Form& f, std::string name, FrameOptions o);
  const std::string& Caption() const { return caption_; }
 private:
  std::string caption_;
};

// The caption of a control that shows one (label, button, check box, option button, frame);
// nullptr for the other kinds.
const std::string* CaptionOf(const Control& c);
// The access key a caption marks with "&" ("アラーム追加(&A)" gives 'A'), upper case; 0 for none
// ("&&" is a plain ampersand).
char AccessKeyOf(const std::string& caption);
// The caption as read without its access key: "アラーム追加(&A)" gives "アラーム追加".
std::string WithoutAccessKey(const std::string& caption);
// The access key that acts on `c`: its own caption's (button, check box, option) or that of a
// label naming it; 0 for none.
char AccessKeyOfControl(const Control& c);

// Pictures by key; the front end maps keys to the program's resources.
class ImageList : public Control {
 public:
  ImageList(Form& f, std::string name, std::vector<std::string> keys);
  bool Has(const std::string& key) const;
  const std::vector<std::string>& Keys() const { return keys_; }
 private:
  std::vector<std::string> keys_;
};

// Timers run where the program runs them: Win32 SetTimer, or the test's clock.
class Timer;
struct ITimerHost {
  virtual ~ITimerHost() = default;
  virtual void Armed(Timer& t) = 0;     // (re)started: first tick one interval from now
  virtual void Disarmed(Timer& t) = 0;  // stopped or destroyed
};

class Timer {
 public:
  explicit Timer(std::string name, int interval = 0);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  const std::string& Name() const { return name_; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);  // restarts a running timer
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);  // enabling a running timer does not restart it
  bool Running() const { return enabled_ && interval_ > 0; }
  // One tick, as the host delivers it.
  void Fire() { if (Running() && onTick) onTick(); }
  std::function<void()> onTick;

  static void SetHost(ITimerHost* host);
  static ITimerHost* Host();
 private:
  std::string name_;
  int interval_;
  bool enabled_ = false;
};

class MenuItem {
 public:
  MenuItem(std::string name, std::string caption);
  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  bool Separator() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool on) { checked_ = on; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }
  MenuItem& Add(std::string name, std::string caption);
  std::vector<std::unique_ptr<MenuItem>>& Items() { return items_; }
  MenuItem* Find(const std::string& name);
  // The user chose the item.
  void Choose() { if (enabled_ && onClick) onClick(); }
  std::function<void()> onClick;
 private:
  std::string name_, caption_;
  bool checked_ = false, enabled_ = true, visible_ = true;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

enum class UnloadMode { ControlMenu = 0, Code = 1, AppWindows = 2 };

class Form {
 public:
  // `name` is the window's type name ("AlarmWindow"); sizes in twips.
  Form(std::string name, std::string caption, int clientWidth, int clientHeight);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  // A new size of the client area (twips), from code or the user's drag (UserResize); raises
  // onResize when it changes. A resizable form never goes below the size it was made with.
  void SetClientSize(int width, int height);
  int DesignedWidth() const { return designedWidth_; }
  int DesignedHeight() const { return designedHeight_; }
  // The user dragged the frame to this client size: below the designed size the window scrolls
  // its content instead, so the size taken is at least the designed one.
  void UserResize(int width, int height);
  // The user may resize the window (a frame and a size grip); set before it loads.
  bool resizable = false;
  Color BackColor() const { return back_; }
  void SetBackColor(Color c);
  bool TopMost() const { return topMost_; }
  void SetTopMost(bool on);  // SetWindowPos(HWND_TOPMOST) on the native side
  bool hasCloseBox = true;
  bool centerOnScreen = false;  // placed in the middle of the screen when created
  bool toolWindow = false;
  std::string iconKey = "APP";

  // Lifecycle: a touched form is loaded (created hidden, Load run); Show makes it visible.
  bool Loaded() const { return loaded_; }
  bool Unloaded() const { return unloadedOnce_ && !loaded_; }
  void EnsureLoaded();
  void Show();
  void ShowModal();  // returns when the form is hidden or unloaded
  void Hide();
  bool Visible() const { return visible_; }
  void Unload();        // from code: QueryUnload may not cancel it
  void RequestClose();  // the user's close box / Alt+F4: QueryUnload may cancel

  const std::vector<Control*>& Controls() const { return controls_; }
  Control* Find(const std::string& name) const;
  Control* ActiveControl() const { return active_; }
  void NoteFocus(Control* c) { active_ = c; }  // the front end reports where the focus went
  Button* DefaultButton() const;
  // The user pressed Enter / Esc.
  void PressEnter();
  void PressEscape();

  // The keyboard order of the window, set once by its constructor: Tab walks these controls
  // in this order; a control not in the list is no tab stop (a click may still focus it).
  void SetTabOrder(std::vector<Control*> order);
  const std::vector<Control*>& TabOrder() const { return tabOrder_; }
  // Where Tab (direction 1) or Shift+Tab (-1) goes from the active control: the next control
  // of the tab order that `canTakeFocus` accepts, wrapping at the ends; of a group of options
  // only the ticked one (or the first) is a stop. Null when no control qualifies.
  Control* NextTabStop(int direction, const std::function<bool(const Control&)>& canTakeFocus) const;
  // The user pressed Tab or Shift+Tab: among visible, enabled controls that take the focus.
  void PressTab(int direction);
  // Focus come by the keyboard: a one-line text box then selects all it holds, so typing
  // replaces the value instead of appending to it.
  void TabTo(Control& c);
  // A family of check boxes the keyboard treats as one stop, as it treats a group of options
  // (a palette): Tab stops once on it, the arrow keys move the focus inside it; Space ticks.
  void AddArrowGroup(std::vector<Control*> members);
  // The user pressed an arrow key (-1 left or up, 1 right or down) on an option or a member of
  // an arrow group: the focus moves to the next one of its group that `canTakeFocus` accepts,
  // wrapping; an option is ticked too, as in every dialog. False when the focused control is
  // in no group (the arrow is the control's own).
  bool PressArrow(int direction, const std::function<bool(const Control&)>& canTakeFocus);
  bool PressArrow(int direction);
  // Alt and a letter: the button, check box or option whose caption marks it is pressed (an
  // option ticked), or the focus goes to the control a label with it names. False when no
  // control that `canTakeFocus` accepts has that key.
  bool PressAccessKey(char key, const std::function<bool(const Control&)>& canTakeFocus);
  bool PressAccessKey(char key);
  // Both in one group of options or one arrow group.
  bool SameKeyGroup(const Control& a, const Control& b) const;

  // Events, as the native window reports them.
  std::function<void()> onLoad;
  std::function<void()> onUnload;
  std::function<void()> onActivate;
  std::function<void()> onPaint;
  std::function<void(int& cancel, UnloadMode mode)> onQueryUnload;
  // Escape in a window without a cancel button (the editor closes through its question).
  std::function<void()> onEscape;
  // The client size changed; the window places its controls for it.
  std::function<void()> onResize;
  // A scroll key (arrows, Page Up/Down, Home, End) pressed on a button, which has no use for
  // it: a window with a view to read scrolls it. True when taken.
  std::function<bool(ScrollStep)> onScrollKey;
  bool PressScrollKey(ScrollStep step) { return onScrollKey && onScrollKey(step); }
  // Windows is ending the session (log-off, restart, power-off) and ends the process as soon
  // as the handlers return: whatever must be put in order has to be done here. Every window
  // hears of it; nothing may keep the session from ending.
  std::function<void()> onSessionEnd;
  void RaiseActivate() { if (onActivate) onActivate(); }
  void RaisePaint() { if (onPaint) onPaint(); }
  void RaiseSessionEnd() { if (onSessionEnd) onSessionEnd(); }

  FormPeer* peer = nullptr;
  void* native = nullptr;

 private:
  friend class Control;
  void Register(Control* c) { controls_.push_back(c); }
  void DoUnload();
  std::string name_, caption_;
  int width_, height_;
  int designedWidth_, designedHeight_;
  Color back_ = kButtonFace;
  bool topMost_ = false;
  bool loaded_ = false, visible_ = false, unloadedOnce_ = false, unloading_ = false;
  std::vector<Control*> controls_;
  std::vector<Control*> tabOrder_;
  std::vector<std::vector<Control*>> arrowGroups_;
  Control* active_ = nullptr;
  // The group a control moves in with the arrow keys, if any (options by their group number,
  // check boxes by their arrow group); a group is one tab stop.
  std::optional<int> KeyGroupOf(const Control& c) const;
};

// The native side of a form, supplied by the front end. The fake front end has none.
}  // namespace ui

struct FormPeer {
  virtual ~FormPeer() = default;
  virtual void SyncForm(ui::Prop p) = 0;
  virtual void SyncControl(ui::Control& c, ui::Prop p) = 0;
};

namespace ui {

// Forms whose objects are destroyed on unload and made anew by the next touch, so the next
// load starts from the designed state. Destruction waits until no handler of the form runs.
void RetireForm(std::unique_ptr<Form> form);
void CollectRetiredForms();  // called by the message loop between messages, and by tests

// Every window of the program is one of a kind, and its one object lives in the slot of its
// type: TheForm<EditorWindow>() touches the editor, creating it hidden and running its load;
// after an unload the old object is retired and the next touch makes it anew. Arguments given
// to TheForm are the constructor's when it makes the window; a window already there stays as
// it was made.
// FormIfLoaded<T>() never creates; ForgetForm<T>() and ForgetAllForms() drop windows without
// unloading them (tests, and the end of the program).
void RegisterFormSlot(void (*forget)());  // FormSlot's own: once per slot, at its first use
template <class T>
class FormSlot {
 public:
  template <class... Args>
  static T& Get(Args&&... args) {
    std::unique_ptr<T>& form = Storage();
    if (!form || form->Unloaded()) {
      if (form) RetireForm(std::move(form));
      form = std::make_unique<T>(std::forward<Args>(args)...);
      form->EnsureLoaded();
    }
    return *form;
  }
  static T* IfLoaded() {
    std::unique_ptr<T>& form = Storage();
    return form && form->Loaded() ? form.get() : nullptr;
  }
  static void Forget() { Storage().reset(); }

 private:
  static std::unique_ptr<T>& Storage() {
    static std::unique_ptr<T> form;
    [[maybe_unused]] static const bool registered = (RegisterFormSlot(&FormSlot::Forget), true);
    return form;
  }
};
template <class T, class... Args>
T& TheForm(Args&&... args) { return FormSlot<T>::Get(std::forward<Args>(args)...); }
template <class T>
T* FormIfLoaded() { return FormSlot<T>::IfLoaded(); }
template <class T>
void ForgetForm() { FormSlot<T>::Forget(); }
// Drops every window, the latest slot first (the monitor, made first, goes last).
void ForgetAllForms();

}  // namespace ui
}  // namespace wb
