#include "storage/ICalendarText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "model/DayMath.h"
#include "model/OleDate.h"

namespace wb::ical {
namespace {

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = char(std::toupper((unsigned char)c));
  return u;
}

bool IsControl(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

void AppendHex(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Digits(std::string_view s, size_t at, size_t n, int& value) {
  if (at + n > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (!IsControl((unsigned char)c)) {
      out += c;
    }
  }
  return out;
}

std::string EscapeExactText(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (IsControl((unsigned char)c) || c == '%') {
      AppendHex(out, (unsigned char)c);
    } else if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeText(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    if (next == 'n' || next == 'N') out += "\r\n";
    else out += next;
  }
  return out;
}

std::string UnescapeExactText(std::string_view value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      text += value[++i];
    } else if (value[i] == '%' && i + 2 < value.size() + 0 && HexValue(value[i + 1]) >= 0 &&
               HexValue(value[i + 2]) >= 0) {
      text += char(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
      i += 2;
    } else {
      text += value[i];
    }
  }
  return text;
}

void AppendFolded(std::string& out, std::string_view line) {
  size_t room = 75;
  while (line.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    room = 74;  // the leading space counts
  }
  out.append(line);
  out += "\r\n";
}

std::string ContentLine::Param(std::string_view wanted) const {
  for (const auto& [n, v] : params)
    if (n == wanted) return v;
  return {};
}

const ContentLine* Component::Find(std::string_view wanted) const {
  for (const ContentLine& l : lines)
    if (l.name == wanted) return &l;
  return nullptr;
}

int Component::Count(std::string_view wanted) const {
  return int(std::count_if(lines.begin(), lines.end(), [&](const ContentLine& l) { return l.name == wanted; }));
}

namespace {

// Splits one unfolded line into name, parameters and value; false when it has no colon
// outside quotes or no name.
bool SplitContentLine(std::string_view s, ContentLine& line) {
  size_t i = 0;
  while (i < s.size() && s[i] != ';' && s[i] != ':') ++i;
  if (i == 0 || i == s.size()) return false;
  line.name = Upper(s.substr(0, i));
  while (i < s.size() && s[i] == ';') {
    const size_t nameStart = ++i;
    while (i < s.size() && s[i] != '=' && s[i] != ':' && s[i] != ';') ++i;
    if (i == s.size() || s[i] != '=') return false;
    std::string name = Upper(s.substr(nameStart, i - nameStart));
    std::string value;
    ++i;
    for (;;) {  // a value list: quoted or plain parts joined by commas
      if (i < s.size() && s[i] == '"') {
        const size_t close = s.find('"', i + 1);
        if (close == std::string_view::npos) return false;
        value.append(s.substr(i + 1, close - i - 1));
        i = close + 1;
      } else {
        const size_t start = i;
        while (i < s.size() && s[i] != ';' && s[i] != ':' && s[i] != ',') ++i;
        value.append(s.substr(start, i - start));
      }
      if (i < s.size() && s[i] == ',') {
        value += ',';
        ++i;
        continue;
      }
      break;
    }
    line.params.emplace_back(std::move(name), std::move(value));
  }
  if (i == s.size() || s[i] != ':') return false;
  line.value = std::string(s.substr(i + 1));
  return true;
}

}  // namespace

bool Parse(std::string_view text, std::vector<Component>& calendars, std::string& error) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<Component> stack;
  // One logical line at a time, as soon as the next physical line shows it complete: a file of a
  // whole table is never held a second time as a list of lines.
  auto take = [&](int lineNumber, const std::string& s) {
    ContentLine line;
    line.lineNumber = lineNumber;
    auto fail = [&](const std::string& what) {
      error = std::to_string(lineNumber) + " 行目: " + what;
      return false;
    };
    if (!SplitContentLine(s, line)) return fail("iCalendar の行の形になっていません");
    if (line.name == "BEGIN") {
      Component c;
      c.name = Upper(line.value);
      c.lineNumber = lineNumber;
      if (stack.empty() && c.name != "VCALENDAR") return fail("BEGIN:VCALENDAR で始まっていません");
      stack.push_back(std::move(c));
    } else if (line.name == "END") {
      if (stack.empty()) return fail("END:" + line.value + " に対応する BEGIN がありません");
      if (stack.back().name != Upper(line.value))
        return fail("END:" + line.value + " の前に、" + std::to_string(stack.back().lineNumber) + " 行目の BEGIN:" +
                    stack.back().name + " が END で閉じられていません");
      Component done = std::move(stack.back());
      stack.pop_back();
      if (stack.empty()) calendars.push_back(std::move(done));
      else stack.back().children.push_back(std::move(done));
    } else {
      if (stack.empty()) return fail("BEGIN:VCALENDAR の外に行があります");
      stack.back().lines.push_back(std::move(line));
    }
    return true;
  };
  // Unfold: a physical line opening with a space or a tab continues the one before.
  std::string pending;
  int pendingNumber = 0, number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view physical = text.substr(pos, end - pos);
    ++number;
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    if (physical.empty()) continue;
    if ((physical[0] == ' ' || physical[0] == '\t') && pendingNumber != 0) {
      pending.append(physical.substr(1));
      continue;
    }
    if (pendingNumber != 0 && !take(pendingNumber, pending)) return false;
    pending.assign(physical);
    pendingNumber = number;
  }
  if (pendingNumber != 0 && !take(pendingNumber, pending)) return false;
  if (!stack.empty()) {
    error = std::to_string(stack.back().lineNumber) + " 行目: BEGIN:" + stack.back().name + " が END で閉じられていません";
    return false;
  }
  if (calendars.empty()) {
    error = "1 行目: iCalendar のデータ (BEGIN:VCALENDAR) がありません";
    return false;
  }
  return true;
}

