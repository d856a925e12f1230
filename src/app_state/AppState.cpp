#include "app_state/AppState.h"

namespace wb {
AppState& App() {
  static AppState state;
  return state;
}
void ResetAppState() { App() = AppState{}; }
}  // namespace wb
