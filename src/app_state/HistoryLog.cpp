#include "app_state/HistoryLog.h"

#include <algorithm>

#include "app_state/AppState.h"
#include "platform/Services.h"

namespace wb {

std::string HistoryPath() { return HistoryPathIn(App().programFolder); }

void LogHistory(HistoryEvent event, LocalSecond due, const std::string& message) {
  if (!App().programFolderWritable) return;
  const Moment now = Svc().clock->Read();
  HistoryRecord record;
  record.at = LocalDateOf(now);
  record.utcOffsetMinutes = int(FloorDiv(now.offsetSeconds, 60));
  record.event = event;
  record.due = DateOfLocal(due);
  record.message = message;
  record.lateSeconds = due == 0 ? 0 : std::max<int64_t>(0, now.Local() - due);
  AppendHistory(HistoryPath(), record);
}

}  // namespace wb
