// `wakebell-tool tip DATAFILE --now T [--day yyyy/mm/dd] [--days-off FILE]`: the tray tip the tip
// refresh shows at T (the editor's calendar on --day, default the date of T) when the tip read
// the program's title before, with the days off as for schedule.
#include "app/tool/Commands.h"
#include "app/tool/ToolArgs.h"
#include "app_state/ProgramTitle.h"
#include "model/TrayTip.h"

namespace wb::tool {

int Tip(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolArgs a;
  if (!SplitArgs("tip", args, {"--days-off", "--now", "--day"}, {}, a, err)) return 2;
  OleDate now = 0, day = 0;
  if (!MomentOption("tip", a, "--now", now, err) || !CalendarDayOption("tip", a, now, day, err)) return 2;
  AlarmTable table;
  if (!LoadTableReadOnly("tip", a.dataFile, table, err)) return 1;
  const DaysOff daysOff = LoadDaysOff("tip", a, err);
  OleDate nextBellTime = 0;
  std::string tip = kProgramTitle;
  ComputeTrayTip(table, day, now, nextBellTime, tip, &daysOff);
  out << tip << '\n';
  return 0;
}

}  // namespace wb::tool
