#include "storage/Settings.h"

#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <variant>

#include "storage/FileIo.h"
#include "storage/IniFile.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

constexpr std::string_view kSection = "Wakebell";
constexpr size_t kReadCut = 255;  // the 256-byte buffer of the Windows read, less its NUL

enum class Kind {
  Integer,   // int16_t (or BellMode) member, decimal text
  Long,      // int32_t member, decimal text
  Text,      // std::string member, as it is
  Message,   // std::string member, line breaks as "!*#"
  FontFlag,  // int16_t member True/False, stored "1"/"0"; any text but "0" reads True
  Install,   // no member: read and written by its own functions below
};

// Where a key's value lives in the preferences.
using Field = std::variant<std::monostate, int16_t*, int32_t*, std::string*, BellMode*>;
using FieldOf = Field (*)(Preferences&);

template <auto Member>
Field Of(Preferences& p) {
  return &(p.*Member);
}
template <auto Member>
Field OfLook(Preferences& p) {
  return &(p.look.*Member);
}
template <auto Member>
Field OfSound(Preferences& p) {
  return &(p.sound.*Member);
}

struct SettingKey {
  std::string_view key;
  Kind kind;
  std::string_view def;
  FieldOf field = nullptr;
};

// The keys the installation keeps, read and written by their own functions.
constexpr SettingKey kStartFlagKey{"STARTFLG", Kind::Install, "0"};
constexpr SettingKey kStartModeKey{"STARTMD", Kind::Install, "0"};
constexpr SettingKey kDataPathKey{"DATAPATH", Kind::Install, "Wakebell.dat"};  // relative to the program folder
// Per PC, in the program folder: "0" keeps the PC asleep through its bells. Never written.
constexpr SettingKey kWakeKey{"WAKEFLG", Kind::Install, "1"};
// Per PC, in the program folder, written only when the user snoozes with another delay, so a
// settings file of a user who never snoozes stays as it was. The delay in minutes.
constexpr SettingKey kSnoozeDelayKey{"SNOOZEMIN", Kind::Install, "5"};
// "1" hides the alarm window's snooze controls: the window exactly as it was before them.
constexpr SettingKey kSnoozeHiddenKey{"SNOOZEHIDE", Kind::Install, "0"};
// The device names, which the device choice also writes on its own.
constexpr SettingKey kMidiDeviceKey{"MIDINM", Kind::Text, "", Of<&Preferences::midiDevice>};
constexpr SettingKey kWaveDeviceKey{"WAVENM", Kind::Text, "", Of<&Preferences::waveDevice>};

// Every key of section "Wakebell", in the order the preferences are written: the only place
// that spells the settings file's keys.
constexpr SettingKey kKeys[] = {
    {"PREFLAG", Kind::Integer, "0", Of<&Preferences::bellMode>},
    {"PRETIME", Kind::Integer, "0", Of<&Preferences::preBellMinutes>},
    {"MESSAGE", Kind::Message, "", Of<&Preferences::message>},
    {"BLINKFLAG", Kind::Integer, "0", Of<&Preferences::blinkFlag>},
    {"SOUNDFLAG", Kind::Integer, "0", OfSound<&SoundChoice::Flag>},
    {"SOUNDFILE", Kind::Text, "", OfSound<&SoundChoice::File>},
    {"WEEKSTART", Kind::Integer, "0", Of<&Preferences::weekStart>},
    {"ENDLESSFLG", Kind::Integer, "0", OfSound<&SoundChoice::Endless>},
    {"DELFORMFLG", Kind::Integer, "0", Of<&Preferences::keepWindowFlag>},
    {"BLINKCNT", Kind::Integer, "10", Of<&Preferences::blinkCount>},
    {"FORECOLOR", Kind::Long, "0", OfLook<&Appearance::ForeColor>},
    {"BACKCOLOR", Kind::Long, "-2147483633", OfLook<&Appearance::BackColor>},  // 0x8000000F
    {"FONTNAME", Kind::Text, "MS Pｺﾞｼｯｸ", OfLook<&Appearance::FontName>},
    {"FONTSIZE", Kind::Integer, "12", OfLook<&Appearance::FontSize>},
    {"FONTBOLD", Kind::FontFlag, "1", OfLook<&Appearance::FontBold>},
    {"FONTITALIC", Kind::FontFlag, "0", OfLook<&Appearance::FontItalic>},
    {"FONTUNDERLINE", Kind::FontFlag, "0", OfLook<&Appearance::FontUnderline>},
    {"FONTSTRIKETHRU", Kind::FontFlag, "0", OfLook<&Appearance::FontStrikethru>},
    {"FORECOLORINDEX", Kind::Integer, "7", OfLook<&Appearance::ForeColorIndex>},
    {"BACKCOLORINDEX", Kind::Integer, "5", OfLook<&Appearance::BackColorIndex>},
    {"WEEKLYTIMING", Kind::Integer, "2", Of<&Preferences::weeklyRepeat>},
    {"LISTDISPFLG", Kind::Integer, "1", Of<&Preferences::listView>},
    kMidiDeviceKey,
    kWaveDeviceKey,
    {"PASSFLAG", Kind::Integer, "1", Of<&Preferences::warnPastTime>},
    kStartFlagKey,
    kStartModeKey,
    kDataPathKey,
    kWakeKey,
    kSnoozeDelayKey,
    kSnoozeHiddenKey,
};

