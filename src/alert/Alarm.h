// The alarm in progress and the snoozes: presenting a due entry in the alarm window, blinking,
// dismissing, snoozing, the editor's preview and test sound, and the sound through the one MCI
// alias. One object for the process owns all of it; nothing outside alert/ writes its state.
// The monitor makes it, giving itself as the one told when the snoozes change; the monitor's
// due check and tray, the editor and the alarm window call its public face.
// Portable window logic.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/AlarmEntry.h"
#include "model/AlarmTable.h"
#include "model/Holidays.h"
#include "model/Moment.h"
#include "model/Snooze.h"
#include "platform/Controls.h"

namespace wb {

// How the alarm in progress is sounding.
enum class SoundKind : int16_t {
  None,    // silent, or nothing could play the file
  Mci,     // the MCI device under the alarm's alias
  System,  // the system sound function (a wave file MCI refused)
};

// What MCI's mode query says of the alias: its "playing" and "stopped", Closed when the query
// fails or answers nothing (no device open), Other for the modes the program never waits for
// ("paused", "seeking", "not ready", ...).
enum class MediaMode { Closed, Playing, Stopped, Other };

// How far the alarm in progress has gone. Read by anyone; written only by the alarm.
struct AlarmProgress {
  int activeSlot = -1;  // table slot of the alarm in progress, -1 none
  // The slot of the alarm its window shows, also after the alarm ran its course (its sound
  // ended, or it had none): スヌーズ works as long as the window offers it.
  int presentedSlot = -1;
  int blinkCounter = 0;  // blinks done by the alarm in progress
  SoundKind soundKind = SoundKind::None;
  bool sounding = false;     // its sound has not ended yet (or was never silenced)
  bool dismissed = false;    // the user ended it; the sound may still be closing
  bool keepWindow = false;   // the alarm's window stays in front after its blinks
  bool blinkActive = false;
  bool testPlaying = false;  // the editor's test button plays a sound (it shares the device)
  // The system and the display are held awake for it (its window or sound is on), and the
  // minute it was presented, for the history of how it ended.
  bool holdingAwake = false;
  LocalSecond presentedAt = 0;
  // The alarm in progress rings again after this many snoozes in a row; 0 for its own bell.
  int snoozedTimes = 0;
  // The entry as it was presented: the alarm goes on from it when the editor has reloaded a
  // shorter table that no longer has its slot.
  AlarmEntry presented;
};

// The timers the alarm drives. They are the alarm's, not a window's: the alarm window is made
// anew for each alarm, and the blinking and the sound go on after it closes.
struct AlarmTimers {
  // Ticks the blinking and the sound of the alarm in progress: 1000 ms, restarted per alarm,
  // at rest once the alarm is over.
  ui::Timer alarmTimer{"alarmTimer"};
  // A left click on the tray icon arms it; unless a second click (the double click that opens
  // the editor) cancels it within half a second, it dismisses the alarm.
  ui::Timer singleClickTimer{"singleClickTimer", 500};
};

// Told by the alarm when the snoozes changed (one added, rung, cancelled): the monitor writes
// the state file and puts the wake timer, the tray tip and the menu's スヌーズを解除 right.
class SnoozeObserver {
 public:
  virtual void SnoozesChanged() = 0;

 protected:
  ~SnoozeObserver() = default;
};

class Alarm {
 public:
  // `observer` may be null (a test without a monitor): then nobody is told.
  explicit Alarm(SnoozeObserver* observer);
  Alarm(const Alarm&) = delete;
  Alarm& operator=(const Alarm&) = delete;

  // Shows the due entry in `slot` (main bell, or pre-bell when !mainBell) with the present
  // minute "hh:nn" for the time box: the window filled and in front with the focus on its inert
  // button, the blinking and the sound started, the previous alarm's sound silenced if this one
  // has none. A snooze ringing says in the caption how many times in a row it was put off.
  // An alarm whose window is still up waits behind the new one (the caption says how many
  // wait), and comes back to the front, silent, when the one in front is answered.
  void Present(int slot, bool mainBell, const std::string& minuteText, int snoozedTimes = 0);
  // Ends the alarm in progress as the user asked (OK, the close box, a click on the tray icon):
  // the window hidden, the blinking over, the sound stopped.
  void Dismiss();
  // The スヌーズ button: ends the alarm in progress exactly as OK does and rings its entry
  // again as a main bell `minutes` after now.
  void Snooze(int minutes);
  // The editor's preview: the alarm window as an entry of this look would show it as a main bell
  // at `minuteText`, without sound, blinking or any alarm state. Over an alarm in progress it
  // takes the window's title and content; its OK then dismisses that alarm.
  void Preview(const AlarmEntry& look, const std::string& minuteText);
  // The end of the program: the sound of an alarm in progress and the editor's test stopped,
  // every device's volume given back, nothing held awake any more.
  void ShutDown();
  // The monitor's end: nothing ticks any more.
  void StopTimers();

