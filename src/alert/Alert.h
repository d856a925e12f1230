// The alarm in progress: presenting a due entry in Form2, blinking, dismissing, and the sound
// through the one MCI alias. Form3's timers call in here. Portable window logic.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"

namespace wb {

// Presenting steps 1-9 for the due entry in `slot` (main bell, or pre-bell when !mainBell),
// with the present minute "hh:nn" for the time box.
void PresentAlarm(int slot, bool mainBell, const std::string& minuteText);
// First half of Form3's Timer2 tick: blinking.
void BlinkHalf();
// Form3's Timer3_Timer: the dismiss routine (OK, the close box, a click on the tray icon).
void DismissAlarm();
// The entry of the alarm in progress (ActiveIndex must not be -1): its slot in the table, or,
// when the table no longer has that slot (the editor reloaded a shorter data file), the copy
// taken when it was presented, so the alarm can still be blinked, silenced and ended.
const AlarmEntry& ActiveEntry();
void ResetAlert();  // tests: forget the presented copy

// Sound (alias "mymedia").
std::string QueryMediaMode();  // "playing", "stopped" or "" (closed)
void StartAlarmSound(const AlarmEntry& e);
void SoundHalf();             // second half of Timer2's tick: repeat and end
void DismissSoundRule();      // inside the dismiss routine, for an entry with sound
// Inside ShutDown: stops the sound of an alarm in progress whose entry has sound; nothing
// otherwise. Restoring the volumes stays with ShutDown, which does it in every case.
void ShutDownSoundRule();
// The editor's test button: plays `file` at the sliders' volumes, or stops the playing test.
void ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume);
void StopTestPlay();

}  // namespace wb
