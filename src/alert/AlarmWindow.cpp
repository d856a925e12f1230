#include "alert/AlarmWindow.h"

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "model/Snooze.h"
#include "storage/Settings.h"

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
    : ui::Form("AlarmWindow", AlarmCaption(0), 213 * ui::kTwipsPerPixel, 142 * ui::kTwipsPerPixel),
      messageView(*this, "messageView", {.rect = ui::Px(1, 2, 211, 79), .locked = true}),
      bannerView(*this, "bannerView", {.rect = ui::Px(72, 83, 65, 16), .locked = true}),
      timeView(*this, "timeView", {.rect = ui::Px(72, 100, 65, 16), .locked = true}),
      okButton(*this, "okButton", {.rect = ui::Px(70, 120, 69, 20), .caption = "OK"}),
      // The right-hand column of the lower band, beside the time box and OK, which stay where
      // they always were: the list above its button.
      snoozeDelayCombo(*this, "snoozeDelayCombo", {.rect = ui::Px(142, 97, 69, 20)}),
      snoozeButton(*this, "snoozeButton", {.rect = ui::Px(142, 120, 69, 20), .caption = "スヌーズ(&S)"}),
      // Designed as 33 x 12 in the middle of OK; with no size it still takes the focus and
      // Enter, but can never catch a click meant for OK. Never seen, so it has no caption.
      inertDefaultButton(*this, "inertDefaultButton", {.rect = ui::Px(90, 124, 0, 0)}) {
  centerOnScreen = true;
  inertDefaultButton.SetDefault(true);
  SetTabOrder({&okButton, &snoozeDelayCombo, &snoozeButton, &inertDefaultButton});
  okButton.onClick = [] { TheAlarm().Dismiss(); };
  messageView.SetAccessibleName("メッセージ");
  bannerView.SetAccessibleName("本鈴");
  timeView.SetAccessibleName("時刻");
  okButton.SetAccessibleName("OK");
  // The focus rests on it while the alarm shows, so a screen reader says what is up.
  inertDefaultButton.SetAccessibleName("アラーム");
  snoozeDelayCombo.SetAccessibleName("スヌーズの時間");
  snoozeButton.SetAccessibleName("スヌーズ");
  const ProgramFolderSettings settings = ReadSettings<ProgramFolderSettings>(ProgramIniPath(App().programFolder));
  for (int minutes : kSnoozeDelays) snoozeDelayCombo.AddItem(SnoozeDelayLabel(minutes));
  shownSnoozeMinutes_ = ValidSnoozeMinutes(settings.snoozeMinutes);
  snoozeDelayCombo.SetListIndex(SnoozeDelayRow(shownSnoozeMinutes_));
  if (settings.snoozeHidden) {
    snoozeDelayCombo.SetVisible(false);
    snoozeButton.SetVisible(false);
  }
  snoozeButton.onClick = [this] { Snooze(); };
  onActivate = [this] { KeepOnTop(); };
  onPaint = [this] { KeepOnTop(); };
  // The user closing the window dismisses the alarm like OK; the window then unloads and the
  // next alarm creates it anew. Unloading by code (shut-down) has already silenced the alarm.
  onQueryUnload = [](int&, ui::UnloadMode mode) {
    if (mode != ui::UnloadMode::Code) TheAlarm().Dismiss();
  };
}

// Other programs' topmost windows must not bury an alarm, so it claims the top again whenever
// it is activated or repainted, and gives the focus back to the inert button.
void AlarmWindow::KeepOnTop() {
  SetTopMost(true);
  if (inertDefaultButton.Enabled()) inertDefaultButton.SetFocus();
}

void AlarmWindow::Snooze() {
  const int row = snoozeDelayCombo.ListIndex();
  const int minutes = row >= 0 && row < int(kSnoozeDelays.size()) ? kSnoozeDelays[size_t(row)] : kDefaultSnoozeMinutes;
  // Written only when the choice changed: a user who keeps the default leaves the file alone.
  ProgramFolderSettings chosen;
  chosen.snoozeMinutes = minutes;
  if (minutes != shownSnoozeMinutes_ &&
      WriteSettings(ProgramIniPath(App().programFolder), chosen, chosen.snoozeMinutes))
    shownSnoozeMinutes_ = minutes;
  TheAlarm().Snooze(minutes);
}

void AlarmWindow::FillAlarmWindow(const AlarmEntry& e, bool mainBell, const std::string& minuteText) {

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

  // The message's look before its text: a long message is then laid out once, with its own
  // font, instead of once more for each part of the look.
  messageView.SetFont(ui::FontOf(e.Look));
  messageView.SelectAll();
  messageView.SetSelColor(ui::Color(e.Look.ForeColor));
  messageView.SetSelAlignment(ui::Align::Center);
  // Unchanged texts are not set again, so the boxes do not flicker when an alarm repeats.
  if (messageView.Text() != e.Message) messageView.SetText(e.Message);
  messageView.SetSelStart(0);
}

}  // namespace wb
