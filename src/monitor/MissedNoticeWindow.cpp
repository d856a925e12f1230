#include "monitor/MissedNoticeWindow.h"

#include <algorithm>

#include "platform/Services.h"

namespace wb {

MissedNoticeWindow::MissedNoticeWindow()
    : ui::Form("MissedNoticeWindow", kMissedNoticeTitle, 7200, 4140),
      introLabel(*this, "introLabel", {.rect = {180, 150, 6840, 270}, .caption = "次のアラームは鳴りませんでした。(&L)"}),
      missedList(*this, "missedList", {.rect = {180, 480, 6840, 2880}, .markCutRows = true}),
      okButton(*this, "okButton", {.rect = {5640, 3540, 1380, 420}, .caption = "ＯＫ"}) {
  centerOnScreen = true;
  okButton.SetDefault(true);
  okButton.SetCancel(true);
  // The list first: a screen reader starts reading where the focus lands.
  missedList.SetAccessibleName(ui::WithoutAccessKey(introLabel.Caption()));
  introLabel.SetAccessKeyTarget(missedList);
  SetTabOrder({&missedList, &okButton});
  // What was read is gone: the next catch-up opens a fresh notice.
  okButton.onClick = [this] { Unload(); };
  onUnload = [this] { rows_.clear(); };
}

void MissedNoticeWindow::AddMissed(const std::vector<MissedRow>& rows) {
  if (rows.empty()) return;
  for (const MissedRow& row : rows) {
    // The same entry: its slot and message (an entry edited meanwhile gets a row of its own).
    auto same = std::find_if(rows_.begin(), rows_.end(), [&](const MissedRow& r) {
      return r.slot == row.slot && r.message == row.message;
    });
    if (same == rows_.end()) {
      rows_.push_back(row);
      continue;
    }
    same->count += row.count;
    if (row.moment > same->moment) {
      same->moment = row.moment;
      same->main = row.main;
    }
  }
  std::stable_sort(rows_.begin(), rows_.end(), [](const MissedRow& a, const MissedRow& b) { return a.moment > b.moment; });
  RefreshList();
  Show();
  Svc().foreground->BringToForeground(*this);
  missedList.SetFocus();
}

void MissedNoticeWindow::RefreshList() {
  std::vector<std::string> lines;
  lines.reserve(rows_.size());
  for (const MissedRow& row : rows_) lines.push_back(MissedRowText(row));
  missedList.SetItems(std::move(lines));
  if (!rows_.empty()) missedList.SetListIndex(0);
}

}  // namespace wb
