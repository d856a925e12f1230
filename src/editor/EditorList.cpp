// The editor's alarm list: its fill in display order, the two views, the calendar's effect on
// the day view, and copying a selected entry into the fields.
#include "app_state/AppState.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "editor/FieldRules.h"
#include "model/Assert.h"
#include "model/ListLine.h"
#include "model/SoundFlag.h"
#include "model/SortKeys.h"
#include "platform/Services.h"

namespace wb {

namespace {
constexpr ui::Color kDailyViewRed = 0x0000FF;
}  // namespace

// How many half-width columns of the list's fixed-pitch font a row shows: its width less the
// vertical scroll bar and the edges, over half the font's height (a full-width character is as
// high as it is wide) in whole pixels, as the font is drawn at 96 DPI and scaled with the list.
int RowColumns(const ui::ListBox& list) {
  constexpr int kScrollBarAndEdges = 21 * ui::kTwipsPerPixel;
  const int halfWidthPixels = (list.GetFont().size * 2 + 2) / 3;  // points * 96/72, halved, rounded up
  return halfWidthPixels > 0 ? (list.Position().width - kScrollBarAndEdges) / (halfWidthPixels * ui::kTwipsPerPixel) : 0;
}

void EditorWindow::RefreshList() {
  sortKeys_ = BuildSortKeys(App().table);
  std::vector<ListRow> rows = BuildAlarmList(App().table, sortKeys_, calendar.Value(),
                                             Svc().clock->Now(), DailyView(), MondayStart(), &DaysOffInUse());
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  if (DailyView()) dailyRows_.clear();
  // Each row shows its entry's message after the line, so that alike rows can be told apart.
  const int columns = RowColumns(alarmList);
  for (ListRow& row : rows) {
    if (DailyView()) dailyRows_.push_back(row.slot);
    lines.push_back(ListRowWithMessage(row.text, App().table[row.slot].Message, columns));
  }
  // One fill for the whole list: a full table is 32767 rows.
  alarmList.SetItems(std::move(lines));
}

int EditorWindow::SlotOfRow(int row) const {
  if (DailyView()) {
    WB_ASSERT(row >= 0 && row < int(dailyRows_.size()));
    return dailyRows_[size_t(row)];
  }
  WB_ASSERT(row >= 0 && row < int(sortKeys_.size()));
  return sortKeys_[size_t(row)].Slot;
}

int EditorWindow::FindRowOfEntry(int slot) const {
  if (slot < 0) return -1;
  for (int row = 0; row < alarmList.ListCount(); ++row)
    if (SlotOfRow(row) == slot) return row;
  return -1;
}

void EditorWindow::SelectRowOfEntry(int slot) {
  int row = FindRowOfEntry(slot);
  if (row >= 0) alarmList.SetSelected(row, true);
}

void EditorWindow::FocusList() {
  if (Visible()) alarmList.SetFocus();
}

void EditorWindow::ShowEntryInFields() {
  int row = alarmList.ListIndex();
  if (row < 0 || row >= alarmList.ListCount()) return;  // a click below the last row
  AppState& app = App();
  fillingFields_ = true;
  int slot = SlotOfRow(row);
  currentSlot_ = slot;
  const AlarmEntry e = app.table[slot];  // a copy: the reactions below may refresh the list
  const CivilTime t = ToCivil(e.AlarmTime);

  calendar.SetValue(DayOf(e.AlarmTime));
  if (Visible()) OnCalendarDateClick();
  hourEdit.SetText(std::to_string(t.hour));
  minuteEdit.SetText(MinuteText(t.minute));
  hourSpin.SetValue(t.hour);
  minuteSpin.SetValue(t.minute);

  switch (e.RepeatKind) {
    case kRepeatMonthly:
      monthlyOption.SetValue(true);
      dayOfMonthEdit.SetEnabled(true);
      dayOfMonthLabel.SetEnabled(true);
      CaretToEnd(dayOfMonthEdit);
      break;
    case kRepeatDaily: dailyOption.SetValue(true); break;
    case kRepeatOnce: onceOption.SetValue(true); break;
    case kRepeatQuick: quickTimerOption.SetValue(true); break;
    default:
      if (WeekUnitOfRepeatKind(e.RepeatKind) >= 0) weeklyOption.SetValue(true);
      break;
  }
  dayOfMonthEdit.SetText(std::to_string(t.day));
  CaretToEnd(dayOfMonthEdit);
  if (int unit = WeekUnitOfRepeatKind(e.RepeatKind); unit >= 0) weekUnitCombo.SetListIndex(unit);
  for (int box = 0; box < kWeekdayBoxes; ++box)
    weekdayChecks[size_t(box)].SetValue(ui::TickedIf(e.WeekdayMask & WeekdayBoxBit(box, MondayStart())));
  restOnDaysOffCheck.SetValue(ui::TickedIf((e.WeekdayMask & kMaskRestsOnDaysOff) != 0));
  restOnDaysOffCheck.SetEnabled(RepeatKindCanRest(e.RepeatKind));
  messageEdit.SetText(e.Message);
  ShowBellMode(e.BellMode);
  preBellLeadEdit.SetText(std::to_string(e.PreBellMinutes));
  ShowSoundAndLook({e.BlinkFlag, e.KeepWindowFlag, e.BlinkCount, e.Sound, e.Message, e.Look});
  ShowVolumeOnSlider(midiVolumeSlider, uint32_t(e.MidiVolume));
  ShowVolumeOnSlider(waveVolumeSlider, uint32_t(e.WaveVolume));
  fillingFields_ = false;
  NoteFieldsShown();
}

// The two view boxes act as a pair of which exactly one is ticked; a box the user unticks
// ticks itself again.
void EditorWindow::OnAllEntriesViewClick() {
  if (viewBoxRetick) return;  // the box ticking itself again below: nothing else changes
  if (!allEntriesViewCheck.Ticked() && !dailyViewCheck.Ticked()) {
    viewBoxRetick = true;
    allEntriesViewCheck.SetValue(ui::CheckState::Ticked);
    viewBoxRetick = false;
    return;
  }
  if (!allEntriesViewCheck.Ticked()) return;
  dailyViewCheck.SetValue(ui::CheckState::Unticked);
  dailyViewCheck.SetFont({.name = dailyViewCheck.GetFont().name, .size = dailyViewCheck.GetFont().size});
  dailyViewCheck.SetBackColor(ui::kButtonFace);
  RefreshList();
  if (!loading_) SelectRowOfEntry(currentSlot_);
  FocusList();
}

void EditorWindow::OnDailyViewClick() {
  if (viewBoxRetick) return;  // the box ticking itself again below: nothing else changes
  if (!allEntriesViewCheck.Ticked() && !dailyViewCheck.Ticked()) {
    viewBoxRetick = true;
    dailyViewCheck.SetValue(ui::CheckState::Ticked);
    viewBoxRetick = false;
    return;
  }
  // Only a freshly ticked デイリー switches; unticked by the other box it has nothing to do.
  if (!dailyViewCheck.Ticked()) return;
  allEntriesViewCheck.SetValue(ui::CheckState::Unticked);
  ui::Font bold = dailyViewCheck.GetFont();
  bold.bold = true;
  dailyViewCheck.SetFont(bold);
  dailyViewCheck.SetBackColor(kDailyViewRed);
  RefreshList();
  SelectRowOfEntry(currentSlot_);
  FocusList();
}

void EditorWindow::OnCalendarDateClick() { addButton.SetFocus(); }

// Every change of the calendar's selection, a day clicked or the month moved by its arrows,
// menus or keys: the highlighted day is the entry's date, and the day view lists that day.
// The focus stays where the user is: keys that walk the calendar keep walking it, and a click
// on a day moves on to アラーム追加 (OnCalendarDateClick).
void EditorWindow::OnCalendarSelChange() {
  if (!DailyView()) return;
  RefreshList();
}

}  // namespace wb
