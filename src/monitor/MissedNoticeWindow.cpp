#include "monitor/MissedNoticeWindow.h"

#include <algorithm>

#include "platform/Services.h"

namespace wb {

MissedNoticeWindow::MissedNoticeWindow()
    : ui::Form("MissedNoticeWindow", kMissedNoticeTitle, 7200, 4140),
      introLabel(*this, "introLabel", {.rect = {180, 150, 6840, 270}, .caption = "次のアラームは鳴りませんでした。"}),
      missedList(*this, "missedList", {.rect = {180, 480, 6840, 2880}}),
      okButton(*this, "okButton", {.rect = {5640, 3540, 1380, 420}, .caption = "ＯＫ"}) {
  centerOnScreen = true;
  okButton.SetDefault(true);
  okButton.SetCancel(true);
  // The list first: a screen reader starts reading where the focus lands.
  SetTabOrder({&missedList, &okButton});
  // What was read is gone: the next catch-up opens a fresh notice.
  okButton.onClick = [this] { Unload(); };
  onUnload = [this] { rows_.clear(); };
}

std::string MissedRowText(const MissedRow& row) {
  std::string message = row.message;
  // A list row has one line; the message's own breaks become spaces.
  std::replace_if(message.begin(), message.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  std::string text = FormatDateHourMinute(row.bell) + "  " + message;
  if (row.count > 1) text += " ×" + std::to_string(row.count);
  return text;
}

void MissedNoticeWindow::AddMissed(const std::vector<MissedRow>& rows) {
  if (rows.empty()) return;
  for (const MissedRow& row : rows) {
    auto same = std::find_if(rows_.begin(), rows_.end(), [&](const MissedRow& r) { return r.entryKey == row.entryKey; });
    if (same == rows_.end()) {
      rows_.push_back(row);
      continue;
    }
    same->count += row.count;
    if (row.bell > same->bell) {
      same->bell = row.bell;
      same->message = row.message;
    }
  }
  std::stable_sort(rows_.begin(), rows_.end(), [](const MissedRow& a, const MissedRow& b) { return a.bell > b.bell; });
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

namespace {
ui::FormSlot<MissedNoticeWindow>& Slot() {
  static ui::FormSlot<MissedNoticeWindow> slot;
  return slot;
}
}  // namespace

MissedNoticeWindow& TheMissedNotice() { return Slot().Get(); }
MissedNoticeWindow* MissedNoticeIfLoaded() { return Slot().IfLoaded(); }
void ResetMissedNotice() { Slot().Reset(); }

}  // namespace wb
