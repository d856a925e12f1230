#include "app/tool/ToolArgs.h"

#include "storage/DataFile.h"
#include "storage/DaysOffFile.h"

namespace wb::tool {
namespace {

// Digits where the pattern has '9', the pattern's own character elsewhere.
bool Shaped(const std::string& text, const char* pattern) {
  const std::string p = pattern;
  if (text.size() != p.size()) return false;
  for (size_t i = 0; i < p.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (p[i] == '9' ? !digit : text[i] != p[i]) return false;
  }
  return true;
}

}  // namespace

bool SplitArgs(const std::string& command, const std::vector<std::string>& args,
               const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions,
               ToolArgs& out, std::ostream& err) {
  const std::string who = "wakebell-tool " + command + ": ";
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (valueOptions.count(a)) {
      if (i + 1 >= args.size()) {
        err << who << a << " needs a value\n";
        return false;
      }
      if (!out.values.emplace(a, args[i + 1]).second) {
        err << who << a << " given twice\n";
        return false;
      }
      ++i;
    } else if (flagOptions.count(a)) {
      out.flags.insert(a);
    } else if (a.size() > 1 && a[0] == '-') {
      err << who << "unknown option '" << a << "'\n";
      return false;
    } else if (out.dataFile.empty() && !a.empty()) {
      out.dataFile = a;
    } else {
      err << who << "one data file, please\n";
      return false;
    }
  }
  if (out.dataFile.empty()) {
    err << who << "no data file given\n";
    return false;
  }
  return true;
}

bool ParseToolMoment(const std::string& text, OleDate& moment) {
  return Shaped(text, "9999/99/99 99:99:99") && ParseMoment(text, moment);
}

bool ParseToolDay(const std::string& text, OleDate& day) {
  return Shaped(text, "9999/99/99") && ParseMoment(text, day);
}

bool MomentOption(const std::string& command, const ToolArgs& args, const std::string& option, OleDate& moment,
                  std::ostream& err) {
  auto it = args.values.find(option);
  if (it != args.values.end() && ParseToolMoment(it->second, moment)) return true;
  err << "wakebell-tool " << command << ": " << option << " needs a moment \"yyyy/mm/dd hh:nn:ss\"\n";
  return false;
}

bool CalendarDayOption(const std::string& command, const ToolArgs& args, OleDate now, OleDate& day, std::ostream& err) {
  auto it = args.values.find("--day");
  if (it == args.values.end()) {
    day = OleDate(DayOf(now));
    return true;
  }
  if (ParseToolDay(it->second, day)) return true;
  err << "wakebell-tool " << command << ": --day needs a day \"yyyy/mm/dd\"\n";
  return false;
}

bool LoadTableReadOnly(const std::string& command, const std::string& path, AlarmTable& table, std::ostream& err) {
  if (ReadAlarmFile(path, table, 0, 0)) return true;
  err << "wakebell-tool " << command << ": cannot read the data file '" << path << "'\n";
  return false;
}

DaysOff LoadDaysOff(const std::string& command, const ToolArgs& args, std::ostream& err) {
  auto it = args.values.find("--days-off");
  const std::string path = it != args.values.end() ? it->second : DaysOffPathBeside(args.dataFile);
  DaysOffFile file = ReadDaysOffFile(path);
  const std::string who = "wakebell-tool " + command + ": ";
  if (file.tooLarge)
    err << who << "the days-off file '" << path << "' is larger than " << (kDaysOffMaxBytes >> 20)
        << " MiB and is not read; only national holidays count\n";
  if (file.unreadable) err << who << "cannot read the days-off file '" << path << "'; only national holidays count\n";
  for (const DaysOffBadLine& bad : file.badLines)
    err << who << path << " line " << bad.lineNumber << " holds no date \"yyyy/mm/dd\", skipped: " << bad.text << "\n";
  return DaysOff(std::move(file.days));
}

}  // namespace wb::tool
