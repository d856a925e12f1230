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

Snooze MakeSnooze(const AlarmTable& table, int slot, const Moment& pressedAt, int minutes) {
  const AlarmEntry& entry = table[slot];
  Snooze s{slot, EntryFingerprint(entry), pressedAt.utc, pressedAt.utc + int64_t(minutes) * 60, entry.Message};
  s.pressOffsetSeconds = pressedAt.offsetSeconds;
  return s;
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

LocalSecond ScheduledBellBetween(const AlarmEntry& entry, LocalSecond after, LocalSecond until,
                                 const DaysOff* daysOff) {
  const Bell bell = FirstBellFrom(entry, after + 1, until, daysOff);
  return bell.second == kNoBellYet ? 0 : bell.second;
}

SnoozeVerdict ReviewSnooze(const AlarmTable& table, const Snooze& snooze, const Moment& now, int* slotOut,
                           const DaysOff* daysOff) {
  const int slot = SnoozedSlot(table, snooze);
  if (slotOut) *slotOut = slot;
  if (slot < 0) return SnoozeVerdict::EntryGone;
  const UtcSecond present = now.utc, ring = snooze.ringAt;
  // Only a bell that has come counts: until then the snooze still stands (and shows in the tip).
  // The entry's bells are wall-clock times: from the press as the clock read then, to now (or
  // the ring) as it reads now. A clock put back an hour in between lives no bell again here.
  const UtcSecond until = std::min(present, ring);
  if (ScheduledBellBetween(table[slot], snooze.snoozedAt.Count() + snooze.pressOffsetSeconds, now.LocalOf(until),
                           daysOff) != 0)
    return SnoozeVerdict::BellFirst;
  if (present < ring) return SnoozeVerdict::Wait;
  // A clock set back before the press cannot make it late; it simply rings.
  return present - ring > kSnoozeDropLateSeconds ? SnoozeVerdict::Dropped : SnoozeVerdict::Ring;
}

LocalSecond NextSnoozeRing(const std::vector<Snooze>& snoozes, const Moment& now) {
  LocalSecond best = 0;
  for (const Snooze& s : snoozes)
    if (s.ringAt >= now.utc) best = EarlierBell(best, now.LocalOf(s.ringAt));
  return best;
}

}  // namespace wb
