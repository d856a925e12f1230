// ui_demo: a sample form with every control kind, run through the real Win32 front end under
// Wine (see ui_demo_test.sh). Shared parts of its files: the forms, the check counter and the
// helpers that pump messages and read native controls.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace wb::demo {

extern int g_passed, g_failed;
void Check(bool ok, const char* name, const std::string& detail = "");

inline HWND H(const ui::Control& c) { return static_cast<HWND>(c.native); }
inline HWND H(const ui::Form& f) { return static_cast<HWND>(f.native); }

// Runs the message loop for `ms`, or until `done` holds (false when it never did).
void Pump(int ms);
bool PumpUntil(const std::function<bool()>& done, int ms);
// A child window's rectangle in its parent's client coordinates.
RECT ClientRectOf(HWND child);
std::string Text(HWND h);

class SampleForm : public ui::Form {
 public:
  SampleForm() : ui::Form("SampleForm", "コントロールの見本", 9000, 5100) {
    CenterOnScreen = true;
    ui::Font gothic{"ＭＳ ゴシック", 9};
    List1.SetFont(gothic);
    for (const char* row : {"07:00 毎日     起床", "12:30 １回だけ 昼休み", "18:00 週単位   月水金", "21:15 毎月     ２５日"})
      List1.AddItem(row);
    ui::Font bold;
    bold.bold = true;
    Check2.SetFont(bold);
    Check2.SetBackColor(0x0000FF);  // the highlighted view box: bold on red
    for (const char* unit : {"毎週", "隔週", "第１", "第２", "第３"}) Combo1.AddItem(unit);
    Combo1.SetListIndex(0);
    Text1.KeyPress = [](int& k) { if (k != 8 && (k < '0' || k > '9')) k = 0; };
    Text1.SetMaxLength(2);
    UpDown1.SetWrap(true);
    HScroll1.SmallChange = 100;
    HScroll1.LargeChange = 1000;
    Rich1.SetFont(ui::Font{"MS Pｺﾞｼｯｸ", 12, true});
    Rich1.SetBackColor(0xC0FFFF);
    Rich1.SetText("アラームです\r\n起きてください");
    Rich1.SelectAll();
    Rich1.SetSelColor(0x0000C0);
    Rich1.SetSelAlignment(ui::Align::Center);
    Rich1.SetSelStart(0);
    Command1.SetDefault(true);
    Command1.SetToolTip("アラーム設定を追加します");
    Command2.SetPicture("OPEN");
    Command2.SetToolTip("ファイルを選びます");
    Command3.SetPicture("EDIT");
    Command4.SetCancel(true);
    Picture1.SetPicture("APP");
    Label3.SetAlignment(ui::Align::Center);
    Label3.SetBackColor(0xFFE0C0);
    Line1.SetForeColor(0x808080);
  }
  ui::Label Label1{*this, "Label1", {120, 120, 2400, 255}, "アラームリスト"};
  ui::ListBox List1{*this, "List1", {120, 420, 3240, 1500}};
  ui::CheckBox Check1{*this, "Check1", {120, 2040, 3240, 300}, "アラームウィンドウをブリンクする"};
  ui::CheckBox Check2{*this, "Check2", {120, 2400, 1200, 300}, "デイリー"};
  ui::OptionButton Option1{*this, "Option1", {120, 2760, 1200, 300}, "毎日", 1};
  ui::OptionButton Option2{*this, "Option2", {1440, 2760, 1200, 300}, "毎月", 1};
  ui::TextBox Text1{*this, "Text1", {120, 3180, 600, 300}};
  ui::UpDown UpDown1{*this, "UpDown1", {720, 3180, 255, 300}, 0, 23};
  ui::Label Label2{*this, "Label2", {1080, 3225, 600, 255}, "時"};
  ui::TextBox Text2{*this, "Text2", {120, 3600, 3240, 900}, true};
  ui::HScrollBar HScroll1{*this, "HScroll1", {120, 4620, 3240, 255}, -32767, 32767};
  ui::MonthView MonthView1{*this, "MonthView1", {3480, 120, 3300, 2700}};
  ui::ComboBox Combo1{*this, "Combo1", {3480, 2940, 2400, 300}};
  ui::RichText Rich1{*this, "Rich1", {3480, 3360, 3300, 1200}};
  ui::Line Line1{*this, "Line1", {3480, 4680, 5400, 15}};
  ui::Button Command1{*this, "Command1", {6900, 120, 1980, 375}, "アラーム追加"};
  ui::Button Command2{*this, "Command2", {6900, 600, 495, 375}};
  ui::Button Command3{*this, "Command3", {7500, 600, 1380, 375}, "変更(&E)"};
  ui::Button Command4{*this, "Command4", {6900, 1080, 1980, 375}, "キャンセル"};
  ui::PictureBox Picture1{*this, "Picture1", {6900, 1560, 540, 540}};
  ui::Label Label3{*this, "Label3", {7560, 1680, 1320, 300}, "中央ぞろえ"};
  ui::ImageList ImageList1{*this, "ImageList1", {"OPEN", "CHECK", "EDIT", "DELETE", "STOP"}};
};

class TopForm : public ui::Form {
 public:
  TopForm() : ui::Form("TopForm", "最前面", 3000, 900) { SetTopMost(true); }
  ui::Label Label1{*this, "Label1", {120, 120, 2760, 255}, "常に手前に表示されます"};
  ui::Button Command1{*this, "Command1", {1800, 450, 1080, 375}, "閉じる"};
};

// Answers the dialog boxes of our thread as they come up, as the user would: the first
// command to the first box, the next one to the next box (a question the first one asks).
class DialogAnswer {
 public:
  explicit DialogAnswer(std::initializer_list<int> commands) : commands_(commands) {
    timer_.Tick = [this] {
      box_ = nullptr;
      EnumThreadWindows(GetCurrentThreadId(), &DialogAnswer::Find, reinterpret_cast<LPARAM>(this));
      if (!box_ || next_ >= commands_.size()) return;
      PostMessageW(box_, WM_COMMAND, WPARAM(commands_[next_++]), 0);
      answered_ = box_;
      if (next_ == commands_.size()) timer_.SetEnabled(false);
    };
    timer_.SetEnabled(true);
  }
 private:
  static BOOL CALLBACK Find(HWND h, LPARAM p) {
    auto* self = reinterpret_cast<DialogAnswer*>(p);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h) && h != self->answered_) {
      self->box_ = h;
      return FALSE;
    }
    return TRUE;
  }
  std::vector<int> commands_;
  size_t next_ = 0;
  HWND box_ = nullptr, answered_ = nullptr;
  ui::Timer timer_{"DialogAnswer", 100};
};

void RunStateChecks(SampleForm& f, TopForm& top, UINT expectDpi);  // ui_demo_state.cpp
void RunInputChecks(SampleForm& f);                                 // ui_demo_input.cpp
void RunKeyboardChecks(SampleForm& f);                              // ui_demo_input.cpp
void RunServiceChecks(SampleForm& f, TopForm& top);                 // ui_demo_services.cpp

}  // namespace wb::demo

