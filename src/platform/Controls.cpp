#include "platform/Controls.h"

#include <algorithm>

#include "model/Assert.h"
#include "model/Utf8.h"
#include "platform/Services.h"

namespace wb::ui {
namespace {
int CodePointCount(const std::string& s) {
  int n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}
// Byte offset of code point `cp` (clamped to the end).
size_t ByteOffset(const std::string& s, int cp) { return Utf8PrefixBytes(s, size_t(std::max(cp, 0))); }
ITimerHost* g_timerHost = nullptr;
std::vector<std::unique_ptr<Form>>& Retired() {
  static std::vector<std::unique_ptr<Form>> forms;
  return forms;
}
}  // namespace

// ---- Control ----
bool TakesFocus(Kind kind) {
  switch (kind) {
    case Kind::Button: case Kind::CheckBox: case Kind::OptionButton: case Kind::TextBox: case Kind::ComboBox:
    case Kind::ListBox: case Kind::MonthView: case Kind::HScrollBar:
      return true;
    default:
      return false;
  }
}

Control::Control(Form& form, std::string name, Kind kind, Rect r)
    : form_(form), name_(std::move(name)), kind_(kind), rect_(r) {
  form_.Register(this);
}

void Control::Notify(Prop p) {
  if (form_.peer) form_.peer->SyncControl(*this, p);
}

void Control::Move(Rect r) { rect_ = r; Notify(Prop::Position); }
void Control::SetEnabled(bool on) { if (enabled_ != on) { enabled_ = on; Notify(Prop::Enabled); } }
void Control::SetVisible(bool on) { if (visible_ != on) { visible_ = on; Notify(Prop::Visible); } }
void Control::SetFont(const Font& f) { if (!(font_ == f)) { font_ = f; Notify(Prop::Font); } }
void Control::SetForeColor(Color c) { if (fore_ != c) { fore_ = c; Notify(Prop::ForeColor); } }
void Control::SetBackColor(Color c) { if (back_ != c) { back_ = c; Notify(Prop::BackColor); } }
void Control::SetToolTip(std::string t) { tip_ = std::move(t); Notify(Prop::ToolTip); }

std::string Control::ScreenReaderName() const {
  if (!accessibleName_.empty()) return accessibleName_;
  const std::string* caption = CaptionOf(*this);
  return caption ? *caption : std::string();
}

const std::string* CaptionOf(const Control& c) {
  switch (c.GetKind()) {
    case Kind::Label: return &static_cast<const Label&>(c).Caption();
    case Kind::Button: return &static_cast<const Button&>(c).Caption();
    case Kind::CheckBox: return &static_cast<const CheckBox&>(c).Caption();
    case Kind::OptionButton: return &static_cast<const OptionButton&>(c).Caption();
    case Kind::Frame: return &static_cast<const Frame&>(c).Caption();
    default: return nullptr;
  }
}
char AccessKeyOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const char key = caption[i + 1];
    if (key >= 'a' && key <= 'z') return char(key - 'a' + 'A');
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ? key : 0;
  }
  return 0;
}

std::string WithoutAccessKey(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '(' && i + 3 < caption.size() && caption[i + 1] == '&' && caption[i + 3] == ')' &&
        AccessKeyOf(caption.substr(i + 1, 2))) {
      i += 3;  // the Japanese form: the key in brackets after the text
      continue;
    }
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" is one "&", "&S" an S
    out += caption[i];
  }
  return out;
}

char AccessKeyOfControl(const Control& c) {
  switch (c.GetKind()) {
    case Kind::Button: case Kind::CheckBox: case Kind::OptionButton: return AccessKeyOf(*CaptionOf(c));
    default: break;
  }
  for (const Control* k : c.Owner().Controls())
    if (k->GetKind() == Kind::Label && static_cast<const Label*>(k)->AccessKeyTarget() == &c)
      return AccessKeyOf(static_cast<const Label*>(k)->Caption());
  return 0;
}

void Control::SetFocus() {
  Control* old = form_.ActiveControl();
  form_.NoteFocus(this);
  Notify(Prop::Focus);
  if (old != this) {
    if (old && old->onLostFocus) old->onLostFocus();
    if (onGotFocus) onGotFocus();
  }
}

