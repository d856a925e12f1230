// The snooze from the alarm window's side: putting the alarm in progress off, ringing a snooze
// whose time came, and cancelling snoozes (the editor, the tray menu). The rules are
// model/Snooze.h's; the list lives in App().snooze, which the monitor keeps in the state file.
#include <algorithm>

#include "alert/Alert.h"
#include "app_state/AppState.h"
#include "app_state/HistoryLog.h"
#include "platform/Services.h"

namespace wb {
namespace {

void SnoozesChanged() {
  if (App().hooks.snoozesChanged) App().hooks.snoozesChanged();
}

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

void SnoozeAlarm(int minutes) {
  const AlarmState& alarm = App().alarm;
  // The alarm may have run its course (a sound played once, or none) while its window still
  // offers スヌーズ: the press puts off the alarm the window shows.
  const int slot = alarm.activeIndex != -1 ? alarm.activeIndex : alarm.presentedSlot;
  // The table may have lost the entry (the editor reloaded a shorter file): then there is
  // nothing to ring again, and the press is an OK.
  const bool entryHeld = slot >= 0 && slot < App().table.EntryCount() && App().table[slot] == alarm.presented;
  const LocalSecond now = Svc().clock->Read().Local();
  const int timesBefore = alarm.snoozedTimes;
  DismissAlarm();
  if (!entryHeld) return;
  Snooze snooze = MakeSnooze(App().table, slot, now, ValidSnoozeMinutes(minutes));
  snooze.times = timesBefore + 1;
  LogHistory(HistoryEvent::Snoozed, snooze.ringAt, snooze.message);
  AddSnooze(App().snooze.snoozes, std::move(snooze));
  SnoozesChanged();
}

bool RingDueSnooze(LocalSecond now, const DaysOff& daysOff) {
  std::vector<Snooze>& snoozes = App().snooze.snoozes;
  if (snoozes.empty()) return false;
  bool changed = false, rang = false;
  std::vector<bool> gone(snoozes.size(), false);
  for (size_t i : ByRingTime(snoozes)) {
    const Snooze& s = snoozes[i];
    int slot = -1;
    switch (ReviewSnooze(App().table, s, now, &slot, &daysOff)) {
      case SnoozeVerdict::Wait: continue;
      case SnoozeVerdict::Ring:
        if (rang) continue;  // one alarm a tick, as for entries due together
        rang = true;
        gone[i] = true;
        LogHistory(HistoryEvent::SnoozeRang, s.ringAt, s.message);
        PresentAlarm(slot, true, FormatHourMinute(DateOfLocal(now)), s.times);
        break;
      case SnoozeVerdict::Dropped:
      case SnoozeVerdict::BellFirst:
      case SnoozeVerdict::EntryGone:
        gone[i] = true;
        LogHistory(HistoryEvent::SnoozeCancelled, s.ringAt, s.message);
        break;
    }
    changed = true;
  }
  if (!changed) return false;
  std::vector<Snooze> kept;
  for (size_t i = 0; i < snoozes.size(); ++i)
    if (!gone[i]) kept.push_back(std::move(snoozes[i]));
  snoozes = std::move(kept);
  SnoozesChanged();
  return rang;
}

void DropSnoozesDueInPause(LocalSecond now) {
  std::vector<Snooze>& snoozes = App().snooze.snoozes;
  const size_t before = snoozes.size();
  // Nothing of a pause rings later: a snooze whose time came in it goes as its bells went.
  std::erase_if(snoozes, [&](const Snooze& s) {
    if (s.ringAt > now) return false;
    LogHistory(HistoryEvent::SnoozeCancelled, s.ringAt, s.message);
    return true;
  });
  if (snoozes.size() != before) SnoozesChanged();
}

void CancelSnoozeOf(int slot) {
  std::vector<Snooze>& snoozes = App().snooze.snoozes;
  const size_t before = snoozes.size();
  std::erase_if(snoozes, [&](const Snooze& s) {
    if (SnoozedSlot(App().table, s) != slot) return false;
    LogHistory(HistoryEvent::SnoozeCancelled, s.ringAt, s.message);
    return true;
  });
  if (snoozes.size() != before) SnoozesChanged();
}

void CancelAllSnoozes() {
  std::vector<Snooze>& snoozes = App().snooze.snoozes;
  if (snoozes.empty()) return;
  for (const Snooze& s : snoozes) LogHistory(HistoryEvent::SnoozeCancelled, s.ringAt, s.message);
  snoozes.clear();
  SnoozesChanged();
}

bool AnySnoozed() { return !App().snooze.snoozes.empty(); }

}  // namespace wb