  // The due-check tick, when it presented nothing: rings at most one snooze whose time came
  // (an alarm in progress gives way to it, as to an entry falling due), and drops the snoozes
  // cancelled by their entry's own bell, an edit or the 12-hour limit. True when one rang.
  bool RingDueSnooze(const Moment& now, const DaysOff& daysOff);
  // While the due check is paused: the snoozes whose time came are dropped, with a history line.
  void DropSnoozesDueInPause(const Moment& now);
  // The editor changes or deletes the entry in `slot` (called before the table changes).
  void CancelSnoozeOf(int slot);
  // The tray menu's スヌーズを解除.
  void CancelAllSnoozes();
  bool AnySnoozed() const { return !snoozes_.empty(); }
  const std::vector<wb::Snooze>& Snoozes() const { return snoozes_; }
  // The snoozes of the last run, from the state file at start-up (nobody is told).
  void ResumeSnoozes(std::vector<wb::Snooze> snoozes) { snoozes_ = std::move(snoozes); }

  // The data file was read again: the alarm in progress follows its entry to the slot it has
  // in the new table (found by its fingerprint); it keeps its copy when the entry is gone.
  void FollowEntryTo(const AlarmTable& table);

  // The editor's test button: plays `file` at the sliders' volumes, or stops the playing test.
  void ToggleTestPlay(const std::string& file, uint32_t midiVolume, uint32_t waveVolume);
  // Stops the editor's test if one plays; never touches an alarm's sound.
  void StopTestPlay();
  // Whether the editor's test plays now; a test that has ended by itself is found over here.
  bool TestPlaying();
  // A slider moved while nothing plays: the devices' own volume is back, so no test is left.
  void ForgetEndedTest();

  bool InProgress() const { return progress_.activeSlot != -1; }
  // How many alarms wait behind the one in front.
  int Waiting() const { return int(waiting_.size()); }
  // The alarm's sound has not ended: the editor leaves the devices and their volumes alone.
  bool Sounding() const { return progress_.sounding; }
  // The entry of the alarm in progress (InProgress() must hold): its slot in the table, or,
  // when the table no longer has that slot (the editor reloaded a shorter data file), the copy
  // taken when it was presented, so the alarm can still be blinked, silenced and ended.
  const AlarmEntry& ActiveEntry() const;
  const AlarmProgress& Progress() const { return progress_; }
  // Made and wired on first use; the tray arms and cancels the single click.
  AlarmTimers& Timers();

 private:
  // The alarm tick's two steps. The blinking: a blink's hidden or shown second, then the kept
  // window back in front (or the window hidden).
  void AdvanceBlinking();
  // The sound: an endless one replayed from the start when it stopped, another closed when it
  // ended, and the alarm ended once its sound and its blinking are over.
  void RepeatOrEndSound();
  void OnAlarmTick();
  void OnSingleClickTimeout();
  // Whether the blinking of the alarm in progress is over: the blinks done and, for a kept
  // window, the window back in front (or the alarm dismissed).
  bool BlinkingOver() const;
  // Whether the alarm's window is gone for good: dismissed, or hidden by its last blink and not
  // kept. An alarm whose sound cannot be watched (none, or the system sound function) lasts as
  // long as its window.
  bool AlarmWindowGone() const;
  // The alarm still wants the user: its window up (blinking, or kept in front), or its sound on.
  bool HoldsAttention() const;
  // The alarm in progress is over: its timer at rest, its sound (if any) stopped and the
  // volumes given back, nothing in progress. It hides nothing and holds nothing afterwards.
  void End();
  // Holds the system and the display awake exactly while the alarm in progress shows its
  // window, blinks or sounds; when that ends without the user, the history says it ended by
  // itself. Called wherever the alarm changes (presenting, each alarm tick, dismissing).
  void UpdateKeepAwake();
  void ReleaseKeepAwake();
  // Silences an alarm whose sound is still going when a silent alarm replaces it.
  void SilenceReplacedAlarm();

  // Sound (AlarmSound.cpp).
  void StartSound(const AlarmEntry& e);
  // Inside Dismiss, for an entry with sound: a playing or stopped device closed, or the
  // system sound silenced, and then the volumes given back and the alarm no longer sounding.
  void StopSoundOnDismiss();
  // Inside ShutDown: stops the sound of an alarm in progress whose entry has sound.
  void StopSoundAtShutDown();

  void TellSnoozesChanged();
  // The one in front was answered or ended: the alarm that waited last comes back to the front.
  void BringBackWaiting();
  void ShowCaption();

  // An alarm shown earlier whose window was up when a later one came: answered in its turn.
  struct WaitingAlarm {
    AlarmProgress progress;
    bool mainBell = true;
    std::string minuteText;
  };

  SnoozeObserver* observer_;
  AlarmProgress progress_;
  bool presentedMain_ = true;
  std::string presentedMinute_;
  std::vector<WaitingAlarm> waiting_;
  bool backInFront_ = false;  // the alarm in front came back from waiting: silent, up until answered
  std::vector<wb::Snooze> snoozes_;
  std::unique_ptr<AlarmTimers> timers_;
};

// The process's one alarm. TheAlarm() makes one nobody is told about when none was made (a
// test without a monitor); the monitor makes its own at its making and forgets it at its end.
Alarm& TheAlarm();
Alarm& MakeAlarm(SnoozeObserver* observer);
void ForgetAlarm();

// What MCI's mode query says of the alarm's alias now.
MediaMode QueryMediaMode();

// The alarm window's caption: the program's own, or for a snooze ringing again the snooze and
// its count first, so that a title bar too short for all of it still shows them.
// `waiting` alarms behind it are counted first ("ほかに2件 - Wakebell (アラーム)").
std::string AlarmCaption(int snoozedTimes, int waiting = 0);

}  // namespace wb