// ---- Label, Button ----
Label::Label(Form& f, std::string name, LabelOptions o)
    : Control(f, std::move(name), Kind::Label, o.rect), caption_(std::move(o.caption)) {}
void Label::SetCaption(std::string c) { if (caption_ != c) { caption_ = std::move(c); Notify(Prop::Caption); } }
void Label::SetAlignment(Align a) { align_ = a; Notify(Prop::Alignment); }

Button::Button(Form& f, std::string name, ButtonOptions o)
    : Control(f, std::move(name), Kind::Button, o.rect), caption_(std::move(o.caption)), picture_(std::move(o.picture)),
      pictureOnly_(o.pictureOnly) {}
void Button::SetCaption(std::string c) { caption_ = std::move(c); Notify(Prop::Caption); }
void Button::SetPicture(std::string key) { picture_ = std::move(key); Notify(Prop::Picture); }
void Button::SetDefault(bool on) {
  if (on)
    for (Control* c : Owner().Controls())
      if (c != this && c->GetKind() == Kind::Button) {
        auto* b = static_cast<Button*>(c);
        if (b->default_) { b->default_ = false; b->Notify(Prop::Default); }
      }
  default_ = on;
  Notify(Prop::Default);
}

// ---- CheckBox, OptionButton ----
CheckBox::CheckBox(Form& f, std::string name, CheckBoxOptions o)
    : Control(f, std::move(name), Kind::CheckBox, o.rect), caption_(std::move(o.caption)) {}
void CheckBox::SetCaption(std::string c) { caption_ = std::move(c); Notify(Prop::Caption); }
void CheckBox::SetValue(CheckState v) {
  if (value_ == v) return;
  value_ = v;
  Notify(Prop::Value);
  RaiseClick();
}

OptionButton::OptionButton(Form& f, std::string name, OptionButtonOptions o)
    : Control(f, std::move(name), Kind::OptionButton, o.rect), caption_(std::move(o.caption)), group_(o.group) {}
void OptionButton::SetValue(bool v) {
  if (value_ == v) return;
  value_ = v;
  Notify(Prop::Value);
  if (!v) return;
  for (Control* c : Owner().Controls())
    if (c != this && c->GetKind() == Kind::OptionButton) {
      auto* o = static_cast<OptionButton*>(c);
      if (o->group_ == group_ && o->value_) { o->value_ = false; o->Notify(Prop::Value); }
    }
  RaiseClick();
}

// ---- TextControl, TextBox ----
// Controls the user types into or picks from sit on the window colour, not the button face.
TextControl::TextControl(Form& f, std::string name, Kind kind, Rect rect)
    : Control(f, std::move(name), kind, rect) {
  SetBackColor(kWindowBack);
}
void TextControl::SetText(std::string t) {
  if (text_ == t) return;
  text_ = std::move(t);
  selStart_ = 0;
  selLength_ = 0;
  Notify(Prop::Text);
  RaiseChange();
}
void TextControl::SetSelStart(int s) {
  selStart_ = std::clamp(s, 0, CodePointCount(text_));
  selLength_ = 0;
  Notify(Prop::Caret);
}
void TextControl::SetSelLength(int n) {
  selLength_ = std::clamp(n, 0, CodePointCount(text_) - selStart_);
  Notify(Prop::Caret);
}
void TextControl::SelectAll() {
  selStart_ = 0;
  selLength_ = CodePointCount(text_);
  Notify(Prop::Caret);
}

TextBox::TextBox(Form& f, std::string name, TextBoxOptions o)
    : TextControl(f, std::move(name), Kind::TextBox, o.rect), multiLine_(o.multiLine), maxLength_(o.maxLength) {}
