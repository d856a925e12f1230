// The editor window: the alarm list with its two views, the entry fields, add / change /
// delete, the quick timer, the appearance and sound of an entry, the data file and saving.
// It works on the process-wide alarm table itself; the monitor sees every change at its next
// tick. Each concern is a file of its own (EditorList, EditorFields, EditorCommit,
// EditorDataFile, EditorExchange). Made by the monitor (MonitorWindow::Editor), which lends
// itself as the editor's host; only the controls and a few queries are public, the handlers
// are its own. Portable window logic: no operating-system header.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "audio/Volume.h"
#include "editor/EditorHost.h"
#include "editor/UnsavedEdits.h"
#include "model/AlarmEntry.h"
#include "model/EntryRules.h"
#include "model/SortKey.h"
#include "storage/Preferences.h"
#include "platform/Controls.h"

namespace wb {

// Messages of the editor that more than one operation shows (those an entry is refused with are
// model/EntryRules.h's, shared with the tool).
inline constexpr const char* kHourTypingMessage = "時に、０～２３の数値を入力してください";
inline constexpr const char* kUnsavedQuestion =
    "データ変更されています。\r\nキャンセルしてもよろしいですか？";
inline constexpr const char* kResetQuestion =
    "入力した内容は消えます。\r\n初期状態に戻してもよろしいですか？";

class EditorWindow : public ui::Form {
 public:
  // `host` (the monitor that opens it) outlives the editor; none for an editor on its own.
  explicit EditorWindow(EditorHost* host = nullptr);

  // List.
  ui::Label alarmListLabel;
  ui::CheckBox allEntriesViewCheck;
  ui::CheckBox dailyViewCheck;
  ui::ListBox alarmList;
  // Date and entry fields.
  ui::MonthView calendar;
  ui::Frame entryFrame;
  ui::Label setTimeLabel;
  ui::TextBox hourEdit;
  ui::UpDown hourSpin;
  ui::Label timeColonLabel;
  ui::TextBox minuteEdit;
  ui::UpDown minuteSpin;
  ui::OptionButton onceOption;
  ui::OptionButton dailyOption;
  ui::OptionButton monthlyOption;
  ui::TextBox dayOfMonthEdit;
  ui::Label dayOfMonthLabel;
  ui::OptionButton weeklyOption;
  ui::ComboBox weekUnitCombo;
  ui::OptionButton quickTimerOption;
  std::array<ui::CheckBox, 7> weekdayChecks;
  ui::CheckBox mondayFirstCheck;
  ui::CheckBox restOnDaysOffCheck;  // 祝日は鳴らさない, for the repeating kinds
  ui::Button weekdaysOnlyButton;    // 平日のみ: every week, Monday to Friday, resting on days off
  ui::CheckBox preBellCheck;
  ui::TextBox preBellLeadEdit;
  ui::Label preBellLeadLabel;
  ui::CheckBox mainBellTooCheck;
  ui::Label messageLabel;
  ui::TextBox messageEdit;
  // Quick timer and commit.
  ui::Label quickTimerLabel;
  ui::ComboBox quickTimerCombo;
  ui::Button addButton;
  ui::Button changeButton;
  ui::Button deleteButton;
  ui::CheckBox warnPastTimeCheck;
  // Appearance of the alarm window.
  ui::Frame appearanceFrame;
  ui::RichText sampleView;
  std::array<ui::CheckBox, 8> textColorChecks;  // [0] the free choice, [1..7] fixed colours
  std::array<ui::CheckBox, 8> backColorChecks;
  ui::Button fontButton;
  ui::Button previewButton;
  ui::CheckBox blinkCheck;
  ui::TextBox blinkCountEdit;
  ui::Label blinkCountLabel;
  ui::CheckBox keepWindowCheck;
  // Sound and devices.
  ui::Frame soundFrame;
  ui::CheckBox soundCheck;
  ui::CheckBox endlessCheck;
  ui::Label soundFileLabel;
  ui::TextBox soundFileEdit;
  ui::Button browseSoundButton;
  ui::Button testPlayButton;
  ui::Label midiVolumeLabel;
  ui::HScrollBar midiVolumeSlider;
  ui::ComboBox midiDeviceCombo;
  ui::Label waveVolumeLabel;
  ui::HScrollBar waveVolumeSlider;
  ui::ComboBox waveDeviceCombo;
  // Data file, alarms in and out, saving and reset.
  ui::Label dataPathLabel;
  ui::Button exportButton;  // エクスポート…: the table as iCalendar or CSV
  ui::Button importButton;  // インポート…: a file's entries added as unsaved edits
  ui::TextBox dataPathEdit;
  ui::Button browseDataFileButton;
  ui::Button resetFieldsButton;
  ui::Button saveAndCloseButton;

