#include "storage/DaysOffFile.h"

#include "model/OleDate.h"
#include "model/TextBreaks.h"
#include "model/Utf8.h"
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

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Whether the bytes are well-formed UTF-8: no stray continuation byte, no character cut short,
// no overlong form, no surrogate, nothing past U+10FFFF.
bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t more = 0;                        // continuation bytes the character needs
    unsigned char low = 0x80, high = 0xBF;  // the range of the first of them
    if (b >= 0xC2 && b <= 0xDF) {
      more = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      more = 2;
      if (b == 0xE0) low = 0xA0;   // overlong
      if (b == 0xED) high = 0x9F;  // a surrogate
    } else if (b >= 0xF0 && b <= 0xF4) {
      more = 3;
      if (b == 0xF0) low = 0x90;   // overlong
      if (b == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
      return false;
    }
    if (s.size() - i <= more) return false;
    const unsigned char first = static_cast<unsigned char>(s[i + 1]);
    if (first < low || first > high) return false;
    for (size_t k = 2; k <= more; ++k)
      if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return false;
    i += more + 1;
  }
  return true;
}

// Whether bytes that are well-formed UTF-8 are rather code page 932 Japanese: read as UTF-8
// they hold letters of two bytes alone (Latin, Greek, Cyrillic: "ý" for ﾃｽ), never the three
// bytes of a kana or kanji, and read as code page 932 every byte makes a character and some
// are Japanese. Short half-width names (ﾃｽ, ｶｲｼｬ) are often well-formed UTF-8 by chance.
bool ReadsAsCp932Japanese(std::string_view bytes, ITextCodec& codec) {
  bool twoByteLetters = false;
  for (unsigned char b : bytes) {
    if (b >= 0xE0) return false;  // starts a character of three or four bytes
    twoByteLetters = twoByteLetters || b >= 0xC2;
  }
  if (!twoByteLetters) return false;  // ASCII reads the same either way
  const std::string text = codec.FromCp932(std::string(bytes));
  bool japanese = false;
  for (size_t i = 0; i < text.size();) {
    const char32_t c = DecodeUtf8(text, i);
    if (IsByteEscape(c)) return false;
    japanese = japanese || (c >= U'\u3000' && c <= U'\u9FFF') || (c >= U'\uFF01' && c <= U'\uFF9F');
  }
  return japanese;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// UTF-16 text (after its byte-order mark) in UTF-8. Half a surrogate pair becomes U+FFFD; an odd
// last byte is half a character cut off and is left out.
std::string FromUtf16(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t at) -> char32_t {
    const char32_t a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t next = unit(i + 2);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

// The file's text in UTF-8, whichever of the encodings it was saved in.
std::string DaysOffText(std::string_view bytes, ITextCodec& codec) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return FromUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF") return FromUtf16(bytes.substr(2), true);
  if (IsUtf8(bytes) && !ReadsAsCp932Japanese(bytes, codec)) return std::string(bytes);  // Notepad's, no mark
  return codec.FromCp932(std::string(bytes));  // CR and LF are never the second byte of a character
}

// At most `maxBytes` of UTF-8 text, cut between two clusters, with "…" when cut: a stray
// binary file must not make a message the size of the file.
std::string Quoted(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  return text.substr(0, Utf8ClusterPrefixWithin(text, maxBytes)) + "…";
}

}  // namespace

std::string DaysOffPathBeside(const std::string& dataPath) { return FolderOf(dataPath) + std::string(kDaysOffFileName); }

DaysOffFile ParseDaysOffFile(std::string_view bytes, ITextCodec& codec) {
  DaysOffFile file;
  file.found = true;
  const std::string text = DaysOffText(bytes, codec);
  std::string_view rest = text;
  for (int number = 1; !rest.empty(); ++number) {
    const size_t end = rest.find_first_of("\r\n");
    const std::string_view line = rest.substr(0, end);
    if (end == std::string_view::npos) {
      rest = {};
    } else {
      const bool crLf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
      rest.remove_prefix(end + (crLf ? 2 : 1));
    }
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
  file.found = true;
  std::string bytes;
  // One byte past the bound tells a file that is too large, whatever size it claimed.
  if (!ReadFileHead(path, kDaysOffMaxBytes + 1, bytes)) {
    file.unreadable = true;
    return file;
  }
  if (bytes.size() > kDaysOffMaxBytes) {
    file.tooLarge = true;
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
