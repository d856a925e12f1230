// The state file: what it holds comes back as written, a damaged one means "nothing missed",
// and sections a later version adds survive a write by this one.
#include "storage/FileIo.h"
#include "storage/StateFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

OleDate At(const char* moment) {
  OleDate d = 0;
  EXPECT_TRUE(ParseMoment(moment, d)) << moment;
  return d;
}

const char* const kGood =
    "[State]\n"
    "Version=1\n"
    "WatchedUntil=2026/12/07 07:01:00\n"
    "[Handled]\n"
    "0=00000000000000ff,2026/12/07 07:00:00\n"
    "7=a1b2c3d4e5f60708,2026/12/06 23:30:00\n";

class StateFileTest : public test::TempFolder {};

TEST_F(StateFileTest, WritesAndReadsBackTheStateAndKeepsOtherSections) {
  StateFile s;
  s.catchUp.watchedUntil = At("2026/12/07 07:01:00");
  s.catchUp.handled = {{0, 0xff, At("2026/12/07 07:00:00")}, {7, 0xa1b2c3d4e5f60708ull, At("2026/12/06 23:30:00")}};
  EXPECT_EQ(FormatStateFile(s), kGood);

  // A later version's section (say, a snooze) and CR LF lines written by hand.
  const std::string path = StatePathIn(Folder());
  EXPECT_EQ(path, Folder() + "WakebellState.ini");
  WriteBytes(path, "\xEF\xBB\xBF[Snooze]\r\nSlot=3\r\n" + std::string(kGood) + "[Later]\nKey=value\n");
  StateFileStatus status;
  StateFile read = ReadStateFile(path, &status);
  EXPECT_EQ(status, StateFileStatus::Read);
  EXPECT_EQ(read.catchUp, s.catchUp);
  EXPECT_EQ(read.otherSections, "[Snooze]\nSlot=3\n[Later]\nKey=value\n");
  ASSERT_TRUE(WriteStateFile(path, read));
  EXPECT_EQ(ReadStateFile(path), read);
  EXPECT_FALSE(Exists(path + ".tmp"));

  // An unknown watch time is written empty and read back as unknown.
  StateFile empty;
  ASSERT_TRUE(ParseStateFile(FormatStateFile(empty), read));
  EXPECT_EQ(read, empty);
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
  };
  const std::string path = StatePathIn(Folder());
  for (const auto& d : damaged) {
    WriteBytes(path, d.text);
    StateFileStatus status = StateFileStatus::Read;
    const StateFile s = ReadStateFile(path, &status);
    EXPECT_EQ(status, StateFileStatus::Damaged) << d.name;
    EXPECT_EQ(s, StateFile{}) << d.name;
    EXPECT_EQ(CatchUp(AlarmTable(), s.catchUp, At("2026/12/07 08:00:00")).from, 0) << d.name;
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
