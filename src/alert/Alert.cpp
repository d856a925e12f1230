// Presenting a due entry, blinking the alarm window, the one dismiss routine and the timers
// that drive them.
#include "alert/Alert.h"

#include <memory>

#include "alert/AlarmWindow.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/Volume.h"
#include "model/Assert.h"
#include "platform/Services.h"

namespace wb {
namespace {

constexpr int kAlarmTickMs = 1000;

AlarmEntry& PresentedCopy() {
  static AlarmEntry entry;
  return entry;
}

std::unique_ptr<AlarmTimers>& TimersSlot() {
  static std::unique_ptr<AlarmTimers> timers;
  return timers;
}

// Silences an alarm whose sound is still going when a silent alarm replaces it; otherwise
// the old sound would outlive the new alarm's OK, and its volumes would never be restored.
void SilenceReplacedAlarm() {
  const MonitorState& monitor = App().monitor;
  if (monitor.activeIndex == -1 || !monitor.alarmSounding || ActiveEntry().SoundFlag != 1) return;
  ShutDownSoundRule();
  RestoreMidiVolume();
  RestoreWaveVolume();
}

}  // namespace

AlarmTimers::AlarmTimers() {
  alarmTimer.onTick = [this] { OnAlarmTick(); };
  singleClickTimer.onTick = [this] { OnSingleClickTimeout(); };
}

void AlarmTimers::OnAlarmTick() {
  BlinkHalf();
  SoundHalf();
}

void AlarmTimers::OnSingleClickTimeout() {
  // The timer stands for one click. Left armed after a click with no alarm in progress, it
  // would hide the next alarm window half a second after it appears.
  singleClickTimer.SetEnabled(false);
  DismissAlarm();
}

AlarmTimers& TheAlarmTimers() {
  auto& timers = TimersSlot();
  if (!timers) timers = std::make_unique<AlarmTimers>();
  return *timers;
}

void StopAlarmTimers() {
  if (!TimersSlot()) return;
  TimersSlot()->alarmTimer.SetEnabled(false);
  TimersSlot()->singleClickTimer.SetEnabled(false);
}

const AlarmEntry& ActiveEntry() {
  const int slot = App().monitor.activeIndex;
  WB_ASSERT(slot != -1);
  if (slot >= 0 && slot < App().table.EntryCount()) return App().table[slot];
  return PresentedCopy();
}

void ResetAlert() {
  PresentedCopy() = AlarmEntry{};
  TimersSlot().reset();
}

void PresentAlarm(int slot, bool mainBell, const std::string& minuteText) {
  WB_ASSERT(slot >= 0 && slot < App().table.EntryCount());
  const AlarmEntry e = App().table[slot];
  const bool withSound = !e.SoundFile.empty() && e.SoundFlag == 1;
  if (!withSound) SilenceReplacedAlarm();  // a sounding replacement closes the device itself

  MonitorState& monitor = App().monitor;
  PresentedCopy() = e;
  monitor.keepWindow = e.KeepWindowFlag;
  monitor.blinkCounter = 0;
  monitor.activeIndex = int16_t(slot);
  monitor.alarmSounding = true;
  monitor.alarmDismissed = false;

  AlarmWindow& window = TheAlarmWindow();
  window.okButton.SetEnabled(false);
  window.inertDefaultButton.SetEnabled(false);
  window.SetCaption(std::string(kProgramTitle) + " (アラーム)");
  window.FillAlarmWindow(e, mainBell, minuteText);
  monitor.blinkActive = e.BlinkFlag == 1;

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
  MonitorState& monitor = App().monitor;
  if (monitor.activeIndex == -1 || !monitor.blinkActive) return;
  const int16_t blinkCount = ActiveEntry().BlinkCount;

  if (monitor.blinkCounter < blinkCount) {
    // One blink is two ticks: a second hidden (counted), a second shown.
    AlarmWindow& window = TheAlarmWindow();
    if (window.Visible()) {
      window.Hide();
      ++monitor.blinkCounter;
    } else {
      window.Show();
    }
  } else if (!monitor.alarmDismissed && monitor.keepWindow != 0) {
    AlarmWindow& window = TheAlarmWindow();
    window.Show();
    // Cleared before the foreground call, which lets other events run: an alarm presented
    // inside it keeps its own blinking.
    monitor.blinkActive = false;
    Svc().foreground->BringToForeground(window);
  } else if (AlarmWindow* window = AlarmWindowIfLoaded()) {
    window->Hide();
  }
}

void PreviewAlarmWindow(const AlarmEntry& look, const std::string& minuteText) {
  AlarmWindow& window = TheAlarmWindow();
  window.SetCaption(std::string(kProgramTitle) + " ■■プレビュー■■");
  window.FillAlarmWindow(look, true, minuteText);
  window.Show();
}

void DismissAlarm() {
  MonitorState& monitor = App().monitor;
  const bool inProgress = monitor.activeIndex != -1;
  if (inProgress) monitor.blinkCounter = ActiveEntry().BlinkCount;
  if (AlarmWindow* window = AlarmWindowIfLoaded(); window && window->Visible()) window->Hide();
  // The single-click timer fires once. Left armed after a click with nothing to dismiss, it
  // would dismiss the next alarm half a second after it appears.
  if (TimersSlot()) TimersSlot()->singleClickTimer.SetEnabled(false);
  if (!inProgress) return;

  monitor.alarmDismissed = true;
  if (ActiveEntry().SoundFlag == 1)
    DismissSoundRule();
  else
    monitor.alarmSounding = false;
  if (AlarmWindow* window = AlarmWindowIfLoaded()) window->Hide();
}

}  // namespace wb
