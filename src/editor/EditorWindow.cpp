// The editor's controls, where they sit, how they are wired, and the opening sequence.
#include "editor/EditorWindow.h"

#include <utility>

#include "alert/Alarm.h"
#include "app_state/AppState.h"
#include "app_state/ProgramTitle.h"
#include "audio/DeviceDialog.h"
#include "audio/Volume.h"
#include "editor/FieldRules.h"
#include "platform/Services.h"
#include "storage/DataFile.h"
#include "storage/FileStamp.h"
#include "storage/Settings.h"

namespace wb {
namespace {

using ui::Px;
constexpr int kClientWidth = 976, kClientHeight = 572;
constexpr int kDropHeight = 260;  // a drop-down list's height when open

// Colour boxes: [0] the free choice, then 青 緑 黄 赤 灰 白 黒.
constexpr std::array<const char*, 8> kColorCaptions = {"", "青", "緑", "黄", "赤", "灰", "白", "黒"};

template <size_t N, class Make>
auto MakeArray(Make make) {
  return [&]<size_t... I>(std::index_sequence<I...>) {
    return std::array<decltype(make(0)), N>{make(I)...};
  }(std::make_index_sequence<N>{});
}

std::string Indexed(const char* family, size_t i) {
  return std::string(family) + "[" + std::to_string(i) + "]";
}

}  // namespace

// The layout: each control where it sits, with its caption.
EditorWindow::EditorWindow(EditorHost* host)
    : ui::Form("EditorWindow", kProgramTitle, kClientWidth * ui::kTwipsPerPixel, kClientHeight * ui::kTwipsPerPixel),
      alarmListLabel(*this, "alarmListLabel", {.rect = Px(8, 12, 120, 16), .caption = "アラームリスト(&L)"}),
      allEntriesViewCheck(*this, "allEntriesViewCheck", {.rect = Px(196, 8, 60, 22), .caption = "一覧(&I)"}),
      dailyViewCheck(*this, "dailyViewCheck", {.rect = Px(262, 8, 90, 22), .caption = "デイリー(&Y)"}),
      alarmList(*this, "alarmList", {.rect = Px(8, 34, 344, 468), .multiSelect = true}),
      calendar(*this, "calendar", {.rect = Px(364, 8, 268, 182)}),
      entryFrame(*this, "entryFrame", {.rect = Px(364, 196, 276, 366), .caption = "アラーム設定"}),
      setTimeLabel(*this, "setTimeLabel", {.rect = Px(376, 222, 66, 16), .caption = "設定時刻(&T)"}),
      hourEdit(*this, "hourEdit", {.rect = Px(444, 218, 34, 23), .maxLength = 2}),
      hourSpin(*this, "hourSpin", {.rect = Px(478, 218, 17, 23), .min = 0, .max = 23}),
      timeColonLabel(*this, "timeColonLabel", {.rect = Px(499, 222, 14, 16), .caption = "："}),
      minuteEdit(*this, "minuteEdit", {.rect = Px(515, 218, 34, 23), .maxLength = 2}),
      minuteSpin(*this, "minuteSpin", {.rect = Px(549, 218, 17, 23), .min = 0, .max = 59}),
      onceOption(*this, "onceOption", {.rect = Px(376, 250, 100, 20), .caption = "１回だけ(&1)", .group = 1}),
      dailyOption(*this, "dailyOption", {.rect = Px(484, 250, 80, 20), .caption = "毎日(&D)", .group = 1}),
      monthlyOption(*this, "monthlyOption", {.rect = Px(376, 276, 100, 20), .caption = "毎月(&M)", .group = 1}),
      dayOfMonthEdit(*this, "dayOfMonthEdit", {.rect = Px(484, 275, 34, 23), .maxLength = 2}),
      dayOfMonthLabel(*this, "dayOfMonthLabel", {.rect = Px(522, 279, 20, 16), .caption = "日"}),
      weeklyOption(*this, "weeklyOption", {.rect = Px(376, 304, 100, 20), .caption = "週単位(&W)", .group = 1}),
      weekUnitCombo(*this, "weekUnitCombo", {.rect = Px(484, 302, 80, kDropHeight)}),
      quickTimerOption(*this, "quickTimerOption",
                       {.rect = Px(376, 332, 150, 20), .caption = "クイックタイマー(&Q)", .group = 1}),
      weekdayChecks(MakeArray<7>([this](size_t i) {
        return ui::CheckBox(*this, Indexed("weekdayChecks", i),
                            {.rect = Px(376 + int(i) * 37, 360, 36, 22), .caption = ""});
      })),
      mondayFirstCheck(*this, "mondayFirstCheck", {.rect = Px(376, 386, 104, 20), .caption = "月曜始まり(&K)"}),
      restOnDaysOffCheck(*this, "restOnDaysOffCheck",
                         {.rect = Px(484, 386, 150, 20), .caption = "祝日は鳴らさない(&H)"}),
      weekdaysOnlyButton(*this, "weekdaysOnlyButton", {.rect = Px(548, 329, 84, 25), .caption = "平日のみ(&J)"}),
      preBellCheck(*this, "preBellCheck", {.rect = Px(376, 414, 100, 20), .caption = "予鈴する(&R)"}),
      preBellLeadEdit(*this, "preBellLeadEdit", {.rect = Px(484, 413, 50, 23), .maxLength = 5}),
      preBellLeadLabel(*this, "preBellLeadLabel", {.rect = Px(538, 417, 40, 16), .caption = "分前"}),
      mainBellTooCheck(*this, "mainBellTooCheck", {.rect = Px(396, 438, 140, 20), .caption = "本鈴もする"}),
      messageLabel(*this, "messageLabel", {.rect = Px(376, 466, 150, 16), .caption = "表示メッセージ(&E)"}),
      // A message is at most 65535 bytes in the data file; no character takes more than two.
      messageEdit(*this, "messageEdit", {.rect = Px(376, 484, 252, 68), .multiLine = true, .maxLength = 32767}),
      quickTimerLabel(*this, "quickTimerLabel", {.rect = Px(652, 12, 130, 16), .caption = "クイックタイマー(&U)"}),
      quickTimerCombo(*this, "quickTimerCombo", {.rect = Px(652, 32, 110, kDropHeight), .repick = true}),
      addButton(*this, "addButton", {.rect = Px(772, 28, 112, 28), .caption = "アラーム追加(&A)"}),
      changeButton(*this, "changeButton", {.rect = Px(890, 28, 36, 28), .caption = "変更", .picture = "EDIT", .pictureOnly = true}),
      deleteButton(*this, "deleteButton", {.rect = Px(930, 28, 36, 28), .caption = "削除", .picture = "DELETE", .pictureOnly = true}),
      warnPastTimeCheck(*this, "warnPastTimeCheck",
                        {.rect = Px(652, 62, 314, 20), .caption = "アラームの過去指定を警告する(&P)"}),
      appearanceFrame(*this, "appearanceFrame", {.rect = Px(652, 88, 316, 248), .caption = ""}),
      sampleView(*this, "sampleView", {.rect = Px(664, 104, 292, 60), .locked = true, .border = true}),
      textColorChecks(MakeArray<8>([this](size_t i) {
        return ui::CheckBox(*this, Indexed("textColorChecks", i),
                            {.rect = i == 0 ? Px(664, 170, 72, 22) : Px(738 + int(i - 1) * 32, 170, 31, 22),
                             .caption = i == 0 ? "文字色(&C)" : kColorCaptions[i]});
      })),
      backColorChecks(MakeArray<8>([this](size_t i) {
        return ui::CheckBox(*this, Indexed("backColorChecks", i),
                            {.rect = i == 0 ? Px(664, 196, 72, 22) : Px(738 + int(i - 1) * 32, 196, 31, 22),
                             .caption = i == 0 ? "背景色(&B)" : kColorCaptions[i]});
      })),
      fontButton(*this, "fontButton", {.rect = Px(664, 224, 90, 26), .caption = "フォント(&F)"}),
      previewButton(*this, "previewButton", {.rect = Px(760, 224, 90, 26), .caption = "プレビュー(&V)"}),
      blinkCheck(*this, "blinkCheck", {.rect = Px(664, 256, 240, 20), .caption = "アラームウィンドウをブリンクする(&Z)"}),
      blinkCountEdit(*this, "blinkCountEdit", {.rect = Px(684, 280, 50, 23), .maxLength = 5}),
      blinkCountLabel(*this, "blinkCountLabel", {.rect = Px(738, 284, 20, 16), .caption = "回"}),
      keepWindowCheck(*this, "keepWindowCheck",
                      {.rect = Px(664, 308, 296, 20), .caption = "ブリンク後に、アラームウィンドウを画面に残す"}),
      soundFrame(*this, "soundFrame", {.rect = Px(652, 342, 316, 178), .caption = ""}),
      soundCheck(*this, "soundCheck", {.rect = Px(664, 358, 110, 20), .caption = "音を鳴らす(&S)"}),
      endlessCheck(*this, "endlessCheck", {.rect = Px(790, 358, 160, 20), .caption = "エンドレスにする(&X)"}),
      soundFileLabel(*this, "soundFileLabel", {.rect = Px(664, 384, 150, 16), .caption = "サウンドファイル(&G)"}),
      soundFileEdit(*this, "soundFileEdit", {.rect = Px(664, 402, 216, 23)}),
      browseSoundButton(*this, "browseSoundButton", {.rect = Px(884, 400, 34, 27), .caption = "参照", .picture = "OPEN", .pictureOnly = true}),
      testPlayButton(*this, "testPlayButton", {.rect = Px(922, 400, 34, 27), .caption = "試聴", .picture = "CHECK", .pictureOnly = true}),
      midiVolumeLabel(*this, "midiVolumeLabel", {.rect = Px(664, 440, 64, 16), .caption = "MIDI音量"}),
      midiVolumeSlider(*this, "midiVolumeSlider",
                       {.rect = Px(730, 438, 96, 18), .min = kSliderMin, .max = kSliderMax,
                        .smallChange = 655, .largeChange = 6553}),
      midiDeviceCombo(*this, "midiDeviceCombo", {.rect = Px(830, 436, 126, kDropHeight)}),
      waveVolumeLabel(*this, "waveVolumeLabel", {.rect = Px(664, 472, 64, 16), .caption = "他の音量"}),
      waveVolumeSlider(*this, "waveVolumeSlider",
                       {.rect = Px(730, 470, 96, 18), .min = kSliderMin, .max = kSliderMax,
                        .smallChange = 655, .largeChange = 6553}),
      waveDeviceCombo(*this, "waveDeviceCombo", {.rect = Px(830, 468, 126, kDropHeight)}),
      dataPathLabel(*this, "dataPathLabel", {.rect = Px(8, 512, 136, 16), .caption = "データファイルパス(&N)"}),
      exportButton(*this, "exportButton", {.rect = Px(146, 505, 104, 25), .caption = "エクスポート…"}),
      importButton(*this, "importButton", {.rect = Px(254, 505, 98, 25), .caption = "インポート…"}),
      dataPathEdit(*this, "dataPathEdit", {.rect = Px(8, 532, 304, 23)}),
      browseDataFileButton(*this, "browseDataFileButton", {.rect = Px(316, 530, 36, 27), .caption = "参照", .picture = "OPEN", .pictureOnly = true}),
      // ＯＫ takes Alt+O, as in Japanese programs; 初期状態にする, which had it, the 0 of a
      // fresh start (every letter is taken).
      resetFieldsButton(*this, "resetFieldsButton", {.rect = Px(652, 530, 150, 30), .caption = "初期状態にする(&0)"}),
      saveAndCloseButton(*this, "saveAndCloseButton", {.rect = Px(818, 530, 150, 30), .caption = "ＯＫ(&O)"}),
      host_(host) {
  centerOnScreen = true;
  resizable = true;
  FinishLayout();
  WireEvents();
  SetKeyboardOrder();
  NoteDesignedPlaces();
  ApplyRememberedSize();
}

// What the places and captions above leave open: the names a screen reader says, the access
// keys of the labels, the tips, the list's font, the drop-down lists' items, the palettes' colours.
void EditorWindow::FinishLayout() {
  // The boxes, lists and sliders show no caption of their own; a screen reader names them by
  // these, which say what the label beside them says.
  const std::pair<ui::Control*, const char*> names[] = {
      {&alarmList, "アラームリスト"},       {&calendar, "カレンダー"},
      {&hourEdit, "設定時刻 時"},           {&minuteEdit, "設定時刻 分"},
      {&hourSpin, "設定時刻 時 上下"},      {&minuteSpin, "設定時刻 分 上下"},
      {&dayOfMonthEdit, "毎月の日"},        {&weekUnitCombo, "週単位"},
      {&preBellLeadEdit, "予鈴 分前"},      {&messageEdit, "表示メッセージ"},
      {&quickTimerCombo, "クイックタイマー"}, {&blinkCountEdit, "ブリンク回数"},
      {&soundFileEdit, "サウンドファイル"}, {&midiVolumeSlider, "MIDI音量"},
      {&midiDeviceCombo, "MIDIデバイス"},   {&waveVolumeSlider, "他の音量"},
      {&waveDeviceCombo, "他のデバイス"},   {&dataPathEdit, "データファイルパス"}};
  for (auto [control, name] : names) control->SetAccessibleName(name);
  // Alt and the letter of a label's "(&X)" go to the box or list it names.
  const std::pair<ui::Label*, ui::Control*> keyLabels[] = {
      {&alarmListLabel, &alarmList},     {&setTimeLabel, &hourEdit},
      {&messageLabel, &messageEdit},     {&quickTimerLabel, &quickTimerCombo},
      {&soundFileLabel, &soundFileEdit}, {&dataPathLabel, &dataPathEdit}};
  for (auto [label, target] : keyLabels) label->SetAccessKeyTarget(*target);
  addButton.SetToolTip("アラーム設定を追加します");
  changeButton.SetToolTip("アラーム設定を変更します");
  deleteButton.SetToolTip("アラームエントリを削除します");
  weekUnitCombo.SetToolTip("週アラート単位を指定します");
  restOnDaysOffCheck.SetToolTip("祝日と休日ファイルの日には、本鈴も予鈴も鳴らしません");
  weekdaysOnlyButton.SetToolTip("毎週 月～金、祝日は鳴らさない にします");
  quickTimerCombo.SetToolTip("“何分後\"でアラーム設定します");
  saveAndCloseButton.SetToolTip("セーブして閉じます");
  resetFieldsButton.SetToolTip("前回設定の状態にします");
  exportButton.SetToolTip("アラームをカレンダー (.ics) か表計算 (.csv) のファイルに書き出します");
  importButton.SetToolTip("カレンダー (.ics) か表計算 (.csv) のファイルからアラームを追加します");
  browseSoundButton.SetToolTip("参照");
  testPlayButton.SetToolTip("試聴");
  // Enter in a one-line box (and wherever no button has the focus) saves and closes.
  saveAndCloseButton.SetDefault(true);
  alarmList.SetFont({.name = "ＭＳ ゴシック", .size = 10});
  for (const char* item : kWeekUnitItems) weekUnitCombo.AddItem(item);
  for (const char* item : kQuickTimerItems) quickTimerCombo.AddItem(item);
  for (size_t i = 1; i < textColorChecks.size(); ++i) {
    // The fixed-colour boxes show their colour; black ones need a white caption to be read.
    ui::Color color = FixedBoxColor(int(i));
    for (auto* box : {&textColorChecks[i], &backColorChecks[i]}) {
      box->SetBackColor(color);
      if (color == 0) box->SetForeColor(0xFFFFFF);
    }
  }
}

void EditorWindow::WireEvents() {
  // List.
  allEntriesViewCheck.onClick = [this] { OnAllEntriesViewClick(); };
  dailyViewCheck.onClick = [this] { OnDailyViewClick(); };
  alarmList.onClick = [this] { ShowEntryInFields(); };
  calendar.onDateClick = [this] { OnCalendarDateClick(); };
  calendar.onSelChange = [this] { OnCalendarSelChange(); };
  calendar.isBoldDay = [this](OleDate day) { return DaysOffInUse().IsDayOff(DayOf(day)); };
  // Entry fields.
  hourEdit.onChange = [this] { OnHourChange(); };
  minuteEdit.onChange = [this] { OnMinuteChange(); };
  for (ui::TextBox* edit : {&hourEdit, &minuteEdit})
    edit->onClick = [edit] { SelectAllText(*edit); };
  hourEdit.onLostFocus = [this] { CheckHour(); };
  minuteEdit.onLostFocus = [this] { CheckMinute(); };
  hourSpin.onChange = [this] { hourEdit.SetText(std::to_string(hourSpin.Value())); };
  // The arrows show the minute with two digits; typed digits are left as typed until the box
  // is left (CheckMinute), so "3" is not made "03" under the caret.
  minuteSpin.onChange = [this] {
    if (LeadingNumber(minuteEdit.Text()) != minuteSpin.Value() || minuteEdit.Text().empty())
      minuteEdit.SetText(MinuteText(minuteSpin.Value()));
  };
  dayOfMonthEdit.onChange = [this] { OnDayChange(); };
  preBellLeadEdit.onChange = [this] { OnPreBellLeadChange(); };
  monthlyOption.onClick = [this] { OnMonthlyOptionClick(); };
  monthlyOption.onGotFocus = [this] { OnMonthlyOptionClick(); };
  monthlyOption.onMouseDown = [this](int) { monthlyByPointer = true; };
  weeklyOption.onClick = [this] { OnWeeklyOptionClick(); };
  dailyOption.onClick = [this] { OnDailyOptionClick(); };
  onceOption.onClick = [this] { OnOnceOptionClick(); };
  quickTimerOption.onClick = [this] { OnOnceOptionClick(); };
  weekUnitCombo.onClick = [this] { OnWeekUnitClick(); };
  mondayFirstCheck.onClick = [this] { OnMondayFirstClick(); };
  weekdaysOnlyButton.onClick = [this] { OnWeekdaysOnlyClick(); };
  preBellCheck.onClick = [this] { OnPreBellClick(); };
  blinkCheck.onClick = [this] { OnBlinkClick(); };
  soundCheck.onClick = [this] { OnSoundClick(); };
  messageEdit.onChange = [this] { OnMessageChange(); };
  soundFileEdit.onGotFocus = [this] {
    SelectAllText(soundFileEdit);
  };
  // Appearance and sound.
  for (int i = 0; i < int(textColorChecks.size()); ++i) {
    textColorChecks[size_t(i)].onClick = [this, i] { OnColorBoxClick(true, i); };
    backColorChecks[size_t(i)].onClick = [this, i] { OnColorBoxClick(false, i); };
  }
  fontButton.onClick = [this] { ChooseSampleFont(); };
  previewButton.onClick = [this] { ShowPreview(); };
  browseSoundButton.onClick = [this] { BrowseSoundFile(); };
  testPlayButton.onClick = [this] { ToggleSoundTest(); };
  midiVolumeSlider.onChange = [this] { OnVolumeSliderChange(true); };
  waveVolumeSlider.onChange = [this] { OnVolumeSliderChange(false); };
  midiDeviceCombo.onClick = [this] { OnDeviceChoice(true); };
  waveDeviceCombo.onClick = [this] { OnDeviceChoice(false); };
  // Commit.
  addButton.onClick = [this] { AddEntry(); };
  changeButton.onClick = [this] { ChangeEntry(); };
  deleteButton.onClick = [this] { DeleteEntries(); };
  quickTimerCombo.onClick = [this] { OnQuickTimerClick(); };
  warnPastTimeCheck.onClick = [this] { App().prefs.warnPastTime = int16_t(warnPastTimeCheck.Value()); };
  // Data file, saving, reset.
  dataPathEdit.onChange = [this] { OnDataPathChange(); };
  dataPathEdit.onGotFocus = [this] { OnDataPathGotFocus(); };
  dataPathEdit.onLostFocus = [this] { dataPathTyped = false; };
  browseDataFileButton.onClick = [this] { BrowseDataFile(); };
  exportButton.onClick = [this] { ExportAlarmFile(); };
  importButton.onClick = [this] { ImportAlarmFile(); };
  saveAndCloseButton.onClick = [this] { SaveAndClose(); };
  resetFieldsButton.onMouseDown = [this](int) { skipTimeCheck = true; };
  resetFieldsButton.onClick = [this] { ResetFields(); };
  // The window.
  onLoad = [this] { OpenEditor(); };
  // While the editor is open its device lists say which devices the volumes are for.
  onUnload = [this] {
    RememberSize();
    deviceListsInUse_ = false;
    TellDeviceLists();
  };
  onPaint = [this] {
    if (!dialogOpen_ && Visible()) alarmList.SetFocus();
  };
  onQueryUnload = [this](int& cancel, ui::UnloadMode) { OnQueryUnload(cancel); };
  onResize = [this] { PlaceForSize(); };
  // Escape closes as the close box does: through the question about unsaved edits.
  onEscape = [this] { RequestClose(); };
}

void EditorWindow::SetKeyboardOrder() {
  // The keyboard walks the window as it reads: the list, then the date and the entry from
  // top to bottom, the commit buttons, appearance, sound, and the buttons that close.
  std::vector<ui::Control*> order = {
      &allEntriesViewCheck, &dailyViewCheck, &alarmList, &exportButton, &importButton, &dataPathEdit,
      &browseDataFileButton,
      &calendar, &hourEdit, &minuteEdit, &onceOption, &dailyOption,
      &monthlyOption, &dayOfMonthEdit, &weeklyOption, &weekUnitCombo, &quickTimerOption, &weekdaysOnlyButton};
  for (auto& box : weekdayChecks) order.push_back(&box);
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &mondayFirstCheck, &restOnDaysOffCheck, &preBellCheck, &preBellLeadEdit, &mainBellTooCheck, &messageEdit,
           &quickTimerCombo, &addButton, &changeButton, &deleteButton, &warnPastTimeCheck})
    order.push_back(c);
  for (auto& box : textColorChecks) order.push_back(&box);
  for (auto& box : backColorChecks) order.push_back(&box);
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &fontButton, &previewButton, &blinkCheck, &blinkCountEdit, &keepWindowCheck, &soundCheck,
           &endlessCheck, &soundFileEdit, &browseSoundButton, &testPlayButton, &midiVolumeSlider,
           &midiDeviceCombo, &waveVolumeSlider, &waveDeviceCombo, &resetFieldsButton,
           &saveAndCloseButton})
    order.push_back(c);
  SetTabOrder(std::move(order));
  // Each colour palette is one stop; the arrow keys move through it and Space ticks a colour.
  for (auto* palette : {&textColorChecks, &backColorChecks}) {
    std::vector<ui::Control*> members;
    for (auto& box : *palette) members.push_back(&box);
    AddArrowGroup(std::move(members));
  }
}

