// The settings table: defaults, conversions, the MESSAGE line-break rule, the read cut, and the
// files the installation keys live in.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <sstream>
#include <tuple>

#include "StorageFixture.h"
#include "storage/Settings.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

auto Tie(const Preferences& p) {
  return std::tie(p.bellMode, p.preBellMinutes, p.message, p.blinkFlag, p.sound.Flag, p.sound.File, p.weekStart,
                  p.sound.Endless, p.keepWindowFlag, p.blinkCount, p.look.ForeColor, p.look.BackColor, p.look.FontName,
                  p.look.FontSize, p.look.FontBold, p.look.FontItalic, p.look.FontUnderline, p.look.FontStrikethru, p.look.ForeColorIndex,
                  p.look.BackColorIndex, p.weeklyRepeat, p.listView, p.midiDevice, p.waveDevice, p.warnPastTime);
}

class Settings : public test::TempFolder {
 protected:
  std::string Ini() const { return PathOf("Wakebell.ini"); }
};

TEST_F(Settings, NoFileGivesEveryDefault) {
  Preferences p;
  p.bellMode = BellMode::PreAndMain;
  p.blinkCount = 99;
  p.look.FontName = "x";
  p.warnPastTime = 0;
  p.look.BackColor = 0;
  ReadSettings(Ini(), p);
  // The table's defaults are the ones a fresh record has, which the editor shows first.
  EXPECT_TRUE(Tie(p) == Tie(Preferences{}));
  EXPECT_FALSE(Exists(Ini()));
}

Preferences Edited() {
  Preferences p;
  p.bellMode = BellMode::PreAndMain;
  p.preBellMinutes = 30;
  p.message = "一行目\r\n二行目";
  p.blinkFlag = 1;
  p.sound.Flag = 1;
  p.sound.File = "C:\\音\\鐘.wav";
  p.weekStart = WeekStart::Monday;
  p.sound.Endless = 1;
  p.keepWindowFlag = 1;
  p.blinkCount = 3;
  p.look.ForeColor = 0x0000FF;
  p.look.BackColor = int32_t(0x80000005);
  p.look.FontName = "ＭＳ 明朝";
  p.look.FontSize = 20;
  p.look.FontBold = kFalse;
  p.look.FontItalic = kTrue;
  p.look.FontUnderline = kTrue;
  p.look.FontStrikethru = kTrue;
  p.look.ForeColorIndex = 0;
  p.look.BackColorIndex = 1;
  p.weeklyRepeat = 9;
  p.listView = ListView::CalendarDay;
  p.midiDevice = "Microsoft GS Wavetable Synth";
  p.waveDevice = "スピーカー";
  p.warnPastTime = 0;
  return p;
}