bool ParseDateTime(std::string_view v, DateTime& out) {
  DateTime d;
  if (v.size() != 15 && !(v.size() == 16 && (v[15] == 'Z' || v[15] == 'z'))) return false;
  if (v[8] != 'T' && v[8] != 't') return false;
  if (!Digits(v, 0, 4, d.year) || !Digits(v, 4, 2, d.month) || !Digits(v, 6, 2, d.day) || !Digits(v, 9, 2, d.hour) ||
      !Digits(v, 11, 2, d.minute) || !Digits(v, 13, 2, d.second))
    return false;
  d.utc = v.size() == 16;
  if (d.year < 100 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month) ||
      d.hour > 23 || d.minute > 59 || d.second > 60)
    return false;
  if (d.second == 60) d.second = 59;  // a leap second rings with the second before it
  out = d;
  return true;
}

std::string FormatDateTime(int64_t day, int32_t secondOfDay, bool utc) {
  const CivilDay c = CivilOfDay(day);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d%s", c.year, c.month, c.day, secondOfDay / 3600,
                secondOfDay / 60 % 60, secondOfDay % 60, utc ? "Z" : "");
  return buf;
}

bool ParseDuration(std::string_view v, int64_t& seconds) {
  int64_t sign = 1;
  if (!v.empty() && (v[0] == '+' || v[0] == '-')) {
    if (v[0] == '-') sign = -1;
    v.remove_prefix(1);
  }
  if (v.empty() || (v[0] != 'P' && v[0] != 'p')) return false;
  v.remove_prefix(1);
  int64_t total = 0;
  bool inTime = false, any = false;
  while (!v.empty()) {
    if (v[0] == 'T' || v[0] == 't') {
      inTime = true;
      v.remove_prefix(1);
      continue;
    }
    int64_t n = 0;
    size_t i = 0;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9' && n < 100000000) n = n * 10 + (v[i++] - '0');
    if (i == 0 || i == v.size()) return false;
    const char unit = char(std::toupper((unsigned char)v[i]));
    if (!inTime && unit == 'W') n *= 7 * 86400;
    else if (!inTime && unit == 'D') n *= 86400;
    else if (inTime && unit == 'H') n *= 3600;
    else if (inTime && unit == 'M') n *= 60;
    else if (!(inTime && unit == 'S')) return false;
    total += n;
    any = true;
    v.remove_prefix(i + 1);
  }
  if (!any) return false;
  seconds = sign * total;
  return true;
}

}  // namespace wb::ical
