// Add, change and delete of entries, and the quick timer. Each works on the process-wide
// table at once; the data file is written only by OK.
#include <algorithm>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/DeviceDialog.h"
#include "editor/EditorWindow.h"
#include "editor/FieldRules.h"
#include "platform/Services.h"

namespace wb {

namespace {
constexpr const char* kQuickTimerNotAddedMessage =
    "クイックタイマーは追加ボタンで追加できません\r\nクイックタイマーリストから登録してください";
constexpr int kReselectPauseMs = 200;

std::string Trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::vector<int> SelectedRows(const ui::ListBox& list) {
  std::vector<int> rows;
  for (int r = 0; r < list.ListCount(); ++r)
    if (list.Selected(r)) rows.push_back(r);
  return rows;
}
}  // namespace

bool EditorWindow::CheckMonthlyDay() {
  return !monthlyOption.Value() || !dayOfMonthEdit.Text().empty() || Warn(kDayMessage, &dayOfMonthEdit);
}

bool EditorWindow::CheckWeekdays() {
  bool any = std::any_of(weekdayChecks.begin(), weekdayChecks.end(), [](const ui::CheckBox& b) { return b.Ticked(); });
  return !weeklyOption.Value() || any || Warn(kWeekdayMissingMessage, &weekdayChecks[0]);
}

bool EditorWindow::CheckSoundFile() {
  return !soundCheck.Ticked() || !Trimmed(soundFileEdit.Text()).empty() ||
         Warn(kSoundFileMissingMessage, &soundFileEdit);
}

bool EditorWindow::CheckTableHasRoom() {
  return App().table.EntryCount() < AlarmTable::kMaxEntries || Warn(kTableFullMessage, nullptr);
}

bool EditorWindow::ConfirmPastTime() {
  const CivilTime d = ToCivil(calendar.Value());
  OleDate set = MakeDate(d.year, d.month, d.day, int(LeadingNumber(hourEdit.Text())),
                         int(LeadingNumber(minuteEdit.Text())), 0);
  if (SecondNumber(set) >= SecondNumber(Svc().clock->Now())) return true;
  if (!warnPastTimeCheck.Ticked()) return true;
  dialogOpen_ = true;
  int answer = Svc().dialogs->MsgBox(kPastTimeQuestion, kOkCancel | kIconExclamation,
                                     kProgramTitle);
  dialogOpen_ = false;
  return answer != kAnswerCancel;
}

void EditorWindow::RememberAsDefaults(const AlarmEntry& e) {
  Preferences& p = App().prefs;
  p.bellMode = e.BellMode;
  p.preBellMinutes = e.PreBellMinutes;
  p.message = e.Message;
  p.blinkFlag = e.BlinkFlag;
  p.sound = e.Sound;
  p.weekStart = WeekStart(mondayFirstCheck.Value());  // a grey box would store 2
  p.keepWindowFlag = e.KeepWindowFlag;
  p.blinkCount = e.BlinkCount;
  p.look = e.Look;
  if (WeekUnitOfRepeatKind(e.RepeatKind) >= 0) p.weeklyRepeat = e.RepeatKind;
  p.listView = allEntriesViewCheck.Ticked() ? ListView::AllEntries : ListView::CalendarDay;
  // A device list without a choice (no device of that kind) keeps the name already chosen.
  if (std::string name = DeviceOfList(midiDeviceCombo); !name.empty()) ChooseMidiDevice(p.midiDevice = name);
  if (std::string name = DeviceOfList(waveDeviceCombo); !name.empty()) ChooseWaveDevice(p.waveDevice = name);
}

void EditorWindow::AddEntry() {
  if (quickTimerOption.Value()) {
    Warn(kQuickTimerNotAddedMessage, nullptr);
    return;
  }
  if (!CheckHour() || !CheckMinute() || !CheckDay() || !CheckPreBell() || !CheckMonthlyDay() ||
      !CheckWeekdays() || !CheckSoundFile() || !CheckTableHasRoom())
    return;
  AppState& app = App();
  AlarmEntry e = app.table[app.table.EntryCount()];  // the spare slot becomes the new entry
  if (!FieldsToEntry(e, monthlyOption.Value()) || !ConfirmPastTime()) return;
  int slot = app.table.Add(e);
  UnsavedEdits::Set(true);
  RememberAsDefaults(e);
  app.lastEditedSlot = slot;
  NoteFieldsShown();  // what was typed is in the table now
  RefreshList();
  SelectRowOfEntry(slot);  // in the day view an entry not due that day has no row
}

namespace {

// A bell that rang in the present minute has rung for the changed entry too when the change
// leaves that bell in this minute (a new message, sound or look): otherwise the due check would
// present it again. A bell moved to another minute rings there, so its mark is not kept.
void KeepMarksOfThisMinute(const AlarmEntry& before, AlarmEntry& after, LocalSecond now) {
  const int64_t minute = FloorDiv(now, 60);
  const int32_t setMinute = DayTimeOf(after.AlarmTime).Minute();
  const int32_t nowMinute = int32_t(FloorMod(minute, 1440));
  auto rangThisMinute = [&](OleDate mark) { return mark != 0 && FloorDiv(SecondNumber(mark), 60) == minute; };
  if (rangThisMinute(before.MainBellFiredAt) && setMinute == nowMinute) after.MainBellFiredAt = before.MainBellFiredAt;
  if (rangThisMinute(before.PreBellFiredAt) && FloorMod(int64_t(setMinute) - after.PreBellMinutes, 1440) == nowMinute)
    after.PreBellFiredAt = before.PreBellFiredAt;
}

}  // namespace

void EditorWindow::ChangeEntry() {
  AppState& app = App();
  if (TheAlarm().Sounding()) return;
  std::vector<int> selected = SelectedRows(alarmList);
  if (selected.size() != 1) {
    Warn("アラームエントリを１つ選択してください", nullptr);
    return;
  }
  if (quickTimerOption.Value()) {
    Warn("クイックタイマーは変更できません", nullptr);
    return;
  }
  // The one selected row is what the user means, even when the list's focus rests on another.
  const int slot = SlotOfRow(selected[0]);
  AlarmEntry e = app.table[slot];
  if (!FieldsToEntry(e, monthlyOption.Value()) || !ConfirmPastTime()) return;
  TheAlarm().CancelSnoozeOf(slot);  // the user changed what was put off: it is no longer what they snoozed
  KeepMarksOfThisMinute(app.table[slot], e, Svc().clock->Read().Local());
  app.table[slot] = e;
  UnsavedEdits::Set(true);
  RememberAsDefaults(e);
  app.lastEditedSlot = slot;
  currentSlot_ = slot;
  NoteFieldsShown();
  RefreshList();
  if (int row = FindRowOfEntry(slot); row >= 0) {
    // A moment with the fresh list shown and nothing selected tells the user it was rebuilt.
    Svc().frontEnd->DoEvents();
    Svc().clock->Sleep(kReselectPauseMs);
    alarmList.SetSelected(row, true);
  } else if (DailyView()) {
    allEntriesViewCheck.SetValue(ui::CheckState::Ticked);  // no longer due that day: the full list shows it
  }
}

void EditorWindow::DeleteEntries() {
  AppState& app = App();
  std::vector<int> rows = SelectedRows(alarmList);
  if (rows.empty() || TheAlarm().Sounding()) return;
  UnsavedEdits::Set(true);
  std::vector<bool> marked(size_t(app.table.EntryCount()), false);
  for (int row : rows) marked[size_t(SlotOfRow(row))] = true;
  for (int slot = 0; slot < int(marked.size()); ++slot)
    if (marked[size_t(slot)]) TheAlarm().CancelSnoozeOf(slot);
  // The survivors keep their order; the spare slot is a fresh one.
  std::vector<AlarmEntry> kept;
  kept.reserve(marked.size() - rows.size() + 1);
  for (int slot = 0; slot < app.table.EntryCount(); ++slot)
    if (!marked[size_t(slot)]) kept.push_back(app.table[slot]);
  kept.emplace_back();
  app.table.Assign(std::move(kept));
  RefreshList();
  if (SelectedRows(alarmList).empty()) {
    ResetEntryFields();
    CaretToEnd(soundFileEdit);
  }
}

void EditorWindow::AddQuickTimer(int minutes) {
  AppState& app = App();
  if (!CheckTableHasRoom()) return;
  std::optional<int16_t> blinkCount = BlinkCountOfField();
  if (!blinkCount || !CheckStorable(soundFileEdit, kSoundFileNotStorable)) return;
  AlarmEntry e = app.table[app.table.EntryCount()];
  // The seconds of now stay: the timer rings the chosen number of minutes from this moment.
  e.AlarmTime = FromSecondNumber(SecondNumber(Svc().clock->Now()) + int64_t(minutes) * 60);
  e.RepeatKind = kRepeatQuick;
  e.WeekdayMask = MaskBitOfWeekday(WeekdayOf(e.AlarmTime));
  e.BellMode = BellMode::MainOnly;
  e.PreBellMinutes = 0;
  e.Message = "クイックタイマー";
  e.BlinkCount = *blinkCount;
  AppearanceToEntry(e);
  int slot = app.table.Add(e);
  UnsavedEdits::Set(true);
  app.lastEditedSlot = slot;
}

void EditorWindow::OnQuickTimerClick() {
  AddQuickTimer(QuickTimerMinutes(quickTimerCombo.ListIndex()));
  RefreshList();
}

}  // namespace wb