  // The entry a row of the list shows (its slot in the table).
  int SlotOfRow(int row) const;
  // The entry the fields were last filled from or changed, -1 none.
  int CurrentEntry() const { return currentSlot_; }
  // The guards the handlers hold while they run: a question of the editor is open (the monitor
  // reads no changed data file meanwhile), the window is loading, the fields are being filled
  // from an entry.
  struct Guards {
    bool dialogOpen, loading, fillingFields;
  };
  Guards ActiveGuards() const { return {dialogOpen_, loading_, fillingFields_}; }
  // Unsaved edits: the editor's question whether to throw them away. True when there are none
  // or the user lets them go, false when the user keeps them (キャンセル).
  bool AskToDiscardEdits();
  // A change of the alarm table shown in an open editor's list: RefreshListIfLoaded.
  friend void RefreshListIfLoaded();

 private:
  // The constructor's three steps, after the controls are placed.
  void FinishLayout();
  // The window's size (EditorLayout.cpp): the places as designed, the list taking what the
  // user adds; the size this PC remembers.
  void NoteDesignedPlaces();
  void ApplyRememberedSize();
  void RememberSize();
  void PlaceForSize();
  void WireEvents();
  void SetKeyboardOrder();  // the Tab order and the palettes' arrow-key groups
  // Opening: preferences, data file, fields, list.
  void OpenEditor();

  // List (EditorList.cpp).
  void RefreshList();
  int FindRowOfEntry(int slot) const;  // -1 when no row shows it
  void SelectRowOfEntry(int slot);
  void ShowEntryInFields();
  void OnAllEntriesViewClick();
  void OnDailyViewClick();
  void OnCalendarDateClick();
  void OnCalendarSelChange();
  void FocusList();
  bool DailyView() const { return dailyViewCheck.Ticked(); }
  bool MondayStart() const { return mondayFirstCheck.Ticked(); }

  // Entry fields (EditorFields.cpp).
  void InitEditorFields();
  void ResetEntryFields();
  void ShowTimeOf(OleDate now);
  // The sound and look fields as an entry holds them; the preferences keep the last entry's.
  struct SoundAndLook {
    int16_t blinkFlag, keepWindowFlag, blinkCount;
    const SoundChoice& sound;
    const std::string& message;
    const Appearance& look;
  };
  static SoundAndLook SoundAndLookOf(const Preferences& p);
  void ShowSoundAndLook(const SoundAndLook& s);
  void ShowBellMode(BellMode mode);  // an unknown mode leaves the boxes as they are
  void MarkCalendarWeekday();
  void LabelWeekdayBoxes();
  void ApplyWeekUnit();
  bool CheckHour();
  bool CheckMinute();
  bool CheckDay();
  bool CheckPreBell();
  void OnHourChange();
  void OnMinuteChange();
  void OnTimeTyped(ui::TextBox& edit, ui::UpDown& spin, int limit, bool (*valid)(const std::string&),
                   const char* message);
  void OnDayChange();
  void OnPreBellLeadChange();
  void OnMonthlyOptionClick();
  void OnWeeklyOptionClick();
  void OnDailyOptionClick();
  void OnOnceOptionClick();
  void OnWeekUnitClick();
  void OnMondayFirstClick();
  void OnWeekdaysOnlyClick();
  void OnPreBellClick();
  void OnBlinkClick();
  void OnSoundClick();
  void OnMessageChange();
  void ShowAppearance(const std::string& message, const Appearance& look);
  // Writes the fields into `entry`; false (entry untouched, a warning shown and the field
  // focused) when they do not form an entry: a day the month does not have, an hour, minute
  // or blink count that is no number.
  bool FieldsToEntry(AlarmEntry& entry, bool dayFromField);
  // The appearance and sound of the fields, as every kind of entry takes them.
  void AppearanceToEntry(AlarmEntry& entry) const;
  // The data file holds code page 932: a message or sound path it cannot store is refused.
  bool CheckStorable(ui::TextBox& edit, const char* message);
  bool CheckStorableText();
  std::optional<int16_t> BlinkCountOfField();  // empty (after a warning) for no whole number

