// Fixture of the editor tests: the monitor started over a data file in a temporary program
// folder, the editor opened on top of it as the tray opens it, and helpers that read the
// list and the message boxes as a user sees them.
#pragma once
#include <string>
#include <vector>

#include "MonitorFixture.h"
#include "editor/EditorWindow.h"

namespace wb::test {

class EditorTest : public MonitorTest {
 protected:
  // The monitor starts over whatever data file the test wrote; the editor opens and shows.
  EditorWindow& Open() {
    EditorWindow& editor = Start().Editor();
    editor.Show();
    return editor;
  }
  static std::vector<std::string> Rows(const EditorWindow& w) {
    std::vector<std::string> rows;
    for (int r = 0; r < w.alarmList.ListCount(); ++r) rows.push_back(w.alarmList.List(r));
    return rows;
  }
  static std::vector<int> SelectedRows(const EditorWindow& w) {
    std::vector<int> rows;
    for (int r = 0; r < w.alarmList.ListCount(); ++r)
      if (w.alarmList.Selected(r)) rows.push_back(r);
    return rows;
  }
  std::string LastMessage() const { return dialogs.Asked.empty() ? "" : dialogs.Asked.back().text; }
  static std::string Focused(const EditorWindow& w) {
    return w.ActiveControl() ? w.ActiveControl()->Name() : "";
  }
  static void SetTime(EditorWindow& w, int hour, int minute) {
    w.hourEdit.SetText(std::to_string(hour));
    w.minuteEdit.SetText(std::to_string(minute));
  }
  // A daily entry starting today: selecting it keeps the calendar on today.
  static AlarmEntry Today(int hour, int minute) { return Entry(kRepeatDaily, MakeDate(2026, 12, 7, hour, minute)); }
  static AlarmEntry Weekly(int16_t mask, OleDate time) {
    AlarmEntry e = Entry(kRepeatWeekly, time);
    e.WeekdayMask = mask;
    return e;
  }
};

}  // namespace wb::test
