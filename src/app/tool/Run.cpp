#include "app/tool/Commands.h"
#include "app_state/Version.h"

namespace wb::tool {

namespace {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "wakebell-tool: no command given\n";
    return 2;
  }
  // The version of the program this tool was built with, the one its About box shows.
  if (args[0] == "--version" && args.size() == 1) {
    out << "wakebell-tool " << kVersionText << "\n";
    return 0;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const std::string& cmd = args[0];
  if (cmd == "dump") return Dump(rest, out, err);
  if (cmd == "schedule") return Schedule(rest, out, err);
  if (cmd == "list") return List(rest, out, err);
  if (cmd == "tip") return Tip(rest, out, err);
  if (cmd == "holidays") return Holidays(rest, out, err);
  if (cmd == "history") return History(rest, out, err);
  if (cmd == "missed") return Missed(rest, out, err);
  if (cmd == "add") return Add(rest, out, err);
  if (cmd == "remove") return Remove(rest, out, err);
  if (cmd == "export") return Export(rest, out, err);
  if (cmd == "import") return Import(rest, out, err);
  err << "wakebell-tool: unknown command '" << cmd << "'\n";
  return 2;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const int rc = RunCommand(args, out, err);
  // Output that did not all arrive (a full disk, a closed pipe) is a failure: a cut JSON file
  // or schedule must not look complete to whatever reads it.
  if (!out.flush()) {
    err << "wakebell-tool: cannot write the output\n";
    return rc == 0 ? 1 : rc;
  }
  return rc;
}

}  // namespace wb::tool
