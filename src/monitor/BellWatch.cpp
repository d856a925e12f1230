#include "monitor/BellWatch.h"

#include <algorithm>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "editor/EditorWindow.h"
#include "model/Bells.h"
#include "model/DayMath.h"
#include "model/NextBell.h"
#include "model/Snooze.h"
#include "monitor/MissedNoticeWindow.h"
#include "storage/Settings.h"

namespace wb {
namespace {

std::string StatePath() { return StatePathIn(App().programFolder); }

}  // namespace

void BellWatch::Start(const Moment& now, bool paused) {
  TrimHistory(HistoryPath(), LocalDateOf(now));
  LogHistory(HistoryEvent::Started);
  StateFileStatus status = StateFileStatus::Missing;
  state_ = ReadStateFile(StatePath(), &status, now.offsetSeconds);
  // The snoozes of the last run go on; the first ticks ring, drop or cancel them by their rules.
  TheAlarm().ResumeSnoozes(state_.snoozes);
  wakeEnabled_ = ReadSettings<ProgramFolderSettings>(ProgramIniPath(App().programFolder)).wakeForBells;
  // A clock that was ahead when the last run (or the editor) made these may have been put
  // right while the program was not running: its records and marks would silence real bells
  // once their minute comes. Bells handled in this very minute stay handled through the
  // ledger, which the due check asks before it presents anything.
  ForgetRecordsAhead(state_.catchUp, now);
  if (PutRightFutureMarks(App().table, now.Local()) > 0) RefreshListIfLoaded();
  lastTick_ = now.Local();
  lastMinute_ = now.LocalMinute();
  // The file's moment trails what the last run handled already (WriteState).
  floor_ = state_.catchUp.watchedUntil;
  // The time the program was not running, as after a sleep. A state file this run cannot write
  // would report the same bells again at every start: it is not caught up from.
  if (paused || !App().programFolderWritable)
    state_.catchUp.watchedUntil = now.Local();
  else
    CatchUpNow(now, paused);
  // The due check answers for the whole of the present minute, also its seconds before the
  // start: a process ended before it showed them leaves them to the next start's catch-up.
  floor_ = paused ? now.Local() : now.LocalMinute() * 60 - 1;
  // Nor may a start in the minute's last second leave them to a tick that never comes in it:
  // the first minute change looks the minute over.
  presentedThisMinute_ = !paused;
  WriteState();
  Rearm(now, paused);
}

LocalSecond BellWatch::DueMomentOf(const DueResult& due, const Moment& now) const {
  const AlarmEntry& e = App().table[due.slot];
  // A quick timer falls due at its own second and rings up to a minute late; every other bell
  // at the start of its minute.
  if (e.RepeatKind == kRepeatQuick) return SecondNumber(e.AlarmTime);
  const int64_t minute = now.LocalMinute();
  // A pre-bell alone in the set minute may stand for its own minute's bell (Bells.h); it is
  // recorded at that moment, as the catch-up counts it.
  if (due.pre && !due.main)
    return PreBellOwnSecond(e, DayTimeOf(e.AlarmTime), minute * 60, &daysOff_);
  return minute * 60;
}

bool BellWatch::AlreadyHandled(const DueResult& due, const Moment& now) const {
  // Shown together, a pre-bell and its main bell are the main bell's to answer for.
  return wb::AlreadyHandled(state_.catchUp, App().table, due.slot, DueMomentOf(due, now), due.main);
}

void BellWatch::Tick(const Moment& now, bool paused) {
  // before any write: nothing of a pause is made up after a restart
  if (paused) floor_ = now.Local();
  const TickGap gap = ClassifyTickGap(lastTick_, now.Local());
  if (gap == TickGap::Forward) {
    // A stall or a clock set forward: the ticks in between never came.
    CatchUpNow(now, paused);
    Rearm(now, paused);
  } else if (gap == TickGap::Back) {
    ClockWentBack(now, paused);
    Rearm(now, paused);
  } else if (const int64_t minute = now.LocalMinute(); minute != lastMinute_) {
    // A stall of over a minute that crossed one boundary may have taken a quick timer's whole
    // minute of grace with it: the minute is looked over as one the ticks did not fully see.
    const bool stalled = now.Local() - lastTick_ > 60;
    if (!paused && (presentedThisMinute_ || minute - lastMinute_ > 1 || stalled)) CheckMinuteOverflow(now);
    presentedThisMinute_ = false;
    state_.catchUp.watchedUntil = now.Local();
    WriteState();
  }
  lastTick_ = now.Local();
  lastMinute_ = now.LocalMinute();
  state_.catchUp.watchedUntil = now.Local();
}

void BellWatch::ClockWentBack(const Moment& now, bool paused) {
  // The minute the clock left may have had more bells than its ticks showed (one a tick): the
  // minute change that would have looked for them does not come now. They are reported; rung
  // now, they would show a time the clock has not reached.
  if (!paused && presentedThisMinute_) {
    CatchUpLimits limits;
    limits.daysOff = &daysOff_;
    limits.ringLateSeconds = -1;
    const CatchUpResult result = FindMissedBells(App().table, state_.catchUp, lastMinute_ * 60 - 1, lastTick_, limits);
    if (!result.missed.empty()) TakeCatchUp(result, now);
  }
  presentedThisMinute_ = false;
  // Marks now in the future would silence real bells. The records go only when the UTC clock
  // itself went back (a clock put right): the end of daylight saving moves the local clock
  // back an hour over bells that were handled, and the ledger keeps them handled.
  if (PutRightFutureMarks(App().table, now.Local()) > 0) RefreshListIfLoaded();
  ForgetRecordsAhead(state_.catchUp, now);
  floor_ = now.Local();
  // On disk at once: a file that still says it watched up to the time the clock left would
  // make the next start, should this process end before the minute's write, skip everything
  // from here to that time.
  state_.catchUp.watchedUntil = now.Local();
  WriteState();
}

void BellWatch::NoteRang(int slot, const DueResult& due, const Moment& now) {
  presentedThisMinute_ = true;
  const LocalSecond dueMoment = DueMomentOf({slot, due.main, due.pre}, now);
  const UtcSecond utc = now.utc;
  const BellKinds kinds = due.main && due.pre ? BellKinds::Both : due.main ? BellKinds::Main : BellKinds::Pre;
  RecordHandled(state_.catchUp, App().table, slot, dueMoment, utc, kinds);
  // A main bell settles its own pre-bell: one that did not ring before it is left out (as the
  // catch-up leaves it out), never rung after it. One that rang keeps its own record, so a
  // clock put right over the main bell alone rings the main bell alone again.
  const AlarmEntry& e = App().table[slot];
  if (due.main && !due.pre && RingsPreBell(e.BellMode) && e.RepeatKind != kRepeatQuick) {
    const LocalSecond own = dueMoment - int64_t(e.PreBellMinutes) * 60;
    if (!wb::AlreadyHandled(state_.catchUp, App().table, slot, own, false))
      RecordHandled(state_.catchUp, App().table, slot, own, utc, BellKinds::Pre);
  }
  // On disk before the alarm shows: a power cut or an ended process must not ring it again.
  WriteState();
  LogHistory(due.main ? HistoryEvent::Rang : HistoryEvent::PreBell, dueMoment, App().table[slot].Message);
  Rearm(now, false);
}

bool BellWatch::TakePendingRing(RingNow& bell, const Moment& now) {
  while (!pending_.empty()) {
    bell = pending_.front();
    pending_.pop_front();
    // The editor may have shortened the table since the catch-up; the bell may have rung since
    // (the due check's own minute); and a main bell of the entry that rang since (its minute
    // came while this one waited) leaves this one behind.
    if (bell.slot < 0 || bell.slot >= App().table.EntryCount() ||
        wb::AlreadyHandled(state_.catchUp, App().table, bell.slot, bell.moment, bell.main) ||
        wb::AlreadyHandled(state_.catchUp, App().table, bell.slot, bell.moment + 1, true))
      continue;
    // Handled from here on, and on disk before it shows, as the due check's bells are.
    RecordShownLate(App().table, state_.catchUp, bell, now);
    // A bell that waited past the time a late bell still rings is reported, not rung.
    if (now.Local() - bell.moment > kRingLateSeconds) {
      WriteState();
      ReportMissed({MissedRow{bell.slot, bell.moment, bell.main, 1, App().table[bell.slot].Message}});
      continue;
    }
    presentedThisMinute_ = true;
    WriteState();
    LogHistory(bell.main ? HistoryEvent::Rang : HistoryEvent::PreBell, bell.moment, App().table[bell.slot].Message);
    return true;
  }
  return false;
}

void BellWatch::PauseStarting(const Moment& now) {
  // What fell due before the pause but was not shown yet (a crowded minute, bells a catch-up
  // found) is reported now: after the pause it would be made up as a bell of the pause.
  std::vector<MissedRow> rows;
  for (const RingNow& bell : pending_) {
    if (bell.slot < 0 || bell.slot >= App().table.EntryCount() ||
        wb::AlreadyHandled(state_.catchUp, App().table, bell.slot, bell.moment, bell.main))
      continue;
    RecordHandled(state_.catchUp, App().table, bell.slot, bell.moment, now.utc,
                  bell.main ? BellKinds::Main : BellKinds::Pre);
    rows.push_back({bell.slot, bell.moment, bell.main, 1, App().table[bell.slot].Message});
  }
  pending_.clear();
  CatchUpLimits limits;
  limits.daysOff = &daysOff_;
  limits.ringLateSeconds = -1;
  const CatchUpResult result = FindMissedBells(App().table, state_.catchUp, lastMinute_ * 60 - 1, now.Local(), limits);
  ApplyCatchUp(App().table, state_.catchUp, result, now);
  rows.insert(rows.end(), result.missed.begin(), result.missed.end());
  state_.catchUp.watchedUntil = now.Local();
  floor_ = now.Local();
  WriteState();
  ReportMissed(rows);
  if (!rows.empty()) RefreshListIfLoaded();
}

void BellWatch::OnPowerEvent(PowerEvent event, const Moment& now, bool paused) {
  switch (event) {
    case PowerEvent::Suspend:
      // The process may never see another tick: the state as of now, and a timer for the
      // table as it stands (the editor may have changed it since the last arming).
      state_.catchUp.watchedUntil = WatchedUpTo(now);
      WriteState();
      Rearm(now, paused);
      return;
    case PowerEvent::Resume:
      NoteWokeUs(now);
      CatchUpNow(now, paused);
      break;
    case PowerEvent::TimeChange:
      if (const TickGap gap = ClassifyTickGap(lastTick_, now.Local()); gap == TickGap::Forward) {
        CatchUpNow(now, paused);
      } else if (gap == TickGap::Back) {
        ClockWentBack(now, paused);
        state_.catchUp.watchedUntil = now.Local();
      } else {
        // A small step (or only the zone): the ticks see it as usual; only the UTC moment of
        // the wake timer's local time may have moved.
        Rearm(now, paused);
        return;
      }
      break;
  }
  lastTick_ = now.Local();
  lastMinute_ = now.LocalMinute();
  Rearm(now, paused);  // a new zone moves the UTC moment of the same local time
}

void BellWatch::Rearm(const Moment& now, bool paused) {
  IPower* power = Svc().power;
  if (!power) return;
  const LocalSecond after = now.Local() + 1;
  const LocalSecond next =
      wakeEnabled_ && !paused
          ? EarlierBell(NextBellOfTable(App().table, after, kNextBellHorizonDays, &daysOff_),
                        NextSnoozeRing(TheAlarm().Snoozes(), MomentAtLocal(after, now.offsetSeconds)))
          : 0;
  if (next == 0) {
    power->CancelWakeTimer();
    armedWake_ = armedBell_ = 0;
    return;
  }
  const LocalSecond wake = WakeMomentFor(next, now.Local(), kWakeLeadSeconds);
  const WakeArm answer = power->ArmWakeTimer(DateOfLocal(wake));
  if (answer == WakeArm::Failed) {
    armedWake_ = armedBell_ = 0;
    return;
  }
  armedWake_ = wake;
  armedBell_ = next;
  if (answer == WakeArm::NotSupported && !wakeNotPossibleLogged_) {
    wakeNotPossibleLogged_ = true;
    LogHistory(HistoryEvent::WakeNotPossible);
  }
}

void BellWatch::End(const Moment& now) {
  // After a gap no tick has seen yet (a stall just before 終了) the watch ends where the ticks
  // did: the next start catches the gap up instead of skipping it.
  state_.catchUp.watchedUntil = WatchedUpTo(now);
  WriteState();
  if (Svc().power) Svc().power->CancelWakeTimer();
  armedWake_ = armedBell_ = 0;
  LogHistory(HistoryEvent::Ended);
}

void BellWatch::CatchUpNow(const Moment& now, bool paused) {
  if (paused) {
    // Bells of a pause are not made up, as the due check never made them up; nor after a
    // restart, so the file hears of it at once.
    state_.catchUp.watchedUntil = now.Local();
    floor_ = now.Local();
    WriteState();
    return;
  }
  CatchUpLimits limits;
  limits.daysOff = &daysOff_;
  // From where the watch may have left bells unshown (a crowded minute shows one a tick): the
  // ledger keeps what was shown from ringing again.
  TakeCatchUp(FindMissedBells(App().table, state_.catchUp, TrailingWatch(), now.Local(), limits), now);
  WriteState();
}

void BellWatch::CatchUpNewEntries(const std::vector<int>& newSlots, LocalSecond since, const Moment& now,
                                  bool paused) {
  // Bells of a pause are not made up, as the due check never made them up.
  if (paused || newSlots.empty()) return;
  CatchUpLimits limits;
  limits.daysOff = &daysOff_;
  const LocalSecond from = std::max(since, floor_);
  // The catch-up's walk is per entry: the entries that were here already are left out of its
  // answer, since the due check saw their bells (and the ledger holds what it rang).
  CatchUpResult result = FindMissedBells(App().table, state_.catchUp, from, now.Local(), limits);
  auto notNew = [&](int slot) { return !std::binary_search(newSlots.begin(), newSlots.end(), slot); };
  std::erase_if(result.ringNow, [&](const RingNow& r) { return notNew(r.slot); });
  std::erase_if(result.missed, [&](const MissedRow& r) { return notNew(r.slot); });
  std::erase_if(result.settled, [&](const CatchUpResult::Settled& s) { return notNew(s.slot); });
  if (result.settled.empty()) return;
  TakeCatchUp(result, now);
  WriteState();
}

void BellWatch::TakeCatchUp(const CatchUpResult& result, const Moment& at) {
  ApplyCatchUp(App().table, state_.catchUp, result, at, RingNowTaken::WhenShown);
  pending_.insert(pending_.end(), result.ringNow.begin(), result.ringNow.end());
  ReportMissed(result.missed);
  if (!result.ringNow.empty() || !result.missed.empty()) RefreshListIfLoaded();
}

// More bells fell due in the minute just over than its ticks could show (one a tick), or a
// whole minute had no tick at all: what the due check never presented goes into the notice
// (a full minute has no room left) or rings now (a skipped one still has).
void BellWatch::CheckMinuteOverflow(const Moment& now) {
  const int64_t minute = now.LocalMinute();
  const LocalSecond from = lastMinute_ * 60 - 1;
  const Moment until = MomentAtLocal(minute * 60 - 1, now.offsetSeconds);
  CatchUpLimits limits;
  limits.daysOff = &daysOff_;
  if (presentedThisMinute_ && minute - lastMinute_ == 1) limits.ringLateSeconds = -1;
  const CatchUpResult result = FindMissedBells(App().table, state_.catchUp, from, until.Local(), limits);
  if (result.ringNow.empty() && result.missed.empty()) return;
  TakeCatchUp(result, until);
}

void BellWatch::ReportMissed(const std::vector<MissedRow>& rows) {
  if (rows.empty()) return;
  for (const MissedRow& row : rows) LogHistory(HistoryEvent::Missed, row.moment, row.message);
  ui::TheForm<MissedNoticeWindow>().AddMissed(rows);
}

void BellWatch::WriteState() {
  CompactHandled(state_.catchUp, App().table);
  state_.snoozes = TheAlarm().Snoozes();
  if (!App().programFolderWritable) return;
  // The file's watched-until moment trails the clock by the time a bell may wait to be shown
  // (a crowded minute shows one a tick; the minute after reports the rest): a process ended
  // before it showed them leaves them to the next start's catch-up, and the ledger keeps what
  // was shown from ringing again. It never reaches back before a pause, a start or a clock
  // moved back, whose bells are not made up.
  StateFile written = state_;
  written.catchUp.watchedUntil = TrailingWatch();
  // Bells queued to be shown are not handled yet: a start after this process ends finds them.
  for (const RingNow& bell : pending_)
    if (written.catchUp.watchedUntil != 0) written.catchUp.watchedUntil = std::min(written.catchUp.watchedUntil, bell.moment - 1);
  WriteStateFile(StatePath(), written);
}

LocalSecond BellWatch::WatchedUpTo(const Moment& now) const {
  return ClassifyTickGap(lastTick_, now.Local()) == TickGap::Forward ? lastTick_ : now.Local();
}

LocalSecond BellWatch::TrailingWatch() const {
  const LocalSecond watched = state_.catchUp.watchedUntil;
  if (watched == 0) return 0;
  return std::min(std::max(floor_, watched - kRingLateSeconds), watched);
}

// A resume soon before the bell the timer was set for was most likely the timer's doing.
void BellWatch::NoteWokeUs(const Moment& now) {
  if (armedWake_ == 0) return;
  const LocalSecond at = now.Local();
  if (at >= armedWake_ - 30 && at <= armedBell_ + 300)
    LogHistory(HistoryEvent::WokePc, armedBell_);
}

void BellWatch::TableReloaded(const AlarmTable& before, const Moment& now, bool paused) {
  const AlarmTable& table = App().table;
  for (auto it = pending_.begin(); it != pending_.end();) {
    int moved = -1;
    if (it->slot >= 0 && it->slot < before.EntryCount()) {
      const uint64_t fingerprint = EntryFingerprint(before[it->slot]);
      for (int slot = 0; slot < table.EntryCount() && moved < 0; ++slot)
        if (EntryFingerprint(table[slot]) == fingerprint) moved = slot;
    }
    if (moved < 0) {
      it = pending_.erase(it);
      continue;
    }
    it->slot = moved;
    ++it;
  }
  CompactHandled(state_.catchUp, table);
  WriteState();
  Rearm(now, paused);
}

}  // namespace wb