void TextBox::Type(const std::string& text) {
  if (!Enabled()) return;
  for (size_t i = 0; i < text.size();) {
    size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) ++len;
    std::string ch = text.substr(i, len);
    i += len;
    int key = static_cast<unsigned char>(ch[0]);
    if (onKeyPress && len == 1) {
      onKeyPress(key);
      if (key == 0) continue;
      ch = key == 8 ? std::string() : std::string(1, char(key));
      if (key == 8) {  // backspace removes the selection or the character before the caret
        size_t b = ByteOffset(text_, selLength_ ? selStart_ : std::max(0, selStart_ - 1));
        size_t e = ByteOffset(text_, selStart_ + selLength_);
        int newStart = selLength_ ? selStart_ : std::max(0, selStart_ - 1);
        std::string next = text_.substr(0, b) + text_.substr(e);
        int keep = newStart;
        SetText(next);
        selStart_ = keep;
        Notify(Prop::Caret);
        continue;
      }
    }
    if (maxLength_ > 0 && CodePointCount(text_) - selLength_ >= maxLength_) continue;
    size_t b = ByteOffset(text_, selStart_);
    size_t e = ByteOffset(text_, selStart_ + selLength_);
    int caret = selStart_ + 1;
    SetText(text_.substr(0, b) + ch + text_.substr(e));
    selStart_ = caret;
    selLength_ = 0;
    Notify(Prop::Caret);
  }
}

// ---- List controls ----
const std::string& ListControl::List(int i) const {
  WB_ASSERT(i >= 0 && i < ListCount());
  return items_[size_t(i)];
}
void ListControl::SetList(int i, std::string text) {
  WB_ASSERT(i >= 0 && i < ListCount());
  items_[size_t(i)] = std::move(text);
  appendedOne_ = false;
  Notify(Prop::Items);
}
void ListControl::AddItem(std::string text) {
  items_.push_back(std::move(text));
  if (GetKind() == Kind::ListBox) static_cast<ListBox*>(this)->selected_.push_back(false);
  appendedOne_ = true;
  Notify(Prop::Items);
}
void ListControl::RemoveItem(int i) {
  WB_ASSERT(i >= 0 && i < ListCount());
  items_.erase(items_.begin() + i);
  if (GetKind() == Kind::ListBox) {
    auto& sel = static_cast<ListBox*>(this)->selected_;
    sel.erase(sel.begin() + i);
  }
  if (index_ >= ListCount()) index_ = ListCount() - 1;
  appendedOne_ = false;
  Notify(Prop::Items);
}
void ListControl::ClearItems() {
  items_.clear();
  if (GetKind() == Kind::ListBox) static_cast<ListBox*>(this)->selected_.clear();
  index_ = -1;
  appendedOne_ = false;
  Notify(Prop::Items);
}
void ListControl::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (GetKind() == Kind::ListBox) static_cast<ListBox*>(this)->selected_.assign(items_.size(), false);
  index_ = -1;
  appendedOne_ = false;
  Notify(Prop::Items);
}
void ListControl::SetListIndex(int i) {
  WB_ASSERT(i >= -1 && i < ListCount());
  if (index_ == i) return;
  index_ = i;
  Notify(Prop::ListIndex);
  RaiseClick();
}
const std::string& ListControl::SelectedText() const {
  static const std::string kEmpty;
  return index_ >= 0 && index_ < ListCount() ? items_[size_t(index_)] : kEmpty;
}

ComboBox::ComboBox(Form& f, std::string name, ComboBoxOptions o)
    : ListControl(f, std::move(name), Kind::ComboBox, o.rect), repick_(o.repick) {
  SetBackColor(kWindowBack);
}
void ComboBox::UserBrowse(int i) {
  if (!Enabled()) return;
  if (!repick_) {
    SetListIndex(i);
    return;
  }
  if (i == index_ || i < -1 || i >= ListCount()) return;
  index_ = i;
  Notify(Prop::ListIndex);
}
void ComboBox::UserPick(int i) {
  if (!Enabled()) return;
  if (i != ListIndex())
    SetListIndex(i);
  else if (repick_ && i >= 0)
    RaiseClick();
}

