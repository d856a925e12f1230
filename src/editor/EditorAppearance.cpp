// How the alarm window will look: the two colour groups with their colour dialogs, the font
// dialog and the preview. Everything lands on the sample first; an entry takes it from there.
#include <algorithm>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "editor/EditorWindow.h"
#include "editor/FieldRules.h"
#include "platform/Services.h"

namespace wb {

void EditorWindow::ApplyTextColor(ui::Color color) {
  sampleView.SelectAll();
  sampleView.SetSelColor(color);
  sampleView.SetSelStart(0);
}

// Each group acts as a radio group that can never be left empty: a box the user unticks as
// the only ticked one ticks itself again. Box 0 asks the colour dialog for a free colour.
// The focus stays on the box: a keyboard user goes on through the palette from there.
void EditorWindow::OnColorBoxClick(bool textGroup, int index) {
  auto& boxes = textGroup ? textColorChecks : backColorChecks;
  ui::CheckBox& box = boxes[size_t(index)];
  const bool anyTicked = std::any_of(boxes.begin(), boxes.end(), [](const ui::CheckBox& b) { return b.Ticked(); });
  auto apply = [&](ui::Color color) {
    if (textGroup)
      ApplyTextColor(color);
    else
      sampleView.SetBackColor(color);
  };
  if (index > 0) {
    if (!anyTicked) {
      box.SetValue(ui::CheckState::Ticked);
      return;
    }
    if (!box.Ticked()) return;  // unticked by the box the user ticked
    apply(FixedBoxColor(index));
    for (size_t i = 0; i < boxes.size(); ++i)
      if (int(i) != index) boxes[i].SetValue(ui::CheckState::Unticked);
    return;
  }
  if (!anyTicked) {
    if (Visible()) box.SetValue(ui::CheckState::Ticked);  // ticked again, which asks for the colour again
    return;
  }
  if (!box.Ticked()) return;
  for (size_t i = 1; i < boxes.size(); ++i) boxes[i].SetValue(ui::CheckState::Unticked);
  // The dialog starts from the colour the sample shows; filling the fields ticks this box
  // without asking, and the colour given is then the colour kept.
  uint32_t color = textGroup ? sampleView.TextColor() : sampleView.BackColor();
  const bool suppressed = textGroup ? suppressForeColorDialog : suppressBackColorDialog;
  bool chosen = true;
  if (Visible() && !suppressed) {
    App().editor.dialogOpen = true;
    chosen = Svc().dialogs->ChooseColor(color);
    App().editor.dialogOpen = false;
  }
  if (chosen) apply(color);
}

void EditorWindow::ChooseSampleFont() {
  const ui::Color textColor = sampleView.TextColor();
  ui::Font font = sampleView.GetFont();
  App().editor.dialogOpen = true;
  const bool chosen = Svc().dialogs->ChooseFont(font);
  App().editor.dialogOpen = false;
  if (!chosen) return;
  sampleView.SetFont(font);
  ApplyTextColor(textColor);  // a new font keeps the colour
}

void EditorWindow::ShowPreview() {
  AlarmEntry look;
  look.Message = sampleView.Text();
  AppearanceToEntry(look);
  auto twoDigits = [](const std::string& text) {
    std::string n = std::to_string(LeadingNumber(text));
    return n.size() < 2 ? "0" + n : n;
  };
  TheAlarm().Preview(look, twoDigits(hourEdit.Text()) + ":" + twoDigits(minuteEdit.Text()));
}

}  // namespace wb
