#include "app_state/HistoryLog.h"

#include <algorithm>

#include "app_state/AppState.h"
#include "platform/Services.h"

namespace wb {

std::string HistoryPath() { return HistoryPathIn(App().programFolder); }

void LogHistory(HistoryEvent event, OleDate due, const std::string& message) {
  if (!App().programFolderWritable) return;
  const OleDate now = Svc().clock->Now();
  HistoryRecord record;
  record.at = now;
  record.utcOffsetMinutes = Svc().clock->UtcOffsetMinutes(now);
  record.event = event;
  record.due = due;
  record.message = message;
  record.lateSeconds = due == 0 ? 0 : std::max<int64_t>(0, SecondNumber(now) - SecondNumber(due));
  AppendHistory(HistoryPath(), record);
}

}  // namespace wb
