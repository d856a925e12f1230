// The data file in the current layout: exact bytes, round trips, and what a damaged file or a
// failing write must not do to the table or the file on disk.
#include <random>

#include "StorageFixture.h"
#include "storage/DataFile.h"

namespace wb {
namespace {

using test::Bytes;
using test::kAlarmCp932;
using test::kGothicCp932;

class DataFile : public test::TempFolder {};

AlarmEntry SampleEntry() {
  AlarmEntry e;
  e.AlarmTime = 39512.3125;
  e.RepeatKind = kRepeatWeekly;
  e.WeekdayMask = 0x41;
  e.PreBellFiredAt = 39511.5;
  e.MainBellFiredAt = 0;
  e.BellMode = BellMode::PreAndMain;
  e.PreBellMinutes = 15;
  e.BlinkFlag = 1;
  e.Message = "アラーム\r\nx";
  e.Sound.Flag = 1;
  e.Sound.File = "C:\\Sounds\\bell.wav";
  e.Sound.Endless = 1;
  e.MidiVolume = 0x80008000;
  e.WaveVolume = -1;
  e.KeepWindowFlag = 1;
  e.BlinkCount = 10;
  e.Look.ForeColor = 0x00FF0000;
  e.Look.BackColor = kButtonFaceColor;
  e.Look.FontName = "MS Pｺﾞｼｯｸ";
  e.Look.FontSize = 12;
  e.Look.FontBold = kTrue;
  e.Look.FontItalic = kFalse;
  e.Look.FontUnderline = kTrue;
  e.Look.FontStrikethru = kFalse;
  e.Look.ForeColorIndex = 7;
  e.Look.BackColorIndex = 5;
  return e;
}

// The record of SampleEntry(), field by field.
std::string SampleRecordBytes() {
  return Bytes()
      .F64(39512.3125).I16(2).I16(0x41).F64(39511.5).F64(0).I16(2).I16(15).I16(1)
      .Str(kAlarmCp932 + "\r\nx").I16(1).Str("C:\\Sounds\\bell.wav").I16(1)
      .I32(int32_t(0x80008000)).I32(-1).I16(1).I16(10).I32(0x00FF0000).I32(int32_t(0x8000000F))
      .Str(kGothicCp932).I16(12).I16(-1).I16(0).I16(-1).I16(0).I16(7).I16(5)
      .str();
}

const std::string kZeroRecord(78, '\0');

TEST_F(DataFile, WritesHeaderAndEveryRecordByteForByte) {
  AlarmTable t;
  t.Add(SampleEntry());
  t.Add(SampleEntry());
  t.Add(SampleEntry());
  std::string path = PathOf("Wakebell.dat");
  ASSERT_TRUE(SaveAlarmTable(path, t));
  std::string expected = Bytes().Header(3, "Wakebell 0.9.6").str();
  EXPECT_EQ(expected.substr(0, 6), std::string("\x03\x00\x00\x00\x0e\x00", 6));
  for (int i = 0; i < 3; ++i) expected += SampleRecordBytes();
  expected += kZeroRecord;  // the spare slot
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST_F(DataFile, EmptyTableIsHeaderAndOneSpareRecord) {
  AlarmTable t;
  t.Add(SampleEntry());
  t.Delete(0);
  std::string path = PathOf("Wakebell.dat");
  ASSERT_TRUE(SaveAlarmTable(path, t));
  EXPECT_EQ(ReadBytes(path), Bytes().Header(0, "Wakebell 0.9.6").str() + kZeroRecord);
}

TEST_F(DataFile, ReadsHandWrittenCurrentFile) {
  std::string path = PathOf("hand.dat");
  AlarmEntry spare;
  spare.BlinkCount = 3;  // the spare slot is read as it stands
  WriteBytes(path, Bytes().Header(1, "Wakebell 0.9.6").str() + SampleRecordBytes() +
                       Bytes().F64(0).I16(0).I16(0).F64(0).F64(0).I16(0).I16(0).I16(0).Str("").I16(0)
                           .Str("").I16(0).I32(0).I32(0).I16(0).I16(3).I32(0).I32(0).Str("")
                           .I16(0).I16(0).I16(0).I16(0).I16(0).I16(0).I16(0).str());
  AlarmTable t;
  std::string tag;
  ASSERT_TRUE(ReadAlarmFile(path, t, 1, 2, &tag));
  EXPECT_EQ(tag, "Wakebell 0.9.6");
  ASSERT_EQ(t.EntryCount(), 1);
  EXPECT_EQ(t[0], SampleEntry());
  EXPECT_EQ(t[1], spare);
}

AlarmEntry RandomEntry(std::mt19937& rng) {
  static const char* const kTexts[] = {"", "a", "アラーム", "会議\r\n資料を持参", "ｺﾞｼｯｸ", "C:\\音\\鐘.mp3",
                                       "①②③", "\"quoted\" \\ back"};
  auto pick = [&] { return std::string(kTexts[rng() % std::size(kTexts)]); };
  auto i16 = [&] { return int16_t(rng()); };
  auto i32 = [&] { return int32_t(rng()); };
  auto date = [&] { return double(rng() % 80000) + double(rng() % 86400) / 86400.0; };
  AlarmEntry e;
  e.AlarmTime = date();
  e.RepeatKind = i16();
  e.WeekdayMask = i16();
  e.PreBellFiredAt = date();
  e.MainBellFiredAt = -date();
  e.BellMode = BellMode(i16());
  e.PreBellMinutes = i16();
  e.BlinkFlag = i16();
  e.Message = pick();
  e.Sound.Flag = i16();
  e.Sound.File = pick();
  e.Sound.Endless = i16();
  e.MidiVolume = i32();
  e.WaveVolume = i32();
  e.KeepWindowFlag = i16();
  e.BlinkCount = i16();
  e.Look.ForeColor = i32();
  e.Look.BackColor = i32();
  e.Look.FontName = pick();
  e.Look.FontSize = i16();
  e.Look.FontBold = i16();
  e.Look.FontItalic = i16();
  e.Look.FontUnderline = i16();
  e.Look.FontStrikethru = i16();
  e.Look.ForeColorIndex = i16();
  e.Look.BackColorIndex = i16();
  return e;
}

TEST_F(DataFile, RandomTablesComeBackUnchanged) {
  std::mt19937 rng(20240607);
  std::string path = PathOf("round.dat");
  for (int round = 0; round < 40; ++round) {
    AlarmTable t;
    int n = int(rng() % 60);
    for (int i = 0; i < n; ++i) t.Add(RandomEntry(rng));
    t[n] = RandomEntry(rng);  // even the spare slot is stored
    ASSERT_TRUE(SaveAlarmTable(path, t));
    AlarmTable back;
    back.Add(AlarmEntry{});
    ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0));
    ASSERT_EQ(back.EntryCount(), n);
    EXPECT_EQ(back.Slots(), t.Slots()) << "round " << round;
  }
}

TEST_F(DataFile, FailedLoadLeavesEmptyTableAndFileUntouched) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::string tag = "Wakebell 0.9.6";
  const Case cases[] = {
      {"count above 32767", Bytes().Header(32768, tag).str() + std::string(78 * 32769, '\0')},
      {"huge count", Bytes().Header(0x7FFFFFFF, tag).str()},
      {"count the file cannot hold", Bytes().Header(5, tag).str() + SampleRecordBytes() + SampleRecordBytes()},
      {"spare record missing", Bytes().Header(1, tag).str() + SampleRecordBytes()},
      {"string cut short", Bytes().Header(0, tag).F64(1).I16(0).I16(0).F64(0).F64(0).I16(0).I16(0).I16(0)
                               .I16(200).str() + std::string(100, 'x')},
      {"header cut short", std::string("\x01\x00\x00", 3)},
      {"tag cut short", Bytes().I32(0).I16(14).str() + "Wake"},
  };
  for (const Case& c : cases) {
    std::string path = PathOf("bad.dat");
    WriteBytes(path, c.bytes);
    AlarmTable t;
    t.Add(SampleEntry());
    EXPECT_FALSE(LoadAlarmTable(path, t, 0, 0)) << c.what;
    EXPECT_EQ(t.EntryCount(), 0) << c.what;
    EXPECT_EQ(t.SlotCount(), 1) << c.what;
    EXPECT_EQ(t[0], AlarmEntry{}) << c.what;
    EXPECT_EQ(ReadBytes(path), c.bytes) << c.what;
    EXPECT_FALSE(Exists(path + ".bak")) << c.what;
  }
}

