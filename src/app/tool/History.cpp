#include "app/tool/Commands.h"

namespace wb::tool {

int History(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "wakebell-tool history: not built yet\n";
  return 1;
}

int Missed(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "wakebell-tool missed: not built yet\n";
  return 1;
}

}  // namespace wb::tool
