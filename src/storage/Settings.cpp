#include "storage/Settings.h"

#include <charconv>
#include <concepts>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

#include "model/Assert.h"
#include "storage/FileIo.h"
#include "storage/IniFile.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

constexpr std::string_view kSection = "Wakebell";
constexpr size_t kReadCut = 255;  // the 256-byte buffer of the Windows read, less its NUL

enum class Kind {
  Integer,   // int16_t member (or an enum of it), decimal text in its range
  Long,      // int32_t member, decimal text in its range
  Text,      // std::string member, as it is
  Message,   // std::string member, line breaks as "!*#"
  FontFlag,  // int16_t member True/False, stored "1"/"0"; any text but "0" reads True
  Number,    // read as GetPrivateProfileInt reads it (the leading number); a bool member is "not 0"
  One,       // bool member, stored "1"/"0"; only "1" reads true
};

// The table: calls `visit(key, kind, member, itsDefault)` for every key of a group, in the
// order the keys are written; the only place that spells the settings file's keys. `g` may be
// const (writing) or not (reading); `d` is a group as constructed, whose members are the
// defaults.
template <class G>
concept PreferencesGroup = std::same_as<std::remove_const_t<G>, Preferences>;
template <class G>
concept DataFolderGroup = std::same_as<std::remove_const_t<G>, DataFolderSettings>;
template <class G>
concept ProgramFolderGroup = std::same_as<std::remove_const_t<G>, ProgramFolderSettings>;

template <PreferencesGroup G, class Visitor>
void ForEachKey(G& g, const Preferences& d, Visitor&& visit) {
  visit("PREFLAG", Kind::Integer, g.bellMode, d.bellMode);
  visit("PRETIME", Kind::Integer, g.preBellMinutes, d.preBellMinutes);
  visit("MESSAGE", Kind::Message, g.message, d.message);
  visit("BLINKFLAG", Kind::Integer, g.blinkFlag, d.blinkFlag);
  visit("SOUNDFLAG", Kind::Integer, g.sound.Flag, d.sound.Flag);
  visit("SOUNDFILE", Kind::Text, g.sound.File, d.sound.File);
  visit("WEEKSTART", Kind::Integer, g.weekStart, d.weekStart);
  visit("ENDLESSFLG", Kind::Integer, g.sound.Endless, d.sound.Endless);
  visit("DELFORMFLG", Kind::Integer, g.keepWindowFlag, d.keepWindowFlag);
  visit("BLINKCNT", Kind::Integer, g.blinkCount, d.blinkCount);
  auto& look = g.look;
  const Appearance& lookDefault = d.look;
  visit("FORECOLOR", Kind::Long, look.ForeColor, lookDefault.ForeColor);
  visit("BACKCOLOR", Kind::Long, look.BackColor, lookDefault.BackColor);
  visit("FONTNAME", Kind::Text, look.FontName, lookDefault.FontName);
  visit("FONTSIZE", Kind::Integer, look.FontSize, lookDefault.FontSize);
  visit("FONTBOLD", Kind::FontFlag, look.FontBold, lookDefault.FontBold);
  visit("FONTITALIC", Kind::FontFlag, look.FontItalic, lookDefault.FontItalic);
  visit("FONTUNDERLINE", Kind::FontFlag, look.FontUnderline, lookDefault.FontUnderline);
  visit("FONTSTRIKETHRU", Kind::FontFlag, look.FontStrikethru, lookDefault.FontStrikethru);
  visit("FORECOLORINDEX", Kind::Integer, look.ForeColorIndex, lookDefault.ForeColorIndex);
  visit("BACKCOLORINDEX", Kind::Integer, look.BackColorIndex, lookDefault.BackColorIndex);
  visit("WEEKLYTIMING", Kind::Integer, g.weeklyRepeat, d.weeklyRepeat);
  visit("LISTDISPFLG", Kind::Integer, g.listView, d.listView);
  visit("MIDINM", Kind::Text, g.midiDevice, d.midiDevice);
  visit("WAVENM", Kind::Text, g.waveDevice, d.waveDevice);
  visit("PASSFLAG", Kind::Integer, g.warnPastTime, d.warnPastTime);
}

template <DataFolderGroup G, class Visitor>
void ForEachKey(G& g, const DataFolderSettings& d, Visitor&& visit) {
  ForEachKey(g.prefs, d.prefs, visit);
  visit("STARTFLG", Kind::Number, g.startFlag, d.startFlag);
  visit("STARTMD", Kind::One, g.startWithWindows, d.startWithWindows);
}