ListBox::ListBox(Form& f, std::string name, ListBoxOptions o)
    : ListControl(f, std::move(name), Kind::ListBox, o.rect), multi_(o.multiSelect), markCutRows_(o.markCutRows),
      columns_(std::move(o.columns)) {
  SetBackColor(kWindowBack);
}
bool ListBox::Selected(int i) const {
  WB_ASSERT(i >= 0 && i < ListCount());
  return selected_[size_t(i)];
}
void ListBox::SetSelected(int i, bool on) {
  WB_ASSERT(i >= 0 && i < ListCount());
  if (!multi_ && on)
    for (auto&& s : selected_) s = false;
  selected_[size_t(i)] = on;
  Notify(Prop::Selection);
  if (on && index_ != i) {
    index_ = i;
    Notify(Prop::ListIndex);
  }
  RaiseClick();
}
void ListBox::ClearSelection() {
  for (auto&& s : selected_) s = false;
  Notify(Prop::Selection);
}
void ListBox::ClickRow(int i) {
  WB_ASSERT(i >= 0 && i < ListCount());
  for (auto&& s : selected_) s = false;
  selected_[size_t(i)] = true;
  index_ = i;
  Notify(Prop::Selection);
  RaiseClick();
}
void ListBox::UserSelect(const std::vector<bool>& rows, int focusRow) {
  WB_ASSERT(rows.size() == selected_.size() && focusRow >= -1 && focusRow < ListCount());
  selected_ = rows;
  if (!multi_ && focusRow >= 0)  // a single-selection list has only the focused row selected
    for (size_t k = 0; k < selected_.size(); ++k) selected_[k] = int(k) == focusRow;
  Notify(Prop::Selection);
  if (index_ != focusRow) {
    index_ = focusRow;
    Notify(Prop::ListIndex);
  }
  RaiseClick();
}

// ---- MonthView, UpDown ----
MonthView::MonthView(Form& f, std::string name, MonthViewOptions o)
    : Control(f, std::move(name), Kind::MonthView, o.rect) {}
void MonthView::SetValue(OleDate d) {
  OleDate day = DayOf(d);
  if (value_ == day) return;
  value_ = day;
  Notify(Prop::Value);
}
void MonthView::SetStartOfWeek(int w) { startOfWeek_ = w; Notify(Prop::WeekStart); }
void MonthView::UserClickDay(OleDate d) {
  UserMoveSelection(d);
  if (onDateClick) onDateClick();
}
void MonthView::UserMoveSelection(OleDate d) {
  OleDate day = DayOf(d);
  if (value_ == day) return;
  value_ = day;
  Notify(Prop::Value);
  if (onSelChange) onSelChange();
}

UpDown::UpDown(Form& f, std::string name, UpDownOptions o)
    : Control(f, std::move(name), Kind::UpDown, o.rect), value_(o.min), min_(o.min), max_(o.max), wrap_(o.wrap) {}
void UpDown::Step(int delta) {
  if (!Enabled()) return;
  int v = value_ + delta;
  if (wrap_ && max_ > min_) {
    int span = max_ - min_ + 1;
    v = min_ + ((v - min_) % span + span) % span;
  }
  SetValue(v);
}
void UpDown::SetValue(int v) {
  v = std::clamp(v, min_, max_);
  if (v == value_) return;
  value_ = v;
  Notify(Prop::Value);
  RaiseChange();
}

// ---- RichText ----
RichText::RichText(Form& f, std::string name, RichTextOptions o)
    : TextControl(f, std::move(name), Kind::RichText, o.rect), locked_(o.locked), border_(o.border),
      scrollable_(o.scrollable) {}
void RichText::SetScrollBarRoom(bool on) {
  if (scrollBarRoom_ == on) return;
  scrollBarRoom_ = on;
  Notify(Prop::ScrollBar);
}
void RichText::Scroll(ScrollStep step) {
  lastScroll_ = step;
  ++scrollCount_;
  Notify(Prop::Scroll);
}
void RichText::SetSelColor(Color c) {
  textColor_ = c;
  Notify(Prop::ForeColor);
}
void RichText::SetSelAlignment(Align a) {
  align_ = a;
  Notify(Prop::Alignment);
}

// ---- HScrollBar, PictureBox, Line, ImageList ----
HScrollBar::HScrollBar(Form& f, std::string name, HScrollBarOptions o)
    : Control(f, std::move(name), Kind::HScrollBar, o.rect),
      value_(o.min), min_(o.min), max_(o.max), smallChange_(o.smallChange), largeChange_(o.largeChange) {}
