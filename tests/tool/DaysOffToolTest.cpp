// The days off in `wakebell-tool`: schedule, list and tip read the days-off file beside the
// data file (or --days-off), report its bad lines and go on; `holidays` prints a year's days off.
#include <sstream>

#include "app/tool/Commands.h"
#include "model/Holidays.h"
#include "storage/DataFile.h"
#include "storage/StorageFixture.h"
#include "storage/TextBytes.h"

namespace wb {
namespace {

class DaysOffTool : public test::TempFolder {
 protected:
  // A Monday–Friday 07:00 entry that rests on days off, and one that does not at 08:00.
  std::string SaveWeekdayTable() {
    AlarmTable t;
    for (int resting : {1, 0}) {
      AlarmEntry e;
      e.RepeatKind = kRepeatWeekly;
      EXPECT_TRUE(ParseMoment(resting ? "2027/08/01 07:00:00" : "2027/08/01 08:00:00", e.AlarmTime));
      e.WeekdayMask = int16_t(0x1F | (resting ? kMaskRestsOnDaysOff : 0));
      e.Message = "出勤";
      t.Add(e);
    }
    const std::string path = PathOf("Wakebell.dat");
    EXPECT_TRUE(SaveAlarmTable(path, t));
    return path;
  }
  void WriteDaysOff(const std::string& path, const std::string& utf8) { WriteBytes(path, StorageCodec().ToCp932(utf8)); }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tool::Run(args, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(DaysOffTool, ScheduleListAndTipUseTheFileBesideTheDataFile) {
  const std::string data = SaveWeekdayTable();
  const std::string daysOff = Folder() + "WakebellDaysOff.txt";
  WriteDaysOff(daysOff, "2027/08/12 夏季休暇\n2027/08/13 夏季休暇\n2027/8/32 お盆\n");
  // 8/11 is 山の日, 8/12 and 8/13 the user's own: the resting entry rings on the 10th and 16th.
  ASSERT_EQ(Run({"schedule", data, "--from", "2027/08/10 00:00:00", "--to", "2027/08/16 23:59:59"}), 0);
  std::string resting;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);)
    if (line.find("\t0\t") != std::string::npos) resting += line.substr(0, 10) + " ";
  EXPECT_EQ(resting, "2027/08/10 2027/08/16 ");
  EXPECT_EQ(err.str(), "wakebell-tool schedule: " + daysOff + " line 3 holds no date \"yyyy/mm/dd\", skipped: 2027/8/32 お盆\n");

  ASSERT_EQ(Run({"list", data, "--now", "2027/08/12 06:00:00", "--daily"}), 0);
  EXPECT_EQ(out.str(), "1\t■08:00 2027/08/01 毎週 －月火水木金－\n");
  ASSERT_EQ(Run({"tip", data, "--now", "2027/08/12 06:00:00"}), 0);
  EXPECT_EQ(out.str(), "あと2時間 本日08:00\n");

  // Another file named on the command line replaces the one beside the data file.
  const std::string other = PathOf("other.txt");
  WriteDaysOff(other, "");
  ASSERT_EQ(Run({"tip", data, "--now", "2027/08/12 06:00:00", "--days-off", other}), 0);
  EXPECT_EQ(out.str(), "あと1時間 本日07:00\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(DaysOffTool, HolidaysPrintsTheNationalAndTheUsersDays) {
  ASSERT_EQ(Run({"holidays", "2021"}), 0);
  EXPECT_EQ(out.str(),
            "2021/01/01 元日\n2021/01/11 成人の日\n2021/02/11 建国記念の日\n2021/02/23 天皇誕生日\n"
            "2021/03/20 春分の日\n2021/04/29 昭和の日\n2021/05/03 憲法記念日\n2021/05/04 みどりの日\n"
            "2021/05/05 こどもの日\n2021/07/22 海の日\n2021/07/23 スポーツの日\n2021/08/08 山の日\n"
            "2021/08/09 振替休日\n2021/09/20 敬老の日\n2021/09/23 秋分の日\n2021/11/03 文化の日\n"
            "2021/11/23 勤労感謝の日\n");
  const std::string data = SaveWeekdayTable();
  WriteDaysOff(Folder() + "WakebellDaysOff.txt", "2021/08/09 夏季休暇\n2021/08/10\n");
  ASSERT_EQ(Run({"holidays", "2021", data}), 0);
  EXPECT_NE(out.str().find("2021/08/09 振替休日・夏季休暇\n2021/08/10 休日\n2021/09/20"), std::string::npos) << out.str();
  for (const char* bad : {"", "21x", "99", "10000"}) EXPECT_EQ(Run({"holidays", bad}), 2) << bad;
  EXPECT_EQ(Run({"holidays", "2021", data, "extra"}), 2);
}

}  // namespace
}  // namespace wb
