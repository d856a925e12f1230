#include "model/AlarmTable.h"

#include "model/Assert.h"

#include <algorithm>
#include <bit>
#include <tuple>
#include <vector>

namespace wb {

const char* RepeatKindLabel(int kind) {
  static const char* const kLabels[] = {"－－", "毎月", "毎週", "毎日", "一回", "ｸｲｯｸ",
                                        "隔週", "第１", "第２", "第３", "第４", "第５"};
  return kind >= 0 && kind <= 11 ? kLabels[kind] : "";
}

AlarmEntry& AlarmTable::operator[](int slot) {
  WB_ASSERT(slot >= 0 && slot < int(slots_.size()));
  return slots_[size_t(slot)];
}

const AlarmEntry& AlarmTable::operator[](int slot) const {
  WB_ASSERT(slot >= 0 && slot < int(slots_.size()));
  return slots_[size_t(slot)];
}

int AlarmTable::Add(const AlarmEntry& e) {
  if (EntryCount() >= kMaxEntries) return -1;
  int slot = EntryCount();
  slots_[size_t(slot)] = e;
  slots_.emplace_back();
  return slot;
}

void AlarmTable::Delete(int slot) {
  WB_ASSERT(slot >= 0 && slot < EntryCount());
  slots_.erase(slots_.begin() + slot);
}

void AlarmTable::Clear() { slots_.assign(1, AlarmEntry{}); }

void AlarmTable::Assign(std::vector<AlarmEntry> slots) {
  WB_ASSERT(!slots.empty() && slots.size() <= size_t(kMaxEntries) + 1);
  slots_ = std::move(slots);
}

namespace {
AlarmEntry WithoutMarks(AlarmEntry e) {
  e.PreBellFiredAt = 0;
  e.MainBellFiredAt = 0;
  return e;
}
// The time by its bits: a damaged file may hold a NaN, which no ordering of doubles can sort.
auto SortKeyOf(const AlarmEntry& e) {
  return std::make_tuple(std::bit_cast<uint64_t>(e.AlarmTime), e.RepeatKind, e.WeekdayMask, std::cref(e.Message));
}
}  // namespace

void CarryRungMarks(const AlarmTable& before, AlarmTable& after) {
  std::vector<int> order(size_t(before.EntryCount()));
  for (int i = 0; i < before.EntryCount(); ++i) order[size_t(i)] = i;
  auto less = [&](int a, int b) { return SortKeyOf(before[a]) < SortKeyOf(before[b]); };
  std::sort(order.begin(), order.end(), less);
  std::vector<bool> used(order.size(), false);
  for (int slot = 0; slot < after.EntryCount(); ++slot) {
    AlarmEntry& e = after[slot];
    auto first = std::lower_bound(order.begin(), order.end(), slot, [&](int a, int) {
      return SortKeyOf(before[a]) < SortKeyOf(e);
    });
    const AlarmEntry bare = WithoutMarks(e);
    for (auto it = first; it != order.end() && SortKeyOf(before[*it]) == SortKeyOf(e); ++it) {
      if (used[size_t(*it)] || WithoutMarks(before[*it]) != bare) continue;
      used[size_t(*it)] = true;
      e.PreBellFiredAt = std::max(e.PreBellFiredAt, before[*it].PreBellFiredAt);
      e.MainBellFiredAt = std::max(e.MainBellFiredAt, before[*it].MainBellFiredAt);
      break;
    }
  }
}

}  // namespace wb
