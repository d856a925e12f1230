#include "alert/AlarmWindow.h"

#include "alert/Alert.h"
#include "app_state/ProgramTitle.h"

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

AlarmWindow::AlarmWindow()
    : ui::Form("AlarmWindow", std::string(kProgramTitle) + "（アラーム）", 213 * ui::kTwipsPerPixel,
               142 * ui::kTwipsPerPixel),
      messageView(*this, "messageView", {.rect = ui::Px(1, 2, 211, 79), .locked = true}),
      bannerView(*this, "bannerView", {.rect = ui::Px(72, 83, 65, 16), .locked = true}),
      timeView(*this, "timeView", {.rect = ui::Px(72, 100, 65, 16), .locked = true}),
      okButton(*this, "okButton", {.rect = ui::Px(70, 120, 69, 20), .caption = "OK"}),
      // Designed as 33 x 12 in the middle of OK; with no size it still takes the focus and
      // Enter, but can never catch a click meant for OK. Never seen, so it has no caption.
      inertDefaultButton(*this, "inertDefaultButton", {.rect = ui::Px(90, 124, 0, 0)}) {
  centerOnScreen = true;
  inertDefaultButton.SetDefault(true);
  SetTabOrder({&okButton, &inertDefaultButton});
  okButton.onClick = [] { DismissAlarm(); };
  onActivate = [this] { KeepOnTop(); };
  onPaint = [this] { KeepOnTop(); };
  // The user closing the window dismisses the alarm like OK; the window then unloads and the
  // next alarm creates it anew. Unloading by code (shut-down) has already silenced the alarm.
  onQueryUnload = [](int&, ui::UnloadMode mode) {
    if (mode != ui::UnloadMode::Code) DismissAlarm();
  };
}

// Other programs' topmost windows must not bury an alarm, so it claims the top again whenever
// it is activated or repainted, and gives the focus back to the inert button.
void AlarmWindow::KeepOnTop() {
  SetTopMost(true);
  if (inertDefaultButton.Enabled()) inertDefaultButton.SetFocus();
}

void AlarmWindow::FillAlarmWindow(const AlarmEntry& e, bool mainBell, const std::string& minuteText) {
  // Unchanged texts are not set again, so the boxes do not flicker when an alarm repeats.
  if (messageView.Text() != e.Message) messageView.SetText(e.Message);

  if (mainBell) {
    if (bannerView.Text() != kMainBellBanner) bannerView.SetText(kMainBellBanner);
    PaintWhiteOnBlack(bannerView);
  } else {
    bannerView.SetText("");
    bannerView.SetBackColor(ui::Color(e.Look.BackColor));
  }

  if (timeView.Text() != minuteText) timeView.SetText(minuteText);
  PaintWhiteOnBlack(timeView);

  SetBackColor(ui::Color(e.Look.BackColor));
  messageView.SetBackColor(ui::Color(e.Look.BackColor));

  messageView.SetFont(ui::FontOf(e.Look));

  messageView.SelectAll();
  messageView.SetSelColor(ui::Color(e.Look.ForeColor));
  messageView.SetSelAlignment(ui::Align::Center);
  messageView.SetSelStart(0);
}

}  // namespace wb
