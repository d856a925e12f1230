// Alarm entries the window tests start from, written once: an entry as the editor makes it
// when nothing is changed, one in a look of its own, and the sound members set together.
#pragma once
#include <cstdint>
#include <string>

#include "model/AlarmEntry.h"
#include "model/OleDate.h"

namespace wb::test {

// As the editor makes it when nothing is changed: main bell only, black on the button face,
// MS Pゴシック 12, ten blinks if blinking is turned on, no sound.
inline AlarmEntry PlainEntry(int16_t repeatKind, OleDate alarmTime) {
  AlarmEntry e;
  e.AlarmTime = alarmTime;
  e.RepeatKind = repeatKind;
  e.Message = "テスト";
  e.Look.ForeColor = 0;
  e.Look.BackColor = kButtonFaceColor;
  e.Look.FontName = "MS Pゴシック";
  e.Look.FontSize = 12;
  e.BlinkCount = 10;
  return e;
}

// A daily main bell at 07:30 in a look of its own: red on yellow, MS Pゴシック 14, bold and
// underlined; no blink, no sound.
inline AlarmEntry LookEntry(const std::string& message) {
  AlarmEntry e;
  e.AlarmTime = MakeDate(2026, 12, 7, 7, 30);
  e.RepeatKind = kRepeatDaily;
  e.Message = message;
  e.Look.ForeColor = 0x0000FF;
  e.Look.BackColor = 0x00FFFF;
  e.Look.FontName = "MS Pゴシック";
  e.Look.FontSize = 14;
  e.Look.FontBold = kTrue;
  e.Look.FontItalic = kFalse;
  e.Look.FontUnderline = kTrue;
  e.Look.FontStrikethru = kFalse;
  return e;
}

// `e` ringing `file` (once, or endlessly) at its own device volumes.
inline AlarmEntry WithSound(AlarmEntry e, const std::string& file, bool endless, uint32_t midiVolume,
                            uint32_t waveVolume) {
  e.Sound.Flag = 1;
  e.Sound.File = file;
  e.Sound.Endless = endless ? 1 : 0;
  e.MidiVolume = int32_t(midiVolume);
  e.WaveVolume = int32_t(waveVolume);
  return e;
}

}  // namespace wb::test
