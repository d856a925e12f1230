// `wakebell-tool missed` and `history`: their lines and exit codes.
#include <sstream>

#include "app/tool/Commands.h"
#include "model/CatchUp.h"
#include "model/Holidays.h"
#include "storage/DataFile.h"
#include "storage/History.h"
#include "storage/StateFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

OleDate At(const char* moment) {
  OleDate d = 0;
  EXPECT_TRUE(ParseMoment(moment, d)) << moment;
  return d;
}

AlarmEntry Daily(const char* at, const char* message) {
  AlarmEntry e;
  e.AlarmTime = At(at);
  e.RepeatKind = kRepeatDaily;
  e.Message = message;
  return e;
}

class MissedTool : public test::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    for (const AlarmEntry& e : {Daily("2026/11/01 06:00:00", "ゴミ出し"), Daily("2026/11/01 07:00:00", "起床\t顔")})
      table.Add(e);
    ASSERT_TRUE(SaveAlarmTable(PathOf("Wakebell.dat"), table));
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tool::Run(args, out, err);
  }
  AlarmTable table;
  std::ostringstream out, err;
};

TEST_F(MissedTool, PrintsTheBellsThatRingNowAndTheNoticeRows) {
  const std::string data = PathOf("Wakebell.dat");
  ASSERT_EQ(Run({"missed", data, "--since", "2026/12/05 05:00:00", "--now", "2026/12/07 07:01:00"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "ring\t1\t2026/12/07 07:00:00\tmain\n"
            "missed\t0\t2026/12/07 06:00:00\tmain\t3\t2026/12/07 06:00  ゴミ出し  ×3\n"
            "missed\t1\t2026/12/06 07:00:00\tmain\t2\t2026/12/06 07:00  起床 顔  ×2\n");

  // What a state file says was handled is not listed again.
  CatchUpState handled;
  RecordHandled(handled, table, 0, SecondNumber(At("2026/12/07 06:00:00")));
  ASSERT_TRUE(WriteStateFile(StatePathIn(Folder()), {handled, "", {}}));
  ASSERT_EQ(Run({"missed", data, "--since", "2026/12/07 05:00:00", "--now", "2026/12/07 08:00:00", "--state",
                 StatePathIn(Folder())}),
            0);
  EXPECT_EQ(out.str(), "missed\t1\t2026/12/07 07:00:00\tmain\t1\t2026/12/07 07:00  起床 顔\n");
  WriteBytes(PathOf("bad.ini"), "garbage");
  ASSERT_EQ(Run({"missed", data, "--since", "2026/12/07 06:30:00", "--now", "2026/12/07 08:00:00", "--state",
                 PathOf("bad.ini")}),
            0);
  EXPECT_EQ(out.str(), "missed\t1\t2026/12/07 07:00:00\tmain\t1\t2026/12/07 07:00  起床 顔\n");
  EXPECT_NE(err.str().find("damaged"), std::string::npos);

  // A clock set back: nothing.
  ASSERT_EQ(Run({"missed", data, "--since", "2026/12/07 09:00:00", "--now", "2026/12/07 08:00:00"}), 0);
  EXPECT_EQ(out.str(), "");

  EXPECT_EQ(Run({"missed", data, "--now", "2026/12/07 08:00:00"}), 2);
  EXPECT_EQ(Run({"missed", data, "--since", "2026/12/07", "--now", "2026/12/07 08:00:00"}), 2);
  EXPECT_EQ(Run({"missed", PathOf("none.dat"), "--since", "2026/12/07 05:00:00", "--now", "2026/12/07 08:00:00"}), 1);
}

// As the program counts them: a bell that rests on a day off is neither rung nor reported.
TEST_F(MissedTool, LeavesOutTheBellsThatRestOnDaysOff) {
  AlarmEntry rests = Daily("2026/11/01 06:00:00", "ゴミ出し");
  rests.WeekdayMask = kMaskRestsOnDaysOff;
  AlarmTable resting;
  resting.Add(rests);
  ASSERT_TRUE(SaveAlarmTable(PathOf("Rest.dat"), resting));
  WriteBytes(PathOf("WakebellDaysOff.txt"), "2026/12/06 off\r\n");
  ASSERT_EQ(Run({"missed", PathOf("Rest.dat"), "--since", "2026/12/05 05:00:00", "--now", "2026/12/07 07:01:00"}), 0)
      << err.str();
  EXPECT_EQ(out.str(), "missed\t0\t2026/12/07 06:00:00\tmain\t2\t2026/12/07 06:00  ゴミ出し  ×2\n");
}

TEST_F(MissedTool, HistoryPrintsTheEventsNewestFirst) {
  const std::string path = HistoryPathIn(Folder());
  ASSERT_TRUE(AppendHistory(path, {At("2026/12/07 07:00:02"), 540, HistoryEvent::Rang, At("2026/12/07 07:00:00"), "起床", 2}));
  ASSERT_TRUE(AppendHistory(path, {At("2026/12/07 07:00:30"), 540, HistoryEvent::Dismissed, At("2026/12/07 07:00:00"), "起床", 30}));
  WriteBytes(path, ReadBytes(path) + "2026/12/07 07:01");  // torn
  ASSERT_EQ(Run({"history", path}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "2026/12/07 07:00:30 +09:00\tdismissed\t2026/12/07 07:00:00\t起床\t30\n"
            "2026/12/07 07:00:02 +09:00\trang\t2026/12/07 07:00:00\t起床\t2\n");
  ASSERT_EQ(Run({"history", path, "--window"}), 0);
  EXPECT_EQ(out.str(),
            "2026/12/07 07:00:30\t2026/12/07 07:00\t止めた（鳴り始めから28秒）\t起床\n"
            "2026/12/07 07:00:02\t2026/12/07 07:00\t鳴った\t起床\n");
  EXPECT_EQ(Run({"history", PathOf("none.txt")}), 1);
  EXPECT_EQ(Run({"history"}), 2);
}

}  // namespace
}  // namespace wb