// An Integer member: int16_t, or the bell mode's code.
void SetInteger(const Field& f, int16_t v) {
  if (auto* m = std::get_if<BellMode*>(&f))
    **m = BellMode(v);
  else
    *std::get<int16_t*>(f) = v;
}
int16_t GetInteger(const Field& f) {
  if (auto* m = std::get_if<BellMode*>(&f)) return int16_t(**m);
  return *std::get<int16_t*>(f);
}

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

void Fill(const SettingKey& k, const std::string& value, Preferences& p) {
  constexpr int64_t kMin16 = std::numeric_limits<int16_t>::min(), kMax16 = std::numeric_limits<int16_t>::max();
  constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min(), kMax32 = std::numeric_limits<int32_t>::max();
  const Field f = k.field(p);
  switch (k.kind) {
    case Kind::Integer: {
      auto v = ParseDecimal(value, kMin16, kMax16);
      SetInteger(f, int16_t(v ? *v : *ParseDecimal(k.def, kMin16, kMax16)));
      break;
    }
    case Kind::Long: {
      auto v = ParseDecimal(value, kMin32, kMax32);
      *std::get<int32_t*>(f) = int32_t(v ? *v : *ParseDecimal(k.def, kMin32, kMax32));
      break;
    }
    case Kind::Text: *std::get<std::string*>(f) = value; break;
    case Kind::Message: *std::get<std::string*>(f) = DecodeMessageSetting(value); break;
    case Kind::FontFlag: *std::get<int16_t*>(f) = value != "0" ? kTrue : kFalse; break;
    case Kind::Install: break;
  }
}

// `p` is a copy: the table leads to members that may be written.
std::string Format(const SettingKey& k, Preferences p) {
  const Field f = k.field(p);
  switch (k.kind) {
    case Kind::Integer: return std::to_string(GetInteger(f));
    case Kind::Long: return std::to_string(*std::get<int32_t*>(f));
    case Kind::Text: return *std::get<std::string*>(f);
    case Kind::Message: return EncodeMessageSetting(*std::get<std::string*>(f));
    case Kind::FontFlag: return *std::get<int16_t*>(f) != 0 ? "1" : "0";
    case Kind::Install: break;
  }
  return {};
}

bool IsMessageKey(std::string_view key) {
  for (const SettingKey& k : kKeys)
    if (k.kind == Kind::Message && SameName(k.key, key)) return true;
  return false;
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
  if (!v || v->empty()) return def;
  // The leading number, wrapping like the 32-bit arithmetic of the Windows read.
  std::string_view s = *v;
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
  return int(int32_t(negative ? 0u - n : n));
}

bool WriteSetting(const std::string& iniPath, const std::string& key, const std::string& value) {
  IniFile ini;
  if (!ini.LoadForUpdate(iniPath)) return false;
  Put(ini, key, value);
  return ini.Save(iniPath);
}

