#include "editor/EditorWindow.h"

#include "app_state/ProgramTitle.h"
#include "platform/Services.h"

namespace wb {

EditorWindow::EditorWindow()
    : ui::Form("EditorWindow", kProgramTitle, 9000, 6600),
      calendar(*this, "calendar", {.rect = {120, 120, 3900, 2880}}) {
  centerOnScreen = true;
  SetTabOrder({&calendar});
  onLoad = [this] { OnLoad(); };
}

// Every load starts from today's page of the calendar.
void EditorWindow::OnLoad() { calendar.SetValue(DayOf(Svc().clock->Now())); }

namespace {
ui::FormSlot<EditorWindow>& Slot() {
  static ui::FormSlot<EditorWindow> slot;
  return slot;
}
}  // namespace

EditorWindow& TheEditor() { return Slot().Get(); }
EditorWindow* EditorIfLoaded() { return Slot().IfLoaded(); }
void ResetEditor() { Slot().Reset(); }

// The list arrives with the editor proper; until then a loaded editor has nothing to redraw.
void RefreshListIfLoaded() {}

}  // namespace wb
