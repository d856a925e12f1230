#include "editor/FieldRules.h"

#include <cmath>
#include <cstdlib>

namespace wb {
namespace {

// Full-width ASCII forms (U+FF01..U+FF5E) and the ideographic space are three UTF-8 bytes:
// EF BC 81..EF BD 9E and E3 80 80.
bool NarrowAt(const std::string& s, size_t i, char& out) {
  if (i + 2 >= s.size()) return false;
  auto b0 = uint8_t(s[i]), b1 = uint8_t(s[i + 1]), b2 = uint8_t(s[i + 2]);
  if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) { out = ' '; return true; }
  if (b0 != 0xEF || (b1 != 0xBC && b1 != 0xBD)) return false;
  int code = ((b1 & 0x3F) << 6) | (b2 & 0x3F);  // low 12 bits of U+Fxxx
  code |= 0xF000;
  if (code < 0xFF01 || code > 0xFF5E) return false;
  out = char(code - 0xFF01 + 0x21);
  return true;
}

size_t Utf8Length(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;  // a stray byte counts as one character
}

FilteredDigits FilterDigits(const std::string& text, long long limit) {
  std::string narrow = NarrowText(text);
  FilteredDigits out;
  long long value = 0;
  for (size_t i = 0; i < narrow.size(); i += Utf8Length(uint8_t(narrow[i]))) {
    char c = narrow[i];
    bool digit = c >= '0' && c <= '9';
    long long next = value * 10 + (c - '0');
    if (!digit || (limit > 0 && next >= limit)) {
      out.changed = true;
      continue;
    }
    value = next;
    out.text += c;
  }
  return out;
}

}  // namespace

std::string NarrowText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char narrow;
    if (NarrowAt(text, i, narrow)) {
      out += narrow;
      i += 3;
    } else {
      out += text[i];
      ++i;
    }
  }
  return out;
}

FilteredDigits DigitsOnly(const std::string& text) { return FilterDigits(text, 0); }
FilteredDigits DigitsBelow(const std::string& text, int limit) { return FilterDigits(text, limit); }

long long LeadingNumber(const std::string& text) {
  std::string s = NarrowText(text);
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  double value = 0;
  bool any = false;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, any = true) {
    value = value * 10 + (s[i] - '0');
    if (value > 1e15) value = 1e15;  // far past every limit; keeps the double exact
  }
  if (i < s.size() && s[i] == '.') {
    double scale = 0.1;
    for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, scale /= 10, any = true)
      value += (s[i] - '0') * scale;
  }
  if (!any) return 0;
  double rounded = std::nearbyint(value);  // default rounding mode: halves to even
  return negative ? -(long long)rounded : (long long)rounded;
}

std::optional<int> WholeNumberIn(const std::string& text, int min, int max) {
  std::string s = NarrowText(text);
  size_t begin = s.find_first_not_of(' '), end = s.find_last_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  long long value = 0;
  for (size_t i = begin; i <= end; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > max) return std::nullopt;
  }
  if (value < min) return std::nullopt;
  return int(value);
}

namespace {
bool InRangeAndNotZeroUnless(const std::string& text, const char* zeroText, long long max) {
  long long n = LeadingNumber(text);
  if (text != zeroText && n == 0) return false;
  return n >= 0 && n <= max;
}

// "00", as a minute shows and may be typed, is zero too.
bool AllZeros(const std::string& text) { return !text.empty() && text.find_first_not_of('0') == std::string::npos; }
}  // namespace

bool IsHourValid(const std::string& text) { return InRangeAndNotZeroUnless(text, "0", 23); }
bool IsMinuteValid(const std::string& text) { return AllZeros(text) || InRangeAndNotZeroUnless(text, "0", 59); }

std::string MinuteText(int minute) {
  const std::string digits = std::to_string(minute);
  return digits.size() < 2 ? "0" + digits : digits;
}

bool IsDayValid(const std::string& text) { return InRangeAndNotZeroUnless(text, "", 31); }
bool IsPreBellValid(const std::string& text) {
  long long n = LeadingNumber(text);
  if (!text.empty() && text != "0" && n == 0) return false;
  return n >= 0;
}

namespace {
// Weekday numbers (1 = Sunday) of the boxes for a Sunday start; a Monday start shifts by one.
int WeekdayOfBox(int box, bool mondayStart) { return (box + (mondayStart ? 1 : 0)) % 7 + 1; }
constexpr std::array<const char*, 7> kDayLetters = {"日", "月", "火", "水", "木", "金", "土"};
}  // namespace

int16_t WeekdayBoxBit(int box, bool mondayStart) {
  int weekday = WeekdayOfBox(box, mondayStart);
  return weekday == 1 ? int16_t(0x40) : int16_t(1 << (weekday - 2));
}

const char* WeekdayBoxCaption(int box, bool mondayStart) {
  return kDayLetters[size_t(WeekdayOfBox(box, mondayStart) - 1)];
}

uint32_t WeekdayBoxColor(int box, bool mondayStart) {
  int weekday = WeekdayOfBox(box, mondayStart);
  if (weekday == 1) return 0x0000FF;  // Sunday red
  if (weekday == 7) return 0xFF0000;  // Saturday blue
  return 0x000000;
}

int WeekdayBox(int weekday, bool mondayStart) {
  return (weekday - 1 - (mondayStart ? 1 : 0) + 7) % 7;
}

int16_t RepeatKindOfWeekUnit(int index) {
  if (index == 0) return 2;
  if (index >= 1 && index <= 5) return int16_t(index + 5);
  return 11;
}

int WeekUnitOfRepeatKind(int repeatKind) {
  if (repeatKind == 2) return 0;
  if (repeatKind >= 6 && repeatKind <= 11) return repeatKind - 5;
  return -1;
}

int QuickTimerMinutes(int index) {
  static constexpr std::array<int, 11> kMinutes = {3, 5, 10, 15, 20, 25, 30, 45, 60, 90, 120};
  return index >= 0 && index < int(kMinutes.size()) ? kMinutes[size_t(index)] : 0;
}

uint32_t FixedBoxColor(int index) {
  static constexpr std::array<uint32_t, 8> kColors = {0,          0x00FFB29C, 0x00BDFF9C, 0x009CFFFF,
                                                      0x000000FF, 0x8000000F, 0x00FFFFFF, 0};
  return index >= 1 && index <= 7 ? kColors[size_t(index)] : 0;
}

}  // namespace wb
