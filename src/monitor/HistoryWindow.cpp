#include "monitor/HistoryWindow.h"

#include <utility>

#include "platform/Services.h"

namespace wb {

namespace {
// Where each column starts, pixels at 96 DPI from the list's left: the recorded moment
// ("2026/12/07 07:08:36"), the set time ("2026/12/07 07:00"), what happened with how long
// ("止めた（鳴り始めから1時間2分）"), the message taking the rest.
constexpr int kSetTimeColumn = 148, kWhatColumn = 272, kMessageColumn = 476;
constexpr int kListLeft = 12;
}  // namespace

HistoryWindow::HistoryWindow()
    : ui::Form("HistoryWindow", kHistoryTitle, 760 * ui::kTwipsPerPixel, 360 * ui::kTwipsPerPixel),
      recordedHeading(*this, "recordedHeading", {.rect = ui::Px(kListLeft + 2, 12, kSetTimeColumn - 4, 16), .caption = "記録した日時"}),
      setTimeHeading(*this, "setTimeHeading",
                     {.rect = ui::Px(kListLeft + 2 + kSetTimeColumn, 12, kWhatColumn - kSetTimeColumn - 4, 16), .caption = "設定時刻"}),
      whatHeading(*this, "whatHeading",
                  {.rect = ui::Px(kListLeft + 2 + kWhatColumn, 12, kMessageColumn - kWhatColumn - 4, 16), .caption = "できごと"}),
      messageHeading(*this, "messageHeading", {.rect = ui::Px(kListLeft + 2 + kMessageColumn, 12, 200, 16), .caption = "メッセージ"}),
      historyList(*this, "historyList",
                  {.rect = ui::Px(kListLeft, 30, 736, 282),
                   .markCutRows = true,
                   .columns = {kSetTimeColumn * ui::kTwipsPerPixel, kWhatColumn * ui::kTwipsPerPixel,
                               kMessageColumn * ui::kTwipsPerPixel}}),
      closeButton(*this, "closeButton", {.rect = ui::Px(656, 322, 92, 28), .caption = "閉じる(&C)"}) {
  centerOnScreen = true;
  closeButton.SetDefault(true);
  closeButton.SetCancel(true);
  historyList.SetAccessibleName("履歴");
  SetTabOrder({&historyList, &closeButton});
  closeButton.onClick = [this] { Unload(); };
}

void HistoryWindow::ShowLines(std::vector<std::string> lines) {
  if (lines.empty()) lines.push_back(kHistoryEmptyLine);
  historyList.SetItems(std::move(lines));
  historyList.SetListIndex(0);
  Show();
  Svc().foreground->BringToForeground(*this);
  historyList.SetFocus();
}

}  // namespace wb
