// The quiet notice of bells that did not ring: one window, one row per entry (its newest missed
// bell, "×N" when more were skipped), newest first, in a standard list box a screen reader
// reads. New rows go into the open notice, never into a second window.
// Portable window logic over control objects; no operating-system header.
#pragma once
#include <string>
#include <vector>

#include "model/CatchUp.h"
#include "platform/Controls.h"

namespace wb {

inline constexpr const char* kMissedNoticeTitle = "Wakebell（鳴らなかったアラーム）";

class MissedNoticeWindow : public ui::Form {
 public:
  MissedNoticeWindow();

  ui::Label introLabel;
  ui::ListBox missedList;
  ui::Button okButton;

  // Adds the rows (an entry already listed keeps one row: its newest bell, the counts added)
  // and shows the window in front. Rows as the catch-up makes them (model/CatchUp.h).
  void AddMissed(const std::vector<MissedRow>& rows);
  const std::vector<MissedRow>& Rows() const { return rows_; }

 private:
  void RefreshList();
  std::vector<MissedRow> rows_;  // newest first
};


}  // namespace wb
