// `wakebell-tool export` and `import`: a round trip through either format gives the same table,
// an import adds to the table, and a bad file or one that does not fit changes nothing.
#include <sstream>

#include "app/tool/Commands.h"
#include "storage/DataFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

class Exchange : public test::TempFolder {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tool::Run(args, out, err);
  }
  std::string Dumped(const std::string& path) {
    EXPECT_EQ(Run({"dump", path}), 0) << err.str();
    return out.str();
  }
  std::ostringstream out, err;
};

// Entries of every kind with every member away from its usual value: texts that need escaping
// in both formats, a byte no CP932 character holds, odd flag values, a system colour.
AlarmTable VariedTable() {
  AlarmTable t;
  const std::string messages[] = {"会議, 資料; \"持参\"\r\n二行目", "a\nlone\rends\x01 100%", "",
                                   "\\ back slash \xEF\x9E\x81", std::string(200, 'x') + "長"};
  for (int kind = 0; kind <= 12; ++kind) {
    AlarmEntry e;
    e.AlarmTime = kind == kRepeatQuick ? MakeDate(2027, 2, 2, 12, 34, 56) : MakeDate(2026, 12, 1 + kind, 7, 5 * kind);
    e.RepeatKind = int16_t(kind);
    e.WeekdayMask = int16_t(kind == 2 ? 0 : ((0x15 << (kind % 3)) & 0x7F) | (kind % 2 ? 0x80 : 0));
    e.PreBellFiredAt = 46000.5;  // marks are the program's memory, not part of an entry
    e.MainBellFiredAt = 46001.25;
    e.BellMode = BellMode(kind % 4);
    e.PreBellMinutes = int16_t(kind * 7 - (kind == 12 ? 100 : 0));
    e.BlinkFlag = int16_t(kind % 2);
    e.Message = messages[kind % 5];
    e.Sound.Flag = int16_t(kind % 3 == 2 ? 3 : kind % 2);
    e.Sound.File = kind % 2 ? "C:\\音\\鐘,1.wav" : "";
    e.Sound.Endless = int16_t(kind % 3);
    e.MidiVolume = int32_t(0xFFFFFFFF);
    e.WaveVolume = 0x7FFF0000 + kind;
    e.KeepWindowFlag = int16_t(kind % 2);
    e.BlinkCount = int16_t(kind * 3);
    e.Look = {kind * 0x10203, kind % 2 ? kButtonFaceColor : 0xFFFFFF, "MS Pｺﾞｼｯｸ", int16_t(9 + kind), kTrue,
              kFalse, int16_t(kind % 2 ? kTrue : 1), kFalse, int16_t(kind % 8), int16_t(7 - kind % 8)};
    t.Add(e);
  }
  return t;
}

TEST_F(Exchange, RoundTripThroughEitherFormatGivesTheSameTable) {
  AlarmTable original = VariedTable();
  ASSERT_TRUE(SaveAlarmTable(PathOf("a.dat"), original));
  for (auto& e : const_cast<std::vector<AlarmEntry>&>(original.Slots())) e.PreBellFiredAt = e.MainBellFiredAt = 0;
  ASSERT_TRUE(SaveAlarmTable(PathOf("unmarked.dat"), original));
  for (const char* format : {"--ics", "--csv"}) {
    SCOPED_TRACE(format);
    const std::string file = PathOf(std::string("out.") + (format[2] == 'i' ? "ics" : "csv"));
    const std::string copy = PathOf(std::string("copy") + format + ".dat");
    ASSERT_EQ(Run({"export", PathOf("a.dat"), format, file, "--now", "2027/01/01 00:00:00"}), 0) << err.str();
    ASSERT_EQ(Run({"import", copy, file}), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(Dumped(copy), Dumped(PathOf("unmarked.dat")));
  }
}

TEST_F(Exchange, ImportAddsToTheTable) {
  AlarmTable t = VariedTable();
  ASSERT_TRUE(SaveAlarmTable(PathOf("a.dat"), t));
  ASSERT_EQ(Run({"export", PathOf("a.dat"), "--csv", PathOf("a.csv")}), 0) << err.str();
  ASSERT_EQ(Run({"import", PathOf("a.dat"), PathOf("a.csv")}), 0) << err.str();
  AlarmTable back;
  ASSERT_TRUE(ReadAlarmFile(PathOf("a.dat"), back, 0, 0));
  ASSERT_EQ(back.EntryCount(), 2 * t.EntryCount());
  EXPECT_EQ(back[0], t[0]);  // the entries there before keep their marks
  EXPECT_EQ(back[t.EntryCount()].Message, t[0].Message);
}

// Each bad file exits 1, says where it is bad and leaves the data file byte for byte.
TEST_F(Exchange, BadFileOrTooManyEntriesChangesNothing) {
  AlarmTable nearlyFull;
  const AlarmEntry daily = VariedTable()[kRepeatDaily];
  for (int i = 0; i < AlarmTable::kMaxEntries - 1; ++i) nearlyFull.Add(daily);
  ASSERT_TRUE(SaveAlarmTable(PathOf("full.dat"), nearlyFull));
  ASSERT_TRUE(SaveAlarmTable(PathOf("a.dat"), VariedTable()));
  const std::string twoRows = "種類,日付,時刻\r\n毎日,2027/01/01,07:00\r\n一回,2027/01/02,08:00\r\n";
  struct Case {
    const char* name;
    const char* dataFile;
    std::string content;
    const char* said;
  } cases[] = {
      {"unclosed.ics", "a.dat", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:x\r\nEND:VCALENDAR\r\n", "2 行目"},
      {"noline.ics", "a.dat", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nno colon here\r\n", "3 行目"},
      {"ownbad.ics", "a.dat", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nX-WAKEBELL-REPEATKIND:3\r\nX-WAKEBELL-ALARMTIME:abc\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n", "4 行目"},
      {"date.csv", "a.dat", "種類,日付,時刻\r\n毎日,2027/02/30,07:00\r\n", "2 行目「日付」"},
      {"kind.csv", "a.dat", "種類,日付,時刻\n毎日,2027/01/01,07:00\n毎年,2027/01/01,07:00\n", "3 行目「種類」"},
      {"header.csv", "a.dat", "日付,時刻\r\n2027/01/01,07:00\r\n", "種類"},
      {"quote.csv", "a.dat", "種類,日付,時刻,メッセージ\r\n毎日,2027/01/01,07:00,\"open\r\n", "2 行目"},
      {"emoji.csv", "a.dat", "種類,日付,時刻,メッセージ\r\n毎日,2027/01/01,07:00,\xF0\x9F\x94\x94\r\n", "保存できない"},
      {"two.csv", "full.dat", twoRows, "32767"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(PathOf(c.name), c.content);
    const std::string before = ReadBytes(PathOf(c.dataFile));
    EXPECT_EQ(Run({"import", PathOf(c.dataFile), PathOf(c.name)}), 1);
    EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
    EXPECT_EQ(ReadBytes(PathOf(c.dataFile)), before);
  }
}

}  // namespace
}  // namespace wb
