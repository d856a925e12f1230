// `wakebell-tool holidays YEAR [DATAFILE] [--days-off FILE]`: the year's days off, one a line,
// "yyyy/mm/dd name": the national holidays and the user's days off (the file beside DATAFILE, or
// FILE; none without either). A day that is both gets its names joined by "・".
#include <charconv>

#include "app/tool/Commands.h"
#include "app/tool/ToolArgs.h"

namespace wb::tool {

int Holidays(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string yearText = args.empty() ? std::string() : args[0];
  int year = 0;
  const auto [end, ec] = std::from_chars(yearText.data(), yearText.data() + yearText.size(), year);
  if (ec != std::errc() || end != yearText.data() + yearText.size() || year < 100 || year > 9999) {
    err << "wakebell-tool holidays: needs a year 100..9999\n";
    return 2;
  }
  // The data file is optional here, so the other commands' SplitArgs does not fit.
  ToolArgs a;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--days-off" && i + 1 < args.size() && !a.values.count("--days-off")) {
      a.values["--days-off"] = args[++i];
    } else if (args[i].empty() || args[i][0] == '-' || !a.dataFile.empty()) {
      err << "wakebell-tool holidays: unexpected argument '" << args[i] << "'\n";
      return 2;
    } else {
      a.dataFile = args[i];
    }
  }
  const DaysOff daysOff = a.dataFile.empty() && !a.values.count("--days-off") ? DaysOff()
                                                                              : LoadDaysOff("holidays", a, err);
  const std::vector<NamedDay> days = daysOff.DaysOfYear(year);
  for (size_t i = 0; i < days.size();) {
    std::string line = FormatDate(OleDate(days[i].day)) + " ";
    const int64_t day = days[i].day;
    for (bool first = true; i < days.size() && days[i].day == day; ++i, first = false) {
      if (!first) line += "・";
      line += days[i].name.empty() ? "休日" : days[i].name;
    }
    out << line << '\n';
  }
  return 0;
}

}  // namespace wb::tool
