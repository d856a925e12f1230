// Process-wide state shared by every window, grouped by owner: the monitor's, the editor's and
// the audio part's, beside the alarm table, the preferences and
// the hooks that let a lower window call a higher one. It lives outside every window's folder
// so that any window may include it; one instance for the process, reset between tests.
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
#include "model/Holidays.h"
#include "model/SortKey.h"
#include "platform/Controls.h"
#include "storage/FileStamp.h"
#include "storage/Preferences.h"

namespace wb {

// The background monitor's own state: start-up, the tray, pause and shut-down.
struct MonitorState {
  bool startingUp = false;
  bool paused = false;
  bool hoverActive = false;  // the cursor rests on the tray icon; the tip was refreshed
  int32_t hoverCursorX = 0, hoverCursorY = 0;
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

// Calls against the include order: the monitor opens the editor, and the editor opens the
// device part, so neither may include the one above it. The monitor wires these once, when it
// is made; empty in a test that makes no monitor (they are then not called).
struct AppHooks {
  // Holds the monitor's due check (true) while the editor's OK writes the table, then restarts
  // it with a full second to the next tick (false).
  std::function<void(bool paused)> pauseDueCheck;
  // The device the editor's MIDI or wave list selects, while the editor's lists are in use;
  // nothing otherwise (the chosen device names then stand in for the lists).
  std::function<std::optional<std::string>()> editorMidiDevice, editorWaveDevice;
  // The editor switched to another data file: the days off are the new folder's from now on.
  std::function<void()> dataFileSwitched;
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
  DaysOff daysOff;  // national holidays and the user's days-off file, for the entries that rest
  int16_t lastEditedIndex = -1;
  OleDate nextBellTime = 0;
  Preferences prefs;
  MonitorState monitor;
  EditorState editor;
  AudioState audio;
  AppHooks hooks;
};

AppState& App();
void ResetAppState();  // tests: a freshly started process

}  // namespace wb
