// The in-memory preferences: what the editor pre-fills a new entry with, remembered from the
// last entry added or changed, and the editor's own choices. Reading and writing them is in
// Settings.h, from one table that alone knows the settings file's key for each member.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"

namespace wb {

struct Preferences {
  // The sound and look of the last entry added or changed, as the entry's members hold them.
  BellMode bellMode = BellMode::MainOnly;
  int16_t preBellMinutes = 0;
  std::string message;
  int16_t blinkFlag = 0;
  SoundChoice sound;
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
  // The editor's choices.
  int16_t weekStart = 0;           // 1: the weekday boxes and calendar start on Monday
  int16_t weeklyRepeat = 2;        // RepeatKind of the last weekly entry: the week unit offered
  int16_t listView = 1;            // 1 every entry, 2 the entries of the calendar's day
  std::string midiDevice;          // the chosen output devices, by name
  std::string waveDevice;
  int16_t warnPastTime = 1;        // not 0: ask before setting a time already past
};

}  // namespace wb
