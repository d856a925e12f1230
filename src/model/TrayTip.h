// The tray tip of the tip refresh: how long until the next bell ("あと1時間15分 本日07:30"),
// "アラーム中" for a bell at the present second, or that none comes within 24 hours.
// Portable: no operating-system header; putting the text on the icon is the caller's.
#pragma once
#include <string>

#include "model/AlarmTable.h"
#include "model/OleDate.h"

namespace wb {

class DaysOff;

// Recomputes `nextBellTime` (the zero date when none) from the day tests of `calendarDay`
// (bell times of the present date) and, when none is found, of the day after it (bell times of
// tomorrow). Returns false when no bell was found: the tip then stays as it was. With `daysOff`,
// an entry that rests on days off offers no bell of a day off.
bool ComputeTrayTip(const AlarmTable& table, OleDate calendarDay, OleDate now, OleDate& nextBellTime,
                    std::string& tip, const DaysOff* daysOff = nullptr);

// The text for a known next bell not behind `now`.
std::string TrayTipText(OleDate nextBellTime, OleDate now);

// The icon record holds 64 characters of tip with its NUL: a longer tip keeps at most its first
// 63 characters (code points, never half of one, nor part of a cluster: a flag, a letter and its
// mark), which fit the record's UTF-16 field even when each takes two units. The one rule for
// the tip's length, wherever the tip is cut.
inline constexpr int kTrayTipMaxChars = 63;
std::string LimitTrayTip(const std::string& tip);

}  // namespace wb