void EditorWindow::OpenEditor() {
  AppState& app = App();
  loading_ = true;
  UnsavedEdits::Set(false);
  ReadSettings(DataIniPath(app.dataPath), app.prefs);
  const AlarmTable before = app.table;
  LoadAlarmTableStamped(app.dataPath, app.table, SavedMidiVolume(), SavedWaveVolume(), app.dataStamp);
  CarryRungMarks(before, app.table);  // a bell that rang since the last save stays rung
  dataPathEdit.SetText(app.dataPath);
  if (DeviceNamesMissing()) ui::TheForm<DeviceDialog>().ShowModal();
  deviceListsInUse_ = true;
  TellDeviceLists();
  InitEditorFields();
  ResetEntryFields();
  if (!TheAlarm().Sounding()) {
    SaveMidiVolume(VolumesFrom());
    SaveWaveVolume(VolumesFrom());
  }
  ShowVolumeOnSlider(midiVolumeSlider, SavedMidiVolume());
  ShowVolumeOnSlider(waveVolumeSlider, SavedWaveVolume());
  OpenSystemMixer();
  RefreshList();
  NoteFieldsShown();
  loading_ = false;
}

std::vector<std::string> EditorWindow::TypedFields() const {
  std::vector<std::string> texts;
  for (const ui::TextBox* box : {&hourEdit, &minuteEdit, &dayOfMonthEdit, &preBellLeadEdit, &messageEdit,
                                 &blinkCountEdit, &soundFileEdit})
    texts.push_back(box->Text());
  return texts;
}

// The volumes are for the devices the lists select from the moment they are in use until the
// editor unloads; the audio part hears of every change.
void EditorWindow::TellDeviceLists() {
  if (!deviceListsInUse_) {
    SetEditorListDevices(std::nullopt, std::nullopt);
    return;
  }
  SetEditorListDevices(DeviceOfList(midiDeviceCombo), DeviceOfList(waveDeviceCombo));
}

// Start-up reads the volumes of the stored choice, whatever the lists show.
DeviceFrom EditorWindow::VolumesFrom() const {
  return HostStartingUp() ? DeviceFrom::Choice : DeviceFrom::EditorLists;
}

const DaysOff& EditorWindow::DaysOffInUse() const {
  static const DaysOff kHolidaysOnly;
  return host_ ? host_->DaysOffInUse() : kHolidaysOnly;
}

void EditorWindow::PauseDueCheck(bool paused) {
  if (host_) host_->PauseDueCheck(paused);
}

void RefreshListIfLoaded() {
  if (EditorWindow* editor = ui::FormIfLoaded<EditorWindow>()) editor->RefreshList();
}

}  // namespace wb
