// Process-wide state shared by every window, grouped by owner: the monitor's, the editor's and
// the audio part's, beside the alarm table and the preferences. It lives outside every window's
// folder so that any window may include it; one instance for the process, reset between tests.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/Holidays.h"
#include "model/SortKey.h"
#include "storage/Preferences.h"

namespace wb {

// The background monitor's state: the alarm in progress, the tray, pause and shut-down.
struct MonitorState {
  bool startingUp = false;
  int16_t activeIndex = -1;  // slot of the alarm in progress, -1 none
  int16_t blinkCounter = 0;  // blinks done by the alarm in progress
  int16_t soundKind = 0;     // 0 none, 1 MCI, 2 system sound
  bool alarmSounding = false;
  bool alarmDismissed = false;
  int16_t keepWindow = 0;    // the alarm's window stays in front after its blinks
  bool blinkActive = false;
  bool paused = false;
  bool hoverActive = false;  // the cursor rests on the tray icon; the tip was refreshed
  int32_t hoverCursorX = 0, hoverCursorY = 0;
  bool testPlaying = false;  // the editor's test button plays a sound
  bool shuttingDown = false;
  // The days-off file's bad lines as last reported, so the same ones are reported only once.
  std::string daysOffReport;
};

// The editor's state; it survives the window's unloading.
struct EditorState {
  bool dataChanged = false;
  int32_t currentIndex = -1;
  bool editorLoading = false;
  bool dialogOpen = false;
  bool fillingFields = false;
  std::vector<SortKey> sortKeys;
  std::vector<int32_t> dailyRows;
  int32_t dailyRowCount = 0;
};

// The audio part's state: chosen devices and the volumes to put back.
struct AudioState {
  std::string midiDeviceName, waveDeviceName;
  uint32_t savedMidiVolume = 0, savedWaveVolume = 0;
  std::string savedMidiDeviceName, savedWaveDeviceName;
  bool midiSliderSuppressed = false, waveSliderSuppressed = false;
};

struct AppState {
  std::string programFolder;  // always ends in a backslash
  std::string dataPath;
  AlarmTable table;
  DaysOff daysOff;  // national holidays and the user's days-off file, for the entries that rest
  int16_t lastEditedIndex = -1;
  OleDate nextBellTime = 0;
  Preferences prefs;
  MonitorState monitor;
  EditorState editor;
  AudioState audio;
};

AppState& App();
void ResetAppState();  // tests: a freshly started process

}  // namespace wb