void HScrollBar::SetValue(int v) {
  v = std::clamp(v, min_, max_);
  if (v == value_) return;
  value_ = v;
  Notify(Prop::Value);
  RaiseChange();
}
PictureBox::PictureBox(Form& f, std::string name, PictureBoxOptions o)
    : Control(f, std::move(name), Kind::PictureBox, o.rect), picture_(std::move(o.picture)) {}
void PictureBox::SetPicture(std::string key) {
  if (picture_ != key) { picture_ = std::move(key); Notify(Prop::Picture); }
}
Line::Line(Form& f, std::string name, LineOptions o) : Control(f, std::move(name), Kind::Line, o.rect) {}
Frame::Frame(Form& f, std::string name, FrameOptions o)
    : Control(f, std::move(name), Kind::Frame, o.rect), caption_(std::move(o.caption)) {}
ImageList::ImageList(Form& f, std::string name, std::vector<std::string> keys)
    : Control(f, std::move(name), Kind::ImageList, Rect{}), keys_(std::move(keys)) {
  SetVisible(false);
}
bool ImageList::Has(const std::string& key) const {
  return std::find(keys_.begin(), keys_.end(), key) != keys_.end();
}

// ---- Timer ----
Timer::Timer(std::string name, int interval) : name_(std::move(name)), interval_(interval) {}
Timer::~Timer() {
  if (enabled_ && g_timerHost) g_timerHost->Disarmed(*this);
}
void Timer::SetInterval(int ms) {
  interval_ = ms;
  if (!g_timerHost) return;
  if (Running()) g_timerHost->Armed(*this);
  else g_timerHost->Disarmed(*this);
}
void Timer::SetEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  if (!g_timerHost) return;
  if (Running()) g_timerHost->Armed(*this);
  else g_timerHost->Disarmed(*this);
}
void Timer::SetHost(ITimerHost* host) { g_timerHost = host; }
ITimerHost* Timer::Host() { return g_timerHost; }

// ---- MenuItem ----
MenuItem::MenuItem(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}
MenuItem& MenuItem::Add(std::string name, std::string caption) {
  items_.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption)));
  return *items_.back();
}
MenuItem* MenuItem::Find(const std::string& name) {
  if (name_ == name) return this;
  for (auto& i : items_)
    if (MenuItem* m = i->Find(name)) return m;
  return nullptr;
}

// ---- Form ----
Form::Form(std::string name, std::string caption, int w, int h)
    : name_(std::move(name)), caption_(std::move(caption)), width_(w), height_(h), designedWidth_(w), designedHeight_(h) {}
void Form::SetClientSize(int width, int height) {
  if (resizable) {
    width = std::max(width, designedWidth_);
    height = std::max(height, designedHeight_);
  }
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  if (peer) peer->SyncForm(Prop::ClientSize);
  if (onResize) onResize();
}
void Form::UserResize(int width, int height) {
  if (resizable) SetClientSize(width, height);
}
Form::~Form() {
  if (peer && Svc().frontEnd) Svc().frontEnd->DestroyPeer(*this, peer);
  peer = nullptr;
}
void Form::SetCaption(std::string c) { caption_ = std::move(c); if (peer) peer->SyncForm(Prop::Caption); }
void Form::SetBackColor(Color c) { if (back_ != c) { back_ = c; if (peer) peer->SyncForm(Prop::BackColor); } }
void Form::SetTopMost(bool on) { topMost_ = on; if (peer) peer->SyncForm(Prop::TopMost); }

void Form::SetTabOrder(std::vector<Control*> order) {
  for (size_t i = 0; i < order.size(); ++i) {
    WB_ASSERT(order[i] && &order[i]->Owner() == this);
    WB_ASSERT(std::find(order.begin(), order.begin() + std::ptrdiff_t(i), order[i]) == order.begin() + std::ptrdiff_t(i));
  }
  tabOrder_ = std::move(order);
  if (peer) peer->SyncForm(Prop::TabOrder);
}

namespace {
bool UsableByKeyboard(const Control& c) { return TakesFocus(c.GetKind()) && c.Visible() && c.Enabled(); }
bool TickedMember(const Control& c) {
  if (c.GetKind() == Kind::OptionButton) return static_cast<const OptionButton&>(c).Value();
  return c.GetKind() == Kind::CheckBox && static_cast<const CheckBox&>(c).Ticked();
}
}  // namespace

