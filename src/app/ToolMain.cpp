// wakebell-tool: reads a data file and shows what the program would do with it, without a
// display. Every command writes UTF-8 text; bad arguments exit 2, an unreadable file or an
// output that cannot be written exits 1.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/tool/Commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {
const char* const kUsage =
    "usage: wakebell-tool dump DATAFILE [--midi-volume N] [--wave-volume N]\n"
    "       wakebell-tool schedule DATAFILE --from \"yyyy/mm/dd hh:nn:ss\" --to \"yyyy/mm/dd hh:nn:ss\" [--days-off FILE]\n"
    "       wakebell-tool list DATAFILE --now T [--day yyyy/mm/dd] [--daily] [--monday] [--days-off FILE]\n"
    "       wakebell-tool tip DATAFILE --now T [--day yyyy/mm/dd] [--days-off FILE]\n"
    "       wakebell-tool holidays YEAR [DATAFILE] [--days-off FILE]\n"
    "       wakebell-tool history HISTORYFILE [--window]\n"
    "       wakebell-tool missed DATAFILE --since T --now T [--state STATEFILE]\n"
    "       wakebell-tool add DATAFILE --kind once|daily|weekly|monthly|biweekly|nth1..nth5 --at \"yyyy/mm/dd hh:nn\"\n"
    "                     [--weekdays 月火水木金] [--pre MIN] [--message TEXT] [--sound FILE] [--rest-on-days-off]\n"
    "       wakebell-tool remove DATAFILE SLOT\n"
    "       wakebell-tool export DATAFILE --ics OUT.ics|--csv OUT.csv [--now T] [--days-off FILE]\n"
    "       wakebell-tool import DATAFILE IN.ics|IN.csv\n"
    "       wakebell-tool --version\n";
}

#ifdef _WIN32
// Arguments arrive as UTF-16; the tool works in UTF-8 like the rest of the program.
int wmain(int argc, wchar_t** wargv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, s.data(), n, nullptr, nullptr);
    args.push_back(s);
  }
  // Lines end in LF on every system: no CR LF translation on the way out.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#endif
  std::ios::sync_with_stdio(false);
  int rc = wb::tool::Run(args, std::cout, std::cerr);
  if (rc == 2) std::cerr << kUsage;
  // Run flushed what it wrote; what the standard stream still holds must arrive as well.
  if (!std::cout.flush() || std::fflush(stdout) != 0) {
    if (rc == 0) std::cerr << "wakebell-tool: cannot write the output\n";
    return rc == 0 ? 1 : rc;
  }
  return rc;
}
