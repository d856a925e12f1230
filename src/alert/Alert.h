// The alarm in progress: presenting a due entry in the alarm window, blinking, dismissing, the
// timers that drive them, and the sound through the one MCI alias. The monitor's due check and
// tray call in here; nothing here reaches back into the monitor. Portable window logic.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"
#include "platform/Controls.h"

namespace wb {

// Shows the due entry in `slot` (main bell, or pre-bell when !mainBell) with the present
// minute "hh:nn" for the time box: the window filled and in front with the focus on its inert
// button, the blinking and the sound started, the previous alarm's sound silenced if this one
// has none.
void PresentAlarm(int slot, bool mainBell, const std::string& minuteText);
// Ends the alarm in progress as the user asked (OK, the close box, a click on the tray icon):
// the window hidden, the blinking over, the sound stopped.
void DismissAlarm();
// The editor's preview: the alarm window as an entry of this look would show it as a main bell
// at `minuteText`, without sound, blinking or any alarm state. Over an alarm in progress it
// takes the window's title and content; its OK then dismisses that alarm.
void PreviewAlarmWindow(const AlarmEntry& look, const std::string& minuteText);
// The entry of the alarm in progress (activeIndex must not be -1): its slot in the table, or,
// when the table no longer has that slot (the editor reloaded a shorter data file), the copy
// taken when it was presented, so the alarm can still be blinked, silenced and ended.
const AlarmEntry& ActiveEntry();
void ResetAlert();  // tests: forget the presented copy and the timers

// The timers the alarm drives. They are the alarm's, not a window's: the alarm window is made
// anew for each alarm, and the blinking and the sound go on after it closes.
class AlarmTimers {
 public:
  AlarmTimers();
  // Ticks the blinking and the sound of the alarm in progress: 1000 ms, restarted per alarm,
  // at rest once the alarm is over.
  ui::Timer alarmTimer{"alarmTimer"};
  // A left click on the tray icon arms it; unless a second click (the double click that opens
  // the editor) cancels it within half a second, it dismisses the alarm.
  ui::Timer singleClickTimer{"singleClickTimer", 500};

  void OnAlarmTick();
  void OnSingleClickTimeout();
};
AlarmTimers& TheAlarmTimers();
void StopAlarmTimers();  // the monitor's end: nothing ticks any more

// Halves of the alarm tick: blinking, then the sound's repeat and end.
void BlinkHalf();
void SoundHalf();

// Sound (alias "mymedia").
std::string QueryMediaMode();  // "playing", "stopped" or "" (closed)
void StartAlarmSound(const AlarmEntry& e);
void DismissSoundRule();      // inside DismissAlarm, for an entry with sound
// Inside ShutDown: stops the sound of an alarm in progress whose entry has sound; nothing
// otherwise. Restoring the volumes stays with ShutDown, which does it in every case.
void ShutDownSoundRule();
// The editor's test button: plays `file` at the sliders' volumes, or stops the playing test.
void ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume);
void StopTestPlay();

}  // namespace wb
