// One slot of the editor's display order: the sort key and the table slot it stands for.
#pragma once
#include <cstdint>

#include "model/OleDate.h"

namespace wb {
struct SortKey {
  OleDate Key = 0;
  int Slot = 0;
};
}  // namespace wb
