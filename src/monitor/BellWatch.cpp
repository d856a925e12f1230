#include "monitor/BellWatch.h"

#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "editor/EditorWindow.h"
#include "model/DayMath.h"
#include "model/NextBell.h"
#include "model/Snooze.h"
#include "monitor/MissedNoticeWindow.h"
#include "storage/Settings.h"

namespace wb {
namespace {

int64_t MinuteNumber(OleDate moment) { return FloorDiv(SecondNumber(moment), 60); }

std::string StatePath() { return StatePathIn(App().programFolder); }

}  // namespace

void BellWatch::Start(OleDate now, bool paused) {
  TrimHistory(HistoryPath(), now);
  LogHistory(HistoryEvent::Started);
  StateFileStatus status = StateFileStatus::Missing;
  state_ = ReadStateFile(StatePath(), &status);
  // The snoozes of the last run go on; the first ticks ring, drop or cancel them by their rules.
  App().snooze.snoozes = state_.snoozes;
  wakeEnabled_ = ReadWakeEnabled(ProgramIniPath(App().programFolder));
  // A bell the last run handled in this very minute carries no mark in the data file (only the
  // editor writes it): without one the due check would ring it again.
  for (const HandledBell& h : state_.catchUp.handled) {
    if (h.slot < 0 || h.slot >= App().table.EntryCount() || MinuteNumber(h.lastHandled) != MinuteNumber(now)) continue;
    AlarmEntry& e = App().table[h.slot];
    if (EntryFingerprint(e) != h.fingerprint) continue;
    e.MainBellFiredAt = e.PreBellFiredAt = h.lastHandled;
  }
  lastTick_ = now;
  lastMinute_ = MinuteNumber(now);
  // The time the program was not running, as after a sleep.
  if (paused)
    state_.catchUp.watchedUntil = now;
  else
    CatchUpNow(now, paused);
  WriteState(now);
  Rearm(now, paused);
}

void BellWatch::Tick(OleDate now, bool paused) {
  const TickGap gap = ClassifyTickGap(lastTick_, now);
  if (gap == TickGap::Forward) {
    // A stall or a clock set forward: the ticks in between never came.
    CatchUpNow(now, paused);
    Rearm(now, paused);
  } else if (gap == TickGap::Back) {
    // The clock went back: marks and records now in the future would silence real bells.
    if (PutRightFutureMarks(App().table, now) > 0) RefreshListIfLoaded();
    Rearm(now, paused);
  } else if (const int64_t minute = MinuteNumber(now); minute != lastMinute_) {
    if (!paused && (presentedThisMinute_ || minute - lastMinute_ > 1)) CheckMinuteOverflow(now);
    presentedThisMinute_ = false;
    state_.catchUp.watchedUntil = now;
    WriteState(now);
  }
  lastTick_ = now;
  lastMinute_ = MinuteNumber(now);
  state_.catchUp.watchedUntil = now;
}

void BellWatch::NoteRang(int slot, const DueResult& due, OleDate now) {
  presentedThisMinute_ = true;
  RecordHandled(state_.catchUp, App().table, slot, now);
  const OleDate minuteStart = FromSecondNumber(MinuteNumber(now) * 60);
  LogHistory(due.main ? HistoryEvent::Rang : HistoryEvent::PreBell, minuteStart, App().table[slot].Message);
  Rearm(now, false);
}

bool BellWatch::TakePendingRing(RingNow& bell) {
  while (!pending_.empty()) {
    bell = pending_.front();
    pending_.pop_front();
    // The editor may have shortened the table since the catch-up.
    if (bell.slot >= 0 && bell.slot < App().table.EntryCount()) {
      presentedThisMinute_ = true;
      LogHistory(bell.main ? HistoryEvent::Rang : HistoryEvent::PreBell, bell.moment, App().table[bell.slot].Message);
      return true;
    }
  }
  return false;
}

void BellWatch::OnPowerEvent(PowerEvent event, OleDate now, bool paused) {
  switch (event) {
    case PowerEvent::Suspend:
      // The process may never see another tick: the state as of now, and a timer for the
      // table as it stands (the editor may have changed it since the last arming).
      state_.catchUp.watchedUntil = now;
      WriteState(now);
      Rearm(now, paused);
      return;
    case PowerEvent::Resume:
      NoteWokeUs(now);
      CatchUpNow(now, paused);
      break;
    case PowerEvent::TimeChange:
      if (const TickGap gap = ClassifyTickGap(lastTick_, now); gap == TickGap::Forward) {
        CatchUpNow(now, paused);
      } else if (gap == TickGap::Back) {
        if (PutRightFutureMarks(App().table, now) > 0) RefreshListIfLoaded();
        state_.catchUp.watchedUntil = now;
      } else {
        // A small step (or only the zone): the ticks see it as usual; only the UTC moment of
        // the wake timer's local time may have moved.
        Rearm(now, paused);
        return;
      }
      break;
  }
  lastTick_ = now;
  lastMinute_ = MinuteNumber(now);
  Rearm(now, paused);  // a new zone moves the UTC moment of the same local time
}

void BellWatch::Rearm(OleDate now, bool paused) {
  IPower* power = Svc().power;
  if (!power) return;
  const OleDate after = FromSecondNumber(SecondNumber(now) + 1);
  const OleDate next = wakeEnabled_ && !paused
                           ? EarlierBell(NextBellOfTable(App().table, after), NextSnoozeRing(App().snooze.snoozes, after))
                           : 0;
  if (next == 0) {
    power->CancelWakeTimer();
    armedWake_ = armedBell_ = 0;
    return;
  }
  const OleDate wake = WakeMomentFor(next, now, kWakeLeadSeconds);
  const WakeArm answer = power->ArmWakeTimer(wake);
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

void BellWatch::End(OleDate now) {
  state_.catchUp.watchedUntil = now;
  WriteState(now);
  if (Svc().power) Svc().power->CancelWakeTimer();
  armedWake_ = armedBell_ = 0;
  LogHistory(HistoryEvent::Ended);
}

void BellWatch::CatchUpNow(OleDate now, bool paused) {
  if (paused) {
    // Bells of a pause are not made up, as the due check never made them up.
    state_.catchUp.watchedUntil = now;
    return;
  }
  CatchUpLimits limits;
  limits.daysOff = &App().daysOff;
  const CatchUpResult result = CatchUp(App().table, state_.catchUp, now, limits);
  ApplyCatchUp(App().table, state_.catchUp, result, now);
  pending_.insert(pending_.end(), result.ringNow.begin(), result.ringNow.end());
  ReportMissed(result.missed);
  if (!result.ringNow.empty() || !result.missed.empty()) RefreshListIfLoaded();
  WriteState(now);
}

// More bells fell due in the minute just over than its ticks could show (one a tick), or a
// whole minute had no tick at all: what the due check never presented goes into the notice
// (a full minute has no room left) or rings now (a skipped one still has).
void BellWatch::CheckMinuteOverflow(OleDate now) {
  const int64_t minute = MinuteNumber(now);
  const OleDate from = FromSecondNumber(lastMinute_ * 60 - 1);
  const OleDate until = FromSecondNumber(minute * 60 - 1);
  CatchUpLimits limits;
  limits.daysOff = &App().daysOff;
  if (presentedThisMinute_ && minute - lastMinute_ == 1) limits.ringLateSeconds = -1;
  const CatchUpResult result = FindMissedBells(App().table, state_.catchUp, from, until, limits);
  if (result.ringNow.empty() && result.missed.empty()) return;
  ApplyCatchUp(App().table, state_.catchUp, result, until);
  pending_.insert(pending_.end(), result.ringNow.begin(), result.ringNow.end());
  ReportMissed(result.missed);
  RefreshListIfLoaded();
}

void BellWatch::ReportMissed(const std::vector<MissedRow>& rows) {
  if (rows.empty()) return;
  for (const MissedRow& row : rows) LogHistory(HistoryEvent::Missed, row.moment, row.message);
  ui::TheForm<MissedNoticeWindow>().AddMissed(rows);
}

void BellWatch::WriteState(OleDate now) {
  CompactHandled(state_.catchUp, App().table, now);
  state_.snoozes = App().snooze.snoozes;
  if (App().programFolderWritable) WriteStateFile(StatePath(), state_);
}

// A resume soon before the bell the timer was set for was most likely the timer's doing.
void BellWatch::NoteWokeUs(OleDate now) {
  if (armedWake_ == 0) return;
  const int64_t at = SecondNumber(now);
  if (at >= SecondNumber(armedWake_) - 30 && at <= SecondNumber(armedBell_) + 300)
    LogHistory(HistoryEvent::WokePc, armedBell_);
}

}  // namespace wb
