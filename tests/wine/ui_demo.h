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
    centerOnScreen = true;
    ui::Font gothic{"ＭＳ ゴシック", 9};
    alarmList.SetFont(gothic);
    for (const char* row : {"07:00 毎日     起床", "12:30 １回だけ 昼休み", "18:00 週単位   月水金", "21:15 毎月     ２５日"})
      alarmList.AddItem(row);
    ui::Font bold;
    bold.bold = true;
    dailyCheck.SetFont(bold);
    dailyCheck.SetBackColor(0x0000FF);  // the highlighted view box: bold on red
    for (const char* unit : {"毎週", "隔週", "第１", "第２", "第３"}) weekUnitCombo.AddItem(unit);
    weekUnitCombo.SetListIndex(0);
    hourEdit.onKeyPress = [](int& k) { if (k != 8 && (k < '0' || k > '9')) k = 0; };
    sampleView.SetFont(ui::Font{"MS Pｺﾞｼｯｸ", 12, true});
    sampleView.SetBackColor(0xC0FFFF);
    sampleView.SetText("アラームです\r\n起きてください");
    sampleView.SelectAll();
    sampleView.SetSelColor(0x0000C0);
    sampleView.SetSelAlignment(ui::Align::Center);
    sampleView.SetSelStart(0);
    addButton.SetDefault(true);
    addButton.SetToolTip("アラーム設定を追加します");
    openButton.SetToolTip("ファイルを選びます");
    cancelButton.SetCancel(true);
    centredLabel.SetAlignment(ui::Align::Center);
    centredLabel.SetBackColor(0xFFE0C0);
    separatorLine.SetForeColor(0x808080);
    // Not the order of the members: the combo and the calendar come before the message, and
    // the picture-only open button is reached by the mouse alone.
    SetTabOrder({&alarmList, &blinkCheck, &dailyCheck, &dailyOption, &monthlyOption, &hourEdit, &weekUnitCombo,
                 &calendar, &messageEdit, &volumeSlider, &addButton, &editButton, &cancelButton});
  }
  ui::Label listLabel{*this, "listLabel", {.rect = {120, 120, 2400, 255}, .caption = "アラームリスト"}};
  ui::ListBox alarmList{*this, "alarmList", {.rect = {120, 420, 3240, 1500}, .multiSelect = true}};
  ui::CheckBox blinkCheck{*this, "blinkCheck", {.rect = {120, 2040, 3240, 300}, .caption = "アラームウィンドウをブリンクする"}};
  ui::CheckBox dailyCheck{*this, "dailyCheck", {.rect = {120, 2400, 1200, 300}, .caption = "デイリー"}};
  ui::OptionButton dailyOption{*this, "dailyOption", {.rect = {120, 2760, 1200, 300}, .caption = "毎日", .group = 1}};
  ui::OptionButton monthlyOption{*this, "monthlyOption", {.rect = {1440, 2760, 1200, 300}, .caption = "毎月", .group = 1}};
  ui::TextBox hourEdit{*this, "hourEdit", {.rect = {120, 3180, 600, 300}, .maxLength = 2}};
  ui::UpDown hourSpin{*this, "hourSpin", {.rect = {720, 3180, 255, 300}, .min = 0, .max = 23, .wrap = true}};
  ui::Label hourLabel{*this, "hourLabel", {.rect = {1080, 3225, 600, 255}, .caption = "時"}};
  ui::TextBox messageEdit{*this, "messageEdit", {.rect = {120, 3600, 3240, 900}, .multiLine = true}};
  ui::HScrollBar volumeSlider{
      *this, "volumeSlider",
      {.rect = {120, 4620, 3240, 255}, .min = -32767, .max = 32767, .smallChange = 100, .largeChange = 1000}};
  ui::MonthView calendar{*this, "calendar", {.rect = {3480, 120, 3300, 2700}}};
  ui::ComboBox weekUnitCombo{*this, "weekUnitCombo", {.rect = {3480, 2940, 2400, 300}}};
  ui::RichText sampleView{*this, "sampleView", {.rect = {3480, 3360, 3300, 1200}}};
  ui::Line separatorLine{*this, "separatorLine", {.rect = {3480, 4680, 5400, 15}}};
  ui::Button addButton{*this, "addButton", {.rect = {6900, 120, 1980, 375}, .caption = "アラーム追加"}};
  ui::Button openButton{*this, "openButton", {.rect = {6900, 600, 495, 375}, .picture = "OPEN"}};
  ui::Button editButton{*this, "editButton", {.rect = {7500, 600, 1380, 375}, .caption = "変更(&E)", .picture = "EDIT"}};
  ui::Button cancelButton{*this, "cancelButton", {.rect = {6900, 1080, 1980, 375}, .caption = "キャンセル"}};
  ui::PictureBox iconPicture{*this, "iconPicture", {.rect = {6900, 1560, 540, 540}, .picture = "APP"}};
  ui::Label centredLabel{*this, "centredLabel", {.rect = {7560, 1680, 1320, 300}, .caption = "中央ぞろえ"}};
  ui::ImageList buttonImages{*this, "buttonImages", {"OPEN", "CHECK", "EDIT", "DELETE", "STOP"}};
};

class TopForm : public ui::Form {
 public:
  TopForm() : ui::Form("TopForm", "最前面", 3000, 900) {
    SetTopMost(true);
    SetTabOrder({&closeButton});
  }
  ui::Label noticeLabel{*this, "noticeLabel", {.rect = {120, 120, 2760, 255}, .caption = "常に手前に表示されます"}};
  ui::Button closeButton{*this, "closeButton", {.rect = {1800, 450, 1080, 375}, .caption = "閉じる"}};
};

// Answers the dialog boxes of our thread as they come up, as the user would: the first
// command to the first box, the next one to the next box (a question the first one asks).
class DialogAnswer {
 public:
  explicit DialogAnswer(std::initializer_list<int> commands) : commands_(commands) {
    timer_.onTick = [this] {
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
  ui::Timer timer_{"answerTimer", 100};
};

void RunStateChecks(SampleForm& f, TopForm& top, UINT expectDpi);  // ui_demo_state.cpp
void RunInputChecks(SampleForm& f);                                 // ui_demo_input.cpp
void RunKeyboardChecks(SampleForm& f);                              // ui_demo_input.cpp
void RunServiceChecks(SampleForm& f, TopForm& top);                 // ui_demo_services.cpp

}  // namespace wb::demo

