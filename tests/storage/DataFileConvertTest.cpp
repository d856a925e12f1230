// Older data-file layouts: each is read, converted with the current device volumes and the
// editor's defaults, and rewritten in the current layout only after the original is kept.
#include "StorageFixture.h"
#include "storage/DataFile.h"

namespace wb {
namespace {

using test::Bytes;
using test::kAlarmCp932;

constexpr uint32_t kMidiNow = 0x11111111, kWaveNow = 0x22222222;

class DataFileConvert : public test::TempFolder {};

// Members 1..11, common to every layout.
Bytes Prefix(double time) {
  Bytes b;
  b.F64(time).I16(kRepeatDaily).I16(0x7F).F64(100.25).F64(200.5).I16(int16_t(BellMode::PreAndMain)).I16(5).I16(1)
      .Str(kAlarmCp932).I16(1).Str("bell.wav");
  return b;
}

// An entry with members 1..11 as Prefix() writes them and the editor's defaults for the rest.
AlarmEntry Converted(double time) {
  AlarmEntry e;
  e.AlarmTime = time;
  e.RepeatKind = kRepeatDaily;
  e.WeekdayMask = 0x7F;
  e.PreBellFiredAt = 100.25;
  e.MainBellFiredAt = 200.5;
  e.BellMode = BellMode::PreAndMain;
  e.PreBellMinutes = 5;
  e.BlinkFlag = 1;
  e.Message = "アラーム";
  e.Sound.Flag = 1;
  e.Sound.File = "bell.wav";
  e.Sound.Endless = 0;
  e.MidiVolume = int32_t(kMidiNow);
  e.WaveVolume = int32_t(kWaveNow);
  e.KeepWindowFlag = 1;
  e.BlinkCount = 10;
  e.Look.ForeColor = 0;
  e.Look.BackColor = kButtonFaceColor;
  e.Look.FontName = "MS Pｺﾞｼｯｸ";
  e.Look.FontSize = 12;
  e.Look.FontBold = kTrue;
  e.Look.ForeColorIndex = 7;
  e.Look.BackColorIndex = 5;
  return e;
}

struct Layout {
  const char* tag;
  std::string (*suffix)();  // what follows SoundFile in that layout
  void (*expect)(AlarmEntry&);
};

const Layout kLayouts[] = {
    {"Wakebell 0.9.5", [] { return Bytes().I16(1).I32(7).I32(8).I16(0).I16(4).str(); },
     [](AlarmEntry& e) {
       e.Sound.Endless = 1; e.MidiVolume = 7; e.WaveVolume = 8; e.KeepWindowFlag = 0; e.BlinkCount = 4;
     }},
    // 0.9.4's single Integer after MidiVolume is KeepWindowFlag; the wave volume is today's.
    {"Wakebell 0.9.4", [] { return Bytes().I16(1).I32(7).I16(0).str(); },
     [](AlarmEntry& e) { e.Sound.Endless = 1; e.MidiVolume = 7; e.KeepWindowFlag = 0; }},
    {"Wakebell 0.9.3", [] { return Bytes().I16(1).str(); }, [](AlarmEntry& e) { e.Sound.Endless = 1; }},
    {"Wakebell 0.9.2", [] { return Bytes().I16(1).str(); }, [](AlarmEntry& e) { e.Sound.Endless = 1; }},
    {"", [] { return std::string(); }, [](AlarmEntry&) {}},
    {"Wakebell 0.9.7", [] { return std::string(); }, [](AlarmEntry&) {}},
};

std::string OldFile(const Layout& l, int count) {
  std::string bytes = Bytes().Header(count, l.tag).str();
  for (int i = 0; i <= count; ++i) bytes += Prefix(40000 + i).str() + l.suffix();
  return bytes;
}

TEST_F(DataFileConvert, EveryOlderLayoutIsConvertedAndRewritten) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(std::string("tag '") + l.tag + "'");
    std::string path = PathOf("old.dat");
    std::string original = OldFile(l, 2);
    WriteBytes(path, original);
    AlarmTable t;
    ASSERT_TRUE(LoadAlarmTable(path, t, kMidiNow, kWaveNow));
    ASSERT_EQ(t.EntryCount(), 2);
    for (int i = 0; i < 2; ++i) {
      AlarmEntry want = Converted(40000 + i);
      l.expect(want);
      EXPECT_EQ(t[i], want) << "slot " << i;
    }
    EXPECT_EQ(t[2], AlarmEntry{});  // the spare slot is not converted

