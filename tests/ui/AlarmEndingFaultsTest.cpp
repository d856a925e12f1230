// What becomes of a bell around its window on the fake clock: スヌーズ while the window offers
// it, how long a waiting window holds the PC awake, and a
// program folder that cannot keep the state file.
#include "MonitorFixture.h"
#include "app_state/HistoryLog.h"
#include "model/SoundFlag.h"
#include "monitor/MissedNoticeWindow.h"
#include "storage/History.h"
#include "storage/StateFile.h"

namespace wb::test {
namespace {

class AlarmEnding : public MonitorTest {
 protected:
  std::vector<std::string> Events() const {
    std::vector<std::string> tags;
    for (const HistoryRecord& r : ReadHistory(HistoryPath())) tags.push_back(HistoryEventTag(r.event));
    return tags;
  }
  // 07:00 rings `e`; the test starts at 06:59:58 and ticks into the bell.
  void Ring(AlarmEntry e) {
    SaveTable({e});
    clock.Set(MakeDate(2026, 12, 7, 6, 59, 58));
    Start();
    Seconds(3);
    ASSERT_TRUE(AlarmShown());
  }
};

// A sound that is ticked but has no file ends the alarm a tick after it rang (as one played once
// does when it ends); the window still offers スヌーズ, and the press must put it off.
TEST_F(AlarmEnding, SnoozeWorksWhileTheWindowOffersItAfterTheAlarmRanItsCourse) {
  AlarmEntry e = Daily(7, 0);
  e.Sound.Flag = 1;
  ASSERT_TRUE(AlarmPlaysSound(e.Sound.Flag));
  Ring(e);
  Seconds(3);
  ASSERT_EQ(TheAlarm().Progress().activeSlot, -1);  // ran its course
  ASSERT_TRUE(AlarmShown());
  ui::TheForm<AlarmWindow>().snoozeButton.Press();
  EXPECT_FALSE(AlarmShown());
  ASSERT_EQ(TheAlarm().Snoozes().size(), 1u);
  Seconds(5 * 60);
  EXPECT_TRUE(AlarmShown());
  const auto events = Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "snoozed"), 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), "snooze-rang"), 1);
}

// A silent window kept in front holds the PC awake for ten minutes, not for as long as nobody
// comes: an unattended wake sleeps again. Its OK is still recorded as the user's.
TEST_F(AlarmEnding, SilentKeptWindowHoldsThePcAwakeTenMinutesAtMost) {
  AlarmEntry e = Daily(7, 0);
  e.KeepWindowFlag = 1;
  Ring(e);
  EXPECT_TRUE(power.Awake);
  Seconds(9 * 60);
  EXPECT_TRUE(power.Awake);
  Seconds(2 * 60);
  EXPECT_FALSE(power.Awake);
  EXPECT_TRUE(AlarmShown());
  ui::TheForm<AlarmWindow>().okButton.Press();
  const auto events = Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "ended-by-itself"), 0);
  EXPECT_EQ(std::count(events.begin(), events.end(), "dismissed"), 1);
}

// A state file that cannot be written would report the same bells at every start: a program in
// such a folder does not catch up from it (its start-up message asks for another folder).
TEST_F(AlarmEnding, ReadOnlyFolderDoesNotReportTheSameBellsAtEveryStart) {
  SaveTable({Daily(5, 0)});
  StateFile state;
  state.catchUp.watchedUntil = SecondNumber(MakeDate(2026, 12, 7, 3, 0, 0));
  ASSERT_TRUE(WriteStateFile((dir / "WakebellState.ini").string(), state));
  folders.ReadOnly.insert(App().programFolder);
  for (int start = 0; start < 2; ++start) {
    Start();
    EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr) << "start " << start;
    ForgetWindows();
  }
}

}  // namespace
}  // namespace wb::test
