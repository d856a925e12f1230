#include "model/EntryRules.h"

#include <string>

namespace wb {

const char* RefusalOfNewEntry(const AlarmEntry& entry, const AlarmTable& table) {
  if (RepeatKindNeedsWeekday(entry.RepeatKind) && (entry.WeekdayMask & 0x7F) == 0) return kWeekdayMissingMessage;
  if (entry.Sound.Flag != 0) {
    const std::string& file = entry.Sound.File;
    if (file.find_first_not_of(' ') == std::string::npos) return kSoundFileMissingMessage;
  }
  if (table.EntryCount() >= AlarmTable::kMaxEntries) return kTableFullMessage;
  return nullptr;
}

}  // namespace wb
