#include "storage/History.h"

namespace wb {

// First commit: the interface only; the history follows.
std::string HistoryPathIn(const std::string& programFolder) { return programFolder + kHistoryFileName; }
const char* HistoryEventTag(HistoryEvent) { return ""; }
std::optional<HistoryEvent> HistoryEventFromTag(const std::string&) { return std::nullopt; }
const char* HistoryEventLabel(HistoryEvent) { return ""; }
std::string FormatHistoryLine(const HistoryRecord&) { return {}; }
bool ParseHistoryLine(const std::string&, HistoryRecord&) { return false; }
std::string EscapeHistoryField(const std::string& text) { return text; }
std::string UnescapeHistoryField(const std::string& text) { return text; }
bool AppendHistory(const std::string&, const HistoryRecord&) { return false; }
std::vector<HistoryRecord> ReadHistory(const std::string&, bool* readable) {
  if (readable) *readable = false;
  return {};
}
std::vector<HistoryRecord> ReadHistoryNewestFirst(const std::string&, size_t) { return {}; }
bool TrimHistory(const std::string&, OleDate) { return true; }
std::string HistoryDisplayLine(const HistoryRecord&) { return {}; }

}  // namespace wb
