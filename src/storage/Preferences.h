// The settings model: every key of the settings files as a typed member, in a group for the file
// it is read from, each default written once, here. Reading and writing them is in Settings.h,
// from one table that alone knows the settings file's key for each member.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"

namespace wb {

// Which day the editor's weekday boxes and calendar start on. A file may hold another number
// (a grey box once stored 2): it shows Sunday first and is kept until the editor stores a choice.
enum class WeekStart : int16_t { Sunday = 0, Monday = 1 };

// Which entries the editor's list shows; any number but CalendarDay shows every entry.
enum class ListView : int16_t { AllEntries = 1, CalendarDay = 2 };

// Whether a program was running on these settings: Running while one is, Ended after it ended
// (or was let start). Any other number, from a hand-edited file, is neither.
enum class StartFlag : int32_t { Ended = 0, Running = 1 };

// The editor's keys: what it pre-fills a new entry with, remembered from the last entry added
// or changed, and its own choices. Read from the file beside the data file; written to both.
struct Preferences {
  BellMode bellMode = BellMode::MainOnly;
  int16_t preBellMinutes = 0;
  std::string message;
  int16_t blinkFlag = 0;
  SoundChoice sound;
  WeekStart weekStart = WeekStart::Sunday;
  int16_t keepWindowFlag = 0;
  int16_t blinkCount = 10;
  Appearance look{.ForeColor = 0,
                  .BackColor = kButtonFaceColor,
                  .FontName = "MS Pｺﾞｼｯｸ",
                  .FontSize = 12,
                  .FontBold = kTrue,
                  .FontItalic = kFalse,
                  .FontUnderline = kFalse,
                  .FontStrikethru = kFalse,
                  .ForeColorIndex = 7,
                  .BackColorIndex = 5};
  int16_t weeklyRepeat = 2;        // RepeatKind of the last weekly entry: the week unit offered
  ListView listView = ListView::AllEntries;
  std::string midiDevice;          // the chosen output devices, by name
  std::string waveDevice;
  int16_t warnPastTime = 1;        // not 0: ask before setting a time already past
};

// Every key read from the file beside the data file (and written to both files).
struct DataFolderSettings {
  Preferences prefs;
  StartFlag startFlag = StartFlag::Ended;
  bool startWithWindows = false;  // the Startup shortcut is registered
};

// Every key read from the file beside the program: this PC's own.
struct ProgramFolderSettings {
  std::string dataPath;  // as stored; empty names none (ReadDataPath says which file is meant)
  bool wakeForBells = true;  // never written by the program: "0" keeps the PC asleep
  // Written only when the user snoozes with another delay, so the file of a user who never
  // snoozes stays as it was. The caller keeps it to the delays it offers.
  int32_t snoozeMinutes = 5;
  bool snoozeHidden = false;  // the alarm window exactly as it was before snoozing existed
  // The editor's size as the user left it (client area, pixels at 96 DPI); 0 as designed.
  // Written only once the user has resized it.
  int32_t editorWidth = 0;
  int32_t editorHeight = 0;
};

}  // namespace wb
