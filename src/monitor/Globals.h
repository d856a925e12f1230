// Process-wide state shared by every window, grouped by owner and kept under the program's
// own names. One instance for the process; tests reset it between cases.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmTable.h"
#include "model/SortKey.h"
#include "storage/Preferences.h"

namespace wb {

// The background monitor's state (Form3).
struct MonitorState {
  bool StartingUp = false;
  int16_t ActiveIndex = -1;  // slot of the alarm in progress, -1 none
  int16_t BlinkCounter = 0;
  int16_t SoundKind = 0;     // 0 none, 1 MCI, 2 system sound
  bool AlarmSounding = false;
  bool AlarmDismissed = false;
  int16_t KeepWindow = 0;
  bool BlinkActive = false;
  bool Paused = false;
  bool HoverActive = false;
  int32_t HoverCursorX = 0, HoverCursorY = 0;
  bool TestPlaying = false;
  bool ShuttingDown = false;
};

// The editor's state (Form1); it survives the window's unloading.
struct EditorState {
  bool DataChanged = false;
  int32_t CurrentIndex = -1;
  bool EditorLoading = false;
  bool DialogOpen = false;
  bool FillingFields = false;
  std::vector<SortKey> SortKeys;
  std::vector<int32_t> DailyRows;
  int32_t DailyRowCount = 0;
};

// The audio part's state: chosen devices and the volumes to put back.
struct AudioState {
  std::string MidiDeviceName, WaveDeviceName;
  uint32_t SavedMidiVolume = 0, SavedWaveVolume = 0;
  std::string SavedMidiDeviceName, SavedWaveDeviceName;
  bool MidiSliderSuppressed = false, WaveSliderSuppressed = false;
};

struct AppState {
  std::string ProgramFolder;  // always ends in a backslash
  std::string DataPath;
  AlarmTable Table;
  int16_t LastEditedIndex = -1;
  OleDate NextBellTime = 0;
  Preferences Prefs;
  MonitorState Mon;
  EditorState Ed;
  AudioState Audio;
};

AppState& G();
void ResetGlobals();  // tests: a freshly started process

}  // namespace wb
