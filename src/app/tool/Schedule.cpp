// `wakebell-tool schedule DATAFILE --from T1 --to T2 [--days-off FILE]`: the bells a table rings,
// tick by tick, as the program started at T1 with that table and nothing paused would ring them
// (with the national holidays and the days-off file beside the data file, or FILE). Each presenting
// tick prints its moment, the slot and the main and pre marks (1 or 0), separated by tabs.
// Only the minutes in which a bell can fall due are ticked, so years of a full table are quick.
#include "app/tool/Commands.h"
#include "app/tool/ToolArgs.h"
#include "model/DueCheck.h"

namespace wb::tool {

int Schedule(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolArgs a;
  if (!SplitArgs("schedule", args, {"--days-off", "--from", "--to"}, {}, a, err)) return 2;
  OleDate from = 0, to = 0;
  if (!MomentOption("schedule", a, "--from", from, err) || !MomentOption("schedule", a, "--to", to, err)) return 2;
  const int64_t first = SecondNumber(from), last = SecondNumber(to);
  if (last < first) {
    err << "wakebell-tool schedule: --to is before --from\n";
    return 2;
  }
  AlarmTable table;
  if (!LoadTableReadOnly("schedule", a.dataFile, table, err)) return 1;
  const DaysOff daysOff = LoadDaysOff("schedule", a, err);

  std::string line;
  RunDueChecks(table, first, last, [&](int64_t second, const DueResult& r) {
    line = FormatMoment(FromSecondNumber(second));
    line += '\t';
    line += std::to_string(r.slot);
    line += r.main ? "\t1" : "\t0";
    line += r.pre ? "\t1\n" : "\t0\n";
    return bool(out << line);  // output that cannot be written ends the run
  }, &daysOff);
  return 0;
}

}  // namespace wb::tool
