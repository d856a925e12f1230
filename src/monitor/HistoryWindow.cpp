#include "monitor/HistoryWindow.h"

#include <utility>

#include "platform/Services.h"

namespace wb {

HistoryWindow::HistoryWindow()
    : ui::Form("HistoryWindow", kHistoryTitle, 9600, 5400),
      historyList(*this, "historyList", {.rect = {180, 180, 9240, 4380}, .markCutRows = true}),
      closeButton(*this, "closeButton", {.rect = {8040, 4800, 1380, 420}, .caption = "閉じる(&C)"}) {
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
