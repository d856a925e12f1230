// The alarm in progress: presenting a due entry in the alarm window, blinking, dismissing, the
// timers that drive them, and the sound through the one MCI alias. Its state is App().alarm,
// which only this folder changes (the editor's test sound aside, which goes through here too).
// The monitor's due check and tray call in here; nothing here reaches back into the monitor.
// Portable window logic.
#pragma once
#include <cstdint>
#include <string>

#include "app_state/AppState.h"
#include "model/AlarmEntry.h"
#include "model/Holidays.h"
#include "platform/Controls.h"

namespace wb {

// Shows the due entry in `slot` (main bell, or pre-bell when !mainBell) with the present
// minute "hh:nn" for the time box: the window filled and in front with the focus on its inert
// button, the blinking and the sound started, the previous alarm's sound silenced if this one
// has none.
// A snooze ringing says in the caption how many times in a row it was put off (`snoozedTimes`).
void PresentAlarm(int slot, bool mainBell, const std::string& minuteText, int snoozedTimes = 0);
// The alarm window's caption: the program's own, or for a snooze ringing again the snooze and
// its count first, so that a title bar too short for all of it still shows them.
std::string AlarmCaption(int snoozedTimes);
// Ends the alarm in progress as the user asked (OK, the close box, a click on the tray icon):
// the window hidden, the blinking over, the sound stopped.
void DismissAlarm();
// Snooze (Snooze.cpp). The スヌーズ button: ends the alarm in progress exactly as OK does and
// rings its entry again as a main bell `minutes` after now.
void SnoozeAlarm(int minutes);
// The due-check tick, when it presented nothing: rings at most one snooze whose time came
// (an alarm in progress gives way to it, as to an entry falling due), and drops the snoozes
// cancelled by their entry's own bell, an edit or the 12-hour limit. True when one rang.
bool RingDueSnooze(LocalSecond now, const DaysOff& daysOff);
// While the due check is paused: the snoozes whose time came are dropped, with a history line.
void DropSnoozesDueInPause(LocalSecond now);
// The editor changes or deletes the entry in `slot` (called before the table changes).
void CancelSnoozeOf(int slot);
// The tray menu's スヌーズを解除.
void CancelAllSnoozes();
bool AnySnoozed();

// The editor's preview: the alarm window as an entry of this look would show it as a main bell
// at `minuteText`, without sound, blinking or any alarm state. Over an alarm in progress it
// takes the window's title and content; its OK then dismisses that alarm.
void PreviewAlarmWindow(const AlarmEntry& look, const std::string& minuteText);
// The entry of the alarm in progress (activeIndex must not be -1): its slot in the table, or,
// when the table no longer has that slot (the editor reloaded a shorter data file), the copy
// taken when it was presented, so the alarm can still be blinked, silenced and ended.
const AlarmEntry& ActiveEntry();

// Holds the system and the display awake exactly while the alarm in progress shows its window,
// blinks or sounds; when that ends without the user, the history says it ended by itself.
// Called wherever the alarm changes (presenting, each alarm tick, dismissing, the end).
void UpdateKeepAwake();
// The end of the program: nothing is held awake any more, whatever the alarm's state.
void ReleaseKeepAwake();

// The alarm's timers (App().alarm.timers), made and wired on first use.
AlarmTimers& TheAlarmTimers();
void StopAlarmTimers();  // the monitor's end: nothing ticks any more

// The alarm tick's two steps. The blinking: a blink's hidden or shown second, then the kept
// window back in front (or the window hidden).
void AdvanceBlinking();
// The sound: an endless one replayed from the start when it stopped, another closed when it
// ended, and the alarm ended once its sound and its blinking are over.
void RepeatOrEndSound();
// Whether the blinking of the alarm in progress is over: the blinks done and, for a kept
// window, the window back in front (or the alarm dismissed).
bool BlinkingOver();
// Whether the alarm's window is gone for good: dismissed, or hidden by its last blink and not
// kept. An alarm whose sound cannot be watched (none, or the system sound function) lasts as
// long as its window.
bool AlarmWindowGone();
// The alarm in progress is over: its timer at rest, its sound (if any) stopped and the
// volumes given back, nothing in progress. It hides nothing and holds nothing afterwards.
void EndAlarm();

// Sound (alias "mymedia").
// What MCI's mode query says of the alias: its "playing" and "stopped", Closed when the query
// fails or answers nothing (no device open), Other for the modes the program never waits for
// ("paused", "seeking", "not ready", ...).
enum class MediaMode { Closed, Playing, Stopped, Other };
MediaMode QueryMediaMode();
void StartAlarmSound(const AlarmEntry& e);
// Inside DismissAlarm, for an entry with sound: a playing or stopped device closed, or the
// system sound silenced, and then the volumes given back and the alarm no longer sounding.
void StopSoundOnDismiss();
// Inside ShutDown: stops the sound of an alarm in progress whose entry has sound; nothing
// otherwise. Restoring the volumes stays with ShutDown, which does it in every case.
void StopSoundAtShutDown();
// The editor's test button: plays `file` at the sliders' volumes, or stops the playing test.
void ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume);
// Stops the editor's test if one plays; never touches an alarm's sound.
void StopTestPlay();
// Whether the editor's test plays now; a test that has ended by itself is found over here.
bool TestPlaying();

}  // namespace wb
