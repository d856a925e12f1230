// The state file: what it holds comes back as written, a damaged one means "nothing missed",
// and sections a later version adds survive a write by this one.
#include "storage/FileIo.h"
#include "storage/StateFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

// A moment of the state file, as a local second.
LocalSecond At(const char* moment) {
  OleDate d = 0;
  EXPECT_TRUE(ParseMoment(moment, d)) << moment;
  return SecondNumber(d);
}

const char* const kGood =
    "[State]\n"
    "Version=1\n"
    "WatchedUntil=2026/12/07 07:01:00\n"
    "[Handled]\n"
    "0=00000000000000ff,2026/12/07 07:00:00\n"
    "7=a1b2c3d4e5f60708,2026/12/06 23:30:00\n";

// The ledger bell by bell, as this version writes it beside [Handled].
const char* const kBells =
    "[HandledBells]\n"
    "0=2026/12/07 07:00:00,,2026/12/07 07:00:00,\n"
    "7=2026/12/06 23:30:00,,2026/12/06 23:30:00,\n";

class StateFileTest : public test::TempFolder {};

TEST_F(StateFileTest, WritesAndReadsBackTheStateAndKeepsOtherSections) {
  StateFile s;
  s.catchUp.watchedUntil = At("2026/12/07 07:01:00");
  s.catchUp.handled = {{0, 0xff, {At("2026/12/07 07:00:00")}, {At("2026/12/07 07:00:00")}},
                       {7, 0xa1b2c3d4e5f60708ull, {At("2026/12/06 23:30:00")}, {At("2026/12/06 23:30:00")}}};
  EXPECT_EQ(FormatStateFile(s), std::string(kGood) + kBells);

  // A later version's section and CR LF lines written by hand.
  const std::string path = StatePathIn(Folder());
  EXPECT_EQ(path, Folder() + "WakebellState.ini");
  WriteBytes(path, "\xEF\xBB\xBF[Reminders]\r\nSlot=3\r\n" + std::string(kGood) + "[Later]\nKey=value\n");
  StateFileStatus status;
  StateFile read = ReadStateFile(path, &status);
  EXPECT_EQ(status, StateFileStatus::Read);
  EXPECT_EQ(read.catchUp, s.catchUp);
  EXPECT_EQ(read.otherSections, "[Reminders]\nSlot=3\n[Later]\nKey=value\n");
  ASSERT_TRUE(WriteStateFile(path, read));
  EXPECT_EQ(ReadStateFile(path), read);
  EXPECT_FALSE(Exists(path + ".tmp"));

  // Main bell and pre-bell apart, each with the UTC second it was handled at; a [HandledBells]
  // line an older version left beside a [Handled] line it wrote anew says nothing.
  StateFile bells;
  bells.catchUp.handled = {{3, 0xabc, {At("2026/12/07 07:00:00"), UtcSecond(4000)}, {At("2026/12/07 06:55:00"), UtcSecond(3700)}},
                           {4, 0xdef, {}, {At("2026/12/07 06:50:00"), UtcSecond()}}};
  ASSERT_TRUE(ParseStateFile(FormatStateFile(bells), read));
  EXPECT_EQ(read, bells);
  std::string stale = FormatStateFile(bells);
  stale.replace(stale.find("3=0000000000000abc,2026/12/07 07:00:00"), 38, "3=0000000000000abc,2026/12/07 08:00:00");
  ASSERT_TRUE(ParseStateFile(stale, read));
  EXPECT_EQ(read.catchUp.handled[0].main, (HandledMoment{At("2026/12/07 08:00:00"), UtcSecond()}));

  // An unknown watch time is written empty and read back as unknown.
  StateFile empty;
  ASSERT_TRUE(ParseStateFile(FormatStateFile(empty), read));
  EXPECT_EQ(read, empty);
}

const char* const kSnoozeLines =
    "[SnoozeUtc]\n"
    "2=00000000000000ff,2026/12/07 07:00:30,2026/12/07 07:05:30,+00000,\xE8\xB5\xB7\xE3\x81\x8D\xE3\x82\x8B\\t,=\\n\n"
    "9=0000000000000abc,2026/12/07 07:10:00,2026/12/07 08:10:00,-03600,\n";

