#include "monitor/Globals.h"

namespace wb {
AppState& G() {
  static AppState state;
  return state;
}
void ResetGlobals() { G() = AppState{}; }
}  // namespace wb
