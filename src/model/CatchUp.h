// The catch-up after a gap in watching (sleep, hibernation, a clock set forward, a stalled
// process, the program not running): which bells fell due while nobody watched, which of them
// still ring now and which go into the one quiet notice, and the per-PC memory that keeps any
// bell from ringing or being reported twice. Pure functions of the table, a state value and two
// moments; the calendar is the due check's own (DueCheck.h). Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/Moment.h"

namespace wb {

class DaysOff;

// A catch-up reaches back at most this far: a PC that was off for a month does not raise a
// month of bells.
inline constexpr int64_t kCatchUpMaxSeconds = 7 * 86400;
// A bell at most this late still rings as usual; an older one is only reported.
inline constexpr int64_t kRingLateSeconds = 120;
// Two ticks further apart than this mean the monitor was not watching in between.
inline constexpr int64_t kTickGapSeconds = 90;

// What identifies an entry across restarts and edits: a hash of its set time (to the second),
// repetition kind, weekday mask, bell mode, lead and message. An edited entry gets a new one,
// so what was handled for the old entry never silences the new one.
uint64_t EntryFingerprint(const AlarmEntry& entry);

// The last bell of one kind (main bells, or pre-bells) handled for an entry.
struct HandledMoment {
  LocalSecond due = 0;  // the local second it fell due; 0 = none handled
  // The UTC second (Moment::utc) at which it was handled; 0 = not known (an older state file). A change of daylight saving moves the local clock but not this
  // one, so only a UTC clock that went back (a clock put right) unmakes a record.
  UtcSecond utc{};
  bool operator==(const HandledMoment&) const = default;
};

// The ledger of the entry in `slot`: the one record that says whether a bell was handled
// (rung, or reported missed). Every bell of a kind that fell due up to its moment counts as
// handled: an entry's bells are rung and reported in the order of their due moments (the due
// check walks forward, the catch-up takes a whole gap). The kinds are kept apart because a
// clock put right may unmake the later one alone (a main bell rung after the pre-bell).
struct HandledBell {
  int slot = 0;
  uint64_t fingerprint = 0;
  HandledMoment main, pre;
  // The later of the two: the one moment the [Handled] lines of the state file keep.
  LocalSecond Latest() const { return pre.due > main.due ? pre.due : main.due; }
  bool operator==(const HandledBell&) const = default;
};

// Which bells a record is about.
enum class BellKinds { Main, Pre, Both };

// The per-PC memory of the catch-up, kept in the state file (storage/StateFile.h).
struct CatchUpState {
  // The moment up to which the monitor is known to have watched; 0 = unknown (no state file,
  // a damaged one): then nothing counts as missed.
  LocalSecond watchedUntil = 0;
  // At most one per slot, in slot order (RecordHandled and ApplyCatchUp keep it so).
  std::vector<HandledBell> handled;
  bool operator==(const CatchUpState&) const = default;
};

// Notes in `state` that the bells `kinds` of `slot` up to the one that fell due at the local
// second `due` were handled at the UTC second `handledUtc`. The record of that slot is replaced
// when the entry changed.
void RecordHandled(CatchUpState& state, const AlarmTable& table, int slot, LocalSecond due, UtcSecond handledUtc = {},
                   BellKinds kinds = BellKinds::Both);

// Whether the main bell (or pre-bell) of `slot` that falls due at the local second `dueSecond`
// was handled already: the question the due check's bell must pass before it is presented, so
// that a restart, a clock moved back by daylight saving or a bell the catch-up reported never
// rings twice.
bool AlreadyHandled(const CatchUpState& state, const AlarmTable& table, int slot, LocalSecond dueSecond, bool main);

// Drops the records a clock that was ahead left behind: handled at a UTC second later than
// `now` by more than the slack (kMarkSlackSeconds), or, for a record of unknown UTC second,
// due later than `now`'s local second by more than that. Returns how many were dropped (a main and
// a pre-bell record count one each). Called where the clock may have been put right: at
// start-up and when the UTC clock went back.
int ForgetRecordsAhead(CatchUpState& state, const Moment& now);

// Re-keys the records to the table's present slots (an entry that moved up when an earlier one
// was deleted keeps its record, found by its fingerprint) and drops those of entries that are
// gone, so the state file does not grow with every edit.
void CompactHandled(CatchUpState& state, const AlarmTable& table);

// A bell still young enough to ring now (at most kRingLateSeconds late).
struct RingNow {
  int slot = -1;
  LocalSecond moment = 0;  // when it fell due
  bool main = false;       // the main bell; else the pre-bell
  bool operator==(const RingNow&) const = default;
};

// One row of the notice: the newest missed bell of one entry.
struct MissedRow {
  int slot = -1;
  LocalSecond moment = 0;  // when that bell fell due
  bool main = false;   // a main bell (or a quick timer that ran out); else a pre-bell
  int count = 1;       // how many of this entry's bells were missed in the gap (the notice's "×N")
  std::string message;  // the entry's message, copied so the notice outlives table edits
  bool operator==(const MissedRow&) const = default;
};

struct CatchUpResult {
  // The gap that was looked at: bells falling due after `from` and up to `to` (the present).
  LocalSecond from = 0, to = 0;
  std::vector<RingNow> ringNow;  // in slot order, at most one per entry
  std::vector<MissedRow> missed;  // newest first (then by slot), one per entry
  // Per entry with a bell found: the newest main bell and pre-bell found (0 = none), each kind
  // recorded by its own bells; a pre-bell left out because its main bell passed is settled at
  // its own moment.
  struct Settled {
    int slot = -1;
    LocalSecond main = 0, pre = 0;
  };
  std::vector<Settled> settled;
};

struct CatchUpLimits {
  int64_t maxGapSeconds = kCatchUpMaxSeconds;
  // Below 0, nothing rings now and every bell found is reported: for a minute in which more
  // bells fell due than its ticks could present (one a tick), a catch-up over that minute with
  // this limit lists the ones never presented (they carry no mark).
  int64_t ringLateSeconds = kRingLateSeconds;
  // The days an entry that rests on days off does not ring (none when null): a bell the due
  // check would not have rung is neither rung late nor reported missed.
  const DaysOff* daysOff = nullptr;
};

// The bells that fell due after the local second `from` (the later of it and `now` less the cap)
// and up to the local second `now`,
// exactly as the due check would have rung them (Bells.h), that are newer than the ledger's
// record of their kind for the entry and not already marked rung by the entry's
// MainBellFiredAt / PreBellFiredAt (a mark later than `now` counts as not rung). A bell at most
// ringLateSeconds late goes to ringNow (per entry only the newest; a pre-bell together with its
// main bell rings as the main bell); older ones are collapsed per entry into one MissedRow. A
// pre-bell whose main bell has already passed is not listed separately (the main bell is), unless
// the entry rings only pre-bells. `from` of 0 (nothing known) or not before `now` (a clock set
// back) gives an empty result. Nothing in the table or the state changes.
CatchUpResult FindMissedBells(const AlarmTable& table, const CatchUpState& state, LocalSecond from, LocalSecond now,
                              const CatchUpLimits& limits = {});

// The usual call: from the state's watchedUntil up to `now`.
inline CatchUpResult FindMissedSinceWatched(const AlarmTable& table, const CatchUpState& state, const Moment& now,
                                            const CatchUpLimits& limits = {}) {
  return FindMissedBells(table, state, state.watchedUntil, now.Local(), limits);
}

// What ApplyCatchUp does with the ring-now bells.
enum class RingNowTaken {
  Now,        // handled at once, as the tool's report of a gap takes them
  WhenShown,  // left due: the monitor records each when it shows it (RecordShownLate), so a
              // process ended while they wait in its queue leaves them to the next start
};

// Takes a result as done: every ring-now bell and every missed row becomes its entry's last
// handled occurrence (handled at `now`'s UTC second), the ring-now bells get their marks
// (MainBellFiredAt / PreBellFiredAt = `now`'s local date, as the due check marks what it
// presents, so it does not ring them again in their minute), and watchedUntil becomes `now`. Calling
// FindMissedBells again with the same moments then finds nothing: a resume delivered twice
// rings nothing twice.
void ApplyCatchUp(AlarmTable& table, CatchUpState& state, const CatchUpResult& result, const Moment& now,
                  RingNowTaken ringNow = RingNowTaken::Now);
// A ring-now bell left due by ApplyCatchUp(WhenShown) is shown now: recorded handled at `now`'s
// UTC second and marked as the due check marks what it presents.
void RecordShownLate(AlarmTable& table, CatchUpState& state, const RingNow& bell, const Moment& now);

// How the present moment stands to the previous tick of the monitor, on the local clock (a
// change of daylight saving is a step of that clock; the ledger keeps it from ringing anything
// twice): the cheap comparison the one-second tick makes. Forward: a gap of more than kTickGapSeconds (a stall, a clock set
// forward): run the catch-up from `previousTick`. Back: the clock went back: put the marks right
// (PutRightFutureMarks) and let watchedUntil follow the clock.
enum class TickGap { None, Forward, Back };
TickGap ClassifyTickGap(LocalSecond previousTick, LocalSecond now);

// The text of a notice row, as the notice's list box and `wakebell-tool missed` show it:
// "yyyy/mm/dd hh:nn  message", with "  ×N" after it when N > 1 bells were missed; a pre-bell
// is marked "（予鈴）" after the time.
std::string MissedRowText(const MissedRow& row);

}  // namespace wb