template <ProgramFolderGroup G, class Visitor>
void ForEachKey(G& g, const ProgramFolderSettings& d, Visitor&& visit) {
  visit("DATAPATH", Kind::Text, g.dataPath, d.dataPath);  // relative to the program folder
  visit("WAKEFLG", Kind::Number, g.wakeForBells, d.wakeForBells);
  visit("SNOOZEMIN", Kind::Number, g.snoozeMinutes, d.snoozeMinutes);
  visit("SNOOZEHIDE", Kind::Number, g.snoozeHidden, d.snoozeHidden);
  visit("EDITORWIDTH", Kind::Long, g.editorWidth, d.editorWidth);
  visit("EDITORHEIGHT", Kind::Long, g.editorHeight, d.editorHeight);
}

// The file beside the program when no DATAPATH names another.
constexpr std::string_view kDefaultDataFileName = "Wakebell.dat";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The value as the Windows read returns it, in UTF-8; nothing when the key is missing.
std::optional<std::string> Lookup(const IniFile& ini, std::string_view key) {
  std::optional<std::string> raw = ini.Get(kSection, key);
  if (!raw) return std::nullopt;
  std::string_view cut = CutCp932(*raw, kReadCut);
  return cut.empty() ? std::string() : StorageCodec().FromCp932(std::string(cut));
}

std::string ReadFrom(const IniFile& ini, std::string_view key, std::string_view def) {
  std::optional<std::string> v = Lookup(ini, key);
  return v ? *v : std::string(def);
}

// A whole decimal number within [lo, hi]; nothing for any other text.
std::optional<int64_t> ParseDecimal(std::string_view text, int64_t lo, int64_t hi) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi)
    return std::nullopt;
  return v;
}

// The leading decimal number of a value that is not empty, wrapping like the 32-bit arithmetic
// of GetPrivateProfileInt.
int32_t LeadingNumber(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  uint32_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = n * 10u + uint32_t(c - '0');
  }
  return int32_t(negative ? 0u - n : n);
}

template <class T>
struct Stored {
  using type = T;
};
template <class T>
  requires std::is_enum_v<T>
struct Stored<T> {
  using type = std::underlying_type_t<T>;
};

// A member from its value in the file (nothing: the key is missing).
template <class T>
void Fill(Kind kind, const std::optional<std::string>& value, T& member, const T& def) {
  if (!value) {
    member = def;
  } else if constexpr (std::is_same_v<T, std::string>) {
    member = kind == Kind::Message ? DecodeMessageSetting(*value) : *value;
  } else if constexpr (std::is_same_v<T, bool>) {
    if (kind == Kind::One)
      member = *value == "1";
    else
      member = value->empty() ? def : LeadingNumber(*value) != 0;
  } else {
    using Code = typename Stored<T>::type;
    if (kind == Kind::Number) {
      member = value->empty() ? def : T(Code(LeadingNumber(*value)));
    } else if (kind == Kind::FontFlag) {
      member = T(*value != "0" ? kTrue : kFalse);
    } else {
      auto n = ParseDecimal(*value, std::numeric_limits<Code>::min(), std::numeric_limits<Code>::max());
      member = n ? T(Code(*n)) : def;
    }
  }
}

// A member as the file stores it.
template <class T>
std::string Format(Kind kind, const T& member) {
  if constexpr (std::is_same_v<T, std::string>) {
    return kind == Kind::Message ? EncodeMessageSetting(member) : member;
  } else if constexpr (std::is_same_v<T, bool>) {
    return member ? "1" : "0";
  } else {
    using Code = typename Stored<T>::type;
    if (kind == Kind::FontFlag) return Code(member) != 0 ? "1" : "0";
    return std::to_string(Code(member));
  }
}

bool IsMessageKey(std::string_view key) {
  bool message = false;
  const Preferences any;
  ForEachKey(any, any, [&](std::string_view k, Kind kind, const auto&, const auto&) {
    message = message || (kind == Kind::Message && SameName(k, key));
  });
  return message;
}

// Puts a UTF-8 value into the file's bytes. Only the message has a form for line breaks; in
// any other value a CR or LF would split the line, so it becomes a space.
void Put(IniFile& ini, std::string_view key, const std::string& value) {
  std::string text = IsMessageKey(key) ? EncodeMessageSetting(value) : value;
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  ini.Set(kSection, key, text.empty() ? std::string() : StorageCodec().ToCp932(text));
}

}  // namespace

std::string IniPathBeside(const std::string& fileOrFolder) { return FolderOf(fileOrFolder) + "Wakebell.ini"; }

