// The lines of the editor's alarm list: the mark that says whether an entry still rings on the
// calendar day, the text of one line, and the rows of both views in display order.
// Portable: no operating-system header; the list box itself is the editor's.
#pragma once
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/SortKey.h"

namespace wb {

class DaysOff;

// For an entry that occurs on `calendarDay`: "■" while it still rings there, "□" when it has
// rung already (the calendar day before today, or today at or past its minute).
std::string ListMark(const AlarmEntry& entry, OleDate calendarDay, OleDate now);

// `mark` followed by "hh:nn yyyy/mm/dd ", the RepeatKind label, a space and the seven weekday
// letters in week order ("－" for an unset day), with Sunday or Monday first.
std::string ListLineText(const std::string& mark, const AlarmEntry& entry, bool mondayStart);

// The editor's row of an entry: its line as it is, two spaces, then its message on one line (line
// ends and tabs as spaces), cut so that the row takes at most `columns` columns, with "…" where
// it was cut (Utf8.h). The line alone is what the tool's `list` prints.
std::string ListRowWithMessage(const std::string& line, const std::string& message, int columns);

struct ListRow {
  int slot;
  std::string text;
};

// The list fill: one row per entry in `keys` order (BuildSortKeys), or in the デイリー view only
// the entries that occur on `calendarDay` (whose slots, in order, are the view's DailyRows).
// With `daysOff`, an entry that rests on days off does not occur on one.
std::vector<ListRow> BuildAlarmList(const AlarmTable& table, const std::vector<SortKey>& keys,
                                    OleDate calendarDay, OleDate now, bool dailyView, bool mondayStart,
                                    const DaysOff* daysOff = nullptr);

}  // namespace wb
