// `wakebell-tool add` and `remove`: the entry the editor would make, the editor's refusals, and
// no write over a file that changed between the command's read and its write.
#include <algorithm>
#include <functional>
#include <sstream>

#include "app/tool/Commands.h"
#include "app/tool/TableEdit.h"
#include "model/EntryRules.h"
#include "model/Holidays.h"
#include "storage/DataFile.h"
#include "storage/Settings.h"
#include "storage/TextBytes.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

class AddRemove : public test::TempFolder {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tool::Run(args, out, err);
  }
  AlarmTable Table() {
    AlarmTable t;
    EXPECT_TRUE(ReadAlarmFile(data, t, 0, 0));
    return t;
  }
  std::string data = PathOf("Wakebell.dat");
  std::ostringstream out, err;
};

TEST_F(AddRemove, AddsEachKindWithTheWeekdaysTheEditorWouldTick) {
  // 2031/03/05 is a Wednesday.
  struct Case {
    std::vector<std::string> options;
    int16_t kind, mask;
  } cases[] = {
      {{"--kind", "once"}, kRepeatOnce, kMaskWednesday},
      {{"--kind", "monthly"}, kRepeatMonthly, kMaskWednesday},
      {{"--kind", "daily", "--rest-on-days-off"}, kRepeatDaily, int16_t(0x7F | kMaskRestsOnDaysOff)},
      {{"--kind", "weekly", "--weekdays", "月金"}, kRepeatWeekly, kMaskMonday | kMaskFriday},
      {{"--kind", "weekly"}, kRepeatWeekly, kMaskWednesday},
      {{"--kind", "biweekly"}, kRepeatBiweekly, kMaskWednesday},
      {{"--kind", "nth3", "--weekdays", "日"}, 9, kMaskSunday},
      {{"--kind", "once", "--rest-on-days-off"}, kRepeatOnce, kMaskWednesday},  // a once entry always rings
  };
  int slot = 0;
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add", data, "--at", "2031/03/05 07:30"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(Run(args), 0) << c.options[1] << err.str();
    EXPECT_EQ(out.str(), std::to_string(slot) + "\n");
    const AlarmTable t = Table();
    const AlarmEntry& e = t[slot++];
    EXPECT_EQ(e.RepeatKind, c.kind) << c.options[1];
    EXPECT_EQ(e.WeekdayMask, c.mask) << c.options[1];
    EXPECT_EQ(FormatMoment(e.AlarmTime), "2031/03/05 07:30:00");
  }
  EXPECT_EQ(Table().EntryCount(), int(std::size(cases)));
}

TEST_F(AddRemove, TakesWhatTheOptionsLeaveOpenFromTheSettingsBesideTheDataFile) {
  WriteBytes(IniPathBeside(data), "[Wakebell]\n");
  Preferences prefs;
  prefs.message = "朝会";
  prefs.blinkCount = 3;
  prefs.look.FontSize = 20;
  SavePreferences(DataIniPath(data), prefs, 0);
  ASSERT_EQ(Run({"add", data, "--kind", "once", "--at", "2031/03/05 07:30", "--pre", "5"}), 0) << err.str();
  ASSERT_EQ(Run({"add", data, "--kind", "once", "--at", "2031/03/05 08:00", "--message", "歯医者", "--sound",
                 "C:\\鐘.wav"}),
            0);
  const AlarmTable t = Table();
  EXPECT_EQ(t[0].Message, "朝会");
  EXPECT_EQ(t[0].BlinkCount, 3);
  EXPECT_EQ(t[0].Look.FontSize, 20);
  EXPECT_EQ(t[0].BellMode, BellMode::PreAndMain);
  EXPECT_EQ(t[0].PreBellMinutes, 5);
  EXPECT_EQ(t[1].Message, "歯医者");
  EXPECT_EQ(t[1].Sound.Flag, 1);
  EXPECT_EQ(t[1].Sound.File, "C:\\鐘.wav");
  EXPECT_EQ(t[1].BellMode, BellMode::MainOnly);
}

