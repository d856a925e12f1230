// The snooze: an alarm the user put off from its window rings again, as a main bell of the same
// entry, a few minutes later. The rules over a snooze, the table and the present moment are
// here, as pure functions (when it rings, when it is cancelled or dropped, which one comes
// next); keeping snoozes across restarts is the state file's (storage/StateFile.h).
// Portable: no operating-system header.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/Moment.h"

namespace wb {

class DaysOff;

// The delays the alarm window offers, in minutes, in the order of its list.
inline constexpr std::array<int, 7> kSnoozeDelays = {1, 3, 5, 10, 15, 30, 60};
inline constexpr int kDefaultSnoozeMinutes = 5;
// A snooze that could not ring for this long (the PC off, asleep, the program ended) is
// dropped rather than rung: an alarm half a day late is no reminder any more.
inline constexpr int64_t kSnoozeDropLateSeconds = 12 * 3600;

// "5分": the list's text of a delay.
std::string SnoozeDelayLabel(int minutes);
// The delay's row in the list, -1 for a delay the list does not offer.
int SnoozeDelayRow(int minutes);
// A remembered delay the list offers, else the default (a hand-edited settings file).
int ValidSnoozeMinutes(int minutes);

struct Snooze {
  int slot = -1;             // the entry's slot when it was snoozed
  uint64_t fingerprint = 0;  // EntryFingerprint of that entry: finds it again after a slot moves
  // Kept in UTC: the delay is elapsed time, which a change of daylight saving or of the zone
  // does not stretch or shrink.
  UtcSecond snoozedAt{};// the press of スヌーズ
  UtcSecond ringAt{};   // snoozedAt + the delay
  std::string message;       // the entry's message, for the history after the entry is gone
  // How many times in a row the alarm has been put off, this snooze included, for the alarm
  // window to say so when it rings again. Not kept in the state file: after a restart the
  // count starts again at one.
  int times = 1;
  // The UTC offset at the press: the entry's own bells that cancel the snooze are those after
  // the press on the wall clock as it read then, not an hour the clock lives again.
  int32_t pressOffsetSeconds = 0;
  bool operator==(const Snooze&) const = default;
};

// The snooze of the entry in `slot` pressed at `pressedAt` for `minutes` (to the second: the
// delay counts from the press).
Snooze MakeSnooze(const AlarmTable& table, int slot, const Moment& pressedAt, int minutes);

// Adds a snooze; a snooze of the same entry before it is replaced (one snooze per entry).
void AddSnooze(std::vector<Snooze>& snoozes, Snooze snooze);

// The slot of the snoozed entry now: its own slot while that holds the same entry, else the
// slot of an entry with the same fingerprint (an earlier entry was deleted), else -1 (the
// entry was changed or deleted).
int SnoozedSlot(const AlarmTable& table, const Snooze& snooze);

// The entry's own next bell (main bell or pre-bell, by its bell mode, as the due check rings it:
// Bells.h) after `after` and up to `until`; 0 when none. With `daysOff`, a bell that rests on a
// day off is none: it does not take the snooze's place.
LocalSecond ScheduledBellBetween(const AlarmEntry& entry, LocalSecond after, LocalSecond until,
                                 const DaysOff* daysOff = nullptr);

enum class SnoozeVerdict {
  Wait,       // its time has not come
  Ring,       // ring it now
  Dropped,    // it would ring more than kSnoozeDropLateSeconds late
  BellFirst,  // the entry's own next bell came before it: that bell rang instead
  EntryGone,  // the entry was changed or deleted
};

// What becomes of a snooze at `now`. `slot` receives SnoozedSlot. The entry's own bells are
// looked for on the wall clock as it reads now.
SnoozeVerdict ReviewSnooze(const AlarmTable& table, const Snooze& snooze, const Moment& now, int* slot = nullptr,
                           const DaysOff* daysOff = nullptr);

// The snoozes' next ring not behind `now` (the tray tip and the wake timer), as a local second
// under `now`'s offset; 0 when none.
LocalSecond NextSnoozeRing(const std::vector<Snooze>& snoozes, const Moment& now);

// The earlier of two bell times, where 0 means none.
constexpr LocalSecond EarlierBell(LocalSecond a, LocalSecond b) { return a == 0 ? b : b == 0 ? a : b < a ? b : a; }

}  // namespace wb
