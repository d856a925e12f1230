#include "model/SortKeys.h"

#include <utility>

#include "model/Assert.h"

namespace wb {

void SortKeyRange(std::vector<SortKey>& keys, int low, int high) {
  WB_ASSERT(low >= 0 && high < int(keys.size()));
  // The two halves of a partition are independent, so the smaller one is sorted by recursion and
  // the larger one by the loop: the order of the result is unchanged and the depth stays small.
  while (low < high) {
    const OleDate pivot = keys[size_t((low + high) / 2)].Key;
    int i = low, j = high;
    for (;;) {
      while (i < high && keys[size_t(i)].Key < pivot) ++i;
      while (j > low && keys[size_t(j)].Key > pivot) --j;
      if (i >= j) break;
      std::swap(keys[size_t(i)], keys[size_t(j)]);
      ++i;
      --j;
    }
    const int leftHigh = i - 1, rightLow = j + 1;
    const bool left = low < leftHigh, right = rightLow < high;
    if (left && right) {
      if (leftHigh - low < high - rightLow) {
        SortKeyRange(keys, low, leftHigh);
        low = rightLow;
      } else {
        SortKeyRange(keys, rightLow, high);
        high = leftHigh;
      }
    } else if (left) {
      high = leftHigh;
    } else if (right) {
      low = rightLow;
    } else {
      return;
    }
  }
}

std::vector<SortKey> BuildSortKeys(const AlarmTable& table) {
  const int count = table.EntryCount();
  std::vector<SortKey> keys(size_t(count) + 1);
  if (count == 0) return keys;
  for (int i = 0; i < count; ++i) {
    // Hour and minute only, as a time-of-day value: the list is ordered by the clock face.
    keys[size_t(i)] = {double(MinuteOfDay(table[i].AlarmTime) * 60) / 86400.0, i};
  }
  SortKeyRange(keys, 0, count - 1);
  // Runs of equal minutes are ordered again by the full date and time. Runs stay within the live
  // slots: the spare slot never takes part.
  for (int k = 0; k < count;) {
    int end = k;
    while (end + 1 < count && keys[size_t(end + 1)].Key == keys[size_t(k)].Key) ++end;
    if (end > k) {
      for (int r = k; r <= end; ++r) keys[size_t(r)].Key = table[keys[size_t(r)].Slot].AlarmTime;
      SortKeyRange(keys, k, end);
    }
    k = end + 1;
  }
  return keys;
}

}  // namespace wb
