// Arguments shared by the schedule, list and tip commands of wakebell-tool: the data file,
// moments "yyyy/mm/dd hh:nn:ss", days "yyyy/mm/dd" and flags, and the read-only table load.
// Portable: no operating-system header.
#pragma once
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/Holidays.h"
#include "model/OleDate.h"

namespace wb::tool {

struct ToolArgs {
  std::string dataFile;
  std::map<std::string, std::string> values;  // option -> its text
  std::set<std::string> flags;
};

// Splits `args` for `command`, which takes the options in `valueOptions` (each once, with a
// value) and `flagOptions`. On a bad argument prints the reason to `err` and returns false.
bool SplitArgs(const std::string& command, const std::vector<std::string>& args,
               const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions,
               ToolArgs& out, std::ostream& err);

// A present moment written exactly "yyyy/mm/dd hh:nn:ss", or a day written "yyyy/mm/dd".
bool ParseToolMoment(const std::string& text, OleDate& moment);
bool ParseToolDay(const std::string& text, OleDate& day);

// The moment of a required option; prints the reason and returns false when missing or malformed.
bool MomentOption(const std::string& command, const ToolArgs& args, const std::string& option, OleDate& moment,
                  std::ostream& err);
// The calendar day of --day, by default the date of `now`; false (reason printed) when malformed.
bool CalendarDayOption(const std::string& command, const ToolArgs& args, OleDate now, OleDate& day, std::ostream& err);

// Loads the data file without changing it (an older layout is converted in memory only).
// Prints the reason and returns false when it cannot be read.
bool LoadTableReadOnly(const std::string& command, const std::string& path, AlarmTable& table, std::ostream& err);

// The days off the program would use with this data file: the national holidays and the
// user's file (--days-off, by default the one beside the data file). Its bad lines are told on
// `err` once each and skipped, as the program does; they never stop the command.
DaysOff LoadDaysOff(const std::string& command, const ToolArgs& args, std::ostream& err);

}  // namespace wb::tool
