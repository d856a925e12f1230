#include "storage/IniFile.h"

#include "storage/FileIo.h"

namespace wb {
namespace {

// No CP932 trail byte falls in these ranges ('=' and blanks lie below 0x40), so scanning the
// raw bytes for them never splits a double-byte character.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// The name of a section header line ("[name]" after blanks), or nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// Splits a key line at its first '='; lines without one carry no value.
bool SplitKey(std::string_view line, std::string_view& name, std::string_view& value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  name = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

// A hand-edited value may stand in quotes; the Windows read drops one matching pair of " or '
// around it (and nothing else). Neither quote can be a CP932 trail byte, so the ends are safe
// to test byte-wise.
std::string_view Unquoted(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

bool IsBlankLine(std::string_view line) { return Trim(line).empty(); }

// Appends rather than chaining operator+, which GCC 12 at -O3 misreads as overlapping copies.
std::string Joined(std::string_view a, std::string_view b, std::string_view c) {
  std::string s;
  s.reserve(a.size() + b.size() + c.size());
  s.append(a).append(b).append(c);
  return s;
}

}  // namespace

bool IniFile::Load(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    lines_.clear();
    return false;
  }
  Parse(bytes);
  return true;
}

bool IniFile::LoadForUpdate(const std::string& path) { return Load(path) || NothingAt(path); }

void IniFile::Parse(std::string_view bytes) {
  lines_.clear();
  while (!bytes.empty()) {
    size_t lf = bytes.find('\n');
    Line line;
    if (lf == std::string_view::npos) {
      line.text = std::string(bytes);
      bytes = {};
    } else {
      size_t end = lf > 0 && bytes[lf - 1] == '\r' ? lf - 1 : lf;
      line.text = std::string(bytes.substr(0, end));
      line.eol = std::string(bytes.substr(end, lf + 1 - end));
      bytes.remove_prefix(lf + 1);
    }
    lines_.push_back(std::move(line));
  }
}

int IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = SectionName(lines_[i].text);
    if (name && SameName(*name, section)) return int(i);
  }
  return -1;
}

int IniFile::FindKey(int header, std::string_view key) const {
  for (size_t i = size_t(header) + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i].text)) break;
    std::string_view name, value;
    if (SplitKey(lines_[i].text, name, value) && SameName(name, key)) return int(i);
  }
  return -1;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  int header = FindSection(section);
  if (header < 0) return std::nullopt;
  int at = FindKey(header, key);
  if (at < 0) return std::nullopt;
  std::string_view name, value;
  SplitKey(lines_[size_t(at)].text, name, value);
  value = value.substr(0, value.find('\0'));
  return std::string(Unquoted(Trim(value)));
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string clean(value.substr(0, value.find('\0')));
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';

  int header = FindSection(section);
  if (header >= 0) {
    int at = FindKey(header, key);
    if (at >= 0) {
      Line& line = lines_[size_t(at)];
      std::string_view name, old;
      SplitKey(line.text, name, old);
      line.text = Joined(name, "=", clean);  // keeps the key as the file spells it
      return;
    }
    // A new key goes after the section's last non-blank line, so the blank lines that set the
    // next section apart stay where they are.
    size_t after = size_t(header);
    for (size_t i = after + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i)
      if (!IsBlankLine(lines_[i].text)) after = i;
    if (lines_[after].eol.empty()) lines_[after].eol = "\r\n";
    lines_.insert(lines_.begin() + std::ptrdiff_t(after) + 1, Line{Joined(key, "=", clean), "\r\n"});
    return;
  }
  if (!lines_.empty()) {
    if (lines_.back().eol.empty()) lines_.back().eol = "\r\n";
    if (!IsBlankLine(lines_.back().text)) lines_.push_back(Line{"", "\r\n"});
  }
  lines_.push_back(Line{Joined("[", section, "]"), "\r\n"});
  lines_.push_back(Line{Joined(key, "=", clean), "\r\n"});
}

std::string IniFile::Bytes() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

bool IniFile::Save(const std::string& path) const { return WriteFileAtomically(path, Bytes()); }

}  // namespace wb