std::string EncodeMessageSetting(const std::string& message) {
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    char c = message[i];
    if (c == '\r' || c == '\n') {
      out += "!*#";
      if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string DecodeMessageSetting(const std::string& stored) {
  std::string out;
  out.reserve(stored.size());
  for (size_t i = 0; i < stored.size();) {
    if (stored.compare(i, 3, "!*#") == 0) {
      out += "\r\n";
      i += 3;
    } else {
      out += stored[i++];
    }
  }
  return out;
}

std::string ReadSetting(const std::string& iniPath, const std::string& key, const std::string& def) {
  IniFile ini;
  ini.Load(iniPath);
  return ReadFrom(ini, key, def);
}

int ReadSettingInt(const std::string& iniPath, const std::string& key, int def) {
  IniFile ini;
  ini.Load(iniPath);
  std::optional<std::string> v = Lookup(ini, key);
  return !v || v->empty() ? def : LeadingNumber(*v);
}

bool WriteSetting(const std::string& iniPath, const std::string& key, const std::string& value) {
  IniFile ini;
  if (!ini.LoadForUpdate(iniPath)) return false;
  Put(ini, key, value);
  return ini.Save(iniPath);
}

namespace {

template <class Group>
void ReadGroup(const std::string& iniPath, Group& group) {
  static const Group kDefaults{};
  IniFile ini;
  ini.Load(iniPath);
  ForEachKey(group, kDefaults, [&](std::string_view key, Kind kind, auto& member, const auto& def) {
    Fill(kind, Lookup(ini, key), member, def);
  });
}

template <class Group>
bool WriteGroup(const std::string& iniPath, const Group& group, std::initializer_list<SettingsPart> parts) {
  for (const SettingsPart& part : parts) {
    // A part outside the group is a program error: it would silently write nothing.
    const auto* at = static_cast<const char*>(part.at);
    WB_ASSERT(at >= reinterpret_cast<const char*>(&group) &&
              at + part.size <= reinterpret_cast<const char*>(&group) + sizeof(Group));
  }
  const auto named = [&](const void* member) {
    if (parts.size() == 0) return true;
    for (const SettingsPart& part : parts) {
      const auto* at = static_cast<const char*>(part.at);
      const auto* m = static_cast<const char*>(member);
      if (m >= at && m < at + part.size) return true;
    }
    return false;
  };
  IniFile ini;
  if (!ini.LoadForUpdate(iniPath)) return false;
  ForEachKey(group, group, [&](std::string_view key, Kind kind, const auto& member, const auto&) {
    if (named(&member)) Put(ini, key, Format(kind, member));
  });
  return ini.Save(iniPath);
}

}  // namespace

void ReadSettings(const std::string& iniPath, Preferences& group) { ReadGroup(iniPath, group); }
void ReadSettings(const std::string& iniPath, DataFolderSettings& group) { ReadGroup(iniPath, group); }
void ReadSettings(const std::string& iniPath, ProgramFolderSettings& group) { ReadGroup(iniPath, group); }

bool WriteSettingsParts(const std::string& iniPath, const Preferences& group, std::initializer_list<SettingsPart> parts) {
  return WriteGroup(iniPath, group, parts);
}
bool WriteSettingsParts(const std::string& iniPath, const DataFolderSettings& group,
                        std::initializer_list<SettingsPart> parts) {
  return WriteGroup(iniPath, group, parts);
}
bool WriteSettingsParts(const std::string& iniPath, const ProgramFolderSettings& group,
                        std::initializer_list<SettingsPart> parts) {
  return WriteGroup(iniPath, group, parts);
}

void SavePreferences(const std::string& iniPath, const Preferences& prefs, int lastEditedSlot) {
  if (lastEditedSlot == -1) return;  // nothing was added or changed since the start
  WriteSettings(iniPath, prefs);
}

bool IsDeviceName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (SameName(name, device)) return true;
  return name.size() == 4 && (SameName(name.substr(0, 3), "COM") || SameName(name.substr(0, 3), "LPT")) &&
         name[3] >= '1' && name[3] <= '9';
}

DataPathFault DataPathFaultOf(const std::string& dataPath) {
  bool lossless = true;
  const std::string bytes = StorageCodec().ToCp932(dataPath, &lossless);
  if (!lossless) return DataPathFault::NotStorable;
  if (bytes.size() > kReadCut) return DataPathFault::TooLong;
  if (IsDeviceName(dataPath)) return DataPathFault::DeviceName;
  return DataPathFault::None;
}

namespace {
// A path with a drive ("C:\..."), a share ("\\server\...") or a root ("\..." or "/...").
bool IsRooted(const std::string& path) {
  if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return true;
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}
}  // namespace

std::string ReadDataPath(const std::string& programFolder) {
  const std::string beside = programFolder + std::string(kDefaultDataFileName);
  // An empty value names no file; taken as it stands, nothing would load and every save would
  // fail. It reads as a missing key.
  const std::string path = ReadSettings<ProgramFolderSettings>(ProgramIniPath(programFolder)).dataPath;
  if (path.empty()) return beside;
  // A device is no file to keep alarms in; its settings file would land in the current folder.
  if (IsDeviceName(path)) return beside;
  return ResolveDataPath(programFolder, path);
}

std::string ResolveDataPath(const std::string& programFolder, const std::string& path) {
  return IsRooted(path) ? path : programFolder + path;
}

bool DataPathNamed(const std::string& programFolder) {
  return !ReadSettings<ProgramFolderSettings>(ProgramIniPath(programFolder)).dataPath.empty();
}

}  // namespace wb