TEST_F(StateFileTest, SnoozesSurviveAWriteAndARead) {
  StateFile s;
  s.catchUp.watchedUntil = At("2026/12/07 07:01:00");
  s.catchUp.handled = {{0, 0xff, {At("2026/12/07 07:00:00")}, {At("2026/12/07 07:00:00")}},
                       {7, 0xa1b2c3d4e5f60708ull, {At("2026/12/06 23:30:00")}, {At("2026/12/06 23:30:00")}}};
  s.snoozes = {{2, 0xff, UtcSecond(At("2026/12/07 07:00:30")), UtcSecond(At("2026/12/07 07:05:30")), "起きる\t,=\n"},
               {9, 0xabc, UtcSecond(At("2026/12/07 07:10:00")), UtcSecond(At("2026/12/07 08:10:00")), "", 1, -3600}};
  s.otherSections = "[Later]\nKey=value\n";
  EXPECT_EQ(FormatStateFile(s), std::string(kGood) + kBells + kSnoozeLines + "[Later]\nKey=value\n");
  const std::string path = StatePathIn(Folder());
  ASSERT_TRUE(WriteStateFile(path, s));
  StateFileStatus status;
  EXPECT_EQ(ReadStateFile(path, &status), s);
  EXPECT_EQ(status, StateFileStatus::Read);
  // An older version kept the moments on the wall clock, without the offset: read under the
  // offset of the start that reads them.
  std::string older = FormatStateFile(s);
  older.replace(older.find("[SnoozeUtc]"), 11, "[Snooze]");
  older.replace(older.find(",+00000,"), 8, ",");
  older.replace(older.find(",-03600,"), 8, ",");
  StateFile read;
  ASSERT_TRUE(ParseStateFile(older, read, 9 * 3600));
  ASSERT_EQ(read.snoozes.size(), 2u);
  EXPECT_EQ(read.snoozes[0].ringAt, UtcSecond(At("2026/12/07 07:05:30") - 9 * 3600));
  EXPECT_EQ(read.snoozes[0].pressOffsetSeconds, 9 * 3600);
}

TEST_F(StateFileTest, AMissingOrDamagedFileMeansNothingMissed) {
  const std::string good = kGood;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  const struct {
    const char* name;
    std::string text;
  } damaged[] = {
      {"empty", ""},
      {"binary", std::string("\0\x01\x02garbage", 10)},
      {"no version", replaced("Version=1\n", "")},
      {"a later version", replaced("Version=1", "Version=2")},
      {"no watch time", replaced("WatchedUntil=2026/12/07 07:01:00\n", "")},
      {"a bad watch time", replaced("2026/12/07 07:01:00", "2026/13/07 07:01:00")},
      {"a watch time cut short", replaced("2026/12/07 07:01:00", "2026/12/07 07:0")},
      {"a line outside a section", "x=1\n" + good},
      {"a bad section line", replaced("[Handled]", "[Handled")},
      {"a bad slot", replaced("7=a1b2", "x=a1b2")},
      {"a slot past the table", replaced("7=a1b2", "32767=a1b2")},
      {"a short fingerprint", replaced("00000000000000ff", "ff")},
      {"no comma", replaced("00ff,2026", "00ff 2026")},
      {"a bad handled moment", replaced("2026/12/06 23:30:00", "yesterday")},
      {"the same slot twice", good + "0=0000000000000001,2026/12/07 07:00:00\n"},
      {"a torn last line", good.substr(0, good.size() - 10)},
      {"a snooze without its message field", good + "[Snooze]\n2=00000000000000ff,2026/12/07 07:00:30,2026/12/07 07:05:30\n"},
      {"a snooze with a bad ring time", good + "[Snooze]\n2=00000000000000ff,2026/12/07 07:00:30,2026/12/07 25:05:30,x\n"},
      {"a snooze of a bad slot", good + "[Snooze]\n-2=00000000000000ff,2026/12/07 07:00:30,2026/12/07 07:05:30,x\n"},
  };
  const std::string path = StatePathIn(Folder());
  for (const auto& d : damaged) {
    WriteBytes(path, d.text);
    StateFileStatus status = StateFileStatus::Read;
    const StateFile s = ReadStateFile(path, &status);
    EXPECT_EQ(status, StateFileStatus::Damaged) << d.name;
    EXPECT_EQ(s, StateFile{}) << d.name;
    EXPECT_EQ(FindMissedSinceWatched(AlarmTable(), s.catchUp, MomentAtLocal(At("2026/12/07 08:00:00"), 0)).from, 0) << d.name;
  }
  std::filesystem::remove(path);
  StateFileStatus status;
  EXPECT_EQ(ReadStateFile(path, &status), StateFile{});
  EXPECT_EQ(status, StateFileStatus::Missing);
  std::filesystem::create_directory(path);  // a folder where the file should be
  EXPECT_EQ(ReadStateFile(path, &status), StateFile{});
  EXPECT_EQ(status, StateFileStatus::Damaged);
  EXPECT_FALSE(WriteStateFile(path, StateFile{}));
}

}  // namespace
}  // namespace wb
