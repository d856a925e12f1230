// The settings files "Wakebell.ini" (section "Wakebell"): one table of every key with its kind
// and the member of the settings model (Preferences.h) it fills, read and written by the same
// code; only that table spells the keys. CP932 on disk, UTF-8 here.
// Storage must not depend on the monitor: callers pass the program folder or data path.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "storage/Preferences.h"

namespace wb {

// "Wakebell.ini" in the folder of a file, or in a folder given with its trailing separator.
std::string IniPathBeside(const std::string& fileOrFolder);
// The program-folder settings file (the folder ends in "\").
inline std::string ProgramIniPath(const std::string& programFolder) { return IniPathBeside(programFolder); }
// The data-folder settings file: beside the data file.
inline std::string DataIniPath(const std::string& dataPath) { return IniPathBeside(dataPath); }

// One key by its name, as a file holds it: for checking files from outside. The program itself
// reads and writes through the model below.
// Section "Wakebell"; the value as the 256-byte buffer of the Windows read holds it (cut to
// 255 bytes, never inside a character, up to the first NUL); `def` when the key is missing.
std::string ReadSetting(const std::string& iniPath, const std::string& key, const std::string& def);
// As GetPrivateProfileInt: `def` when the key is missing or empty, else the leading decimal
// number (optional sign; "abc" reads 0).
int ReadSettingInt(const std::string& iniPath, const std::string& key, int def);
// Writes one key. A CR or LF in the value is stored as "!*#" in the message and as a space elsewhere.
// Every writer here fails (writes nothing) when the file is there but cannot be read.
bool WriteSetting(const std::string& iniPath, const std::string& key, const std::string& value);

// Every key of a group (Preferences, DataFolderSettings, ProgramFolderSettings), each as the
// table says: a value that is not a number in range for its member gives the member's default.
void ReadSettings(const std::string& iniPath, Preferences& group);
void ReadSettings(const std::string& iniPath, DataFolderSettings& group);
void ReadSettings(const std::string& iniPath, ProgramFolderSettings& group);
template <class Group>
Group ReadSettings(const std::string& iniPath) {
  Group group;
  ReadSettings(iniPath, group);
  return group;
}

// A part of a group to write: one member, or a group of them within it.
struct SettingsPart {
  const void* at;
  size_t size;
};
bool WriteSettingsParts(const std::string& iniPath, const Preferences& group, std::initializer_list<SettingsPart> parts);
bool WriteSettingsParts(const std::string& iniPath, const DataFolderSettings& group,
                        std::initializer_list<SettingsPart> parts);
bool WriteSettingsParts(const std::string& iniPath, const ProgramFolderSettings& group,
                        std::initializer_list<SettingsPart> parts);
// Writes the keys of the members of `group` that lie in `parts` (members of `group` itself, or
// groups of them), every key of it when no part is named, all at once and in table order:
// `WriteSettings(ini, s, s.snoozeMinutes)` writes SNOOZEMIN alone. Keys not named are left as
// the file has them. False when the file is there but cannot be read, or the write fails.
template <class Group, class... Parts>
bool WriteSettings(const std::string& iniPath, const Group& group, const Parts&... parts) {
  return WriteSettingsParts(iniPath, group, {SettingsPart{&parts, sizeof(Parts)}...});
}
// The data folder's keys are kept in both files: written beside the program first, then beside
// the data file (the program folder ends in its separator). What one file refuses is not tried
// again; the next start reads the file beside the data file.
template <class Group, class... Parts>
void WriteSettingsToBoth(const std::string& programFolder, const std::string& dataPath, const Group& group,
                         const Parts&... parts) {
  WriteSettings(ProgramIniPath(programFolder), group, parts...);
  WriteSettings(DataIniPath(dataPath), group, parts...);
}
// Every key of the editor's preferences; nothing while `lastEditedSlot` is -1, when no entry
// was added or changed since the start and the preferences are still the ones read.
void SavePreferences(const std::string& iniPath, const Preferences& prefs, int lastEditedSlot);

// The data file the program-folder file names; the program folder + "Wakebell.dat" when the
// key is missing or empty, or names a device (CON, NUL, COM1, ...) rather than a file. A
// relative path is taken from the program folder, whatever the current folder is.
std::string ReadDataPath(const std::string& programFolder);
// A data path as the program means it: a relative one is taken from the program folder (given
// with its trailing separator), never from the current folder, which is wherever the program
// happened to be started from.
std::string ResolveDataPath(const std::string& programFolder, const std::string& path);
// Whether the settings beside the program name a data file of their own (DATAPATH not empty).
bool DataPathNamed(const std::string& programFolder);
// Why the settings file cannot keep `dataPath` so that the next reading gives back the same
// file: a character code page 932 has no code for, more bytes than one reading returns, or a
// device name; nothing when it can.
enum class DataPathFault { None, NotStorable, TooLong, DeviceName };
DataPathFault DataPathFaultOf(const std::string& dataPath);
// Whether the last part of a path is a device name of the system (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, with or without an extension): such a "file" is the device.
bool IsDeviceName(const std::string& path);

// The message's own line-break rule: every CR LF (and a lone CR or LF) is stored as "!*#", and
// each "!*#" reads back as CR LF.
std::string EncodeMessageSetting(const std::string& message);
std::string DecodeMessageSetting(const std::string& stored);

}  // namespace wb