TEST_F(AddRemove, RefusesWhatTheEditorRefusesWithItsMessageAndWritesNothing) {
  struct Case {
    std::vector<std::string> options;
    std::string message;  // "" for a malformed argument
  } cases[] = {
      {{"--at", "2031/03/05 24:00"}, kHourMessage},
      {{"--at", "2031/03/05 07:60"}, kMinuteMessage},
      {{"--at", "2031/03/00 07:00"}, kDayMessage},
      {{"--at", "2031/02/29 07:00"}, kDayNotInMonthMessage},
      {{"--at", "2031/03/05 07:00", "--kind", "weekly", "--weekdays", ""}, kWeekdayMissingMessage},
      {{"--at", "2031/03/05 07:00", "--sound", "  "}, kSoundFileMissingMessage},
      {{"--at", "2031/03/05 07:00", "--message", "\xF0\x9F\x98\x80"}, kMessageNotStorable},
      {{"--at", "2031/03/05 7:00"}, ""},
      {{"--at", "2031/13/05 07:00"}, ""},
      {{"--at", "2031/03/05 07:00", "--kind", "quick"}, ""},
      {{"--at", "2031/03/05 07:00", "--weekdays", "月"}, ""},  // a once entry has no weekday choice
      {{"--at", "2031/03/05 07:00", "--weekdays", "Mo", "--kind", "weekly"}, ""},
      {{"--at", "2031/03/05 07:00", "--pre", "-5"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add", data};
    args.insert(args.end(), c.options.begin(), c.options.end());
    if (std::find(args.begin(), args.end(), "--kind") == args.end()) args.insert(args.end(), {"--kind", "once"});
    EXPECT_EQ(Run(args), 2) << c.options[1];
    if (!c.message.empty()) {
      EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_FALSE(Exists(data)) << c.options[1];
  }
}

TEST_F(AddRemove, RemovesTheSlotAndTheLaterOnesMoveDown) {
  for (const char* at : {"2031/03/05 07:00", "2031/03/05 08:00", "2031/03/05 09:00"})
    ASSERT_EQ(Run({"add", data, "--kind", "once", "--at", at}), 0);
  EXPECT_EQ(Run({"remove", data, "1"}), 0) << err.str();
  AlarmTable t = Table();
  ASSERT_EQ(t.EntryCount(), 2);
  EXPECT_EQ(FormatMoment(t[1].AlarmTime), "2031/03/05 09:00:00");
  EXPECT_EQ(Run({"remove", data, "2"}), 2);
  EXPECT_EQ(Run({"remove", data, "x"}), 2);
  EXPECT_EQ(Run({"remove", PathOf("none.dat"), "0"}), 1);
  EXPECT_EQ(Table().EntryCount(), 2);
}

TEST_F(AddRemove, LeavesAFileThatIsNoDataFileAndKeepsAnOlderLayoutAsABackup) {
  WriteBytes(data, "not a table at all");
  EXPECT_EQ(Run({"add", data, "--kind", "once", "--at", "2031/03/05 07:00"}), 1);
  EXPECT_EQ(ReadBytes(data), "not a table at all");
  // An empty table with records beyond its count: the bytes the table does not hold are kept.
  AlarmTable two;
  two.Add(AlarmEntry{});
  std::string bytes = SerializeAlarmTable(two, StorageCodec());
  bytes[0] = 0;  // the count says none
  WriteBytes(data, bytes);
  EXPECT_EQ(Run({"add", data, "--kind", "once", "--at", "2031/03/05 07:00"}), 0) << err.str();
  EXPECT_EQ(ReadBytes(data + ".bak"), bytes);
}

TEST_F(AddRemove, RefusesToWriteOverAFileChangedSinceItWasRead) {
  ASSERT_EQ(Run({"add", data, "--kind", "once", "--at", "2031/03/05 07:00"}), 0);
  struct Change {
    const char* what;
    std::function<void()> make;
  } changes[] = {
      {"saved elsewhere", [&] { ASSERT_EQ(Run({"add", data, "--kind", "daily", "--at", "2031/03/05 08:00"}), 0); }},
      {"same size, other bytes", [&] {
         std::string b = ReadBytes(data);
         b.back() = char(b.back() ^ 1);
         WriteBytes(data, b);
       }},
      {"deleted", [&] { std::filesystem::remove(data); }},
  };
  for (const Change& c : changes) {
    tool::TableEdit edit;
    ASSERT_TRUE(tool::ReadForEdit("add", data, edit, err));
    edit.table.Add(AlarmEntry{});
    c.make();
    const std::string before = Exists(data) ? ReadBytes(data) : "";
    err.str("");
    EXPECT_EQ(tool::WriteEdited("add", edit, err), 1) << c.what;
    EXPECT_NE(err.str().find("changed"), std::string::npos) << c.what;
    EXPECT_EQ(Exists(data) ? ReadBytes(data) : "", before) << c.what;
  }
}

}  // namespace
}  // namespace wb
