#include "model/Snooze.h"

#include <algorithm>

#include "model/Bells.h"
#include "model/CatchUp.h"

namespace wb {

std::string SnoozeDelayLabel(int minutes) { return std::to_string(minutes) + "分"; }

int SnoozeDelayRow(int minutes) {
  const auto it = std::find(kSnoozeDelays.begin(), kSnoozeDelays.end(), minutes);
  return it == kSnoozeDelays.end() ? -1 : int(it - kSnoozeDelays.begin());
}

int ValidSnoozeMinutes(int minutes) { return SnoozeDelayRow(minutes) >= 0 ? minutes : kDefaultSnoozeMinutes; }

Snooze MakeSnooze(const AlarmTable& table, int slot, OleDate pressedAt, int minutes) {
  const AlarmEntry& entry = table[slot];
  const int64_t press = SecondNumber(pressedAt);
  return {slot, EntryFingerprint(entry), FromSecondNumber(press), FromSecondNumber(press + int64_t(minutes) * 60),
          entry.Message};
}

void AddSnooze(std::vector<Snooze>& snoozes, Snooze snooze) {
  std::erase_if(snoozes, [&](const Snooze& s) { return s.slot == snooze.slot && s.fingerprint == snooze.fingerprint; });
  snoozes.push_back(std::move(snooze));
}

int SnoozedSlot(const AlarmTable& table, const Snooze& snooze) {
  const int count = table.EntryCount();
  if (snooze.slot >= 0 && snooze.slot < count && EntryFingerprint(table[snooze.slot]) == snooze.fingerprint)
    return snooze.slot;
  // A deletion before it moves the entry to a lower slot; look there first.
  for (int slot = std::min(snooze.slot, count) - 1; slot >= 0; --slot)
    if (EntryFingerprint(table[slot]) == snooze.fingerprint) return slot;
  for (int slot = std::max(snooze.slot + 1, 0); slot < count; ++slot)
    if (EntryFingerprint(table[slot]) == snooze.fingerprint) return slot;
  return -1;
}

OleDate ScheduledBellBetween(const AlarmEntry& entry, OleDate after, OleDate until, const DaysOff* daysOff) {
  const Bell bell = FirstBellFrom(entry, SecondNumber(after) + 1, SecondNumber(until), daysOff);
  return bell.second == kNoBellYet ? 0 : FromSecondNumber(bell.second);
}

SnoozeVerdict ReviewSnooze(const AlarmTable& table, const Snooze& snooze, OleDate now, int* slotOut,
                           const DaysOff* daysOff) {
  const int slot = SnoozedSlot(table, snooze);
  if (slotOut) *slotOut = slot;
  if (slot < 0) return SnoozeVerdict::EntryGone;
  const int64_t present = SecondNumber(now), ring = SecondNumber(snooze.ringAt);
  // Only a bell that has come counts: until then the snooze still stands (and shows in the tip).
  const OleDate until = FromSecondNumber(std::min(present, ring));
  if (ScheduledBellBetween(table[slot], snooze.snoozedAt, until, daysOff) != 0) return SnoozeVerdict::BellFirst;
  if (present < ring) return SnoozeVerdict::Wait;
  // A clock set back before the press cannot make it late; it simply rings.
  return present - ring > kSnoozeDropLateSeconds ? SnoozeVerdict::Dropped : SnoozeVerdict::Ring;
}

OleDate NextSnoozeRing(const std::vector<Snooze>& snoozes, OleDate now) {
  OleDate best = 0;
  const int64_t present = SecondNumber(now);
  for (const Snooze& s : snoozes)
    if (SecondNumber(s.ringAt) >= present) best = EarlierBell(best, s.ringAt);
  return best;
}

OleDate EarlierBell(OleDate a, OleDate b) {
  if (a == 0) return b;
  if (b == 0) return a;
  return LinearSeconds(b) < LinearSeconds(a) ? b : a;
}

}  // namespace wb
