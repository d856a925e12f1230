// The alarm entry record: 26 members in their stored order (the sound choice and the last ten,
// the entry's appearance, each a group of their own), and their codes. The data file's layout of them is described once, in
// storage/RecordLayout.h. Portable: no operating-system header. Text members are UTF-8 inside
// the program.
#pragma once
#include <cstdint>
#include <string>

#include "model/OleDate.h"

namespace wb {

// RepeatKind codes.
enum : int16_t {
  kRepeatNone = 0,
  kRepeatMonthly = 1,
  kRepeatWeekly = 2,
  kRepeatDaily = 3,
  kRepeatOnce = 4,
  kRepeatQuick = 5,
  kRepeatBiweekly = 6,
  kRepeatNth1 = 7,  // 7..11: the 1st..5th such weekday of the month
  kRepeatNth5 = 11,
};

// WeekdayMask bits, fixed by weekday whatever the week start.
enum : int16_t {
  kMaskMonday = 0x01,
  kMaskTuesday = 0x02,
  kMaskWednesday = 0x04,
  kMaskThursday = 0x08,
  kMaskFriday = 0x10,
  kMaskSaturday = 0x20,
  kMaskSunday = 0x40,
};

// Mask bit of a weekday number (1 = Sunday ... 7 = Saturday).
constexpr int16_t MaskBitOfWeekday(int weekday) {
  return weekday == 1 ? int16_t(0x40) : int16_t(1 << (weekday - 2));
}

// Which bells an entry rings. Stored as the record's Integer; a damaged file may hold any
// other number, which rings neither bell and is kept as it is.
enum class BellMode : int16_t { MainOnly = 0, PreOnly = 1, PreAndMain = 2 };
constexpr bool RingsPreBell(BellMode m) { return m == BellMode::PreOnly || m == BellMode::PreAndMain; }
constexpr bool RingsMainBell(BellMode m) { return m == BellMode::MainOnly || m == BellMode::PreAndMain; }

constexpr int16_t kTrue = -1;  // the program's Boolean True
constexpr int16_t kFalse = 0;
constexpr int32_t kButtonFaceColor = int32_t(0x8000000F);

// How the alarm window shows an entry: text and back colour, the font, and which of the
// editor's colour boxes chose each colour. The preferences keep one for the next new entry.
struct Appearance {
  int32_t ForeColor = 0;
  int32_t BackColor = 0;
  std::string FontName;
  int16_t FontSize = 0;
  int16_t FontBold = 0;  // kTrue / kFalse
  int16_t FontItalic = 0;
  int16_t FontUnderline = 0;
  int16_t FontStrikethru = 0;
  int16_t ForeColorIndex = 0;  // the ticked box of each colour group
  int16_t BackColorIndex = 0;

  bool operator==(const Appearance&) const = default;
};

// What the alarm plays: the stored sound flag (its two readings in SoundFlag.h), the file, and
// whether it plays until dismissed. The preferences keep one for the next new entry. The
// device volumes stored after it are no part of it: they are the levels of the devices, which
// the preferences do not keep, so a new entry takes them from elsewhere.
struct SoundChoice {
  int16_t Flag = 0;
  std::string File;
  int16_t Endless = 0;

  bool operator==(const SoundChoice&) const = default;
};

struct AlarmEntry {
  OleDate AlarmTime = 0;
  int16_t RepeatKind = 0;
  int16_t WeekdayMask = 0;
  OleDate PreBellFiredAt = 0;
  OleDate MainBellFiredAt = 0;
  wb::BellMode BellMode = wb::BellMode::MainOnly;
  int16_t PreBellMinutes = 0;
  int16_t BlinkFlag = 0;
  std::string Message;
  SoundChoice Sound;  // SoundFlag, SoundFile, EndlessFlag
  int32_t MidiVolume = 0;
  int32_t WaveVolume = 0;
  int16_t KeepWindowFlag = 0;
  int16_t BlinkCount = 0;
  Appearance Look;  // ForeColor .. BackColorIndex

  bool operator==(const AlarmEntry&) const = default;
};

// Label of a RepeatKind as the alarm list shows it ("" for an unknown code).
const char* RepeatKindLabel(int kind);

}  // namespace wb
