// The in-memory preferences: one member per key of the settings file's "Wakebell" section
// that the editor pre-fills from. Reading and writing them is in Settings.h, from one table.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"

namespace wb {

struct Preferences {
  int16_t PreFlag = 0;          // PREFLAG: BellMode of the last committed entry
  int16_t PreTime = 0;          // PRETIME
  std::string Message;          // MESSAGE (CR LF stored as "!*#")
  int16_t BlinkFlag = 0;        // BLINKFLAG
  int16_t SoundFlag = 0;        // SOUNDFLAG
  std::string SoundFile;        // SOUNDFILE
  int16_t WeekStart = 0;        // WEEKSTART: 1 = Monday
  int16_t EndlessFlag = 0;      // ENDLESSFLG
  int16_t KeepWindowFlag = 0;   // DELFORMFLG
  int16_t BlinkCount = 10;      // BLINKCNT
  int32_t ForeColor = 0;        // FORECOLOR
  int32_t BackColor = kButtonFaceColor;  // BACKCOLOR
  std::string FontName = "MS Pｺﾞｼｯｸ";  // FONTNAME
  int16_t FontSize = 12;        // FONTSIZE
  int16_t FontBold = kTrue;     // FONTBOLD
  int16_t FontItalic = kFalse;  // FONTITALIC
  int16_t FontUnderline = kFalse;   // FONTUNDERLINE
  int16_t FontStrikethru = kFalse;  // FONTSTRIKETHRU
  int16_t ForeColorIndex = 7;   // FORECOLORINDEX
  int16_t BackColorIndex = 5;   // BACKCOLORINDEX
  int16_t WeeklyTiming = 2;     // WEEKLYTIMING
  int16_t ListDispFlag = 1;     // LISTDISPFLG: 1 all entries, 2 the selected day
  std::string MidiName;         // MIDINM
  std::string WaveName;         // WAVENM
  int16_t PassFlag = 1;         // PASSFLAG
};

}  // namespace wb
