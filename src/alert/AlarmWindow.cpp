#include "alert/AlarmWindow.h"

#include <algorithm>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "model/Snooze.h"
#include "platform/Services.h"
#include "storage/Settings.h"

namespace wb {
namespace {
constexpr ui::Color kWhite = 0xFFFFFF;
constexpr ui::Color kBlack = 0x000000;
const char* const kMainBellBanner = "■本鈴■";

// The designed window (pixels at 96 DPI): the message box across the top, and under it the
// band of the banner, the time, OK and the snooze column.
constexpr int kMessageLeft = 1, kMessageTop = 2;
constexpr int kMessageWidth = 211, kMessageHeight = 79;
constexpr int kClientWidth = 213, kClientHeight = 142;
// A long message widens the window in these steps until its box is no taller than this share
// of its width (text reads best in lines longer than they are many).
constexpr int kWidenStep = 32;
constexpr int kTallestShareOfWidth = 3;  // height at most 3/4 of the width
constexpr int kTallestShareOfWidthOver = 4;

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
      messageView(*this, "messageView",
                  {.rect = ui::Px(kMessageLeft, kMessageTop, kMessageWidth, kMessageHeight), .locked = true, .scrollable = true}),
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
  for (ui::Control* c : {static_cast<ui::Control*>(&bannerView), static_cast<ui::Control*>(&timeView),
                         static_cast<ui::Control*>(&okButton), static_cast<ui::Control*>(&snoozeDelayCombo),
                         static_cast<ui::Control*>(&snoozeButton), static_cast<ui::Control*>(&inertDefaultButton)})
    designedBand_[c] = c->Position();
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
  // The focus rests on a button, so the arrows, Page Up/Down, Home and End read the message.
  onScrollKey = [this](ui::ScrollStep step) {
    if (!messageView.ScrollBarRoom()) return false;
    messageView.Scroll(step);
    return true;
  };
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

  // The message's look and the window's size before its text: a long message is then laid out
  // once, with its own font and width, instead of once more for each part of the look.
  messageView.SetFont(ui::FontOf(e.Look));
  FitToMessage(e);
  messageView.SelectAll();
  messageView.SetSelColor(ui::Color(e.Look.ForeColor));
  messageView.SetSelAlignment(ui::Align::Center);
  // Unchanged texts are not set again, so the boxes do not flicker when an alarm repeats.
  if (messageView.Text() != e.Message) messageView.SetText(e.Message);
  messageView.SetSelStart(0);
  messageView.Scroll(ui::ScrollStep::Top);  // a message shown again starts from its beginning
}

void AlarmWindow::FitToMessage(const AlarmEntry& e) {
  using ui::kTwipsPerPixel;
  int width = kMessageWidth * kTwipsPerPixel, height = kMessageHeight * kTwipsPerPixel;
  bool scrolls = false;
  IFrontEnd* frontEnd = Svc().frontEnd;
  if (frontEnd && !e.Message.empty()) {
    const ui::Font font = ui::FontOf(e.Look);
    auto need = [&](int w) { return frontEnd->TextHeight(e.Message, font, w, false); };
    const ui::Rect work = frontEnd->WorkArea();
    const int widest = std::max(width, work.width / 2 - (kClientWidth - kMessageWidth) * kTwipsPerPixel);
    const int tallest = std::max(height, work.height / 2 - (kClientHeight - kMessageHeight) * kTwipsPerPixel);
    // The widest box first: a message too long even for it scrolls, and is not measured again
    // at every width on the way (a long one takes a while to measure).
    if (need(widest) > tallest) {
      width = widest;
      height = tallest;
      scrolls = true;
    } else {
      int w = width, h = need(width);
      while (w < widest && (h > height && (h > tallest || h * kTallestShareOfWidthOver > w * kTallestShareOfWidth))) {
        w = std::min(w + kWidenStep * kTwipsPerPixel, widest);
        h = need(w);
      }
      width = w;
      height = std::max(height, h);
    }
  }
  messageView.SetScrollBarRoom(scrolls);
  SetClientSize(width + (kClientWidth - kMessageWidth) * kTwipsPerPixel,
                height + (kClientHeight - kMessageHeight) * kTwipsPerPixel);
  PlaceControls(width, height);
}

// The message box across the top; the band under it keeps its designed arrangement, centred.
void AlarmWindow::PlaceControls(int messageWidth, int messageHeight) {
  using ui::kTwipsPerPixel;
  messageView.Move({kMessageLeft * kTwipsPerPixel, kMessageTop * kTwipsPerPixel, messageWidth, messageHeight});
  const int shiftX = (messageWidth - kMessageWidth * kTwipsPerPixel) / 2;
  const int shiftY = messageHeight - kMessageHeight * kTwipsPerPixel;
  for (ui::Control* c : {static_cast<ui::Control*>(&bannerView), static_cast<ui::Control*>(&timeView),
                         static_cast<ui::Control*>(&okButton), static_cast<ui::Control*>(&snoozeDelayCombo),
                         static_cast<ui::Control*>(&snoozeButton), static_cast<ui::Control*>(&inertDefaultButton)}) {
    const ui::Rect& designed = designedBand_[c];
    c->Move({designed.left + shiftX, designed.top + shiftY, designed.width, designed.height});
  }
}

}  // namespace wb
