// `wakebell-tool list DATAFILE --now T [--day yyyy/mm/dd] [--daily] [--monday] [--days-off FILE]`:
// the editor's alarm list for a calendar day (default the date of T) at the present moment T, in
// the デイリー view with --daily, weeks from Monday with --monday, with the days off as for
// schedule. One row a line: slot TAB text.
#include "app/tool/Commands.h"
#include "app/tool/ToolArgs.h"
#include "model/ListLine.h"
#include "model/SortKeys.h"

namespace wb::tool {

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolArgs a;
  if (!SplitArgs("list", args, {"--days-off", "--now", "--day"}, {"--daily", "--monday"}, a, err)) return 2;
  OleDate now = 0, day = 0;
  if (!MomentOption("list", a, "--now", now, err) || !CalendarDayOption("list", a, now, day, err)) return 2;
  AlarmTable table;
  if (!LoadTableReadOnly("list", a.dataFile, table, err)) return 1;
  const DaysOff daysOff = LoadDaysOff("list", a, err);
  const std::vector<ListRow> rows =
      BuildAlarmList(table, BuildSortKeys(table), day, now, a.flags.count("--daily") != 0, a.flags.count("--monday") != 0, &daysOff);
  for (const ListRow& row : rows) out << row.slot << '\t' << row.text << '\n';
  return 0;
}

}  // namespace wb::tool
