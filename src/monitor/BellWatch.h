// The monitor's watch over time: the catch-up after a gap (sleep, a clock change, a stall, the
// program not running), the bells it hands back to ring one per tick, the notice of the older
// ones, the wake timer for the next bell, and the state file that carries all this across
// restarts. Portable window logic: the system only through platform/ services.
#pragma once
#include <deque>
#include <vector>

#include "model/CatchUp.h"
#include "model/DueCheck.h"
#include "model/Holidays.h"
#include "model/Moment.h"
#include "platform/Services.h"
#include "storage/StateFile.h"

namespace wb {

// The wake timer fires this long before the bell, so that the PC is up when it falls due.
inline constexpr int kWakeLeadSeconds = 60;

class BellWatch {
 public:
  // The days off are the monitor's, read again while the watch runs.
  explicit BellWatch(const DaysOff& daysOff) : daysOff_(daysOff) {}

  // Start-up, once the table is loaded: the trim of the history, the state of the last run, and
  // the catch-up over the time the program was not running.
  void Start(const Moment& now, bool paused);
  // The cheap part of each tick: one comparison with the previous tick (a gap or a clock set
  // back is handled then), and once a minute the bells that found no tick to show them and the
  // state file.
  void Tick(const Moment& now, bool paused);
  // Whether the bell the due check found due for `slot` at `now` was handled already (rung or
  // reported, in this run or an earlier one): then it is not presented.
  bool AlreadyHandled(const DueResult& due, const Moment& now) const;
  // The due check presented the bell of `slot` at `now`: recorded, and on disk, before it shows.
  void NoteRang(int slot, const DueResult& due, const Moment& now);
  // A bell the catch-up handed back as still young enough to ring; false when none waits.
  // Asked on ticks whose due check presented nothing, so bells come one per tick.
  // Each is recorded handled as it is taken (`now`), not when it was found; one that waited past
  // kRingLateSeconds is reported instead of rung.
  bool TakePendingRing(RingNow& bell, const Moment& now);
  // 一時停止 was chosen: the bells due before it and not shown yet are reported.
  void PauseStarting(const Moment& now);
  void OnPowerEvent(PowerEvent event, const Moment& now, bool paused);
  // The table or the pause changed: the wake timer follows.
  void Rearm(const Moment& now, bool paused);
  // 終了, a close request, the end of the Windows session: the state written, the timer off.
  void End(const Moment& now);
  // The snoozes changed: the state file and the wake timer follow at once, so a snooze
  // survives the program ending before the next minute's write.
  void SnoozesChanged(const Moment& now, bool paused) {
    WriteState();
    Rearm(now, paused);
  }

  // The table was read again from a file changed elsewhere (`before` is the table it replaced):
  // the records and the bells still to ring follow their entries to their new slots by
  // fingerprint, those of entries that are gone are dropped, and the wake timer follows.
  void TableReloaded(const AlarmTable& before, const Moment& now, bool paused);
  // The bells of the reloaded table's new entries (`newSlots`, edited ones included) that fell
  // due since the file was last seen unchanged, `since`: nobody here rang or reported them.
  // Taken as the catch-up takes a gap: a young one rings, older ones go into the notice.
  void CatchUpNewEntries(const std::vector<int>& newSlots, LocalSecond since, const Moment& now, bool paused);

  const CatchUpState& State() const { return state_.catchUp; }
  LocalSecond ArmedWake() const { return armedWake_; }

 private:
  void CatchUpNow(const Moment& now, bool paused);
  // A catch-up's answer taken as done at `at`: recorded, young bells queued to ring one per
  // tick, older ones into the notice, an open editor's list refreshed.
  void TakeCatchUp(const CatchUpResult& result, const Moment& at);
  void ReportMissed(const std::vector<MissedRow>& rows);
  void CheckMinuteOverflow(const Moment& now);
  void WriteState();
  void NoteWokeUs(const Moment& now);
  void ClockWentBack(const Moment& now, bool paused);
  // The watched-until moment less the time a bell may wait to be shown, never before floor_:
  // where a catch-up starts, and what the state file keeps.
  LocalSecond TrailingWatch() const;
  // `now`, unless the ticks have not come for longer than a gap: then the last tick, so that
  // what fell due since is caught up rather than taken as watched.
  LocalSecond WatchedUpTo(const Moment& now) const;
  // The local second the bell the due check found at `now` fell due.
  LocalSecond DueMomentOf(const DueResult& due, const Moment& now) const;

  const DaysOff& daysOff_;
  StateFile state_;
  LocalSecond lastTick_ = 0;
  LocalSecond floor_ = 0;        // the start, the last paused tick or the last clock moved back
  int64_t lastMinute_ = 0;       // minute number of the previous tick
  bool presentedThisMinute_ = false;
  std::deque<RingNow> pending_;  // caught-up bells still to ring, one per tick
  bool wakeEnabled_ = true;
  bool wakeNotPossibleLogged_ = false;
  LocalSecond armedWake_ = 0;    // the wake timer's moment, 0 when cancelled
  LocalSecond armedBell_ = 0;    // the bell it was set for
};

}  // namespace wb
