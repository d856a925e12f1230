// The alarm in progress: presenting a due entry in Form2, blinking, dismissing, and the sound
// through the one MCI alias. Form3's timers call in here. Portable window logic.
#pragma once
#include <string>

#include "model/AlarmEntry.h"

namespace wb {

// Presenting steps 1-9 for the due entry in `slot` (main bell, or pre-bell when !mainBell),
// with the present minute "hh:nn" for the time box.
void PresentAlarm(int slot, bool mainBell, const std::string& minuteText);
// First half of Form3's Timer2 tick: blinking.
void BlinkHalf();
// Form3's Timer3_Timer: the dismiss routine.
void DismissAlarm();

// Sound (alias "mymedia").
std::string QueryMediaMode();  // "playing", "stopped" or "" (closed)
void StartAlarmSound(const AlarmEntry& e);
void SoundHalf();             // second half of Timer2's tick: repeat and end
void DismissSoundRule();      // inside the dismiss routine, for an entry with sound
void ShutDownSoundRule();     // inside ShutDown, for an alarm in progress with sound
void ToggleTestPlay(const std::string& file);
void StopTestPlay();

}  // namespace wb
