// The text layer of iCalendar (RFC 5545) shared by its writer and reader: escaping of TEXT
// values, folding and unfolding of lines, content lines and the nesting of components, and
// date-times. Nothing here knows what an alarm entry is.
// Portable: no operating-system header.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wb::ical {

// The prefix of the properties that carry what calendars have no property for.
inline constexpr const char* kPrivatePrefix = "X-WAKEBELL-";

// A TEXT value as calendar programs show it: line breaks (CR LF, LF or CR alone) as "\n",
// backslash, semicolon and comma escaped, other control characters left out.
std::string EscapeText(std::string_view text);
// A TEXT value that must come back byte for byte (our private properties): as EscapeText, but
// every control character and '%' is written %XX, so no line end or control is lost.
std::string EscapeExactText(std::string_view text);
// The inverse of EscapeText: "\n" reads as CR LF, the line end of the program's texts.
std::string UnescapeText(std::string_view value);
std::string UnescapeExactText(std::string_view value);

// Appends "line" CR LF, folded so that no line holds more than 75 octets and no UTF-8
// character is split.
void AppendFolded(std::string& out, std::string_view line);

struct ContentLine {
  int lineNumber = 0;  // of its first physical line, from 1
  std::string name;    // upper case
  std::vector<std::pair<std::string, std::string>> params;  // names upper case, quotes removed
  std::string value;
  // The parameter's value, "" when absent.
  std::string Param(std::string_view name) const;
};

struct Component {
  std::string name;  // upper case ("VCALENDAR", "VEVENT", ...)
  int lineNumber = 0;
  std::vector<ContentLine> lines;
  std::vector<Component> children;
  const ContentLine* Find(std::string_view name) const;  // the first such property
  int Count(std::string_view name) const;
};

// The components of a whole file (its VCALENDARs); false with `error` in Japanese naming the
// line when it is no well-formed iCalendar text.
bool Parse(std::string_view text, std::vector<Component>& calendars, std::string& error);

// A DATE-TIME "yyyymmddThhmmss" with an optional "Z"; false when malformed or impossible.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool utc = false;
};
bool ParseDateTime(std::string_view value, DateTime& out);
std::string FormatDateTime(int64_t day, int32_t secondOfDay, bool utc = false);

// A DURATION ("-PT10M", "P1DT2H", "-P1W") in seconds; false when malformed.
bool ParseDuration(std::string_view value, int64_t& seconds);

}  // namespace wb::ical
