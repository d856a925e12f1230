#include "model/Assert.h"

#include <cstdlib>
#include <string>

#include "model/Diag.h"

namespace wb {
void ProgramError(const char* what, const char* file, int line) {
  // The diagnostic log, not standard error: the windowed program has none.
  Diag(std::string("program error: ") + what + " (" + file + ":" + std::to_string(line) + ")");
  std::abort();
}
}  // namespace wb
