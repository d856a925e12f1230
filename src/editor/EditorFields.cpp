// The entry fields: filters and checks while typing, the repetition options and the weekday
// boxes, the week start, the enable rules, filling at load and reset, and reading the fields
// back into an entry.
#include <algorithm>
#include <utility>

#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/DeviceDialog.h"
#include "audio/Volume.h"
#include "editor/EditorWindow.h"
#include "editor/FieldRules.h"
#include "model/SoundFlag.h"
#include "platform/Services.h"
#include "storage/TextBytes.h"

namespace wb {

namespace {
constexpr const char* kBlinkCountMessage = "ブリンク回数に、０～３２７６７の数値を入力してください";

bool Storable(const std::string& text) {
  bool lossless = true;
  StorageCodec().ToCp932(text, &lossless);
  return lossless;
}
}  // namespace

void SelectAllText(ui::TextBox& edit) {
  edit.SetSelStart(0);
  edit.SetSelLength(int(edit.Text().size()));
}
void CaretToEnd(ui::TextBox& edit) { edit.SetSelStart(int(edit.Text().size())); }

bool EditorWindow::Warn(const std::string& text, ui::Control* focus) {
  dialogOpen_ = true;
  Svc().dialogs->MsgBox(text, kOkOnly | kIconExclamation, kProgramTitle);
  dialogOpen_ = false;
  if (focus) focus->SetFocus();
  return false;
}

// --- Checks -------------------------------------------------------------------------------

bool EditorWindow::CheckHour() {
  if (skipTimeCheck) return skipTimeCheck = false, true;
  return IsHourValid(hourEdit.Text()) || Warn(kHourMessage, &hourEdit);
}

bool EditorWindow::CheckMinute() {
  if (skipTimeCheck) return skipTimeCheck = false, true;
  if (!IsMinuteValid(minuteEdit.Text())) return Warn(kMinuteMessage, &minuteEdit);
  // Left with one digit typed: shown as every minute is, "10：03".
  const std::string shown = MinuteText(int(LeadingNumber(minuteEdit.Text())));
  if (minuteEdit.Text() != shown) minuteEdit.SetText(shown);
  return true;
}

bool EditorWindow::CheckDay() {
  return IsDayValid(dayOfMonthEdit.Text()) || Warn(kDayMessage, &dayOfMonthEdit);
}

bool EditorWindow::CheckPreBell() {
  return IsPreBellValid(preBellLeadEdit.Text()) || Warn("予鈴時間を、０以上の値にしてください", &preBellLeadEdit);
}

// --- Typing -------------------------------------------------------------------------------

// Hour and minute: the filter keeps digits below the limit; an empty or invalid text warns
// at once; a valid one moves the spin control along.
void EditorWindow::OnTimeTyped(ui::TextBox& edit, ui::UpDown& spin, int limit,
                               bool (*valid)(const std::string&), const char* message) {
  FilteredDigits clean = DigitsBelow(edit.Text(), limit);
  if (edit.Text().empty()) {
    Warn(message, nullptr);
  } else if (clean.changed) {
    edit.SetText(clean.text);
    CaretToEnd(edit);
  } else if (!valid(edit.Text())) {
    Warn(message, nullptr);
  }
  if (!edit.Text().empty() && valid(edit.Text())) spin.SetValue(int(LeadingNumber(edit.Text())));
}

void EditorWindow::OnHourChange() { OnTimeTyped(hourEdit, hourSpin, 24, IsHourValid, kHourTypingMessage); }
void EditorWindow::OnMinuteChange() { OnTimeTyped(minuteEdit, minuteSpin, 60, IsMinuteValid, kMinuteMessage); }

void EditorWindow::OnDayChange() {
  if (dayFilterBusy) return;
  FilteredDigits clean = DigitsOnly(dayOfMonthEdit.Text());
  if (clean.changed) {
    dayFilterBusy = true;
    dayOfMonthEdit.SetText(clean.text);
    CaretToEnd(dayOfMonthEdit);
    dayFilterBusy = false;
  }
  CheckDay();
}

void EditorWindow::OnPreBellLeadChange() {
  if (preBellFilterBusy) return;
  FilteredDigits clean = DigitsBelow(preBellLeadEdit.Text(), 32768);
  if (!clean.changed) return;
  preBellFilterBusy = true;
  preBellLeadEdit.SetText(clean.text);
  CaretToEnd(preBellLeadEdit);
  preBellFilterBusy = false;
}

void EditorWindow::OnMessageChange() {
  sampleView.SetText(messageEdit.Text());
  sampleView.SelectAll();
  sampleView.SetSelAlignment(ui::Align::Center);
  sampleView.SetSelStart(0);
}

// --- Repetition and weekdays --------------------------------------------------------------

namespace {
void EnableAll(std::initializer_list<ui::Control*> controls, bool on) {
  for (ui::Control* c : controls) c->SetEnabled(on);
}
}  // namespace

void EditorWindow::MarkCalendarWeekday() {
  int box = WeekdayBox(WeekdayOf(calendar.Value()), MondayStart());
  for (int i = 0; i < kWeekdayBoxes; ++i) weekdayChecks[size_t(i)].SetValue(ui::TickedIf(i == box));
}

void EditorWindow::ApplyWeekUnit() {
  if (weekUnitCombo.ListIndex() == 1) {  // every other week rings on the start date's weekday
    int box = WeekdayBox(WeekdayOf(calendar.Value()), MondayStart());
    for (int i = 0; i < kWeekdayBoxes; ++i) {
      weekdayChecks[size_t(i)].SetValue(ui::TickedIf(i == box));
      weekdayChecks[size_t(i)].SetEnabled(i == box);
    }
    return;
  }
  for (auto& box : weekdayChecks) box.SetEnabled(true);
  MarkCalendarWeekday();
}

void EditorWindow::OnMonthlyOptionClick() {
  if (!monthlyOption.Value() || fillingFields_) return;
  EnableAll({&dayOfMonthEdit, &dayOfMonthLabel}, true);
  CaretToEnd(dayOfMonthEdit);
  // A click on 毎月 goes on into the day box. From the keyboard the focus stays on the option:
  // the arrows go on through the kinds, and Shift+Tab can leave them (the option takes the
  // focus on the way back).
  if (std::exchange(monthlyByPointer, false)) dayOfMonthEdit.SetFocus();
  for (auto& box : weekdayChecks) box.SetEnabled(false);
  MarkCalendarWeekday();
  restOnDaysOffCheck.SetEnabled(true);
}

void EditorWindow::OnWeeklyOptionClick() {
  if (!weeklyOption.Value()) return;
  ApplyWeekUnit();
  EnableAll({&dayOfMonthEdit, &dayOfMonthLabel}, false);
  restOnDaysOffCheck.SetEnabled(true);
}

void EditorWindow::OnDailyOptionClick() {
  EnableAll({&dayOfMonthEdit, &dayOfMonthLabel}, false);
  restOnDaysOffCheck.SetEnabled(true);
  for (auto& box : weekdayChecks) {
    box.SetEnabled(false);
    box.SetValue(ui::CheckState::Ticked);
  }
}

void EditorWindow::OnOnceOptionClick() {
  EnableAll({&dayOfMonthEdit, &dayOfMonthLabel, &restOnDaysOffCheck}, false);
  for (auto& box : weekdayChecks) box.SetEnabled(false);
  MarkCalendarWeekday();
}

void EditorWindow::OnWeekUnitClick() {
  weeklyOption.SetValue(true);
  ApplyWeekUnit();
}

void EditorWindow::LabelWeekdayBoxes() {
  for (int i = 0; i < kWeekdayBoxes; ++i) {
    weekdayChecks[size_t(i)].SetCaption(WeekdayBoxCaption(i, MondayStart()));
    weekdayChecks[size_t(i)].SetForeColor(WeekdayBoxColor(i, MondayStart()));
  }
  calendar.SetStartOfWeek(MondayStart() ? 2 : 1);
}

void EditorWindow::OnMondayFirstClick() {
  // The same weekdays stay ticked under the new labels.
  std::array<ui::CheckState, kWeekdayBoxes> values;
  for (int i = 0; i < kWeekdayBoxes; ++i) values[size_t(i)] = weekdayChecks[size_t(i)].Value();
  if (MondayStart())
    std::rotate(values.begin(), values.begin() + 1, values.end());
  else
    std::rotate(values.begin(), values.end() - 1, values.end());
  LabelWeekdayBoxes();
  for (int i = 0; i < kWeekdayBoxes; ++i) weekdayChecks[size_t(i)].SetValue(values[size_t(i)]);
  if (alarmList.ListCount() > 0) RefreshList();
}

void EditorWindow::OnWeekdaysOnlyClick() {
  weekUnitCombo.SetListIndex(0);  // 毎週
  weeklyOption.SetValue(true);
  ApplyWeekUnit();
  for (int i = 0; i < kWeekdayBoxes; ++i) {
    const int bit = WeekdayBoxBit(i, MondayStart());
    weekdayChecks[size_t(i)].SetValue(ui::TickedIf((bit & (kMaskSaturday | kMaskSunday)) == 0));
  }
  restOnDaysOffCheck.SetEnabled(true);
  restOnDaysOffCheck.SetValue(ui::CheckState::Ticked);
}

void EditorWindow::OnPreBellClick() {
  EnableAll({&preBellLeadEdit, &preBellLeadLabel, &mainBellTooCheck}, preBellCheck.Ticked());
}

void EditorWindow::OnBlinkClick() {
  EnableAll({&blinkCountEdit, &blinkCountLabel}, blinkCheck.Value() != ui::CheckState::Unticked);
}

void EditorWindow::OnSoundClick() {
  const bool on = soundCheck.Ticked();
  EnableAll({&soundFileLabel, &soundFileEdit, &browseSoundButton, &midiVolumeLabel, &waveVolumeLabel,
             &testPlayButton, &endlessCheck},
            on);
  // A kind of device the machine lacks has no volume to set.
  midiVolumeSlider.SetEnabled(on && !DeviceOfList(midiDeviceCombo).empty());
  waveVolumeSlider.SetEnabled(on && !DeviceOfList(waveDeviceCombo).empty());
}

// --- Appearance ---------------------------------------------------------------------------

void EditorWindow::ShowAppearance(const std::string& message, const Appearance& look) {
  sampleView.SetText(message);
  sampleView.SetFont(ui::FontOf(look));
  sampleView.SetBackColor(ui::Color(look.BackColor));
  sampleView.SelectAll();
  sampleView.SetSelColor(ui::Color(look.ForeColor));
  sampleView.SetSelAlignment(ui::Align::Center);
  sampleView.SetSelStart(0);
  // Ticking box 0 from here must not open the colour dialog; the stored colour stays.
  suppressForeColorDialog = suppressBackColorDialog = true;
  for (auto [boxes, index] : {std::pair{&textColorChecks, int(look.ForeColorIndex)},
                              std::pair{&backColorChecks, int(look.BackColorIndex)}}) {
    if (index < 0 || index >= int(boxes->size())) continue;  // an unknown index leaves the boxes
    (*boxes)[size_t(index)].SetValue(ui::CheckState::Ticked);
    for (size_t i = 0; i < boxes->size(); ++i)
      if (int(i) != index) (*boxes)[i].SetValue(ui::CheckState::Unticked);
  }
  suppressForeColorDialog = suppressBackColorDialog = false;
}

// --- Filling ------------------------------------------------------------------------------

// The hour, minute and day of `now`, the spin controls with them.
void EditorWindow::ShowTimeOf(OleDate now) {
  const CivilTime t = ToCivil(now);
  hourEdit.SetText(std::to_string(t.hour));
  minuteEdit.SetText(MinuteText(t.minute));
  hourSpin.SetValue(t.hour);
  minuteSpin.SetValue(t.minute);
  dayOfMonthEdit.SetText(std::to_string(t.day));
}

// The sound and look of an entry, or the preferences' for a new one (not the volumes: a new
// entry takes the devices' own).
void EditorWindow::ShowSoundAndLook(const SoundAndLook& s) {
  blinkCheck.SetValue(ui::TickedIf(BlinkBoxTicked(s.blinkFlag)));
  soundCheck.SetValue(ui::TickedIf(SoundBoxTicked(s.sound.Flag)));
  soundFileEdit.SetText(s.sound.File);
  CaretToEnd(soundFileEdit);
  endlessCheck.SetValue(ui::TickedIf(EndlessBoxTicked(s.sound.Endless)));
  keepWindowCheck.SetValue(ui::TickedIf(s.keepWindowFlag != 0));
  blinkCountEdit.SetText(std::to_string(s.blinkCount));
  ShowAppearance(s.message, s.look);
}

void EditorWindow::ShowBellMode(BellMode mode) {
  if (mode != BellMode::MainOnly && mode != BellMode::PreOnly && mode != BellMode::PreAndMain) return;
  preBellCheck.SetValue(ui::TickedIf(mode != BellMode::MainOnly));
  mainBellTooCheck.SetValue(ui::TickedIf(mode == BellMode::PreAndMain));
}

EditorWindow::SoundAndLook EditorWindow::SoundAndLookOf(const Preferences& p) {
  return {p.blinkFlag, p.keepWindowFlag, p.blinkCount, p.sound, p.message, p.look};
}

void EditorWindow::InitEditorFields() {
  const Preferences& p = App().prefs;
  const OleDate now = Svc().clock->Now();
  calendar.SetValue(DayOf(now));
  mondayFirstCheck.SetValue(ui::TickedIf(p.weekStart == WeekStart::Monday));
  LabelWeekdayBoxes();  // also when the box kept its value and so ran no reaction
  messageEdit.SetText(p.message);
  if (RingsPreBell(p.bellMode)) preBellCheck.SetValue(ui::CheckState::Ticked);
  if (p.bellMode == BellMode::PreAndMain) mainBellTooCheck.SetValue(ui::CheckState::Ticked);
  preBellLeadEdit.SetText(std::to_string(p.preBellMinutes));
  ShowSoundAndLook(SoundAndLookOf(p));
  EnableAll({&blinkCountEdit, &blinkCountLabel}, AlarmBlinks(p.blinkFlag));
  weekUnitCombo.SetListIndex(std::max(0, WeekUnitOfRepeatKind(p.weeklyRepeat)));
  // Tick the new view first: unticking the only ticked box would tick it again.
  if (p.listView == ListView::CalendarDay) {
    dailyViewCheck.SetValue(ui::CheckState::Ticked);
  } else {
    allEntriesViewCheck.SetValue(ui::CheckState::Ticked);
  }
  warnPastTimeCheck.SetValue(ui::TickedIf(p.warnPastTime != 0));
  onceOption.SetValue(true);
  EnableAll({&dayOfMonthEdit, &dayOfMonthLabel, &restOnDaysOffCheck}, false);
  for (auto& box : weekdayChecks) box.SetEnabled(false);
  OnPreBellClick();
  OnSoundClick();
  CaretToEnd(soundFileEdit);
  ShowVolumeOnSlider(midiVolumeSlider, SavedMidiVolume());
  ShowTimeOf(now);
  FillDeviceLists();
}

void EditorWindow::ResetEntryFields() {
  const Preferences& p = App().prefs;
  const OleDate now = Svc().clock->Now();
  calendar.SetValue(DayOf(now));
  ShowTimeOf(now);
  MarkCalendarWeekday();
  onceOption.SetValue(true);
  restOnDaysOffCheck.SetValue(ui::CheckState::Unticked);
  mondayFirstCheck.SetValue(ui::TickedIf(p.weekStart == WeekStart::Monday));
  messageEdit.SetText(p.message);
  ShowBellMode(p.bellMode);
  preBellLeadEdit.SetText(std::to_string(p.preBellMinutes));
  ShowSoundAndLook(SoundAndLookOf(p));
  weekUnitCombo.SetListIndex(std::max(0, WeekUnitOfRepeatKind(p.weeklyRepeat)));
}

// --- Reading the fields back --------------------------------------------------------------

bool EditorWindow::CheckStorable(ui::TextBox& edit, const char* message) {
  return Storable(edit.Text()) || Warn(message, &edit);
}

bool EditorWindow::CheckStorableText() {
  return CheckStorable(messageEdit, kMessageNotStorable) && CheckStorable(soundFileEdit, kSoundFileNotStorable);
}

std::optional<int16_t> EditorWindow::BlinkCountOfField() {
  std::optional<int> count = WholeNumberIn(blinkCountEdit.Text(), 0, 32767);
  if (!count) {
    Warn(kBlinkCountMessage, &blinkCountEdit);
    return std::nullopt;
  }
  return int16_t(*count);
}

void EditorWindow::AppearanceToEntry(AlarmEntry& e) const {
  e.BlinkFlag = blinkCheck.Value() == ui::CheckState::Unticked ? 0 : 1;
  e.Sound.Flag = soundCheck.Ticked() ? 1 : 0;
  e.Sound.File = soundFileEdit.Text();
  // These two store the box's state as it is (a grey box stores 2).
  e.Sound.Endless = int16_t(endlessCheck.Value());
  e.MidiVolume = int32_t(VolumeFromSlider(midiVolumeSlider.Value()));
  e.WaveVolume = int32_t(VolumeFromSlider(waveVolumeSlider.Value()));
  e.KeepWindowFlag = int16_t(keepWindowCheck.Value());
  Appearance& look = e.Look;
  look.ForeColor = int32_t(sampleView.TextColor());
  look.BackColor = int32_t(sampleView.BackColor());
  ui::StoreFont(sampleView.GetFont(), look);
  for (auto [boxes, index] : {std::pair{&textColorChecks, &look.ForeColorIndex}, std::pair{&backColorChecks, &look.BackColorIndex}}) {
    auto ticked = std::find_if(boxes->begin(), boxes->end(), [](const ui::CheckBox& b) { return b.Ticked(); });
    if (ticked != boxes->end()) *index = int16_t(ticked - boxes->begin());
  }
  e.PreBellFiredAt = 0;
  e.MainBellFiredAt = 0;
}

bool EditorWindow::FieldsToEntry(AlarmEntry& entry, bool dayFromField) {
  // Everything is checked before anything is written: a refused entry leaves the slot as it was.
  std::optional<int> hour = WholeNumberIn(hourEdit.Text(), 0, 23);
  if (!hour) return Warn(kHourMessage, &hourEdit);
  std::optional<int> minute = WholeNumberIn(minuteEdit.Text(), 0, 59);
  if (!minute) return Warn(kMinuteMessage, &minuteEdit);
  const CivilTime date = ToCivil(calendar.Value());
  int day = date.day;
  if (dayFromField) {
    std::optional<int> typed = WholeNumberIn(dayOfMonthEdit.Text(), 1, 31);
    if (!typed) return Warn(kDayMessage, &dayOfMonthEdit);
    if (*typed > DaysInMonth(date.year, date.month)) return Warn(kDayNotInMonthMessage, &dayOfMonthEdit);
    day = *typed;
  }
  std::optional<int16_t> blinkCount = BlinkCountOfField();
  if (!blinkCount || !CheckStorableText()) return false;

  AlarmEntry e = entry;
  e.AlarmTime = MakeDate(date.year, date.month, day, *hour, *minute, 0);
  if (monthlyOption.Value()) e.RepeatKind = kRepeatMonthly;
  else if (weeklyOption.Value()) e.RepeatKind = RepeatKindOfWeekUnit(weekUnitCombo.ListIndex());
  else if (dailyOption.Value()) e.RepeatKind = kRepeatDaily;
  else e.RepeatKind = kRepeatOnce;
  e.WeekdayMask = 0;
  for (int i = 0; i < kWeekdayBoxes; ++i)
    if (weekdayChecks[size_t(i)].Ticked()) e.WeekdayMask = int16_t(e.WeekdayMask | WeekdayBoxBit(i, MondayStart()));
  // A once-only entry always rings: it never carries the choice, whatever the box says.
  if (restOnDaysOffCheck.Ticked() && RepeatKindCanRest(e.RepeatKind))
    e.WeekdayMask = int16_t(e.WeekdayMask | kMaskRestsOnDaysOff);
  e.BellMode = !preBellCheck.Ticked()      ? BellMode::MainOnly
               : mainBellTooCheck.Ticked() ? BellMode::PreAndMain
                                           : BellMode::PreOnly;
  if (!preBellLeadEdit.Text().empty())
    e.PreBellMinutes = int16_t(std::clamp<long long>(LeadingNumber(preBellLeadEdit.Text()), 0, 32767));
  e.Message = messageEdit.Text();
  e.BlinkCount = *blinkCount;
  AppearanceToEntry(e);
  entry = std::move(e);
  return true;
}

}  // namespace wb
