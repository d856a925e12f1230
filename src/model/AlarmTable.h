// The alarm table: EntryCount live entries in slots 0..EntryCount-1 plus one spare slot.
// The spare slot is a real element, so the data file can write EntryCount + 1 records as they are.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <vector>

#include "model/AlarmEntry.h"

namespace wb {

class AlarmTable {
 public:
  static constexpr int kMaxEntries = 32767;  // EntryCount is a signed 16-bit count

  AlarmTable() : slots_(1) {}

  int16_t EntryCount() const { return int16_t(slots_.size() - 1); }
  int SlotCount() const { return int(slots_.size()); }

  // Bounds-checked access to any slot 0..EntryCount (the spare slot included).
  AlarmEntry& operator[](int slot);
  const AlarmEntry& operator[](int slot) const;

  // Appends an entry in the slot that was spare and adds a new spare slot; returns its slot,
  // or -1 when the table is full (the count would overflow).
  int Add(const AlarmEntry& e);
  // Removes the entry at slot (0..EntryCount-1), moving the later ones down in order.
  void Delete(int slot);
  // Empty table: EntryCount 0, one zero spare slot.
  void Clear();
  // Replaces all slots; `slots` holds count + 1 records (at least one).
  void Assign(std::vector<AlarmEntry> slots);
  const std::vector<AlarmEntry>& Slots() const { return slots_; }

 private:
  std::vector<AlarmEntry> slots_;
};

// Reading the data file again (the editor does at every opening) puts back the marks of bells
// as the file last stored them, which may be before a bell rang: that bell would ring a second
// time within its minute. Each entry of `after` that is also in `before` (every member but the
// marks equal, each entry of `before` matched once) keeps the later of its two marks.
void CarryRungMarks(const AlarmTable& before, AlarmTable& after);

}  // namespace wb
