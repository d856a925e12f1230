#include "storage/DaysOffFile.h"

#include "model/OleDate.h"
#include "storage/FileIo.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // "　" in UTF-8

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1..maxDigits digits at `at`; false when there is none.
bool Number(std::string_view s, size_t& at, size_t maxDigits, int& value) {
  const size_t start = at;
  value = 0;
  while (at < s.size() && IsDigit(s[at]) && at - start < maxDigits) value = value * 10 + (s[at++] - '0');
  return at > start && (at == s.size() || !IsDigit(s[at]));
}

bool IsBlank(std::string_view s, size_t at, size_t& width) {
  if (at < s.size() && (s[at] == ' ' || s[at] == '\t')) return width = 1, true;
  if (s.substr(at, kIdeographicSpace.size()) == kIdeographicSpace) return width = kIdeographicSpace.size(), true;
  return false;
}

std::string_view Trim(std::string_view s) {
  size_t width = 0;
  while (!s.empty() && IsBlank(s, 0, width)) s.remove_prefix(width);
  while (!s.empty()) {
    if (s.back() == ' ' || s.back() == '\t') {
      s.remove_suffix(1);
    } else if (s.size() >= kIdeographicSpace.size() && s.substr(s.size() - kIdeographicSpace.size()) == kIdeographicSpace) {
      s.remove_suffix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  return s;
}

// A date line: the day and its name; false when the line does not open with a real date.
bool ParseLine(std::string_view line, NamedDay& out) {
  size_t at = 0;
  int year = 0, month = 0, day = 0;
  if (!Number(line, at, 4, year) || at != 4) return false;
  if (at >= line.size() || (line[at] != '/' && line[at] != '-')) return false;
  const char separator = line[at++];
  if (!Number(line, at, 2, month) || at >= line.size() || line[at++] != separator) return false;
  if (!Number(line, at, 2, day)) return false;
  // The years a date of the program can show.
  if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  size_t width = 0;
  if (at < line.size() && !IsBlank(line, at, width)) return false;  // "2027/08/130" or "2027/08/13x"
  out.day = DayNumber(year, month, day);
  out.name = std::string(Trim(line.substr(at)));
  return true;
}

// At most `maxBytes` of UTF-8 text, cut before a character, with "…" when cut: a stray binary
// file must not make a message the size of the file.
std::string Quoted(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t cut = maxBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "…";
}

}  // namespace

std::string DaysOffPathBeside(const std::string& dataPath) { return FolderOf(dataPath) + std::string(kDaysOffFileName); }

DaysOffFile ParseDaysOffFile(std::string_view bytes, ITextCodec& codec) {
  DaysOffFile file;
  file.found = true;
  std::string text;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    text = std::string(bytes.substr(3));
  else if (!bytes.empty())
    text = codec.FromCp932(std::string(bytes));  // "\n" is never the second byte of a character
  std::string_view rest = text;
  for (int number = 1; !rest.empty(); ++number) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') continue;
    NamedDay day;
    if (ParseLine(trimmed, day))
      file.days.push_back(std::move(day));
    else
      file.badLines.push_back({number, std::string(trimmed)});
  }
  return file;
}

DaysOffFile ReadDaysOffFile(const std::string& path) {
  DaysOffFile file;
  if (NothingAt(path)) return file;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    file.found = true;
    file.unreadable = true;
    return file;
  }
  return ParseDaysOffFile(bytes, StorageCodec());
}

std::string DaysOffBadLinesMessage(const std::string& path, const std::vector<DaysOffBadLine>& badLines) {
  constexpr size_t kQuoted = 10;
  std::string text = "休日ファイル " + path + " の次の行は日付として読めないため、飛ばしました。\n" +
                     "日付は 1 行に 1 つ、「2027/08/13 夏季休暇」のように書いてください。\n";
  for (size_t i = 0; i < badLines.size() && i < kQuoted; ++i)
    text += "\n" + std::to_string(badLines[i].lineNumber) + " 行目: " + Quoted(badLines[i].text, 60);
  if (badLines.size() > kQuoted) text += "\nほか " + std::to_string(badLines.size() - kQuoted) + " 行";
  return text;
}

}  // namespace wb
