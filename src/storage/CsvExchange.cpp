// The table as CSV for a spreadsheet, and such a sheet read back. Each member of an entry has
// a column under a Japanese name and a readable value; the columns may stand in any order, and a
// number column left empty takes the value new entries get, so a sheet typed by hand needs only
// 種類, 日付 and 時刻.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "model/DayMath.h"
#include "model/Holidays.h"
#include "storage/AlarmExchange.h"

namespace wb {
namespace {

constexpr const char* kWeekdayLetters[] = {"月", "火", "水", "木", "金", "土", "日"};  // mask bits 0x01 .. 0x40
constexpr const char* kYes = "はい";
constexpr const char* kNo = "いいえ";

std::string Number(int64_t v) { return std::to_string(v); }

template <class T>
bool ParseNumber(std::string_view s, T& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// A flag: はい for its true value, いいえ for 0, any other stored number as it is.
std::string FlagText(int16_t v, int16_t trueValue) { return v == 0 ? kNo : v == trueValue ? kYes : Number(v); }
bool ParseFlag(const std::string& s, int16_t trueValue, int16_t& out) {
  if (s == kYes) out = trueValue;
  else if (s == kNo) out = 0;
  else return ParseNumber(s, out);
  return true;
}

// A colour as #RRGGBB, or a system colour (its high bit set) as &H8000000F.
std::string ColorText(int32_t c) {
  char buf[16];
  const uint32_t u = uint32_t(c);
  if (u <= 0xFFFFFF) std::snprintf(buf, sizeof buf, "#%02X%02X%02X", u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
  else std::snprintf(buf, sizeof buf, "&H%08X", u);
  return buf;
}
bool ParseColor(const std::string& s, int32_t& out) {
  uint32_t u = 0;
  if (s.size() == 7 && s[0] == '#') {
    auto r = std::from_chars(s.data() + 1, s.data() + 7, u, 16);
    if (r.ec != std::errc() || r.ptr != s.data() + 7) return false;
    out = int32_t(((u >> 16) & 0xFF) | (u & 0xFF00) | ((u & 0xFF) << 16));
    return true;
  }
  if (s.size() > 2 && (s[0] == '&') && (s[1] == 'H' || s[1] == 'h')) {
    auto r = std::from_chars(s.data() + 2, s.data() + s.size(), u, 16);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
    out = int32_t(u);
    return true;
  }
  return ParseNumber(s, out);
}

const char* const kBellModeTexts[] = {"本鈴", "予鈴", "予鈴と本鈴"};

// One column: its header, how an entry's member reads, and how a cell is written back into it
// (false for a cell that is no such value). `text` columns keep an empty cell as it is; other
// columns leave the member as the pattern has it.
struct Column {
  const char* header;
  bool text;
  std::function<std::string(const AlarmEntry&)> write;
  std::function<bool(const std::string&, AlarmEntry&)> read;
};

template <class T>
Column NumberColumn(const char* header, T AlarmEntry::*member) {
  return {header, false, [member](const AlarmEntry& e) { return Number(e.*member); },
          [member](const std::string& s, AlarmEntry& e) { return ParseNumber(s, e.*member); }};
}
template <class T>
Column LookNumberColumn(const char* header, T Appearance::*member) {
  return {header, false, [member](const AlarmEntry& e) { return Number(e.Look.*member); },
          [member](const std::string& s, AlarmEntry& e) { return ParseNumber(s, e.Look.*member); }};
}
Column FlagColumn(const char* header, int16_t AlarmEntry::*member) {
  return {header, false, [member](const AlarmEntry& e) { return FlagText(e.*member, 1); },
          [member](const std::string& s, AlarmEntry& e) { return ParseFlag(s, 1, e.*member); }};
}
Column SoundFlagColumn(const char* header, int16_t SoundChoice::*member) {
  return {header, false, [member](const AlarmEntry& e) { return FlagText(e.Sound.*member, 1); },
          [member](const std::string& s, AlarmEntry& e) { return ParseFlag(s, 1, e.Sound.*member); }};
}
Column FontFlagColumn(const char* header, int16_t Appearance::*member) {
  return {header, false, [member](const AlarmEntry& e) { return FlagText(e.Look.*member, kTrue); },
          [member](const std::string& s, AlarmEntry& e) { return ParseFlag(s, kTrue, e.Look.*member); }};
}
Column ColorColumn(const char* header, int32_t Appearance::*member) {
  return {header, false, [member](const AlarmEntry& e) { return ColorText(e.Look.*member); },
          [member](const std::string& s, AlarmEntry& e) { return ParseColor(s, e.Look.*member); }};
}

bool ParseKind(const std::string& s, int16_t& kind) {
  for (int k = 0; k <= kRepeatNth5; ++k)
    if (s == RepeatKindLabel(k)) return (kind = int16_t(k)), true;
  static const std::pair<const char*, int> kOther[] = {{"クイック", kRepeatQuick}, {"第1", 7}, {"第2", 8},
                                                       {"第3", 9}, {"第4", 10}, {"第5", 11}};
  for (const auto& [text, k] : kOther)
    if (s == text) return (kind = int16_t(k)), true;
  return ParseNumber(s, kind);
}

// "yyyy/mm/dd" (a spreadsheet may write "yyyy/m/d" or "yyyy-mm-dd") and "hh:nn" or "hh:nn:ss".
bool ParseNumbers(const std::string& s, const char* separators, std::vector<int>& parts) {
  parts.clear();
  size_t start = 0;
  for (;;) {
    const size_t end = s.find_first_of(separators, start);
    int v = 0;
    if (!ParseNumber(std::string_view(s).substr(start, end == std::string::npos ? std::string::npos : end - start), v))
      return false;
    parts.push_back(v);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

// The date and time cells together make AlarmTime; they are kept apart until both are read.
struct Moment {
  std::optional<int64_t> day;
  std::optional<int32_t> second;
};

std::vector<Column> Columns(Moment* moment) {
  std::vector<Column> c;
  c.push_back({"種類", false,
               [](const AlarmEntry& e) {
                 const std::string label = RepeatKindLabel(e.RepeatKind);
                 return label.empty() ? Number(e.RepeatKind) : label;
               },
               [](const std::string& s, AlarmEntry& e) { return ParseKind(s, e.RepeatKind); }});
  c.push_back({"日付", false, [](const AlarmEntry& e) { return FormatDate(e.AlarmTime); },
               [moment](const std::string& s, AlarmEntry&) {
                 std::vector<int> p;
                 if (!ParseNumbers(s, "/-", p) || p.size() != 3 || p[0] < 100 || p[0] > 9999 || p[1] < 1 || p[1] > 12 ||
                     p[2] < 1 || p[2] > DaysInMonth(p[0], p[1]))
                   return false;
                 moment->day = DayNumber(p[0], p[1], p[2]);
                 return true;
               }});
  c.push_back({"時刻", false,
               [](const AlarmEntry& e) {
                 const int32_t s = DayTimeOf(e.AlarmTime).sec;
                 char buf[16];
                 if (s % 60 == 0) std::snprintf(buf, sizeof buf, "%02d:%02d", s / 3600, s / 60 % 60);
                 else std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
                 return std::string(buf);
               },
               [moment](const std::string& s, AlarmEntry&) {
                 std::vector<int> p;
                 if (!ParseNumbers(s, ":", p) || p.size() < 2 || p.size() > 3 || p[0] < 0 || p[0] > 23 || p[1] < 0 ||
                     p[1] > 59 || (p.size() == 3 && (p[2] < 0 || p[2] > 59)))
                   return false;
                 moment->second = p[0] * 3600 + p[1] * 60 + (p.size() == 3 ? p[2] : 0);
                 return true;
               }});
  c.push_back({"曜日", false,
               [](const AlarmEntry& e) {
                 std::string s;
                 for (int i = 0; i < 7; ++i)
                   if (e.WeekdayMask & (1 << i)) s += kWeekdayLetters[i];
                 return s;
               },
               [](const std::string& s, AlarmEntry& e) {
                 int mask = 0;
                 for (size_t at = 0; at < s.size();) {
                   int found = -1;
                   for (int i = 0; i < 7; ++i)
                     if (s.compare(at, 3, kWeekdayLetters[i]) == 0) found = i;
                   if (found < 0 && (s[at] == ' ' || s[at] == ',')) {
                     ++at;
                     continue;
                   }
                   if (found < 0) return false;
                   mask |= 1 << found;
                   at += 3;
                 }
                 e.WeekdayMask = int16_t((e.WeekdayMask & ~0x7F) | mask);
                 return true;
               }});
  c.push_back({"祝日は鳴らさない", false,
               [](const AlarmEntry& e) { return std::string((e.WeekdayMask & kMaskRestsOnDaysOff) ? kYes : kNo); },
               [](const std::string& s, AlarmEntry& e) {
                 if (s != kYes && s != kNo) return false;
                 e.WeekdayMask = int16_t(s == kYes ? (e.WeekdayMask | kMaskRestsOnDaysOff) : (e.WeekdayMask & ~kMaskRestsOnDaysOff));
                 return true;
               }});
  c.push_back({"ベル", false,
               [](const AlarmEntry& e) {
                 const int m = int(e.BellMode);
                 return m >= 0 && m <= 2 ? std::string(kBellModeTexts[m]) : Number(m);
               },
               [](const std::string& s, AlarmEntry& e) {
                 for (int m = 0; m <= 2; ++m)
                   if (s == kBellModeTexts[m]) return (e.BellMode = BellMode(m)), true;
                 int16_t code = 0;
                 if (!ParseNumber(s, code)) return false;
                 e.BellMode = BellMode(code);
                 return true;
               }});
  c.push_back(NumberColumn("予鈴(分前)", &AlarmEntry::PreBellMinutes));
  c.push_back({"メッセージ", true, [](const AlarmEntry& e) { return e.Message; },
               [](const std::string& s, AlarmEntry& e) { return (e.Message = s), true; }});
  c.push_back(SoundFlagColumn("サウンド", &SoundChoice::Flag));
  c.push_back({"サウンドファイル", true, [](const AlarmEntry& e) { return e.Sound.File; },
               [](const std::string& s, AlarmEntry& e) { return (e.Sound.File = s), true; }});
  c.push_back(SoundFlagColumn("エンドレス", &SoundChoice::Endless));
  c.push_back(NumberColumn("MIDI音量", &AlarmEntry::MidiVolume));
  c.push_back(NumberColumn("WAVE音量", &AlarmEntry::WaveVolume));
  c.push_back(FlagColumn("点滅", &AlarmEntry::BlinkFlag));
  c.push_back(NumberColumn("点滅回数", &AlarmEntry::BlinkCount));
  c.push_back(FlagColumn("ウィンドウを残す", &AlarmEntry::KeepWindowFlag));
  c.push_back(ColorColumn("文字色", &Appearance::ForeColor));
  c.push_back(ColorColumn("背景色", &Appearance::BackColor));
  c.push_back({"フォント", true, [](const AlarmEntry& e) { return e.Look.FontName; },
               [](const std::string& s, AlarmEntry& e) { return (e.Look.FontName = s), true; }});
  c.push_back(LookNumberColumn("文字サイズ", &Appearance::FontSize));
  c.push_back(FontFlagColumn("太字", &Appearance::FontBold));
  c.push_back(FontFlagColumn("斜体", &Appearance::FontItalic));
  c.push_back(FontFlagColumn("下線", &Appearance::FontUnderline));
  c.push_back(FontFlagColumn("取り消し線", &Appearance::FontStrikethru));
  c.push_back(LookNumberColumn("文字色の枠", &Appearance::ForeColorIndex));
  c.push_back(LookNumberColumn("背景色の枠", &Appearance::BackColorIndex));
  return c;
}

void AppendCell(std::string& out, const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos && (cell.empty() || (cell.front() != ' ' && cell.back() != ' '))) {
    out += cell;
    return;
  }
  out += '"';
  for (char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// Rows of cells (RFC 4180: quoted cells may hold commas, quotes doubled and line ends), with the
// line each row starts on. False (error set) on a quote left open.
bool SplitRows(std::string_view s, std::vector<std::pair<int, std::vector<std::string>>>& rows, std::string& error) {
  int line = 1;
  size_t i = 0;
  while (i < s.size()) {
    std::vector<std::string> cells;
    const int rowLine = line;
    for (;;) {
      std::string cell;
      if (i < s.size() && s[i] == '"') {
        ++i;
        for (;;) {
          if (i >= s.size()) {
            error = std::to_string(rowLine) + " 行目: 引用符 \" が閉じられていません";
            return false;
          }
          if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
              cell += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (s[i] == '\n') ++line;
          cell += s[i++];
        }
      }
      while (i < s.size() && s[i] != ',' && s[i] != '\r' && s[i] != '\n') cell += s[i++];
      cells.push_back(std::move(cell));
      if (i < s.size() && s[i] == ',') {
        ++i;
        continue;
      }
      break;
    }
    if (i < s.size() && s[i] == '\r') ++i;
    if (i < s.size() && s[i] == '\n') ++i;
    ++line;
    const bool blank = cells.size() == 1 && cells[0].empty();
    if (!blank) rows.emplace_back(rowLine, std::move(cells));
  }
  return true;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = (unsigned char)s[i];
    const int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + size_t(n) > s.size()) return false;
    for (int k = 1; k < n; ++k)
      if (((unsigned char)s[i + size_t(k)] >> 6) != 2) return false;
    i += size_t(n);
  }
  return true;
}

}  // namespace

std::string ExportCsv(const AlarmTable& table) {
  const std::vector<Column> columns = Columns(nullptr);
  std::string out = "\xEF\xBB\xBF";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i) out += ',';
    out += columns[i].header;
  }
  out += "\r\n";
  for (int slot = 0; slot < table.EntryCount(); ++slot) {
    for (size_t i = 0; i < columns.size(); ++i) {
      if (i) out += ',';
      AppendCell(out, columns[i].write(table[slot]));
    }
    out += "\r\n";
  }
  return out;
}

ImportResult ImportCsv(std::string_view bytes, const ImportContext& context) {
  ImportResult result;
  std::string text;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") text = std::string(bytes.substr(3));
  else if (IsValidUtf8(bytes) || !context.fromCp932) text = std::string(bytes);
  else text = context.fromCp932(std::string(bytes));  // a sheet saved as "CSV" on Japanese Windows

  std::vector<std::pair<int, std::vector<std::string>>> rows;
  if (!SplitRows(text, rows, result.error)) return result;
  if (rows.empty()) {
    result.error = "1 行目: 見出しの行がありません";
    return result;
  }
  Moment moment;
  const std::vector<Column> columns = Columns(&moment);
  // Which column of the sheet each cell belongs to; -1 for a column the program does not know.
  std::vector<int> columnOfCell;
  for (const std::string& header : rows[0].second) {
    auto it = std::find_if(columns.begin(), columns.end(), [&](const Column& c) { return header == c.header; });
    columnOfCell.push_back(it == columns.end() ? -1 : int(it - columns.begin()));
  }
  for (const char* required : {"種類", "日付", "時刻"}) {
    if (std::none_of(columnOfCell.begin(), columnOfCell.end(),
                     [&](int c) { return c >= 0 && std::string(columns[size_t(c)].header) == required; })) {
      result.error = std::to_string(rows[0].first) + " 行目: 見出しに「" + required + "」の列がありません";
      return result;
    }
  }
  for (size_t r = 1; r < rows.size(); ++r) {
    const auto& [line, cells] = rows[r];
    AlarmEntry e = context.pattern;
    e.PreBellFiredAt = e.MainBellFiredAt = 0;
    e.WeekdayMask = 0;
    moment = {};
    for (size_t i = 0; i < cells.size() && i < columnOfCell.size(); ++i) {
      if (columnOfCell[i] < 0) continue;
      const Column& column = columns[size_t(columnOfCell[i])];
      if (cells[i].empty() && !column.text) continue;
      if (!column.read(cells[i], e)) {
        result.error = std::to_string(line) + " 行目「" + column.header + "」: \"" + cells[i] + "\" が読めません";
        result.entries.clear();
        return result;
      }
      if (column.text && context.storable && !context.storable(cells[i])) {
        result.error = std::to_string(line) + " 行目「" + column.header + "」: データファイルに保存できない文字があります";
        result.entries.clear();
        return result;
      }
    }
    if (!moment.day || !moment.second) {
      result.error = std::to_string(line) + " 行目: 日付と時刻がありません";
      result.entries.clear();
      return result;
    }
    e.AlarmTime = FromSecondNumber(*moment.day * kSecondsPerDay + *moment.second);
    result.entries.push_back(std::move(e));
  }
  result.ok = true;
  return result;
}

}  // namespace wb
