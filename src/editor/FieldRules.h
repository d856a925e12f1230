// The rules of the editor's entry fields that need no window: the digit filters, the validity
// tests of the time, day and pre-bell texts, the weekday boxes' mapping for either week start,
// the week-unit list and the quick-timer list. The editor window applies them to its controls.
// Portable: no operating-system header, no control objects.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace wb {

struct FilteredDigits {
  std::string text;      // only the digits 0-9, narrowed
  bool changed = false;  // a character was removed (narrowing alone does not count)
};

// Full-width ASCII (digits, letters, signs, the ideographic space) becomes its narrow form.
std::string NarrowText(const std::string& text);
// Keeps the digits of `text`, narrowed.
FilteredDigits DigitsOnly(const std::string& text);
// As DigitsOnly, and drops, from the left, each digit that would make the number read so far
// reach `limit` or more: "25" under 24 keeps "2", "32768" under 32768 keeps "3276".
FilteredDigits DigitsBelow(const std::string& text, int limit);

// The number a field's text reads as from its start (narrowed; leading spaces and a sign are
// allowed, reading stops at the first other character; 0 when it does not begin with a number),
// rounded to a whole number, halves to even.
long long LeadingNumber(const std::string& text);
// A minute as every box and line shows it: two digits ("03").
std::string MinuteText(int minute);
// The whole number a field holds, when it holds nothing else (narrowed, surrounding spaces
// allowed); empty for "", "1a", "1.5" or a number outside [min, max].
std::optional<int> WholeNumberIn(const std::string& text, int min, int max);

// "00" is no hour: a text that reads as 0 must be exactly "0".
bool IsHourValid(const std::string& text);
bool IsMinuteValid(const std::string& text);
// An empty day passes (the monthly check asks for one separately); "0" does not.
bool IsDayValid(const std::string& text);
bool IsPreBellValid(const std::string& text);

// Weekday boxes, left to right. Box i stands for a weekday mask bit that depends on the week
// start; captions and text colours follow it.
inline constexpr int kWeekdayBoxes = 7;
int16_t WeekdayBoxBit(int box, bool mondayStart);
const char* WeekdayBoxCaption(int box, bool mondayStart);
uint32_t WeekdayBoxColor(int box, bool mondayStart);  // 0x00BBGGRR
// The box showing a weekday (1 = Sunday ... 7 = Saturday).
int WeekdayBox(int weekday, bool mondayStart);

// Week-unit list: "毎週", "隔週", "第１" … "第５" and the RepeatKind of each item.
inline constexpr std::array<const char*, 7> kWeekUnitItems = {"毎週", "隔週", "第１", "第２",
                                                               "第３", "第４", "第５"};
int16_t RepeatKindOfWeekUnit(int index);  // 0 → 2, 1 → 6, 2..6 → 7..11 (others → 11)
int WeekUnitOfRepeatKind(int repeatKind);  // the inverse; -1 for a kind with no item

// Quick-timer list: its items and the minutes each stands for (0 for no item).
inline constexpr std::array<const char*, 11> kQuickTimerItems = {
    "3分", "5分", "10分", "15分", "20分", "25分", "30分", "45分", "60分", "90分", "120分"};
int QuickTimerMinutes(int index);

// Colour boxes 1..7 of either colour group: 青 緑 黄 赤 灰 白 黒 (灰 is the system's button
// face, which follows the colour scheme). Box 0 is the free choice and has no fixed colour.
uint32_t FixedBoxColor(int index);

}  // namespace wb
