// Process-wide state shared by every window: the alarm table, the data file's path and stamp,
// the preferences. It lives outside every window's folder so that any window may include it;
// one instance for the process, reset between tests. Each window's own state is its own: the
// alarm in progress and the snoozes are alert/'s Alarm, the monitor's MonitorWindow's, the
// editor's EditorWindow's (what outlives the window: editor/UnsavedEdits.h), the audio part's
// audio/Volume.h's.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"
#include "model/AlarmTable.h"
#include "storage/FileStamp.h"
#include "storage/Preferences.h"

namespace wb {

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
  int lastEditedSlot = -1;  // table slot of the entry last added or changed, -1 none
  OleDate nextBellTime = 0;
  Preferences prefs;
};

AppState& App();
void ResetAppState();  // tests: a freshly started process

}  // namespace wb
