// Presenting a due entry, blinking the alarm window, the one dismiss routine and the timers
// that drive them.
#include "alert/Alert.h"

#include <memory>

#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "model/Assert.h"
#include "model/SoundFlag.h"
#include "platform/Services.h"

namespace wb {
namespace {

constexpr int kAlarmTickMs = 1000;

// Silences an alarm whose sound is still going when a silent alarm replaces it; otherwise
// the old sound would outlive the new alarm's OK, and its volumes would never be restored.
void SilenceReplacedAlarm() {
  const AlarmState& alarm = App().alarm;
  if (alarm.activeIndex == -1 || !alarm.sounding || !AlarmPlaysSound(ActiveEntry().SoundFlag)) return;
  ShutDownSoundRule();
  RestoreMidiVolume();
  RestoreWaveVolume();
}

void OnAlarmTick() {
  BlinkHalf();
  SoundHalf();
}

void OnSingleClickTimeout() {
  // The timer stands for one click. Left armed after a click with no alarm in progress, it
  // would hide the next alarm window half a second after it appears.
  TheAlarmTimers().singleClickTimer.SetEnabled(false);
  DismissAlarm();
}

}  // namespace

AlarmTimers& TheAlarmTimers() {
  std::unique_ptr<AlarmTimers>& timers = App().alarm.timers;
  if (!timers) {
    timers = std::make_unique<AlarmTimers>();
    timers->alarmTimer.onTick = [] { OnAlarmTick(); };
    timers->singleClickTimer.onTick = [] { OnSingleClickTimeout(); };
  }
  return *timers;
}

void StopAlarmTimers() {
  AlarmTimers* timers = App().alarm.timers.get();
  if (!timers) return;
  timers->alarmTimer.SetEnabled(false);
  timers->singleClickTimer.SetEnabled(false);
}

const AlarmEntry& ActiveEntry() {
  const AlarmState& alarm = App().alarm;
  const int slot = alarm.activeIndex;
  WB_ASSERT(slot != -1);
  if (slot >= 0 && slot < App().table.EntryCount()) return App().table[slot];
  return alarm.presented;
}

void PresentAlarm(int slot, bool mainBell, const std::string& minuteText) {
  WB_ASSERT(slot >= 0 && slot < App().table.EntryCount());
  const AlarmEntry e = App().table[slot];
  const bool withSound = !e.SoundFile.empty() && AlarmPlaysSound(e.SoundFlag);
  if (!withSound) SilenceReplacedAlarm();  // a sounding replacement closes the device itself

  AlarmState& alarm = App().alarm;
  alarm.presented = e;
  alarm.keepWindow = e.KeepWindowFlag != 0;
  alarm.blinkCounter = 0;
  alarm.activeIndex = int16_t(slot);
  alarm.sounding = true;
  alarm.dismissed = false;

  AlarmWindow& window = ui::TheForm<AlarmWindow>();
  window.okButton.SetEnabled(false);
  window.inertDefaultButton.SetEnabled(false);
  window.SetCaption(std::string(kProgramTitle) + " (アラーム)");
  window.FillAlarmWindow(e, mainBell, minuteText);
  alarm.blinkActive = e.BlinkFlag == 1;

  window.Show();
  window.okButton.SetEnabled(true);
  window.inertDefaultButton.SetEnabled(true);
  window.inertDefaultButton.SetFocus();

  ui::Timer& alarmTimer = TheAlarmTimers().alarmTimer;
  alarmTimer.SetEnabled(false);
  alarmTimer.SetInterval(kAlarmTickMs);
  alarmTimer.SetEnabled(true);

  if (withSound) StartAlarmSound(e);
}

void BlinkHalf() {
  AlarmState& alarm = App().alarm;
  if (alarm.activeIndex == -1 || !alarm.blinkActive) return;
  const int16_t blinkCount = ActiveEntry().BlinkCount;

  if (alarm.blinkCounter < blinkCount) {
    // One blink is two ticks: a second hidden (counted), a second shown.
    AlarmWindow& window = ui::TheForm<AlarmWindow>();
    if (window.Visible()) {
      window.Hide();
      ++alarm.blinkCounter;
    } else {
      window.Show();
    }
  } else if (!alarm.dismissed && alarm.keepWindow) {
    AlarmWindow& window = ui::TheForm<AlarmWindow>();
    window.Show();
    // Cleared before the foreground call, which lets other events run: an alarm presented
    // inside it keeps its own blinking.
    alarm.blinkActive = false;
    Svc().foreground->BringToForeground(window);
  } else if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>()) {
    window->Hide();
  }
}

void PreviewAlarmWindow(const AlarmEntry& look, const std::string& minuteText) {
  AlarmWindow& window = ui::TheForm<AlarmWindow>();
  window.SetCaption(std::string(kProgramTitle) + " ■■プレビュー■■");
  window.FillAlarmWindow(look, true, minuteText);
  window.Show();
}

void DismissAlarm() {
  AlarmState& alarm = App().alarm;
  const bool inProgress = alarm.activeIndex != -1;
  if (inProgress) alarm.blinkCounter = ActiveEntry().BlinkCount;
  if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>(); window && window->Visible()) window->Hide();
  // The single-click timer fires once. Left armed after a click with nothing to dismiss, it
  // would dismiss the next alarm half a second after it appears.
  if (alarm.timers) alarm.timers->singleClickTimer.SetEnabled(false);
  if (!inProgress) return;

  alarm.dismissed = true;
  if (AlarmPlaysSound(ActiveEntry().SoundFlag))
    DismissSoundRule();
  else
    alarm.sounding = false;
  if (AlarmWindow* window = ui::FormIfLoaded<AlarmWindow>()) window->Hide();
}

}  // namespace wb