TEST_F(DataFile, MissingFileFailsWithEmptyTable) {
  AlarmTable t;
  t.Add(SampleEntry());
  EXPECT_FALSE(LoadAlarmTable(PathOf("none.dat"), t, 0, 0));
  EXPECT_EQ(t.SlotCount(), 1);
  EXPECT_FALSE(Exists(PathOf("none.dat")));
}

TEST_F(DataFile, AFolderIsNoDataFile) {
  std::string path = PathOf("folder.dat");
  std::filesystem::create_directory(path);
  AlarmTable t;
  EXPECT_FALSE(LoadAlarmTable(path, t, 0, 0));
  EXPECT_EQ(t.SlotCount(), 1);
  EXPECT_FALSE(SaveAlarmTable(path, t));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST_F(DataFile, NegativeCountGivesEmptyTable) {
  std::string path = PathOf("neg.dat");
  std::string bytes = Bytes().Header(-1, "Wakebell 0.9.6").str() + SampleRecordBytes();
  WriteBytes(path, bytes);
  AlarmTable t;
  t.Add(SampleEntry());
  EXPECT_TRUE(LoadAlarmTable(path, t, 0, 0));
  EXPECT_EQ(t.SlotCount(), 1);
  EXPECT_EQ(ReadBytes(path), bytes);
  // The records behind the odd header were not taken in: saving keeps them.
  ASSERT_TRUE(SaveAlarmTable(path, t));
  EXPECT_EQ(ReadBytes(path + ".bak"), bytes);
}

TEST_F(DataFile, SaveAfterFailedLoadKeepsTheUnreadableFile) {
  std::string path = PathOf("Wakebell.dat");
  std::string garbage = Bytes().Header(9, "Wakebell 0.9.6").str() + "not records";
  WriteBytes(path, garbage);
  WriteBytes(path + ".bak", "an older backup");
  AlarmTable t;
  ASSERT_FALSE(LoadAlarmTable(path, t, 0, 0));
  t.Add(SampleEntry());
  ASSERT_TRUE(SaveAlarmTable(path, t));
  EXPECT_EQ(ReadBytes(path + ".bak"), "an older backup");  // never overwritten
  EXPECT_EQ(ReadBytes(path + ".bak2"), garbage);
  AlarmTable back;
  ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0));
  EXPECT_EQ(back.Slots(), t.Slots());
  // Once replaced, later saves are ordinary ones.
  ASSERT_TRUE(SaveAlarmTable(path, t));
  EXPECT_FALSE(Exists(path + ".bak3"));
}

