// The settings files "Wakebell.ini" (section "Wakebell"): one table of every key with its type,
// default and Preferences member, read and written by the same code; only that table spells the
// keys. CP932 on disk, UTF-8 here.
// Storage must not depend on the monitor: callers pass the program folder or data path.
#pragma once
#include <cstdint>
#include <string>

#include "storage/Preferences.h"

namespace wb {

// "Wakebell.ini" in the folder of a file, or in a folder given with its trailing separator.
std::string IniPathBeside(const std::string& fileOrFolder);
// The program-folder settings file (the folder ends in "\").
inline std::string ProgramIniPath(const std::string& programFolder) { return IniPathBeside(programFolder); }
// The data-folder settings file: beside the data file.
inline std::string DataIniPath(const std::string& dataPath) { return IniPathBeside(dataPath); }

// Section "Wakebell"; the value as the 256-byte buffer of the Windows read holds it (cut to
// 255 bytes, never inside a character, up to the first NUL); `def` when the key is missing.
std::string ReadSetting(const std::string& iniPath, const std::string& key, const std::string& def);
// As GetPrivateProfileInt: `def` when the key is missing or empty, else the leading decimal
// number (optional sign; "abc" reads 0).
int ReadSettingInt(const std::string& iniPath, const std::string& key, int def);
// Writes one key. A CR or LF in the value is stored as "!*#" in the message and as a space elsewhere.
// Every writer here fails (writes nothing) when the file is there but cannot be read.
bool WriteSetting(const std::string& iniPath, const std::string& key, const std::string& value);

// Every preference key, each as its table says; a value that is not a number in range for
// its member gives the key's default.
void LoadPreferences(const std::string& dataIniPath, Preferences& prefs);
// Writes the same keys in table order, all at once; nothing while `lastEditedIndex` is -1.
void SavePreferences(const std::string& iniPath, const Preferences& prefs, int16_t lastEditedIndex);

// The data file the program-folder file names; default the program folder + "Wakebell.dat".
std::string ReadDataPath(const std::string& programFolder);
// Names the data file the program opens next time.
bool WriteDataPath(const std::string& iniPath, const std::string& dataPath);
// The start flag as a number (default 0), and its writer ("1"/"0").
int ReadStartFlag(const std::string& iniPath);
void WriteStartFlag(bool value, const std::string& iniPath);
// The start mode: "1" when the start-with-Windows shortcut is registered (default "0").
bool ReadStartMode(const std::string& iniPath);
void WriteStartMode(bool registered, const std::string& iniPath);
// Whether the PC is woken for the next bell (default on; "0" turns it off): per PC, in the
// program-folder file. Never written by the program.
bool ReadWakeEnabled(const std::string& iniPath);
// Whether the program-folder file names a data file itself (not the default beside the program).
bool DataPathNamed(const std::string& programFolder);
// The names of the chosen MIDI and wave devices (default empty).
void ReadDeviceNames(const std::string& iniPath, std::string& midi, std::string& wave);
void WriteDeviceNames(const std::string& iniPath, const std::string& midi, const std::string& wave);

// The message's own line-break rule: every CR LF (and a lone CR or LF) is stored as "!*#", and
// each "!*#" reads back as CR LF.
std::string EncodeMessageSetting(const std::string& message);
std::string DecodeMessageSetting(const std::string& stored);

}  // namespace wb
