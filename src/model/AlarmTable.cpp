#include "model/AlarmTable.h"

#include "model/Assert.h"

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

}  // namespace wb
