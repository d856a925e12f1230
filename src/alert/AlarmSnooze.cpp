// The snooze from the alarm's side: putting the alarm in progress off, ringing a snooze whose
// time came, and cancelling snoozes (the editor, the tray menu). The rules are model/Snooze.h's;
// the list is the alarm's, and the monitor, told of each change, keeps it in the state file.
#include <algorithm>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "model/CatchUp.h"
#include "platform/Services.h"

namespace wb {
namespace {

// Snoozes are reviewed in the order they ring, so two due together ring the earlier first.
std::vector<size_t> ByRingTime(const std::vector<Snooze>& snoozes) {
  std::vector<size_t> order(snoozes.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return snoozes[a].ringAt < snoozes[b].ringAt;
  });
  return order;
}

}  // namespace

void Alarm::TellSnoozesChanged() {
  if (observer_) observer_->SnoozesChanged();
}

void Alarm::Snooze(int minutes) {
  const AlarmProgress& alarm = progress_;
  // The alarm may have run its course (a sound played once, or none) while its window still
  // offers スヌーズ: the press puts off the alarm the window shows.
  const int slot = InProgress() ? alarm.activeSlot : alarm.presentedSlot;
  // The table may have lost the entry (the editor reloaded a shorter file): then there is
  // nothing to ring again, and the press is an OK.
  // The same entry, whatever became of its fired-at marks since (a clock put back clears them).
  const bool entryHeld = slot >= 0 && slot < App().table.EntryCount() &&
                         EntryFingerprint(App().table[slot]) == EntryFingerprint(alarm.presented);
  const Moment now = Svc().clock->Read();
  const int timesBefore = alarm.snoozedTimes;
  Dismiss();
  if (!entryHeld) return;
  wb::Snooze snooze = MakeSnooze(App().table, slot, now, ValidSnoozeMinutes(minutes));
  snooze.times = timesBefore + 1;
  LogHistory(HistoryEvent::Snoozed, now.LocalOf(snooze.ringAt), snooze.message);
  AddSnooze(snoozes_, std::move(snooze));
  TellSnoozesChanged();
}

bool Alarm::RingDueSnooze(const Moment& now, const DaysOff& daysOff) {
  std::vector<wb::Snooze>& snoozes = snoozes_;
  if (snoozes.empty()) return false;
  bool changed = false, rang = false;
  std::vector<bool> gone(snoozes.size(), false);
  for (size_t i : ByRingTime(snoozes)) {
    const wb::Snooze& s = snoozes[i];
    int slot = -1;
    switch (ReviewSnooze(App().table, s, now, &slot, &daysOff)) {
      case SnoozeVerdict::Wait: continue;
      case SnoozeVerdict::Ring:
        if (rang) continue;  // one alarm a tick, as for entries due together
        rang = true;
        gone[i] = true;
        LogHistory(HistoryEvent::SnoozeRang, now.LocalOf(s.ringAt), s.message);
        Present(slot, true, FormatHourMinute(LocalDateOf(now)), s.times);
        break;
      case SnoozeVerdict::Dropped:
      case SnoozeVerdict::BellFirst:
      case SnoozeVerdict::EntryGone:
        gone[i] = true;
        LogHistory(HistoryEvent::SnoozeCancelled, now.LocalOf(s.ringAt), s.message);
        break;
    }
    changed = true;
  }
  if (!changed) return false;
  std::vector<wb::Snooze> kept;
  for (size_t i = 0; i < snoozes.size(); ++i)
    if (!gone[i]) kept.push_back(std::move(snoozes[i]));
  snoozes = std::move(kept);
  TellSnoozesChanged();
  return rang;
}

void Alarm::DropSnoozesDueInPause(const Moment& now) {
  std::vector<wb::Snooze>& snoozes = snoozes_;
  const size_t before = snoozes.size();
  // Nothing of a pause rings later: a snooze whose time came in it goes as its bells went.
  std::erase_if(snoozes, [&](const wb::Snooze& s) {
    if (s.ringAt > now.utc) return false;
    LogHistory(HistoryEvent::SnoozeCancelled, now.LocalOf(s.ringAt), s.message);
    return true;
  });
  if (snoozes.size() != before) TellSnoozesChanged();
}

void Alarm::CancelSnoozeOf(int slot) {
  std::vector<wb::Snooze>& snoozes = snoozes_;
  const size_t before = snoozes.size();
  std::erase_if(snoozes, [&](const wb::Snooze& s) {
    if (SnoozedSlot(App().table, s) != slot) return false;
    LogHistory(HistoryEvent::SnoozeCancelled, Svc().clock->Read().LocalOf(s.ringAt), s.message);
    return true;
  });
  if (snoozes.size() != before) TellSnoozesChanged();
}

void Alarm::CancelAllSnoozes() {
  std::vector<wb::Snooze>& snoozes = snoozes_;
  if (snoozes.empty()) return;
  const Moment now = Svc().clock->Read();
  for (const wb::Snooze& s : snoozes) LogHistory(HistoryEvent::SnoozeCancelled, now.LocalOf(s.ringAt), s.message);
  snoozes.clear();
  TellSnoozesChanged();
}

}  // namespace wb
