// The editor's display order: entries by time of day, earliest first, and entries at the same
// minute by their full date and time. The quicksort is the program's own, kept step for step,
// so entries with equal keys come out in the order users have always seen.
// Portable: no operating-system header.
#pragma once
#include <vector>

#include "model/AlarmTable.h"
#include "model/SortKey.h"

namespace wb {

// EntryCount + 1 slots; slot r's Slot is the table slot shown at row r; the last slot is spare.
std::vector<SortKey> BuildSortKeys(const AlarmTable& table);

// Sorts keys[low..high] ascending by Key (quicksort, middle pivot).
void SortKeyRange(std::vector<SortKey>& keys, int low, int high);

}  // namespace wb