TEST_F(Settings, PreferencesRoundTripInTableOrder) {
  SavePreferences(Ini(), Edited(), 0);
  std::string bytes = ReadBytes(Ini());
  EXPECT_EQ(bytes.rfind("[Wakebell]\r\nPREFLAG=2\r\nPRETIME=30\r\nMESSAGE=", 0), 0u);
  EXPECT_NE(bytes.find("MESSAGE=\x88\xea\x8d\x73\x96\xda!*#\x93\xf1\x8d\x73\x96\xda\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nBACKCOLOR=-2147483643\r\nFONTNAME="), std::string::npos);
  EXPECT_NE(bytes.find("\r\nFONTBOLD=0\r\nFONTITALIC=1\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nPASSFLAG=0\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("PASSFLAG"), bytes.rfind("\r\nPASSFLAG") + 2);  // the last key written
  Preferences back;
  ReadSettings(Ini(), back);
  EXPECT_TRUE(Tie(back) == Tie(Edited()));
}

TEST_F(Settings, NothingIsWrittenBeforeAnEntryWasEdited) {
  SavePreferences(Ini(), Edited(), -1);
  EXPECT_FALSE(Exists(Ini()));
}

TEST_F(Settings, MessageLineBreaksTravelAsMarkers) {
  EXPECT_EQ(EncodeMessageSetting("a\r\nb\rc\nd\r\n"), "a!*#b!*#c!*#d!*#");
  EXPECT_EQ(DecodeMessageSetting("a!*#b!*#!*#"), "a\r\nb\r\n\r\n");
  // A message that itself holds the marker comes back with a line break in its place.
  Preferences p;
  p.message = "x!*#y";
  SavePreferences(Ini(), p, 0);
  ReadSettings(Ini(), p);
  EXPECT_EQ(p.message, "x\r\ny");
  // No raw line break ever reaches the file, whichever key it is written under.
  WriteSetting(Ini(), "MESSAGE", "1\n2\r3");
  WriteSetting(Ini(), "SOUNDFILE", "a\r\nb");
  EXPECT_EQ(ReadSetting(Ini(), "MESSAGE", ""), "1!*#2!*#3");
  EXPECT_EQ(ReadSetting(Ini(), "SOUNDFILE", ""), "a  b");
  Preferences q;
  ReadSettings(Ini(), q);
  EXPECT_EQ(q.message, "1\r\n2\r\n3");
}

TEST_F(Settings, ValuesAreConvertedByTheirType) {
  WriteBytes(Ini(),
             "[Wakebell]\r\n"
             "FONTITALIC=2\r\nFONTBOLD=0\r\nFONTUNDERLINE=\r\n"
             "PRETIME=abc\r\nBLINKCNT=70000\r\nFONTSIZE=+14\r\n"
             "BACKCOLOR=-2147483633\r\nFORECOLOR=4294967295\r\n");
  Preferences p;
  ReadSettings(Ini(), p);
  EXPECT_EQ(p.look.FontItalic, kTrue);  // only "0" is False
  EXPECT_EQ(p.look.FontBold, kFalse);
  EXPECT_EQ(p.look.FontUnderline, kTrue);
  EXPECT_EQ(p.preBellMinutes, 0);  // not a number: the key's default
  EXPECT_EQ(p.blinkCount, 10);  // out of range of an Integer: the default
  EXPECT_EQ(p.look.FontSize, 14);
  EXPECT_EQ(p.look.BackColor, kButtonFaceColor);
  EXPECT_EQ(p.look.ForeColor, 0);
}

TEST_F(Settings, ReadIsCutAt255BytesOnACharacterBoundary) {
  std::string ascii(300, 'a');
  WriteSetting(Ini(), "SOUNDFILE", ascii);
  EXPECT_EQ(ReadSetting(Ini(), "SOUNDFILE", ""), std::string(255, 'a'));
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += "鐘";  // two bytes each in the file
  WriteSetting(Ini(), "SOUNDFILE", kanji);
  std::string cut;
  for (int i = 0; i < 127; ++i) cut += "鐘";
  EXPECT_EQ(ReadSetting(Ini(), "SOUNDFILE", ""), cut);
  EXPECT_EQ(ReadSetting(Ini(), "MISSING", "def"), "def");
}

TEST_F(Settings, IntegerReadFollowsTheWindowsRules) {
  WriteBytes(Ini(), "[Wakebell]\r\nA=12abc\r\nB=\r\nC=-3\r\nD=x\r\nE=4294967297\r\n");
  EXPECT_EQ(ReadSettingInt(Ini(), "A", 7), 12);
  EXPECT_EQ(ReadSettingInt(Ini(), "B", 7), 7);
  EXPECT_EQ(ReadSettingInt(Ini(), "C", 7), -3);
  EXPECT_EQ(ReadSettingInt(Ini(), "D", 7), 0);
  EXPECT_EQ(ReadSettingInt(Ini(), "E", 7), 1);
  EXPECT_EQ(ReadSettingInt(Ini(), "MISSING", 7), 7);
}

TEST_F(Settings, InstallationKeys) {
  DataFolderSettings s;
  EXPECT_EQ(ReadSettings<DataFolderSettings>(Ini()).startFlag, StartFlag::Ended);
  WriteSettings(Ini(), s, s.startFlag);
  EXPECT_EQ(ReadBytes(Ini()), "[Wakebell]\r\nSTARTFLG=0\r\n");
  s.startFlag = StartFlag::Running;
  WriteSettings(Ini(), s, s.startFlag);
  EXPECT_EQ(ReadSettings<DataFolderSettings>(Ini()).startFlag, StartFlag::Running);

  EXPECT_FALSE(ReadSettings<DataFolderSettings>(Ini()).startWithWindows);
  s.startWithWindows = true;
  WriteSettings(Ini(), s, s.startWithWindows);
  EXPECT_TRUE(ReadSettings<DataFolderSettings>(Ini()).startWithWindows);
  s.startWithWindows = false;
  WriteSettings(Ini(), s, s.startWithWindows);
  EXPECT_EQ(ReadSetting(Ini(), "STARTMD", ""), "0");

  Preferences devices;
  devices.midiDevice = "MIDI 音源";
  devices.waveDevice = "スピーカー";
  WriteSettings(Ini(), devices, devices.midiDevice, devices.waveDevice);
  const Preferences back = ReadSettings<Preferences>(Ini());
  EXPECT_EQ(back.midiDevice, "MIDI 音源");
  EXPECT_EQ(back.waveDevice, "スピーカー");
}

TEST_F(Settings, SnoozeKeysDefaultAndTheDelayAloneIsWritten) {
  ProgramFolderSettings s = ReadSettings<ProgramFolderSettings>(Ini());
  EXPECT_EQ(s.snoozeMinutes, 5);
  EXPECT_FALSE(s.snoozeHidden);
  s.snoozeMinutes = 15;
  ASSERT_TRUE(WriteSettings(Ini(), s, s.snoozeMinutes));
  EXPECT_EQ(ReadBytes(Ini()), "[Wakebell]\r\nSNOOZEMIN=15\r\n");
  EXPECT_EQ(ReadSettings<ProgramFolderSettings>(Ini()).snoozeMinutes, 15);
  WriteBytes(Ini(), "[Wakebell]\r\nSNOOZEHIDE=1\r\n");
  EXPECT_TRUE(ReadSettings<ProgramFolderSettings>(Ini()).snoozeHidden);
  // Saving the preferences leaves both alone: they are not the editor's.
  Preferences p;
  SavePreferences(Ini(), p, 0);
  EXPECT_EQ(ReadSetting(Ini(), "SNOOZEMIN", "none"), "none");
  EXPECT_TRUE(ReadSettings<ProgramFolderSettings>(Ini()).snoozeHidden);
}

// Every key through the one reader and writer, in the order the file keeps them: missing (its
// default), a value no member can hold (what the program makes of it), and a value of its own.
TEST_F(Settings, EveryKeyRoundTripsThroughTheModel) {
  struct Key {
    const char *key, *def, *garbage, *garbageReads, *value;
  };
  const Key keys[] = {
      {"PREFLAG", "0", "x", "0", "2"},           {"PRETIME", "0", "70000", "0", "30"},
      {"MESSAGE", "", "a!*#", "a!*#", "b!*#c"},  {"BLINKFLAG", "0", "1.5", "0", "1"},
      {"SOUNDFLAG", "0", "-40000", "0", "5"},    {"SOUNDFILE", "", "'a'", "a", "C:\\a.wav"},
      {"WEEKSTART", "0", "abc", "0", "2"},       {"ENDLESSFLG", "0", "", "0", "1"},
      {"DELFORMFLG", "0", "+1", "1", "1"},       {"BLINKCNT", "10", "70000", "10", "3"},
      {"FORECOLOR", "0", "4294967295", "0", "255"},
      {"BACKCOLOR", "-2147483633", "x", "-2147483633", "-2147483643"},
      {"FONTNAME", "MS Pｺﾞｼｯｸ", "", "", "ＭＳ 明朝"},
      {"FONTSIZE", "12", "1e3", "12", "20"},     {"FONTBOLD", "1", "", "1", "0"},
      {"FONTITALIC", "0", "2", "1", "1"},        {"FONTUNDERLINE", "0", "no", "1", "1"},
      {"FONTSTRIKETHRU", "0", "00", "1", "1"},   {"FORECOLORINDEX", "7", "-1", "-1", "0"},
      {"BACKCOLORINDEX", "5", "x", "5", "1"},    {"WEEKLYTIMING", "2", "99999", "2", "9"},
      {"LISTDISPFLG", "1", "3", "3", "2"},       {"MIDINM", "", "", "", "MIDI 音源"},
      {"WAVENM", "", "", "", "スピーカー"},      {"PASSFLAG", "1", "z", "1", "0"},
      {"STARTFLG", "0", "7x", "7", "1"},         {"STARTMD", "0", "yes", "0", "1"},
      {"DATAPATH", "", "", "", "D:\\a.dat"},   {"WAKEFLG", "1", "abc", "0", "0"},
      {"SNOOZEMIN", "5", "", "5", "15"},         {"SNOOZEHIDE", "0", "2", "1", "1"},
      {"EDITORWIDTH", "0", "1200px", "0", "1200"}, {"EDITORHEIGHT", "0", "9999999999", "0", "700"},
  };
  // Every key as it is after the file is read into the model and the model written anew; the
  // file holds the keys the column gives (none: each is missing).
  const auto throughModel = [&](const char* (*column)(const Key&)) {
    std::string file = "[Wakebell]\r\n";
    for (const Key& k : keys)
      if (column) file += std::string(k.key) + "=" + StorageCodec().ToCp932(column(k)) + "\r\n";
    WriteBytes(Ini(), file);
    const auto data = ReadSettings<DataFolderSettings>(Ini());
    const auto program = ReadSettings<ProgramFolderSettings>(Ini());
    std::filesystem::remove(Ini());
    WriteSettings(Ini(), data);
    WriteSettings(Ini(), program);
  };
  const struct {
    const char* what;
    const char* (*stored)(const Key&);
    const char* (*reads)(const Key&);
  } passes[] = {
      {"missing", nullptr, [](const Key& k) { return k.def; }},
      {"garbage", [](const Key& k) { return k.garbage; }, [](const Key& k) { return k.garbageReads; }},
      {"own value", [](const Key& k) { return k.value; }, [](const Key& k) { return k.value; }},
  };
  std::string order;
  for (const Key& k : keys) order += std::string(k.key) + "=";
  for (const auto& pass : passes) {
    throughModel(pass.stored);
    for (const Key& k : keys) EXPECT_EQ(ReadSetting(Ini(), k.key, "<none>"), pass.reads(k)) << pass.what << " " << k.key;
    std::istringstream lines(ReadBytes(Ini()));
    std::string written;
    for (std::string line; std::getline(lines, line);) written += line.substr(0, line.find('=') + 1);
    EXPECT_EQ(written, order) << "the keys in their order on disk";
  }
}

TEST_F(Settings, WakeIsOnUnlessTheKeySaysZero) {
  const std::pair<const char*, bool> cases[] = {{nullptr, true}, {"", true}, {"1", true}, {"0", false},
                                                {"00", false}, {"2", true}, {"no", false}};
  for (const auto& [value, on] : cases) {
    SCOPED_TRACE(value ? value : "<missing>");
    std::filesystem::remove(Ini());
    if (value) WriteSetting(Ini(), "WAKEFLG", value);
    EXPECT_EQ(ReadSettings<ProgramFolderSettings>(Ini()).wakeForBells, on);
  }
  // Preferences never write it: a settings file without it stays byte for byte as before.
  std::filesystem::remove(Ini());
  SavePreferences(Ini(), Preferences{}, 0);
  EXPECT_EQ(ReadBytes(Ini()).find("WAKEFLG"), std::string::npos);
}

TEST_F(Settings, DataPathComesFromTheProgramFolder) {
  std::filesystem::create_directory(dir_ / "prog");
  std::filesystem::create_directory(dir_ / "data");
  std::string program = Folder() + "prog/";
  EXPECT_EQ(ReadDataPath(program), program + "Wakebell.dat");
  std::string dataPath = Folder() + "data/alarms.dat";
  WriteSetting(ProgramIniPath(program), "DATAPATH", dataPath);
  EXPECT_EQ(ReadDataPath(program), dataPath);
  // Everything else is read beside the data file.
  EXPECT_EQ(DataIniPath(dataPath), Folder() + "data/Wakebell.ini");
  WriteSetting(DataIniPath(dataPath), "PRETIME", "45");
  Preferences p;
  ReadSettings(DataIniPath(dataPath), p);
  EXPECT_EQ(p.preBellMinutes, 45);
}

// What DATAPATH holds and the data file the program opens: a relative path is the program
// folder's, a device is no data file.
TEST_F(Settings, DataPathIsReadAgainstTheProgramFolder) {
  const std::string program = Folder();
  const struct {
    const char* stored;
    std::string read;
  } cases[] = {
      {"alarms.dat", program + "alarms.dat"},
      {"sub\\alarms.dat", program + "sub\\alarms.dat"},
      {"..\\alarms.dat", program + "..\\alarms.dat"},
      {"D:\\alarms.dat", "D:\\alarms.dat"},
      {"\\\\server\\share\\alarms.dat", "\\\\server\\share\\alarms.dat"},
      {"/srv/alarms.dat", "/srv/alarms.dat"},
      {"CON", program + "Wakebell.dat"},
      {"nul.dat", program + "Wakebell.dat"},
      {"D:\\alarms\\COM1", program + "Wakebell.dat"},
      {"lpt9.txt", program + "Wakebell.dat"},
      {"COM10", program + "COM10"},
      {"CONSOLE.dat", program + "CONSOLE.dat"},
  };
  for (const auto& c : cases) {
    WriteSetting(ProgramIniPath(program), "DATAPATH", c.stored);
    EXPECT_EQ(ReadDataPath(program), c.read) << c.stored;
  }
}

// A path the settings file would not give back whole is refused before it is written.
TEST_F(Settings, DataPathFaults) {
  const std::string longJapanese = "C:\\" + [] {
    std::string s;
    for (int i = 0; i < 127; ++i) s += "日";  // two bytes each in code page 932
    return s;
  }();
  const struct {
    std::string path;
    DataPathFault fault;
  } cases[] = {
      {"C:\\Alarms\\Wakebell.dat", DataPathFault::None},
      {longJapanese, DataPathFault::TooLong},                                  // 257 bytes
      {longJapanese.substr(0, longJapanese.size() - 3), DataPathFault::None},  // 255 bytes
      {"C:\\Caf\u00e9\\😀.dat", DataPathFault::NotStorable},
      {"C:\\" + std::string(252, 'a'), DataPathFault::None},  // 255 bytes
      {"C:\\" + std::string(253, 'a'), DataPathFault::TooLong},
      {"C:\\data\\AUX.dat", DataPathFault::DeviceName},
  };
  for (const auto& c : cases) EXPECT_EQ(DataPathFaultOf(c.path), c.fault) << c.path;
}

// An empty DATAPATH, however it is spelled, reads as a missing one: the file beside the program.
TEST_F(Settings, AnEmptyDataPathReadsAsAMissingOne) {
  std::filesystem::create_directory(dir_ / "prog");
  const std::string program = Folder() + "prog/";
  const char* const lines[] = {"DATAPATH=\r\n", "DATAPATH=   \r\n", "DATAPATH=\"\"\r\n", "DATAPATH=''\r\n",
                               "datapath=\r\n", ""};
  for (const char* line : lines) {
    WriteBytes(ProgramIniPath(program), std::string("[Wakebell]\r\n") + line + "PRETIME=5\r\n");
    EXPECT_EQ(ReadDataPath(program), program + "Wakebell.dat") << line;
  }
}

TEST_F(Settings, IniPathTakesEitherSeparator) {
  EXPECT_EQ(IniPathBeside("C:\\Program Files\\Wakebell\\"), "C:\\Program Files\\Wakebell\\Wakebell.ini");
  EXPECT_EQ(IniPathBeside("D:\\data\\my.dat"), "D:\\data\\Wakebell.ini");
  EXPECT_EQ(IniPathBeside("/home/u/my.dat"), "/home/u/Wakebell.ini");
  EXPECT_EQ(IniPathBeside("my.dat"), "Wakebell.ini");
}

// A settings file that is there but cannot be read at the moment must survive every writer:
// replacing it would lose DATAPATH and every other key the write did not mean to touch.
TEST_F(Settings, WritersNeverReplaceAFileTheyCouldNotRead) {
  struct Kind {
    const char* what;
    std::function<bool(const std::string& path)> make;  // false: not possible here
  };
  const Kind kinds[] = {
      {"a named pipe", [](const std::string& p) { return mkfifo(p.c_str(), 0644) == 0; }},
      {"a loop of links", [](const std::string& p) { return symlink(p.c_str(), p.c_str()) == 0; }},
      {"a folder", [](const std::string& p) { return std::filesystem::create_directory(p); }},
      {"a file without read permission",
       [](const std::string& p) {
         WriteBytes(p, "[Wakebell]\r\nDATAPATH=D:\\alarms.dat\r\n");
         return geteuid() != 0 && chmod(p.c_str(), 0200) == 0;  // root reads it all the same
       }},
  };
  struct Writer {
    const char* what;
    std::function<bool(const std::string& ini)> write;  // false when the write reports failure
  };
  const Writer writers[] = {
      {"WriteSetting", [](const std::string& ini) { return WriteSetting(ini, "PRETIME", "5"); }},
      {"WriteSettings", [](const std::string& ini) {
         DataFolderSettings s;
         return WriteSettings(ini, s, s.startFlag);
       }},
      {"SavePreferences", [](const std::string& ini) { SavePreferences(ini, Edited(), 0); return true; }},
      {"WriteSettings of two keys", [](const std::string& ini) {
         Preferences p;
         return WriteSettings(ini, p, p.midiDevice, p.waveDevice);
       }},
  };
  for (const Kind& kind : kinds) {
    for (const Writer& writer : writers) {
      const std::string ini = Ini();
      std::filesystem::remove_all(ini);
      if (!kind.make(ini)) continue;
      const auto before = std::filesystem::symlink_status(ini).type();
      const bool ok = writer.write(ini);
      if (std::string(writer.what) != "SavePreferences") {
        EXPECT_FALSE(ok) << kind.what;
      }
      EXPECT_EQ(std::filesystem::symlink_status(ini).type(), before) << kind.what << " / " << writer.what;
      EXPECT_FALSE(Exists(ini + ".tmp")) << kind.what << " / " << writer.what;
      chmod(ini.c_str(), 0600);
    }
  }
  std::filesystem::remove_all(Ini());
  // With no file at all a write starts one.
  EXPECT_TRUE(WriteSetting(Ini(), "PRETIME", "5"));
  EXPECT_EQ(ReadBytes(Ini()), "[Wakebell]\r\nPRETIME=5\r\n");
}

// Quoted values of a hand-edited file reach every reader without their quotes.
TEST_F(Settings, QuotedValuesReadAsWindowsReadsThem) {
  std::filesystem::create_directory(dir_ / "prog");
  const std::string program = Folder() + "prog/";
  WriteBytes(ProgramIniPath(program),
             "[Wakebell]\r\n"
             "DATAPATH=\"D:\\My Alarms\\Wakebell.dat\"\r\n"
             "STARTFLG=\"1\"\r\n"
             "STARTMD='1'\r\n"
             "PRETIME=\"45\"\r\n"
             "FONTBOLD=\"0\"\r\n"
             "MIDINM=\"MIDI \x89\xb9\x8c\xb9\"\r\n"  // MIDI 音源
             "SOUNDFILE=\"a\" \"b\"\r\n");
  const std::string ini = ProgramIniPath(program);
  EXPECT_EQ(ReadDataPath(program), "D:\\My Alarms\\Wakebell.dat");
  const DataFolderSettings s = ReadSettings<DataFolderSettings>(ini);
  EXPECT_EQ(s.startFlag, StartFlag::Running);
  EXPECT_TRUE(s.startWithWindows);
  Preferences p;
  ReadSettings(ini, p);
  EXPECT_EQ(p.preBellMinutes, 45);
  EXPECT_EQ(p.look.FontBold, kFalse);
  EXPECT_EQ(p.midiDevice, "MIDI 音源");
  EXPECT_EQ(p.sound.File, "a\" \"b");  // the outer pair only
}

}  // namespace
}  // namespace wb
