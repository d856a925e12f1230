// The editor window. For now only what the tray needs: a window that the tray can show and
// bring to the front, its calendar day, and the list-refresh hook of the due check.
// Portable window logic: no operating-system header.
#pragma once
#include "platform/Controls.h"

namespace wb {

class EditorWindow : public ui::Form {
 public:
  EditorWindow();
  // The day the user picked in the calendar; the tray tip counts from it.
  ui::MonthView calendar;

  void OnLoad();
};

// Touching the editor creates it hidden and runs its load.
EditorWindow& TheEditor();
// The editor when it is loaded, else null; never creates it.
EditorWindow* EditorIfLoaded();
void ResetEditor();  // tests: forget the window entirely

// The due check asks the list to show new fired-at marks. It must never create the editor:
// a fresh editor re-reads the data file, which puts back the stored fired-at members and lets
// the same alarm ring a second time within its minute.
void RefreshListIfLoaded();

}  // namespace wb
