// Process-wide state shared by every window, grouped by owner: the alarm in progress (alert/),
// beside the alarm table, the preferences and the hooks that let a lower window call a higher
// one. It lives outside every window's folder so that any window may include it; one instance
// for the process, reset between tests. The monitor's state is MonitorWindow's, the editor's
// EditorWindow's (what outlives the window: editor/UnsavedEdits.h), the audio part's
// audio/Volume.h's.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/AlarmEntry.h"
#include "model/AlarmTable.h"
#include "model/Snooze.h"
#include "platform/Controls.h"
#include "storage/FileStamp.h"
#include "storage/Preferences.h"

namespace wb {

// How the alarm in progress is sounding.
enum class SoundKind : int16_t {
  None,    // silent, or nothing could play the file
  Mci,     // the MCI device under the alarm's alias
  System,  // the system sound function (a wave file MCI refused)
};

// The timers the alarm drives. They are the alarm's, not a window's: the alarm window is made
// anew for each alarm, and the blinking and the sound go on after it closes. alert/ makes them
// on first use and wires their ticks.
struct AlarmTimers {
  // Ticks the blinking and the sound of the alarm in progress: 1000 ms, restarted per alarm,
  // at rest once the alarm is over.
  ui::Timer alarmTimer{"alarmTimer"};
  // A left click on the tray icon arms it; unless a second click (the double click that opens
  // the editor) cancels it within half a second, it dismisses the alarm.
  ui::Timer singleClickTimer{"singleClickTimer", 500};
};

// The alarm in progress, owned by alert/: which entry rings, how far its blinking and sound
// have gone, and the editor's test sound, which shares the alarm's one sound device.
struct AlarmState {
  int16_t activeIndex = -1;  // slot of the alarm in progress, -1 none
  // The slot of the alarm its window shows, also after the alarm ran its course (its sound
  // ended, or it had none): スヌーズ works as long as the window offers it.
  int16_t presentedSlot = -1;
  int16_t blinkCounter = 0;  // blinks done by the alarm in progress
  SoundKind soundKind = SoundKind::None;
  bool sounding = false;     // its sound has not ended yet (or was never silenced)
  bool dismissed = false;    // the user ended it; the sound may still be closing
  bool keepWindow = false;   // the alarm's window stays in front after its blinks
  bool blinkActive = false;
  bool testPlaying = false;  // the editor's test button plays a sound
  // The system and the display are held awake for it (its window or sound is on), and the
  // minute it was presented, for the history of how it ended.
  bool holdingAwake = false;
  LocalSecond presentedAt = 0;
  // The alarm in progress rings again after this many snoozes in a row; 0 for its own bell.
  int snoozedTimes = 0;
  // The entry as it was presented: the alarm goes on from it when the editor has reloaded a
  // shorter table that no longer has activeIndex.
  AlarmEntry presented;
  std::unique_ptr<AlarmTimers> timers;  // made on first use by alert/
};

// The alarms put off by スヌーズ, owned by alert/ (which snoozes, rings and cancels them); the
// monitor loads them from the state file at start-up and writes them back when they change.
struct SnoozeState {
  std::vector<Snooze> snoozes;
};

// Calls against the include order: the alarm may not include the monitor above it. The
// monitor wires these once, when it is made; empty in a test that makes no monitor (they are
// then not called).
struct AppHooks {
  // The snoozes changed (one added, rung, cancelled): the monitor writes the state file and
  // puts the wake timer, the tray tip and the menu's スヌーズを解除 right.
  std::function<void()> snoozesChanged;
};

struct AppState {
  std::string programFolder;  // always ends in a backslash
  // False when start-up found that no file can be made there: the history and the state file
  // are then not tried at all, so nothing is half-written or written elsewhere.
  bool programFolderWritable = true;
  std::string dataPath;
  AlarmTable table;
  // The data file as this process last read or wrote it: a file that no longer matches was
  // changed elsewhere (another PC, the tool, a backup put back).
  FileStamp dataStamp;
  int16_t lastEditedIndex = -1;
  OleDate nextBellTime = 0;
  Preferences prefs;
  AlarmState alarm;
  SnoozeState snooze;
  AppHooks hooks;
};

AppState& App();
void ResetAppState();  // tests: a freshly started process

}  // namespace wb
