// The editor's size: the user may make it larger (never smaller than designed); the alarm list
// takes the added width and height, so more of each entry's message shows after its line, and
// the controls right of and below it keep their places relative to it. The size is this PC's
// own, kept in the settings beside the program.
#include <algorithm>
#include <utility>

#include "app_state/AppState.h"
#include "editor/EditorWindow.h"
#include "platform/Services.h"
#include "storage/Settings.h"

namespace wb {
namespace {

// The designed right edge of the list's column (pixels at 96 DPI): what lies right of it moves
// with the added width; the rows under the list (the data file's) move with the added height.
constexpr int kListColumnRight = 356 * ui::kTwipsPerPixel;
constexpr int kUnderListTop = 504 * ui::kTwipsPerPixel;

}  // namespace

void EditorWindow::NoteDesignedPlaces() {
  for (ui::Control* c : Controls()) designedPlaces_.emplace_back(c, c->Position());
  listColumns_ = RowColumns(alarmList);
}

// The size remembered from the last time, as far as the work area has room for it.
void EditorWindow::ApplyRememberedSize() {
  const ProgramFolderSettings settings = ReadSettings<ProgramFolderSettings>(ProgramIniPath(App().programFolder));
  rememberedWidth_ = settings.editorWidth;
  rememberedHeight_ = settings.editorHeight;
  if (rememberedWidth_ <= 0 || rememberedHeight_ <= 0) return;
  int width = rememberedWidth_ * ui::kTwipsPerPixel, height = rememberedHeight_ * ui::kTwipsPerPixel;
  if (Svc().frontEnd) {
    const ui::Rect work = Svc().frontEnd->WorkArea();
    width = std::min(width, work.width);
    height = std::min(height, work.height);
  }
  SetClientSize(width, height);  // never below the designed size
}

// Written when the window closes and only when the user changed it, so a user who never
// resizes the editor finds the settings file as it was.
void EditorWindow::RememberSize() {
  const int width = ClientWidth() / ui::kTwipsPerPixel, height = ClientHeight() / ui::kTwipsPerPixel;
  const bool designed = ClientWidth() == DesignedWidth() && ClientHeight() == DesignedHeight();
  if (designed && rememberedWidth_ <= 0 && rememberedHeight_ <= 0) return;
  if (width == rememberedWidth_ && height == rememberedHeight_) return;
  ProgramFolderSettings size;
  size.editorWidth = width;
  size.editorHeight = height;
  if (WriteSettings(ProgramIniPath(App().programFolder), size, size.editorWidth, size.editorHeight)) {
    rememberedWidth_ = width;
    rememberedHeight_ = height;
  }
}

void EditorWindow::PlaceForSize() {
  const int addedWidth = ClientWidth() - DesignedWidth(), addedHeight = ClientHeight() - DesignedHeight();
  for (const auto& [control, designed] : designedPlaces_) {
    ui::Rect r = designed;
    if (control == &alarmList) {
      r.width += addedWidth;
      r.height += addedHeight;
    } else if (control == &dataPathEdit) {
      r.top += addedHeight;
      r.width += addedWidth;
    } else if (control == &resetFieldsButton || control == &saveAndCloseButton) {
      r.left += addedWidth;  // the closing buttons stay in the bottom right corner
      r.top += addedHeight;
    } else {
      // The view boxes over the list and the buttons beside the data file's box end where the
      // list ends; the label names stay at the list's left.
      const bool rightOfList = r.left + r.width > kListColumnRight || control == &allEntriesViewCheck ||
                               control == &dailyViewCheck || control == &exportButton ||
                               control == &importButton || control == &browseDataFileButton;
      if (rightOfList) r.left += addedWidth;
      if (r.top >= kUnderListTop && r.left < kListColumnRight + addedWidth) r.top += addedHeight;
    }
    if (r.left != control->Position().left || r.top != control->Position().top ||
        r.width != control->Position().width || r.height != control->Position().height)
      control->Move(r);
  }
  // The rows are cut to the list's width: a wider list shows more of each message. The
  // selection stays as it was, without filling the fields again.
  const int columns = RowColumns(alarmList);
  if (columns == listColumns_) return;
  listColumns_ = columns;
  if (!Loaded() || loading_) return;
  std::vector<bool> selected(size_t(alarmList.ListCount()));
  for (int row = 0; row < alarmList.ListCount(); ++row) selected[size_t(row)] = alarmList.Selected(row);
  const int focusRow = alarmList.ListIndex();
  RefreshList();
  if (alarmList.ListCount() != int(selected.size())) return;
  auto click = std::exchange(alarmList.onClick, nullptr);
  if (std::find(selected.begin(), selected.end(), true) != selected.end()) alarmList.UserSelect(selected, focusRow);
  alarmList.onClick = std::move(click);
}

}  // namespace wb
