// `wakebell-tool dump`: the exact JSON line, conversion in memory only, and the exit codes.
#include <limits>
#include <sstream>

#include "app/tool/Commands.h"
#include "storage/DataFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

using test::Bytes;

const char kSpareJson[] =
    R"({"AlarmTime":0,"RepeatKind":0,"WeekdayMask":0,"PreBellFiredAt":0,"MainBellFiredAt":0,)"
    R"("BellMode":0,"PreBellMinutes":0,"BlinkFlag":0,"Message":"","SoundFlag":0,"SoundFile":"",)"
    R"("EndlessFlag":0,"MidiVolume":0,"WaveVolume":0,"KeepWindowFlag":0,"BlinkCount":0,"ForeColor":0,)"
    R"("BackColor":0,"FontName":"","FontSize":0,"FontBold":0,"FontItalic":0,"FontUnderline":0,)"
    R"("FontStrikethru":0,"ForeColorIndex":0,"BackColorIndex":0})";

class Dump : public test::TempFolder {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tool::Dump(args, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(Dump, PrintsEveryMemberOfEverySlot) {
  AlarmEntry e;
  e.AlarmTime = 39512.3125;
  e.RepeatKind = 11;
  e.WeekdayMask = 0x7F;
  e.PreBellFiredAt = 39512.2999;
  e.MainBellFiredAt = -1.25;
  e.BellMode = BellMode(2);
  e.PreBellMinutes = -5;
  e.BlinkFlag = 1;
  e.Message = "\"会議\"\r\n\t\\ \x01";
  e.Sound.Flag = 1;
  e.Sound.File = "C:\\音\\鐘.wav";
  e.Sound.Endless = 1;
  e.MidiVolume = int32_t(0xFFFFFFFF);
  e.WaveVolume = 0x7FFF7FFF;
  e.KeepWindowFlag = 1;
  e.BlinkCount = 10;
  e.Look.ForeColor = 0xFF;
  e.Look.BackColor = kButtonFaceColor;
  e.Look.FontName = "MS Pｺﾞｼｯｸ";
  e.Look.FontSize = 12;
  e.Look.FontBold = kTrue;
  e.Look.FontItalic = 0;
  e.Look.FontUnderline = kTrue;
  e.Look.FontStrikethru = 0;
  e.Look.ForeColorIndex = 7;
  e.Look.BackColorIndex = 5;
  AlarmTable t;
  t.Add(e);
  std::string path = PathOf("Wakebell.dat");
  ASSERT_TRUE(SaveAlarmTable(path, t));

  ASSERT_EQ(Run({path}), 0) << err.str();
  EXPECT_EQ(out.str(),
            std::string(R"({"count":1,"tag":"Wakebell 0.9.6","entries":[)") +
                R"({"AlarmTime":39512.3125,"RepeatKind":11,"WeekdayMask":127,"PreBellFiredAt":39512.2999,)"
                R"("MainBellFiredAt":-1.25,"BellMode":2,"PreBellMinutes":-5,"BlinkFlag":1,)"
                R"("Message":"\"会議\"\r\n\t\\ \u0001","SoundFlag":1,"SoundFile":"C:\\音\\鐘.wav",)"
                R"("EndlessFlag":1,"MidiVolume":-1,"WaveVolume":2147450879,"KeepWindowFlag":1,"BlinkCount":10,)"
                R"("ForeColor":255,"BackColor":-2147483633,"FontName":"MS Pｺﾞｼｯｸ","FontSize":12,"FontBold":-1,)"
                R"("FontItalic":0,"FontUnderline":-1,"FontStrikethru":0,"ForeColorIndex":7,"BackColorIndex":5},)" +
                kSpareJson + "]}\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(Dump, ConvertsAnOlderFileWithoutTouchingIt) {
  std::string path = PathOf("old.dat");
  std::string bytes = Bytes().Header(1, "Wakebell 0.9.4").str();
  for (int i = 0; i < 2; ++i)
    bytes += Bytes().F64(0).I16(0).I16(0).F64(0).F64(0).I16(0).I16(0).I16(0).Str("").I16(0).Str("")
                 .I16(1).I32(77).I16(0).str();
  WriteBytes(path, bytes);
  ASSERT_EQ(Run({path, "--wave-volume", "4294967295", "--midi-volume", "5"}), 0) << err.str();
  const std::string json = out.str();
  EXPECT_EQ(json.rfind(R"({"count":1,"tag":"Wakebell 0.9.4","entries":[{)", 0), 0u);
  EXPECT_NE(json.find(R"("EndlessFlag":1,"MidiVolume":77,"WaveVolume":-1,"KeepWindowFlag":0,"BlinkCount":10,)"),
            std::string::npos);
  EXPECT_NE(json.find(R"("FontName":"MS Pｺﾞｼｯｸ")"), std::string::npos);
  EXPECT_EQ(json.substr(json.size() - sizeof kSpareJson - 2), kSpareJson + std::string("]}\n"));
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_FALSE(Exists(path + ".bak"));
}

TEST_F(Dump, DatesThatJsonCannotHoldPrintAsNull) {
  AlarmTable t;
  AlarmEntry e;
  e.AlarmTime = std::numeric_limits<double>::quiet_NaN();
  e.PreBellFiredAt = std::numeric_limits<double>::infinity();
  e.MainBellFiredAt = 1e300;
  t.Add(e);
  std::string path = PathOf("odd.dat");
  ASSERT_TRUE(SaveAlarmTable(path, t));
  ASSERT_EQ(Run({path}), 0);
  EXPECT_NE(out.str().find(R"({"AlarmTime":null,"RepeatKind":0,"WeekdayMask":0,"PreBellFiredAt":null,)"
                           R"("MainBellFiredAt":1e+300,)"),
            std::string::npos);
}

TEST_F(Dump, UnreadableFileExitsOne) {
  std::string damaged = PathOf("damaged.dat");
  WriteBytes(damaged, Bytes().Header(3, "Wakebell 0.9.6").str());
  for (const std::string& path : {PathOf("missing.dat"), damaged}) {
    EXPECT_EQ(Run({path}), 1);
    EXPECT_EQ(out.str(), "");
    const std::string msg = err.str();
    EXPECT_NE(msg.find(path), std::string::npos);
    EXPECT_EQ(msg.find('\n'), msg.size() - 1);  // one line
  }
}

TEST_F(Dump, BadArgumentsExitTwo) {
  std::string path = PathOf("Wakebell.dat");
  ASSERT_TRUE(SaveAlarmTable(path, AlarmTable{}));
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--midi-volume", "3"},
      {path, "--midi-volume"},
      {path, "--wave-volume", "loud"},
      {path, "--wave-volume", "4294967296"},
      {path, "--wave-volume", "1", "--wave-volume", "2"},
      {path, "--speed", "1"},
      {path, path},
  };
  for (const auto& args : cases) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str(), "");
  }
}

}  // namespace
}  // namespace wb
