// The ring history, read only: one row per event, newest first, in columns under headings
// (storage/History.h: HistoryDisplayLines makes the rows).
// Opened from the tray menu's 履歴; reading the file is the caller's.
// Portable window logic over control objects; no operating-system header.
#pragma once
#include <string>
#include <vector>

#include "platform/Controls.h"

namespace wb {

inline constexpr const char* kHistoryTitle = "Wakebell（履歴）";
inline constexpr const char* kHistoryEmptyLine = "（記録はありません）";

class HistoryWindow : public ui::Form {
 public:
  HistoryWindow();

  // The headings of the list's columns: when it was recorded, the bell's set time, what
  // happened, the message.
  ui::Label recordedHeading;
  ui::Label setTimeHeading;
  ui::Label whatHeading;
  ui::Label messageHeading;
  ui::ListBox historyList;
  ui::Button closeButton;

  // Shows `lines` (newest first) in place of what the window showed.
  void ShowLines(std::vector<std::string> lines);
};


}  // namespace wb