std::optional<int> Form::KeyGroupOf(const Control& c) const {
  if (c.GetKind() == Kind::OptionButton) return 2 * static_cast<const OptionButton&>(c).Group();
  for (size_t i = 0; i < arrowGroups_.size(); ++i)
    if (std::find(arrowGroups_[i].begin(), arrowGroups_[i].end(), &c) != arrowGroups_[i].end()) return 2 * int(i) + 1;
  return std::nullopt;
}

bool Form::SameKeyGroup(const Control& a, const Control& b) const {
  const std::optional<int> group = KeyGroupOf(a);
  return group && group == KeyGroupOf(b);
}

void Form::AddArrowGroup(std::vector<Control*> members) {
  for (Control* c : members) WB_ASSERT(c && &c->Owner() == this && !KeyGroupOf(*c));
  arrowGroups_.push_back(std::move(members));
  if (peer) peer->SyncForm(Prop::TabOrder);
}

Control* Form::NextTabStop(int direction, const std::function<bool(const Control&)>& canTakeFocus) const {
  std::vector<Control*> order;
  for (Control* c : tabOrder_)
    if (canTakeFocus(*c)) order.push_back(c);
  Control* current = active_;
  // A group (options, a palette) is one stop: the member holding the focus, else the ticked
  // one, else the first of the group in the order.
  std::vector<Control*> stops;
  for (Control* c : order) {
    if (const std::optional<int> group = KeyGroupOf(*c); group && c != current) {
      auto sameGroup = [this, group](const Control* k) { return KeyGroupOf(*k) == group; };
      bool holdsFocus = false, ticked = false;
      for (Control* k : order)
        if (sameGroup(k)) {
          holdsFocus |= k == current;
          ticked |= TickedMember(*k);
        }
      bool groupHasStop = std::any_of(stops.begin(), stops.end(), sameGroup);
      if (holdsFocus || groupHasStop || (ticked && !TickedMember(*c))) continue;
    }
    stops.push_back(c);
  }
  if (stops.empty()) return nullptr;
  auto at = std::find(stops.begin(), stops.end(), current);
  size_t next;
  if (at == stops.end()) next = direction > 0 ? 0 : stops.size() - 1;
  else next = (size_t(at - stops.begin()) + stops.size() + size_t(direction)) % stops.size();
  return stops[next];
}

void Form::PressTab(int direction) {
  if (Control* next = NextTabStop(direction, UsableByKeyboard)) TabTo(*next);
}

bool Form::PressAccessKey(char key) { return PressAccessKey(key, UsableByKeyboard); }

bool Form::PressAccessKey(char key, const std::function<bool(const Control&)>& canTakeFocus) {
  if (key >= 'a' && key <= 'z') key = char(key - 'a' + 'A');
  for (Control* c : controls_) {
    Control* target = c;
    if (c->GetKind() == Kind::Label) target = static_cast<Label*>(c)->AccessKeyTarget();
    else if (c->GetKind() != Kind::Button && c->GetKind() != Kind::CheckBox && c->GetKind() != Kind::OptionButton)
      continue;
    if (!target || AccessKeyOf(*CaptionOf(*c)) != key || !canTakeFocus(*target)) continue;
    TabTo(*target);
    if (active_ != target) return true;  // a handler of the focus took it elsewhere
    switch (c->GetKind()) {
      case Kind::Button: static_cast<Button*>(c)->Press(); break;
      case Kind::CheckBox: static_cast<CheckBox*>(c)->Toggle(); break;
      case Kind::OptionButton: static_cast<OptionButton*>(c)->SetValue(true); break;
      default: break;
    }
    return true;
  }
  return false;
}

void Form::TabTo(Control& c) {
  c.SetFocus();
  // Only a one-line box: a message typed over by accident would be lost whole.
  if (active_ == &c && c.GetKind() == Kind::TextBox && !static_cast<TextBox&>(c).MultiLine())
    static_cast<TextBox&>(c).SelectAll();
}

bool Form::PressArrow(int direction) { return PressArrow(direction, UsableByKeyboard); }

