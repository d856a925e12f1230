// The current layout of a record in the data file, described once: every member of an entry in
// its stored order with its name in the tool's JSON. The member's type gives its field kind:
// OleDate a Date, int16_t (and BellMode) an Integer, int32_t a Long, std::string a String.
// The writer, the reader of the current layout and `wakebell-tool dump` all walk this list;
// the older layouts keep their own readers (DataFile.cpp).
// Portable: no operating-system header.
#pragma once
#include <type_traits>

#include "model/AlarmEntry.h"

namespace wb {

// Calls `visit(jsonName, member)` for each member of `e` (an AlarmEntry, const or not) in the
// order the record stores them.
template <class Entry, class Visitor>
  requires std::is_same_v<std::remove_const_t<Entry>, AlarmEntry>
void ForEachRecordMember(Entry& e, Visitor&& visit) {
  visit("AlarmTime", e.AlarmTime);
  visit("RepeatKind", e.RepeatKind);
  visit("WeekdayMask", e.WeekdayMask);
  visit("PreBellFiredAt", e.PreBellFiredAt);
  visit("MainBellFiredAt", e.MainBellFiredAt);
  visit("BellMode", e.BellMode);
  visit("PreBellMinutes", e.PreBellMinutes);
  visit("BlinkFlag", e.BlinkFlag);
  visit("Message", e.Message);
  auto& sound = e.Sound;
  visit("SoundFlag", sound.Flag);
  visit("SoundFile", sound.File);
  visit("EndlessFlag", sound.Endless);
  visit("MidiVolume", e.MidiVolume);
  visit("WaveVolume", e.WaveVolume);
  visit("KeepWindowFlag", e.KeepWindowFlag);
  visit("BlinkCount", e.BlinkCount);
  auto& look = e.Look;
  visit("ForeColor", look.ForeColor);
  visit("BackColor", look.BackColor);
  visit("FontName", look.FontName);
  visit("FontSize", look.FontSize);
  visit("FontBold", look.FontBold);
  visit("FontItalic", look.FontItalic);
  visit("FontUnderline", look.FontUnderline);
  visit("FontStrikethru", look.FontStrikethru);
  visit("ForeColorIndex", look.ForeColorIndex);
  visit("BackColorIndex", look.BackColorIndex);
}

}  // namespace wb
