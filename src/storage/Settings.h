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
// Names the data file the program opens next time.
bool WriteDataPath(const std::string& iniPath, const std::string& dataPath);
// The start flag as a number (default 0), and its writer ("1"/"0").
int ReadStartFlag(const std::string& iniPath);
void WriteStartFlag(bool value, const std::string& iniPath);
// The start mode: "1" when the start-with-Windows shortcut is registered (default "0").
bool ReadStartMode(const std::string& iniPath);
void WriteStartMode(bool registered, const std::string& iniPath);
// The snooze delay last chosen in the alarm window, in minutes, as written (default 5; the
// caller keeps it to the delays it offers), and its writer.
int ReadSnoozeDelay(const std::string& iniPath);
bool WriteSnoozeDelay(const std::string& iniPath, int minutes);
// Whether the alarm window hides its snooze controls (default no).
bool ReadSnoozeHidden(const std::string& iniPath);
// Whether the PC is woken for the next bell (default on; "0" turns it off). Never written by
// the program.
bool ReadWakeEnabled(const std::string& iniPath);
// The names of the chosen MIDI and wave devices (default empty).
void ReadDeviceNames(const std::string& iniPath, std::string& midi, std::string& wave);
void WriteDeviceNames(const std::string& iniPath, const std::string& midi, const std::string& wave);

// The message's own line-break rule: every CR LF (and a lone CR or LF) is stored as "!*#", and
// each "!*#" reads back as CR LF.
std::string EncodeMessageSetting(const std::string& message);
std::string DecodeMessageSetting(const std::string& stored);

}  // namespace wb
