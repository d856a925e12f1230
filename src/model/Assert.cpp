#include "model/Assert.h"

#include <cstdio>
#include <cstdlib>

namespace wb {
void ProgramError(const char* what, const char* file, int line) {
  std::fprintf(stderr, "Wakebell: program error: %s (%s:%d)\n", what, file, line);
  std::abort();
}
}  // namespace wb
