// `wakebell-tool history HISTORYFILE [--window]`: the ring history, newest first, each event as
// the file stores it (or, with --window, as the history window shows it); lines that do not
// parse and a torn last line are left out, as the window leaves them out.
// `wakebell-tool missed DATAFILE --since T1 --now T2 [--state STATEFILE] [--days-off FILE]`: what
// the catch-up does at T2 when the monitor last watched at T1: the bells that ring now, then the
// notice's rows, newest first. With --state, what that state file says was handled counts too;
// the days off count as the program counts them (a bell resting on one is neither rung nor
// reported).
#include <algorithm>

#include "app/tool/Commands.h"
#include "app/tool/ToolArgs.h"
#include "model/CatchUp.h"
#include "model/Holidays.h"
#include "storage/History.h"
#include "storage/StateFile.h"

namespace wb::tool {

int History(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolArgs a;
  if (!SplitArgs("history", args, {}, {"--window"}, a, err)) return 2;
  bool readable = false;
  std::vector<HistoryRecord> records = ReadHistory(a.dataFile, &readable);
  if (!readable) {
    err << "wakebell-tool history: cannot read " << a.dataFile << '\n';
    return 1;
  }
  std::reverse(records.begin(), records.end());
  if (a.flags.count("--window") != 0) {
    for (const std::string& line : HistoryDisplayLines(records)) {
      if (!(out << line << '\n')) return 1;
    }
    return 0;
  }
  for (const HistoryRecord& record : records) {
    if (!(out << FormatHistoryLine(record))) return 1;
  }
  return 0;
}

int Missed(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolArgs a;
  if (!SplitArgs("missed", args, {"--days-off", "--since", "--now", "--state"}, {}, a, err)) return 2;
  OleDate since = 0, now = 0;
  if (!MomentOption("missed", a, "--since", since, err) || !MomentOption("missed", a, "--now", now, err)) return 2;
  AlarmTable table;
  if (!LoadTableReadOnly("missed", a.dataFile, table, err)) return 1;
  CatchUpState state;
  if (auto it = a.values.find("--state"); it != a.values.end()) {
    StateFileStatus status;
    state = ReadStateFile(it->second, &status).catchUp;
    if (status == StateFileStatus::Damaged) {
      // As the program does: a damaged state counts as nothing handled, and says so here.
      err << "wakebell-tool missed: " << it->second << " is damaged; nothing counts as handled\n";
    }
  }
  const DaysOff daysOff = LoadDaysOff("missed", a, err);
  CatchUpLimits limits;
  limits.daysOff = &daysOff;
  const CatchUpResult r = FindMissedBells(table, state, LocalOfDate(since), LocalOfDate(now), limits);
  for (const RingNow& b : r.ringNow) {
    out << "ring\t" << b.slot << '\t' << FormatMoment(DateOfLocal(b.moment)) << (b.main ? "\tmain\n" : "\tpre\n");
  }
  for (const MissedRow& m : r.missed) {
    out << "missed\t" << m.slot << '\t' << FormatMoment(DateOfLocal(m.moment)) << (m.main ? "\tmain\t" : "\tpre\t") << m.count
        << '\t' << MissedRowText(m) << '\n';
  }
  return 0;
}

}  // namespace wb::tool
