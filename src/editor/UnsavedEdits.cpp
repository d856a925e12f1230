#include "editor/UnsavedEdits.h"

namespace wb {
namespace {
bool held = false;
}  // namespace

bool UnsavedEdits::Any() { return held; }
void UnsavedEdits::Set(bool value) { held = value; }
void ResetUnsavedEdits() { held = false; }

}  // namespace wb