    EXPECT_EQ(ReadBytes(path + ".bak"), original);
    std::string rewritten = ReadBytes(path);
    EXPECT_EQ(rewritten.substr(0, 20), Bytes().Header(2, "Wakebell 0.9.6").str());
    AlarmTable again;
    std::string tag;
    ASSERT_TRUE(ReadAlarmFile(path, again, 0, 0, &tag));
    EXPECT_EQ(tag, "Wakebell 0.9.6");
    EXPECT_EQ(again.Slots(), t.Slots());
    std::filesystem::remove(path + ".bak");
  }
}

TEST_F(DataFileConvert, ReadingConvertsInMemoryOnly) {
  std::string path = PathOf("old.dat");
  std::string original = OldFile(kLayouts[1], 1);
  WriteBytes(path, original);
  AlarmTable t;
  std::string tag;
  ASSERT_TRUE(ReadAlarmFile(path, t, kMidiNow, kWaveNow, &tag));
  EXPECT_EQ(tag, "Wakebell 0.9.4");
  EXPECT_EQ(t[0].WaveVolume, int32_t(kWaveNow));
  EXPECT_EQ(ReadBytes(path), original);
  EXPECT_FALSE(Exists(path + ".bak"));
}

TEST_F(DataFileConvert, EmptyFileBecomesAValidEmptyFile) {
  std::string path = PathOf("empty.dat");
  WriteBytes(path, "");
  AlarmTable t;
  t.Add(AlarmEntry{});
  std::string tag = "x";
  ASSERT_TRUE(ReadAlarmFile(path, t, 0, 0, &tag));
  EXPECT_EQ(tag, "");
  ASSERT_TRUE(LoadAlarmTable(path, t, kMidiNow, kWaveNow));
  EXPECT_EQ(t.EntryCount(), 0);
  EXPECT_EQ(t[0], AlarmEntry{});
  EXPECT_EQ(ReadBytes(path), Bytes().Header(0, "Wakebell 0.9.6").str() + std::string(78, '\0'));
  EXPECT_FALSE(Exists(path + ".bak"));  // there was nothing to keep
}

TEST_F(DataFileConvert, BackupNeverOverwritesAnotherOne) {
  std::string path = PathOf("old.dat");
  WriteBytes(path + ".bak", "someone's backup");
  std::string first = OldFile(kLayouts[2], 1);
  WriteBytes(path, first);
  AlarmTable t;
  ASSERT_TRUE(LoadAlarmTable(path, t, 0, 0));
  EXPECT_EQ(ReadBytes(path + ".bak"), "someone's backup");
  EXPECT_EQ(ReadBytes(path + ".bak2"), first);

  // The same original again (say, restored by hand) reuses its backup instead of piling up.
  WriteBytes(path, first);
  ASSERT_TRUE(LoadAlarmTable(path, t, 0, 0));
  EXPECT_FALSE(Exists(path + ".bak3"));
}

TEST_F(DataFileConvert, NoBackupNoRewrite) {
  std::string path = PathOf("old.dat");
  for (int n = 1; n <= 99; ++n)
    std::filesystem::create_directory(path + ".bak" + (n == 1 ? "" : std::to_string(n)));
  std::string original = OldFile(kLayouts[0], 1);
  WriteBytes(path, original);
  AlarmTable t;
  ASSERT_TRUE(LoadAlarmTable(path, t, 0, 0));
  EXPECT_EQ(t.EntryCount(), 1);
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(DataFileConvert, OldFileTooShortForItsCountIsLeftAlone) {
  std::string path = PathOf("old.dat");
  std::string bytes = OldFile(kLayouts[0], 3);
  bytes.resize(bytes.size() - 1);
  WriteBytes(path, bytes);
  AlarmTable t;
  EXPECT_FALSE(LoadAlarmTable(path, t, 0, 0));
  EXPECT_EQ(t.SlotCount(), 1);
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_FALSE(Exists(path + ".bak"));
}

}  // namespace
}  // namespace wb
