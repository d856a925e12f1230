// What the editor asks of the window that opens it, the monitor: the monitor includes the
// editor, so the editor reaches back only through this, lent when the editor is made
// (ui::TheForm<EditorWindow>(host)). An editor made without one (tests of the editor alone)
// holds no due check, hears of no start-up or shut-down and knows the national holidays only.
// Portable: no operating-system header.
#pragma once
#include "model/Holidays.h"

namespace wb {

class EditorHost {
 public:
  // OK holds the due check while it writes the table (true), then restarts it (false).
  virtual void PauseDueCheck(bool paused) = 0;
  // The editor switched to another data file: the days off are the new folder's from now on.
  virtual void DataFileSwitched() = 0;
  // Start-up reads the stored devices whatever the editor's lists show; at the end of the
  // program the editor closes without asking about unsaved edits.
  virtual bool StartingUp() const = 0;
  virtual bool ShuttingDown() const = 0;
  // The days off the list and the calendar show.
  virtual const DaysOff& DaysOffInUse() const = 0;

 protected:
  ~EditorHost() = default;
};

}  // namespace wb
