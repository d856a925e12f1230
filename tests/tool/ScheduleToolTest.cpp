// `wakebell-tool schedule`, `list` and `tip`: their lines for a data file, and their exit codes.
#include <sstream>

#include "app/tool/Commands.h"
#include "model/AlarmTable.h"
#include "storage/DataFile.h"
#include "storage/StorageFixture.h"

namespace wb {
namespace {

AlarmEntry Entry(int kind, const char* at, int mask = 0, int bellMode = 0, int lead = 0) {
  AlarmEntry e;
  EXPECT_TRUE(ParseMoment(at, e.AlarmTime)) << at;
  e.RepeatKind = int16_t(kind);
  e.WeekdayMask = int16_t(mask);
  e.BellMode = BellMode(bellMode);
  e.PreBellMinutes = int16_t(lead);
  e.Message = "テスト";
  return e;
}

class ScheduleTool : public test::TempFolder {
 protected:
  std::string Save(const std::vector<AlarmEntry>& entries) {
    AlarmTable t;
    for (const AlarmEntry& e : entries) t.Add(e);
    const std::string path = PathOf("Wakebell.dat");
    EXPECT_TRUE(SaveAlarmTable(path, t));
    return path;
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tool::Run(args, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(ScheduleTool, PrintsEachPresentingTickWithItsMarks) {
  const std::string path = Save({Entry(3, "2026/12/01 07:00:00", 0, 2, 30),  // daily, pre-bell 06:30
                                 Entry(4, "2026/12/07 07:00:00"),            // once, the same minute
                                 Entry(5, "2026/12/07 06:59:30")});          // a quick timer
  const std::string before = ReadBytes(path);
  ASSERT_EQ(Run({"schedule", path, "--from", "2026/12/07 06:00:00", "--to", "2026/12/08 06:45:00"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "2026/12/07 06:30:00\t0\t0\t1\n"
            "2026/12/07 06:59:30\t2\t1\t0\n"
            "2026/12/07 07:00:00\t0\t1\t0\n"
            "2026/12/07 07:00:01\t1\t1\t0\n"
            "2026/12/08 06:30:00\t0\t0\t1\n");
  EXPECT_EQ(ReadBytes(path), before);  // read-only: the fired-at members stay in memory
  EXPECT_EQ(err.str(), "");
}

TEST_F(ScheduleTool, OneSecondRangeAndARangeWithNothing) {
  const std::string path = Save({Entry(3, "2026/12/01 07:00:00")});
  ASSERT_EQ(Run({"schedule", path, "--to", "2026/12/07 07:00:00", "--from", "2026/12/07 07:00:00"}), 0);
  EXPECT_EQ(out.str(), "2026/12/07 07:00:00\t0\t1\t0\n");
  // Each run is a program started at --from: within the bell's minute it rings at once.
  ASSERT_EQ(Run({"schedule", path, "--from", "2026/12/07 07:00:59", "--to", "2026/12/08 06:59:59"}), 0);
  EXPECT_EQ(out.str(), "2026/12/07 07:00:59\t0\t1\t0\n");
  ASSERT_EQ(Run({"schedule", path, "--from", "2026/12/07 07:01:00", "--to", "2026/12/08 06:59:59"}), 0);
  EXPECT_EQ(out.str(), "");
}

TEST_F(ScheduleTool, ListRowsInDisplayOrderForEitherViewAndWeekStart) {
  const std::string path = Save({Entry(2, "2008/03/05 07:30:00", 0x05), Entry(0, "2008/03/01 06:00:00"),
                                 Entry(4, "2008/03/10 21:00:00")});
  ASSERT_EQ(Run({"list", path, "--now", "2008/03/05 08:00:00", "--day", "2008/03/10"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "1\t□06:00 2008/03/01 －－ －－－－－－－\n"
            "0\t■07:30 2008/03/05 毎週 －月－水－－－\n"
            "2\t■21:00 2008/03/10 一回 －－－－－－－\n");
  ASSERT_EQ(Run({"list", path, "--monday", "--daily", "--now", "2008/03/05 07:00:00"}), 0);
  EXPECT_EQ(out.str(), "0\t■07:30 2008/03/05 毎週 月－水－－－－\n");
  ASSERT_EQ(Run({"list", path, "--now", "2008/03/05 07:00:00", "--day", "2008/03/04", "--daily"}), 0);
  EXPECT_EQ(out.str(), "");
}

TEST_F(ScheduleTool, TipOfTheTipRefresh) {
  const std::string path = Save({Entry(3, "2026/12/01 07:30:00"), Entry(4, "2026/12/09 12:00:00")});
  ASSERT_EQ(Run({"tip", path, "--now", "2026/12/07 06:15:00"}), 0) << err.str();
  EXPECT_EQ(out.str(), "あと1時間15分 本日07:30\n");
  ASSERT_EQ(Run({"tip", path, "--now", "2026/12/07 08:00:00"}), 0);
  EXPECT_EQ(out.str(), "あと23時間30分 明日07:30\n");
  ASSERT_EQ(Run({"tip", path, "--now", "2026/12/07 08:00:00", "--day", "2026/12/09"}), 0);
  EXPECT_EQ(out.str(), "あと4時間 本日12:00\n");  // the calendar's day, the present date's times
  const std::string none = Save({Entry(4, "2026/12/01 12:00:00")});
  ASSERT_EQ(Run({"tip", none, "--now", "2026/12/07 08:00:00"}), 0);
  EXPECT_EQ(out.str(), "Wakebell\n");
}

TEST_F(ScheduleTool, BadArgumentsExitTwoWithAReason) {
  const std::string path = Save({Entry(3, "2026/12/01 07:30:00")});
  const std::vector<std::vector<std::string>> bad = {
      {"schedule", path, "--from", "2026/12/07 06:00:00", "--to", "2026/12/07 05:59:59"},  // T2 before T1
      {"schedule", path, "--from", "2026/12/07 6:00:00", "--to", "2026/12/07 07:00:00"},
      {"schedule", path, "--from", "2026/12/07", "--to", "2026/12/07 07:00:00"},
      {"schedule", path, "--from", "2026/02/30 06:00:00", "--to", "2026/12/07 07:00:00"},
      {"schedule", path, "--from", "2026/12/07 06:00:00"},
      {"schedule", path, "--from", "2026/12/07 06:00:00", "--to"},
      {"schedule", "--from", "2026/12/07 06:00:00", "--to", "2026/12/07 07:00:00"},
      {"list", path, "--now", "2026/12/07 06:00:00", "--day", "2026/12/07 00:00:00"},
      {"list", path, "--now", "2026/12/07 06:00:00", "--now", "2026/12/07 06:00:00"},
      {"list", path, "--now", "2026/12/07 06:00:00", "--weekly"},
      {"tip", path},
      {"tip", path, path, "--now", "2026/12/07 06:00:00"},
      {"tip", path, "--now", "2026/12/07 24:00:00"},
      {"alarm", path},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), 2) << args[0] << " " << (args.size() > 3 ? args[3] : "");
    EXPECT_NE(err.str(), "");
    EXPECT_EQ(out.str(), "");
  }
}

TEST_F(ScheduleTool, UnreadableFileExitsOne) {
  WriteBytes(PathOf("cut.dat"), std::string("\x05\x00\x00\x00", 4));  // a count and nothing more
  for (const char* cmd : {"schedule", "list", "tip"}) {
    for (const std::string& path : {PathOf("missing.dat"), PathOf("cut.dat")}) {
      std::vector<std::string> args = {cmd, path, "--now", "2026/12/07 06:00:00"};
      if (std::string(cmd) == "schedule") args = {cmd, path, "--from", "2026/12/07 06:00:00", "--to", "2026/12/07 06:00:01"};
      EXPECT_EQ(Run(args), 1) << cmd << " " << path;
      EXPECT_NE(err.str().find("cannot read"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace wb