void LoadPreferences(const std::string& dataIniPath, Preferences& prefs) {
  IniFile ini;
  ini.Load(dataIniPath);
  for (const SettingKey& k : kKeys)
    if (k.kind != Kind::Install) Fill(k, ReadFrom(ini, k.key, k.def), prefs);
}

void SavePreferences(const std::string& iniPath, const Preferences& prefs, int16_t lastEditedIndex) {
  if (lastEditedIndex == -1) return;  // nothing was added or changed since the start
  IniFile ini;
  if (!ini.LoadForUpdate(iniPath)) return;
  for (const SettingKey& k : kKeys)
    if (k.kind != Kind::Install) Put(ini, k.key, Format(k, prefs));
  ini.Save(iniPath);
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
  const SettingKey& k = kDataPathKey;
  const std::string beside = programFolder + std::string(k.def);
  // An empty value names no file; taken as it stands, nothing would load and every save would
  // fail. It reads as a missing key.
  const std::string path = ReadSetting(ProgramIniPath(programFolder), std::string(k.key), beside);
  if (path.empty()) return beside;
  // A device is no file to keep alarms in; its settings file would land in the current folder.
  if (IsDeviceName(path)) return beside;
  return ResolveDataPath(programFolder, path);
}

std::string ResolveDataPath(const std::string& programFolder, const std::string& path) {
  return IsRooted(path) ? path : programFolder + path;
}

bool DataPathNamed(const std::string& programFolder) {
  return !ReadSetting(ProgramIniPath(programFolder), std::string(kDataPathKey.key), "").empty();
}

bool WriteDataPath(const std::string& iniPath, const std::string& dataPath) {
  return WriteSetting(iniPath, std::string(kDataPathKey.key), dataPath);
}

int ReadStartFlag(const std::string& iniPath) {
  const SettingKey& k = kStartFlagKey;
  return ReadSettingInt(iniPath, std::string(k.key), int(*ParseDecimal(k.def, 0, 1)));
}

void WriteStartFlag(bool value, const std::string& iniPath) {
  WriteSetting(iniPath, std::string(kStartFlagKey.key), value ? "1" : "0");
}

bool ReadStartMode(const std::string& iniPath) {
  const SettingKey& k = kStartModeKey;
  return ReadSetting(iniPath, std::string(k.key), std::string(k.def)) == "1";
}

void WriteStartMode(bool registered, const std::string& iniPath) {
  WriteSetting(iniPath, std::string(kStartModeKey.key), registered ? "1" : "0");
}

int ReadSnoozeDelay(const std::string& iniPath) {
  const SettingKey& k = kSnoozeDelayKey;
  return ReadSettingInt(iniPath, std::string(k.key), int(*ParseDecimal(k.def, 0, 60)));
}

bool WriteSnoozeDelay(const std::string& iniPath, int minutes) {
  return WriteSetting(iniPath, std::string(kSnoozeDelayKey.key), std::to_string(minutes));
}

bool ReadSnoozeHidden(const std::string& iniPath) {
  const SettingKey& k = kSnoozeHiddenKey;
  return ReadSettingInt(iniPath, std::string(k.key), int(*ParseDecimal(k.def, 0, 1))) != 0;
}

bool ReadWakeEnabled(const std::string& iniPath) {
  const SettingKey& k = kWakeKey;
  return ReadSettingInt(iniPath, std::string(k.key), int(*ParseDecimal(k.def, 0, 1))) != 0;
}

void ReadDeviceNames(const std::string& iniPath, std::string& midi, std::string& wave) {
  IniFile ini;
  ini.Load(iniPath);
  midi = ReadFrom(ini, kMidiDeviceKey.key, kMidiDeviceKey.def);
  wave = ReadFrom(ini, kWaveDeviceKey.key, kWaveDeviceKey.def);
}

void WriteDeviceNames(const std::string& iniPath, const std::string& midi, const std::string& wave) {
  IniFile ini;
  if (!ini.LoadForUpdate(iniPath)) return;
  Put(ini, kMidiDeviceKey.key, midi);
  Put(ini, kWaveDeviceKey.key, wave);
  ini.Save(iniPath);
}

}  // namespace wb
