#include "alert/Form2.h"

#include "alert/Alert.h"

namespace wb {
namespace {
constexpr ui::Color kWhite = 0xFFFFFF;
constexpr ui::Color kBlack = 0x000000;
const char* const kMainBellBanner = "■本鈴■";

// White centred text on black: the banner of a main bell and the time box.
void PaintWhiteOnBlack(ui::RichText& box) {
  box.SelectAll();
  box.SetSelAlignment(ui::Align::Center);
  box.SetSelColor(kWhite);
  box.SetBackColor(kBlack);
  box.SetSelStart(0);
}
}  // namespace

Form2::Form2()
    : ui::Form("Form2", "Wakebell（アラーム）", 3195, 2130),
      Rich1(*this, "Rich1", ui::Rect{15, 30, 3165, 1185}),
      Rich2(*this, "Rich2", ui::Rect{1080, 1245, 975, 240}, false),
      Rich3(*this, "Rich3", ui::Rect{1080, 1500, 975, 240}, false),
      Command1(*this, "Command1", ui::Rect{1050, 1800, 1035, 300}, "OK"),
      // Designed as 495 x 180 in the middle of OK; with no size it still takes the focus and
      // Enter, but can never catch a click meant for OK.
      Command2(*this, "Command2", ui::Rect{1350, 1860, 0, 0}, "Command2") {
  CenterOnScreen = true;
  for (ui::RichText* box : {&Rich1, &Rich2, &Rich3}) box->SetLocked(true);
  Command2.SetDefault(true);
  Command1.Click = [] { DismissAlarm(); };
  // Command2 has no action: a key pressed just as the window pops up lands on it harmlessly.
  Activate = [this] { KeepOnTop(); };
  Paint = [this] { KeepOnTop(); };
  // The user closing the window dismisses the alarm like OK; the window then unloads and the
  // next alarm creates it anew. Unloading by code (shut-down) has already silenced the alarm.
  QueryUnload = [](int&, ui::UnloadMode mode) {
    if (mode != ui::UnloadMode::Code) DismissAlarm();
  };
}

// Other programs' topmost windows must not bury an alarm, so it claims the top again whenever
// it is activated or repainted, and gives the focus back to the inert button.
void Form2::KeepOnTop() {
  SetTopMost(true);
  if (Command2.Enabled()) Command2.SetFocus();
}

void Form2::FillAlarmWindow(const AlarmEntry& e, bool mainBell, const std::string& minuteText) {
  // Unchanged texts are not set again, so the boxes do not flicker when an alarm repeats.
  if (Rich1.Text() != e.Message) Rich1.SetText(e.Message);

  if (mainBell) {
    if (Rich2.Text() != kMainBellBanner) Rich2.SetText(kMainBellBanner);
    PaintWhiteOnBlack(Rich2);
  } else {
    Rich2.SetText("");
    Rich2.SetBackColor(ui::Color(e.BackColor));
  }

  if (Rich3.Text() != minuteText) Rich3.SetText(minuteText);
  PaintWhiteOnBlack(Rich3);

  SetBackColor(ui::Color(e.BackColor));
  Rich1.SetBackColor(ui::Color(e.BackColor));

  ui::Font font;
  font.name = e.FontName;
  font.size = e.FontSize;
  font.bold = e.FontBold != 0;
  font.italic = e.FontItalic != 0;
  font.underline = e.FontUnderline != 0;
  font.strikethru = e.FontStrikethru != 0;
  Rich1.SetFont(font);

  Rich1.SelectAll();
  Rich1.SetSelColor(ui::Color(e.ForeColor));
  Rich1.SetSelAlignment(ui::Align::Center);
  Rich1.SetSelStart(0);
}

namespace {
ui::FormSlot<Form2>& Slot() {
  static ui::FormSlot<Form2> slot;
  return slot;
}
}  // namespace

Form2& TheForm2() { return Slot().Get(); }
Form2* Form2IfLoaded() { return Slot().IfLoaded(); }
void ResetForm2() { Slot().Reset(); }

}  // namespace wb
