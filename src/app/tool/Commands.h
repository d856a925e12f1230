// The commands of wakebell-tool, each a function of its arguments and two streams, so tests
// run them in-process. Portable: no operating-system header.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace wb::tool {

// Dispatches on args[0]. Returns the exit code: 0 done, 1 unreadable file or output that could
// not be written, 2 bad arguments.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int Dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Schedule(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Tip(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Holidays(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `history HISTORYFILE [--window]`: the ring history, newest first, one event a line as stored
// (or as the history window shows it).
int History(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `missed DATAFILE --since T --now T [--state STATEFILE]`: the bells the catch-up would ring
// now ("ring<TAB>slot<TAB>moment<TAB>main|pre") and the rows the notice would list, newest first
// ("missed<TAB>slot<TAB>moment<TAB>main|pre<TAB>count<TAB>the row's text").
int Missed(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `add DATAFILE --kind K --at "yyyy/mm/dd hh:nn" [--weekdays 月火] [--pre MIN] [--message TEXT]
// [--sound FILE] [--rest-on-days-off]` and `remove DATAFILE SLOT`: change the table as the
// editor would and write it in one step; exit 1 without writing when the file changed meanwhile.
int Add(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Remove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `export DATAFILE --ics FILE | --csv FILE [--now T] [--days-off FILE]`: the table as iCalendar
// or CSV. `import DATAFILE FILE`: the entries of an iCalendar or CSV file added to the table.
int Export(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wb::tool