TEST_F(DataFile, FailedWriteLeavesTheOldFileWhole) {
  std::string path = PathOf("Wakebell.dat");
  AlarmTable t;
  t.Add(SampleEntry());
  ASSERT_TRUE(SaveAlarmTable(path, t));
  std::string before = ReadBytes(path);
  std::filesystem::create_directory(path + ".tmp");  // the new file cannot be written
  t.Add(SampleEntry());
  EXPECT_FALSE(SaveAlarmTable(path, t));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(SaveAlarmTable(PathOf("no/such/folder/Wakebell.dat"), t));
}

TEST_F(DataFile, OverlongStringsAreCutAtACharacterBoundary) {
  AlarmTable t;
  AlarmEntry e = SampleEntry();
  e.Message.clear();
  for (int i = 0; i < 40000; ++i) e.Message += "鐘";  // 80000 bytes in CP932
  e.Sound.File = std::string(70000, 's');
  t.Add(e);
  std::string path = PathOf("long.dat");
  ASSERT_TRUE(SaveAlarmTable(path, t));
  std::string bytes = ReadBytes(path);
  EXPECT_EQ(uint8_t(bytes[20 + 34]) | uint8_t(bytes[20 + 35]) << 8, 65534);  // whole characters only
  AlarmTable back;
  ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0));
  ASSERT_EQ(back.EntryCount(), 1);
  std::string cutMessage;
  for (int i = 0; i < 32767; ++i) cutMessage += "鐘";
  EXPECT_EQ(back[0].Message, cutMessage);
  EXPECT_EQ(back[0].Sound.File, std::string(65535, 's'));
  EXPECT_EQ(back[0].Look.FontName, e.Look.FontName);  // what follows is still read in step
  EXPECT_EQ(back[0].Look.BackColorIndex, e.Look.BackColorIndex);
}

TEST_F(DataFile, TextWithoutACp932FormIsStoredAsFarAsItGoes) {
  AlarmTable t;
  AlarmEntry e;
  e.Message = "鐘😀!";
  t.Add(e);
  std::string path = PathOf("lossy.dat");
  ASSERT_TRUE(SaveAlarmTable(path, t));
  AlarmTable back;
  ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0));
  EXPECT_EQ(back[0].Message, "鐘?" "?!");
}

// Strings made on another system or by hand, with bytes that are no CP932 text, are written
// back by a load and a save byte for byte, and so still name their files.
TEST_F(DataFile, BytesThatAreNoCp932TextSurviveALoadAndASave) {
  const std::string strange[] = {
      "D:\\\x83\\bell.wav",             // a lead byte before a backslash
      "\x85\x40\x83\x41\xfc",             // a pair with no character, ア, a lead byte at the end
      std::string("\x81\0\x80\xa0", 4),  // a lead byte before a NUL, the odd single bytes
  };
  for (const std::string& bytes : strange) {
    const std::string file = Bytes().Header(1, "Wakebell 0.9.6").str() +
                             Bytes().F64(46000.5).I16(kRepeatDaily).I16(0).F64(0).F64(0).I16(0).I16(0).I16(0)
                                 .Str(bytes).I16(1).Str(bytes).I16(0).I32(-1).I32(-1).I16(1).I16(10).I32(0)
                                 .I32(int32_t(0x8000000F)).Str(bytes).I16(12).I16(-1).I16(0).I16(0).I16(0)
                                 .I16(7).I16(5).str() +
                             kZeroRecord;
    const std::string path = PathOf("Wakebell.dat");
    WriteBytes(path, file);
    AlarmTable t;
    ASSERT_TRUE(LoadAlarmTable(path, t, 0, 0));
    ASSERT_TRUE(SaveAlarmTable(path, t));
    EXPECT_EQ(ReadBytes(path), file);
  }
}

TEST_F(DataFile, JapaneseFolderNamesWork) {
  std::string path = PathOf("データ.dat");
  AlarmTable t;
  t.Add(SampleEntry());
  ASSERT_TRUE(SaveAlarmTable(path, t));
  AlarmTable back;
  ASSERT_TRUE(LoadAlarmTable(path, back, 0, 0));
  EXPECT_EQ(back.Slots(), t.Slots());
}

}  // namespace
}  // namespace wb