  // Appearance (EditorAppearance.cpp).
  void ApplyTextColor(ui::Color color);
  void OnColorBoxClick(bool textGroup, int index);
  void ChooseSampleFont();
  void ShowPreview();

  // Sound and devices (EditorSound.cpp).
  void BrowseSoundFile();
  void ToggleSoundTest();
  void OnVolumeSliderChange(bool midi);
  void FillDeviceLists();
  void OnDeviceChoice(bool midi);
  void TellDeviceLists();  // what the lists select, to the audio part
  DeviceFrom VolumesFrom() const;

  // Add, change, delete, quick timer (EditorCommit.cpp).
  void AddEntry();
  void ChangeEntry();
  void DeleteEntries();
  void AddQuickTimer(int minutes);
  void OnQuickTimerClick();
  bool CheckMonthlyDay();
  bool CheckWeekdays();
  bool CheckSoundFile();
  bool CheckTableHasRoom();
  bool ConfirmPastTime();
  void RememberAsDefaults(const AlarmEntry& entry);
  bool Warn(const std::string& text, ui::Control* focus);

  // Data file, saving, closing, reset (EditorDataFile.cpp).
  bool SwitchDataFile(const std::string& path);  // false when the user kept unsaved edits
  void OnDataPathChange();
  void ShowDataPathInUse();
  void OnDataPathGotFocus();
  void BrowseDataFile();
  void SaveAndClose();
  void OnQueryUnload(int& cancel);
  void ResetFields();
  void PauseDueCheck(bool paused);
  bool HostStartingUp() const { return host_ && host_->StartingUp(); }
  const DaysOff& DaysOffInUse() const;
  // OK found the data file changed since this editor read it (EditorConflict.cpp): asks
  // whether to overwrite it (a backup of it kept), read it again or go back. True when the
  // save may go ahead.
  bool ResolveChangedFile();

  // Alarms in and out (EditorExchange.cpp).
  void ExportAlarmFile();
  void ImportAlarmFile();

  EditorHost* const host_;
  std::vector<std::pair<ui::Control*, ui::Rect>> designedPlaces_;
  int listColumns_ = 0;  // the half-width columns a row of the list shows now
  int rememberedWidth_ = 0, rememberedHeight_ = 0;  // as the settings hold it, pixels at 96 DPI; 0 none
  // What the typed fields held when they were last filled or committed: 初期状態にする asks
  // before it throws away anything typed since.
  std::vector<std::string> TypedFields() const;
  void NoteFieldsShown() { shownFields_ = TypedFields(); }
  std::vector<std::string> shownFields_;
  // The list's rows: the whole table in sort order, or the day's entries (the daily view).
  std::vector<SortKey> sortKeys_;
  std::vector<int> dailyRows_;
  int currentSlot_ = -1;
  // Handlers that run while these are on leave alone what would otherwise follow a change.
  bool loading_ = false;
  bool dialogOpen_ = false;  // a message box or a file, colour or font dialog of the editor
  bool fillingFields_ = false;
  // The device lists answer for the volumes from the loading on (TellDeviceLists).
  bool deviceListsInUse_ = false;
  // A device chosen in a list shows its volume on the slider: not a move of the slider.
  bool midiSliderSuppressed_ = false, waveSliderSuppressed_ = false;
  // Guards of the handlers that write back into their own field.
  bool dayFilterBusy = false;
  bool preBellFilterBusy = false;
  bool skipTimeCheck = false;
  bool dataPathTyped = false;
  bool viewBoxRetick = false;
  bool monthlyByPointer = false;  // the mouse went down on 毎月
  bool suppressForeColorDialog = false;
  bool suppressBackColorDialog = false;
};

// How many half-width columns of the list's fixed-pitch font a row of `list` shows.
int RowColumns(const ui::ListBox& list);

// Text boxes select all they hold when the user comes to them; a filled box puts the caret last.
void SelectAllText(ui::TextBox& edit);
void CaretToEnd(ui::TextBox& edit);

// The due check asks the list to show new fired-at marks. It must never create the editor:
// a fresh editor re-reads the data file, which puts back the stored fired-at members and lets
// the same alarm ring a second time within its minute.
void RefreshListIfLoaded();

}  // namespace wb