bool Form::PressArrow(int direction, const std::function<bool(const Control&)>& canTakeFocus) {
  Control* current = active_;
  const std::optional<int> group = current ? KeyGroupOf(*current) : std::nullopt;
  if (!group) return false;
  std::vector<Control*> members;
  for (Control* c : tabOrder_)
    if (KeyGroupOf(*c) == group && (c == current || canTakeFocus(*c))) members.push_back(c);
  auto at = std::find(members.begin(), members.end(), current);
  if (at == members.end()) return false;
  const size_t n = members.size();
  Control* next = members[(size_t(at - members.begin()) + n + size_t(direction > 0 ? 1 : -1)) % n];
  if (next == current) return true;
  next->SetFocus();
  if (active_ == next && next->GetKind() == Kind::OptionButton) static_cast<OptionButton*>(next)->SetValue(true);
  return true;
}

void Form::EnsureLoaded() {
  if (loaded_) return;
  loaded_ = true;
  if (Svc().frontEnd) peer = Svc().frontEnd->CreatePeer(*this);
  if (onLoad) onLoad();
}
void Form::Show() {
  EnsureLoaded();
  if (!loaded_) return;  // the load unloaded it again
  if (!visible_) {
    visible_ = true;
    if (peer) peer->SyncForm(Prop::Visible);
  }
}
void Form::ShowModal() {
  Show();
  if (Svc().frontEnd) Svc().frontEnd->RunModal(*this);
}
void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  if (peer) peer->SyncForm(Prop::Visible);
}
void Form::Unload() {
  if (!loaded_ || unloading_) return;
  int cancel = 0;
  if (onQueryUnload) onQueryUnload(cancel, UnloadMode::Code);
  DoUnload();
}
void Form::RequestClose() {
  if (!loaded_ || unloading_) return;
  int cancel = 0;
  if (onQueryUnload) onQueryUnload(cancel, UnloadMode::ControlMenu);
  if (cancel) return;
  DoUnload();
}
void Form::DoUnload() {
  unloading_ = true;
  if (onUnload) onUnload();
  visible_ = false;
  if (peer && Svc().frontEnd) Svc().frontEnd->DestroyPeer(*this, peer);
  peer = nullptr;
  loaded_ = false;
  unloadedOnce_ = true;
  unloading_ = false;
}
Control* Form::Find(const std::string& name) const {
  for (Control* c : controls_)
    if (c->Name() == name) return c;
  return nullptr;
}
Button* Form::DefaultButton() const {
  for (Control* c : controls_)
    if (c->GetKind() == Kind::Button && static_cast<Button*>(c)->IsDefault()) return static_cast<Button*>(c);
  return nullptr;
}
void Form::PressEnter() {
  // A list of actions runs the item it shows.
  if (active_ && active_->GetKind() == Kind::ComboBox && static_cast<ComboBox*>(active_)->Repick()) {
    auto* combo = static_cast<ComboBox*>(active_);
    combo->UserPick(combo->ListIndex());
    return;
  }
  // A box of several lines takes Enter as a new line; a one-line box leaves it to the default
  // button, as in every dialog.
  if (active_ && active_->GetKind() == Kind::TextBox && static_cast<TextBox*>(active_)->MultiLine()) return;
  if (active_ && active_->GetKind() == Kind::Button) {
    static_cast<Button*>(active_)->Press();
    return;
  }
  if (Button* b = DefaultButton()) b->Press();
}
void Form::PressEscape() {
  for (Control* c : controls_)
    if (c->GetKind() == Kind::Button && static_cast<Button*>(c)->IsCancel()) {
      static_cast<Button*>(c)->Press();
      return;
    }
  if (onEscape) onEscape();
}

void RetireForm(std::unique_ptr<Form> form) { Retired().push_back(std::move(form)); }
void CollectRetiredForms() { Retired().clear(); }

namespace {
std::vector<void (*)()>& FormSlots() {
  static std::vector<void (*)()> forgets;
  return forgets;
}
}  // namespace
void RegisterFormSlot(void (*forget)()) { FormSlots().push_back(forget); }
void ForgetAllForms() {
  for (auto it = FormSlots().rbegin(); it != FormSlots().rend(); ++it) (*it)();
}

}  // namespace wb::ui
