// Fuzzes the INI engine on bytes in memory (no file is touched): parsing keeps every byte,
// and a write changes the one key it names and nothing a reader sees elsewhere.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/IniFile.h"
#include "storage/Settings.h"

namespace {

void Require(bool ok) {
  if (!ok) abort();
}

const char* const kKeys[] = {"PREFLAG", "MESSAGE", "FONTNAME", "DATAPATH", "STARTFLG", "wakebell"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  wb::IniFile ini;
  ini.Parse(bytes);
  Require(ini.Bytes() == bytes);

  std::optional<std::string> before[std::size(kKeys)];
  for (size_t i = 0; i < std::size(kKeys); ++i) before[i] = ini.Get("Wakebell", kKeys[i]);

  // The value written is a slice of the input itself, line breaks and all.
  std::string value(bytes.substr(0, 40));
  ini.Set("wakeBELL", "SOUNDFILE", value);
  std::string expected = value.substr(0, value.find('\0'));
  for (char& c : expected)
    if (c == '\r' || c == '\n') c = ' ';
  size_t first = expected.find_first_not_of(" \t\v\f");
  expected = first == std::string::npos ? "" : expected.substr(first, expected.find_last_not_of(" \t\v\f") - first + 1);
  Require(ini.Get("Wakebell", "soundfile") == expected);
  for (size_t i = 0; i < std::size(kKeys); ++i) Require(ini.Get("Wakebell", kKeys[i]) == before[i]);

  wb::IniFile again;
  again.Parse(ini.Bytes());
  Require(again.Bytes() == ini.Bytes());
  Require(again.Get("Wakebell", "SOUNDFILE") == expected);

  std::string stored = wb::EncodeMessageSetting(std::string(bytes));
  Require(stored.find_first_of("\r\n") == std::string::npos);
  return 0;
}
