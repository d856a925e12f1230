#include "storage/Settings.h"

#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

#include "model/Assert.h"
#include "storage/FileIo.h"
#include "storage/IniFile.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

constexpr std::string_view kSection = "Wakebell";
constexpr size_t kReadCut = 255;  // the 256-byte buffer of the Windows read, less its NUL

enum class Kind {
  Integer,   // int16_t member, decimal text
  Long,      // int32_t member, decimal text
  Text,      // std::string member, as it is
  Message,   // std::string member, line breaks as "!*#"
  FontFlag,  // int16_t member True/False, stored "1"/"0"; any text but "0" reads True
  Install,   // no member: read and written by its own functions below
};

struct SettingKey {
  std::string_view key;
  Kind kind;
  std::string_view def;
  int16_t Preferences::*integer = nullptr;
  int32_t Preferences::*longValue = nullptr;
  std::string Preferences::*text = nullptr;
};

// Every key of section "Wakebell", in the order the preferences are written.
constexpr SettingKey kKeys[] = {
    {"PREFLAG", Kind::Integer, "0", &Preferences::PreFlag},
    {"PRETIME", Kind::Integer, "0", &Preferences::PreTime},
    {"MESSAGE", Kind::Message, "", nullptr, nullptr, &Preferences::Message},
    {"BLINKFLAG", Kind::Integer, "0", &Preferences::BlinkFlag},
    {"SOUNDFLAG", Kind::Integer, "0", &Preferences::SoundFlag},
    {"SOUNDFILE", Kind::Text, "", nullptr, nullptr, &Preferences::SoundFile},
    {"WEEKSTART", Kind::Integer, "0", &Preferences::WeekStart},
    {"ENDLESSFLG", Kind::Integer, "0", &Preferences::EndlessFlag},
    {"DELFORMFLG", Kind::Integer, "0", &Preferences::KeepWindowFlag},
    {"BLINKCNT", Kind::Integer, "10", &Preferences::BlinkCount},
    {"FORECOLOR", Kind::Long, "0", nullptr, &Preferences::ForeColor},
    {"BACKCOLOR", Kind::Long, "-2147483633", nullptr, &Preferences::BackColor},  // 0x8000000F
    {"FONTNAME", Kind::Text, "MS Pｺﾞｼｯｸ", nullptr, nullptr, &Preferences::FontName},
    {"FONTSIZE", Kind::Integer, "12", &Preferences::FontSize},
    {"FONTBOLD", Kind::FontFlag, "1", &Preferences::FontBold},
    {"FONTITALIC", Kind::FontFlag, "0", &Preferences::FontItalic},
    {"FONTUNDERLINE", Kind::FontFlag, "0", &Preferences::FontUnderline},
    {"FONTSTRIKETHRU", Kind::FontFlag, "0", &Preferences::FontStrikethru},
    {"FORECOLORINDEX", Kind::Integer, "7", &Preferences::ForeColorIndex},
    {"BACKCOLORINDEX", Kind::Integer, "5", &Preferences::BackColorIndex},
    {"WEEKLYTIMING", Kind::Integer, "2", &Preferences::WeeklyTiming},
    {"LISTDISPFLG", Kind::Integer, "1", &Preferences::ListDispFlag},
    {"MIDINM", Kind::Text, "", nullptr, nullptr, &Preferences::MidiName},
    {"WAVENM", Kind::Text, "", nullptr, nullptr, &Preferences::WaveName},
    {"PASSFLAG", Kind::Integer, "1", &Preferences::PassFlag},
    {"STARTFLG", Kind::Install, "0"},
    {"STARTMD", Kind::Install, "0"},
    {"DATAPATH", Kind::Install, "Wakebell.dat"},  // relative to the program folder
    // Per PC, in the program folder: "0" keeps the PC asleep through its bells.
    {"WAKEFLG", Kind::Install, "1"},
};

const SettingKey& KeyOf(std::string_view name) {
  for (const SettingKey& k : kKeys)
    if (k.key == name) return k;
  WB_ASSERT(!"unknown settings key");
  return kKeys[0];
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
  switch (k.kind) {
    case Kind::Integer: {
      auto v = ParseDecimal(value, kMin16, kMax16);
      p.*k.integer = int16_t(v ? *v : *ParseDecimal(k.def, kMin16, kMax16));
      break;
    }
    case Kind::Long: {
      auto v = ParseDecimal(value, kMin32, kMax32);
      p.*k.longValue = int32_t(v ? *v : *ParseDecimal(k.def, kMin32, kMax32));
      break;
    }
    case Kind::Text: p.*k.text = value; break;
    case Kind::Message: p.*k.text = DecodeMessageSetting(value); break;
    case Kind::FontFlag: p.*k.integer = value != "0" ? kTrue : kFalse; break;
    case Kind::Install: break;
  }
}

std::string Format(const SettingKey& k, const Preferences& p) {
  switch (k.kind) {
    case Kind::Integer: return std::to_string(p.*k.integer);
    case Kind::Long: return std::to_string(p.*k.longValue);
    case Kind::Text: return p.*k.text;
    case Kind::Message: return EncodeMessageSetting(p.*k.text);
    case Kind::FontFlag: return p.*k.integer != 0 ? "1" : "0";
    case Kind::Install: break;
  }
  return {};
}

// Puts a UTF-8 value into the file's bytes. Only MESSAGE has a form for line breaks; in any
// other value a CR or LF would split the line, so it becomes a space.
void Put(IniFile& ini, std::string_view key, const std::string& value) {
  std::string text = SameName(key, "MESSAGE") ? EncodeMessageSetting(value) : value;
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

std::string ReadDataPath(const std::string& programFolder) {
  return ReadSetting(ProgramIniPath(programFolder), "DATAPATH", programFolder + std::string(KeyOf("DATAPATH").def));
}

int ReadStartFlag(const std::string& iniPath) {
  return ReadSettingInt(iniPath, "STARTFLG", int(*ParseDecimal(KeyOf("STARTFLG").def, 0, 1)));
}

void WriteStartFlag(bool value, const std::string& iniPath) { WriteSetting(iniPath, "STARTFLG", value ? "1" : "0"); }

bool ReadStartMode(const std::string& iniPath) {
  return ReadSetting(iniPath, "STARTMD", std::string(KeyOf("STARTMD").def)) == "1";
}

void WriteStartMode(bool registered, const std::string& iniPath) {
  WriteSetting(iniPath, "STARTMD", registered ? "1" : "0");
}

bool ReadWakeEnabled(const std::string& iniPath) {
  return ReadSettingInt(iniPath, "WAKEFLG", int(*ParseDecimal(KeyOf("WAKEFLG").def, 0, 1))) != 0;
}

void ReadDeviceNames(const std::string& iniPath, std::string& midi, std::string& wave) {
  IniFile ini;
  ini.Load(iniPath);
  midi = ReadFrom(ini, "MIDINM", KeyOf("MIDINM").def);
  wave = ReadFrom(ini, "WAVENM", KeyOf("WAVENM").def);
}

void WriteDeviceNames(const std::string& iniPath, const std::string& midi, const std::string& wave) {
  IniFile ini;
  if (!ini.LoadForUpdate(iniPath)) return;
  Put(ini, "MIDINM", midi);
  Put(ini, "WAVENM", wave);
  ini.Save(iniPath);
}

}  // namespace wb
