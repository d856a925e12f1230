// The monitor's watch over time on the fake clock: a gap found by the tick, by a resume or by
// a clock change rings a young bell and reports an old one, never twice; the catch-up over the
// time the program was not running; the crowded minute; the wake timer; the history the monitor
// writes; the data file that cannot be read.
#include "MonitorFixture.h"
#include "app_state/HistoryLog.h"
#include "monitor/HistoryWindow.h"
#include "monitor/MissedNoticeWindow.h"
#include "storage/History.h"
#include "storage/StateFile.h"

namespace wb::test {
namespace {

class MonitorWatch : public MonitorTest {
 protected:
  // The history's events in file order, as their tags.
  std::vector<std::string> Events() const {
    std::vector<std::string> tags;
    for (const HistoryRecord& r : ReadHistory(HistoryPath())) tags.push_back(HistoryEventTag(r.event));
    return tags;
  }
  int Count(const std::string& tag) const {
    const auto events = Events();
    return int(std::count(events.begin(), events.end(), tag));
  }
  std::vector<std::string> NoticeRows() const {
    std::vector<std::string> rows;
    if (MissedNoticeWindow* notice = ui::FormIfLoaded<MissedNoticeWindow>())
      for (int i = 0; i < notice->missedList.ListCount(); ++i) rows.push_back(notice->missedList.List(i));
    return rows;
  }
  std::string StatePath() const { return (dir / "WakebellState.ini").string(); }
};

// How the gap reaches the monitor.
enum class Gap { Tick, Resume, ClockForward };

struct GapCase {
  const char* name;
  Gap gap;
  int jumpToMinute, jumpToSecond;  // 06:mm:ss, from 06:00:50; the bell is 06:01
  bool rings;                      // at most two minutes late: rings; else the notice lists it
};

class MonitorWatchGap : public MonitorWatch, public ::testing::WithParamInterface<GapCase> {};

TEST_P(MonitorWatchGap, YoungBellRingsOldBellIsReportedNeitherTwice) {
  const GapCase& c = GetParam();
  SaveTable({Daily(6, 1)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
  Start();
  Seconds(20);  // 06:00:50, watching
  auto deliver = [&] {
    switch (c.gap) {
      case Gap::Tick: break;  // the next tick sees it
      case Gap::Resume: power.Raise(PowerEvent::Resume); break;
      case Gap::ClockForward: power.Raise(PowerEvent::TimeChange); break;
    }
  };
  clock.Set(MakeDate(2026, 12, 7, 6, c.jumpToMinute, c.jumpToSecond));
  deliver();
  Seconds(1);
  EXPECT_EQ(AlarmShown(), c.rings);
  EXPECT_EQ(Count("rang"), c.rings ? 1 : 0);
  EXPECT_EQ(Count("missed"), c.rings ? 0 : 1);
  EXPECT_EQ(NoticeRows(), c.rings ? std::vector<std::string>{} : std::vector<std::string>{"2026/12/07 06:01  テスト"});
  if (c.rings) {
    EXPECT_EQ(ui::TheForm<AlarmWindow>().timeView.Text(), "06:01");  // the bell's own minute
  }

  // The same gap told again (both resume notices, the tick after them): nothing new.
  SingleClickTimesOut();
  power.Raise(PowerEvent::Resume);
  power.Raise(PowerEvent::Resume);
  power.Raise(PowerEvent::TimeChange);
  Seconds(3);
  EXPECT_FALSE(AlarmShown());
  EXPECT_EQ(Count("rang") + Count("missed"), 1);
  if (!c.rings) {
    EXPECT_EQ(NoticeRows().size(), 1u);
  }
  // The wake timer was set anew for tomorrow's bell.
  ASSERT_TRUE(power.WakeAt.has_value());
  EXPECT_EQ(FormatMoment(*power.WakeAt), "2026/12/08 06:00:00");
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, MonitorWatchGap,
    ::testing::Values(GapCase{"TickTwoMinutesLate", Gap::Tick, 2, 59, true},
                      GapCase{"TickFourMinutesLate", Gap::Tick, 5, 0, false},
                      GapCase{"ResumeJustInTime", Gap::Resume, 2, 59, true},
                      GapCase{"ResumeTooLate", Gap::Resume, 3, 2, false},
                      GapCase{"ClockForwardYoung", Gap::ClockForward, 2, 0, true},
                      GapCase{"ClockForwardOld", Gap::ClockForward, 30, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorWatch, NothingIsMadeUpForAPause) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  form.pauseItem->Choose();
  EXPECT_FALSE(power.WakeAt.has_value());  // no bell rings while paused: the PC may sleep
  clock.Set(MakeDate(2026, 12, 7, 6, 10, 0));
  power.Raise(PowerEvent::Resume);
  Seconds(1);
  form.pauseItem->Choose();
  Seconds(2);
  EXPECT_FALSE(AlarmShown());
  EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr);
  ASSERT_TRUE(power.WakeAt.has_value());
  EXPECT_EQ(FormatMoment(*power.WakeAt), "2026/12/08 06:00:00");
}

TEST_F(MonitorWatch, StartUpReportsWhatFellDueWhileTheProgramWasNotRunning) {
  AlarmEntry once = Entry(kRepeatOnce, MakeDate(2026, 12, 7, 4, 30));
  once.Message = "会議";
  SaveTable({Daily(5, 0), once, Daily(7, 0)});
  StateFile state;
  state.catchUp.watchedUntil = SecondNumber(MakeDate(2026, 12, 7, 3, 0, 0));  // the program ended at 03:00
  ASSERT_TRUE(WriteStateFile(StatePath(), state));
  Start();  // 06:00
  EXPECT_EQ(NoticeRows(), (std::vector<std::string>{"2026/12/07 05:00  テスト", "2026/12/07 04:30  会議"}));
  EXPECT_EQ(Events(), (std::vector<std::string>{"started", "missed", "missed"}));
  // Ended and started again: nothing is reported twice.
  ui::TheForm<MonitorWindow>().exitItem->Choose();
  ForgetWindows();
  Start();
  EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr);
  EXPECT_EQ(Count("missed"), 2);
}

TEST_F(MonitorWatch, NoStateFileMeansNothingMissed) {
  SaveTable({Daily(5, 0)});
  Start();
  EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr);
  const StateFile written = ReadStateFile(StatePath());
  // The start's minute is the due check's to answer for: a start that ends before showing its
  // bells leaves them to the next start.
  EXPECT_EQ(FormatMoment(DateOfLocal(written.catchUp.watchedUntil)), "2026/12/07 05:59:59");
}

// The file's watched-until moment trails the clock by the two minutes a bell may wait to be
// shown (a process ended before it showed them leaves them to the next start), never reaching
// back before the start's minute.
TEST_F(MonitorWatch, StateFileFollowsOnceAMinuteAndAtTheEnd) {
  SaveTable({Daily(7, 0)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 10));
  MonitorWindow& form = Start();
  Seconds(40);
  EXPECT_EQ(FormatMoment(DateOfLocal(ReadStateFile(StatePath()).catchUp.watchedUntil)), "2026/12/07 05:59:59");
  Seconds(15);  // 06:01:05
  EXPECT_EQ(FormatMoment(DateOfLocal(ReadStateFile(StatePath()).catchUp.watchedUntil)), "2026/12/07 05:59:59");
  Seconds(180);  // 06:04:05
  EXPECT_EQ(FormatMoment(DateOfLocal(ReadStateFile(StatePath()).catchUp.watchedUntil)), "2026/12/07 06:02:00");
  Seconds(10);
  power.Raise(PowerEvent::Suspend);
  EXPECT_EQ(FormatMoment(DateOfLocal(ReadStateFile(StatePath()).catchUp.watchedUntil)), "2026/12/07 06:02:15");
  Seconds(5);
  form.exitItem->Choose();
  EXPECT_EQ(FormatMoment(DateOfLocal(ReadStateFile(StatePath()).catchUp.watchedUntil)), "2026/12/07 06:02:20");
  EXPECT_FALSE(power.WakeAt.has_value());
  EXPECT_EQ(Events(), (std::vector<std::string>{"started", "ended"}));
}

TEST_F(MonitorWatch, BellsOfACrowdedMinuteThatNoTickShowedGoIntoTheNotice) {
  std::vector<AlarmEntry> entries;
  for (int i = 0; i < 62; ++i) {
    entries.push_back(Daily(6, 1));
    entries.back().Message = "項目" + std::to_string(i);
  }
  SaveTable(entries);
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 59));
  Start();
  Seconds(60);  // every tick of 06:01 showed one bell
  EXPECT_EQ(Count("rang"), 60);
  EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr);
  Seconds(1);  // 06:02:00
  EXPECT_EQ(NoticeRows(), (std::vector<std::string>{"2026/12/07 06:01  項目60", "2026/12/07 06:01  項目61"}));
  EXPECT_EQ(Count("missed"), 2);
}

TEST_F(MonitorWatch, AMinuteWithoutATickRingsItsBellLate) {
  SaveTable({Daily(6, 1)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 50));
  Start();
  clock.Set(MakeDate(2026, 12, 7, 6, 2, 10));  // 80 s: less than a gap, but 06:01 had no tick
  Seconds(1);
  EXPECT_TRUE(AlarmShown());
  EXPECT_EQ(Count("rang"), 1);
}

struct WakeCase {
  const char* name;
  const char* wakeSetting;  // nullptr: not in the settings file
  WakeArm answer;
  const char* wakeAt;  // nullptr: no timer set
  int notPossibleLines;
};

class MonitorWatchWake : public MonitorWatch, public ::testing::WithParamInterface<WakeCase> {};

TEST_P(MonitorWatchWake, TheTimerIsSetAMinuteBeforeTheNextBell) {
  const WakeCase& c = GetParam();
  if (c.wakeSetting) SetSetting(ProgramIni(), "WAKEFLG", c.wakeSetting);
  power.Answer = c.answer;
  AlarmEntry pre = Daily(9, 0);
  pre.BellMode = BellMode::PreAndMain;
  pre.PreBellMinutes = 30;
  SaveTable({Daily(7, 0), pre});
  Start();
  EXPECT_EQ(power.WakeAt ? FormatMoment(*power.WakeAt) : "none", c.wakeAt ? c.wakeAt : "none");
  // Ringing re-arms for the next bell; what the system cannot do is said once.
  clock.Set(MakeDate(2026, 12, 7, 6, 59, 59));
  Seconds(2);
  ASSERT_TRUE(AlarmShown());
  if (c.wakeAt) {
    ASSERT_TRUE(power.WakeAt.has_value());
    EXPECT_EQ(FormatMoment(*power.WakeAt), "2026/12/07 08:29:00");
  }
  EXPECT_EQ(Count("wake-not-possible"), c.notPossibleLines);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MonitorWatchWake,
    ::testing::Values(WakeCase{"OnByDefault", nullptr, WakeArm::Armed, "2026/12/07 06:59:00", 0},
                      WakeCase{"OnWhenSet", "1", WakeArm::Armed, "2026/12/07 06:59:00", 0},
                      WakeCase{"OffByTheKey", "0", WakeArm::Armed, nullptr, 0},
                      WakeCase{"SystemCannotWake", nullptr, WakeArm::NotSupported, "2026/12/07 06:59:00", 1},
                      WakeCase{"CallFails", nullptr, WakeArm::Failed, nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorWatch, NoBellLeftCancelsTheTimer) {
  SaveTable({Entry(kRepeatOnce, MakeDate(2026, 12, 7, 6, 1))});
  Start();
  ASSERT_TRUE(power.WakeAt.has_value());
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  EXPECT_FALSE(power.WakeAt.has_value());
  EXPECT_GE(power.CancelCalls, 1);
}

TEST_F(MonitorWatch, AClockSetBackPutsFutureMarksRight) {
  SaveTable({Daily(6, 1)});
  Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  SingleClickTimesOut();
  clock.Set(MakeDate(2026, 12, 7, 5, 0, 0));
  power.Raise(PowerEvent::TimeChange);
  EXPECT_EQ(App().table[0].MainBellFiredAt, 0);
  EXPECT_EQ(ui::FormIfLoaded<MissedNoticeWindow>(), nullptr);
}

// A small correction of the clock (a time server's) re-enters the minute the bell rang in: it
// rang, and rings not again; a clock that was an hour ahead and is put right rings the bell at
// its real minute.
TEST_F(MonitorWatch, AClockSetBackRingsAgainOnlyAfterAClockFarAhead) {
  const struct {
    const char* name;
    OleDate setBackTo;  // from 06:01:06, just after the bell
    int secondsToWatch;
    bool ringsAgain;
  } cases[] = {
      {"by 20 seconds", MakeDate(2026, 12, 7, 6, 0, 46), 60, false},
      {"by 100 seconds", MakeDate(2026, 12, 7, 5, 59, 26), 120, false},
      {"by an hour", MakeDate(2026, 12, 7, 5, 1, 6), 3600, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    SaveTable({Daily(6, 1)});
    clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
    Start();
    Seconds(36);  // 06:01:06
    ASSERT_TRUE(AlarmShown());
    SingleClickTimesOut();
    clock.Set(c.setBackTo);
    Seconds(c.secondsToWatch);
    EXPECT_EQ(AlarmShown(), c.ringsAgain);
    EXPECT_EQ(Count("rang"), c.ringsAgain ? 2 : 1);
    ForgetWindows();
  }
}

struct UnreadableCase {
  const char* name;
  std::function<void()> setUp;
  bool said;
};

TEST_F(MonitorWatch, AnUnreadableDataFileIsSaidOnceAndRecorded) {
  const std::string damaged = "Wakebell 0.9.6\x01\x02";
  const UnreadableCase cases[] = {
      {"FirstStart", [] {}, false},
      {"Damaged", [&] { WriteFileAtomically(DefaultDataPath(), damaged); }, true},
      {"AFolderInItsPlace", [&] { std::filesystem::create_directories(DefaultDataPath()); }, true},
      {"MissingWhereDataPathPoints", [&] { MoveDataFolder(); }, true},
  };
  for (const UnreadableCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    dialogs.Asked.clear();
    c.setUp();
    Start();
    ASSERT_EQ(dialogs.Asked.size(), c.said ? 1u : 0u);
    if (c.said) {
      EXPECT_NE(dialogs.Asked[0].text.find(App().dataPath), std::string::npos);
      EXPECT_NE(dialogs.Asked[0].text.find("アラームは鳴りません"), std::string::npos);
    }
    EXPECT_EQ(Count("unreadable"), c.said ? 1 : 0);
    ForgetWindows();
  }
}

TEST_F(MonitorWatch, HistoryItemComesBeforeAboutAndShowsNewestFirst) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  std::vector<std::string> names;
  for (auto& item : form.trayMenu.Items()) names.push_back(item->Name());
  const auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  EXPECT_EQ(at("historyItem") + 1, at("aboutItem"));
  EXPECT_EQ(names.back(), "exitItem");
  EXPECT_EQ(form.historyItem->Caption(), "履歴");
  Seconds(61);
  SingleClickTimesOut();
  form.historyItem->Choose();
  HistoryWindow* history = ui::FormIfLoaded<HistoryWindow>();
  ASSERT_NE(history, nullptr);
  EXPECT_TRUE(history->Visible());
  ASSERT_GE(history->historyList.ListCount(), 2);
  EXPECT_NE(history->historyList.List(history->historyList.ListCount() - 1).find("開始"), std::string::npos);
  EXPECT_NE(history->historyList.List(0).find("テスト"), std::string::npos);
}

}  // namespace
}  // namespace wb::test

namespace wb::test {
namespace {

struct AwakeCase {
  const char* name;
  int16_t blinkFlag, blinkCount;
  bool keepWindow;
  bool pressOk;                      // after the wait: the user's OK
  bool awakeAfterWait;
  std::vector<std::string> events;  // after "started"
};

class MonitorWatchAwake : public MonitorWatch, public ::testing::WithParamInterface<AwakeCase> {};

TEST_P(MonitorWatchAwake, HeldAwakeExactlyWhileTheAlarmIsOn) {
  const AwakeCase& c = GetParam();
  AlarmEntry e = Daily(6, 1);
  e.BlinkFlag = c.blinkFlag;
  e.BlinkCount = c.blinkCount;
  e.KeepWindowFlag = c.keepWindow ? 1 : 0;
  SaveTable({e});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 59));
  Start();
  EXPECT_FALSE(power.Awake);  // never held without an alarm
  Seconds(1);
  ASSERT_TRUE(AlarmShown());
  EXPECT_TRUE(power.Awake);
  Seconds(10);
  EXPECT_EQ(power.Awake, c.awakeAfterWait);
  if (c.pressOk) ui::TheForm<AlarmWindow>().okButton.Press();
  Seconds(2);
  EXPECT_FALSE(power.Awake);
  EXPECT_EQ(power.AwakeChanges, 2);
  std::vector<std::string> expected = {"started"};
  expected.insert(expected.end(), c.events.begin(), c.events.end());
  EXPECT_EQ(Events(), expected);
  // A click on the icon afterwards dismisses nothing that was still on.
  SingleClickTimesOut();
  EXPECT_EQ(Events(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Alarms, MonitorWatchAwake,
    ::testing::Values(AwakeCase{"WindowUntilOk", 0, 10, false, true, true, {"rang", "dismissed"}},
                      AwakeCase{"BlinksThenEndsByItself", 1, 2, false, false, false, {"rang", "ended-by-itself"}},
                      AwakeCase{"KeptWindowUntilOk", 1, 1, true, true, true, {"rang", "dismissed"}},
                      AwakeCase{"OkDuringTheBlinks", 1, 30, false, true, true, {"rang", "dismissed"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wb::test

namespace wb::test {
namespace {

TEST_F(MonitorWatch, ABellRungBeforeTheEndStaysRungWhenTheWatchedTimeMovesBack) {
  SaveTable({Entry(kRepeatOnce, MakeDate(2026, 12, 7, 6, 1)), Daily(5, 0)});
  clock.Set(MakeDate(2026, 12, 7, 6, 0, 30));
  MonitorWindow& form = Start();
  Seconds(31);
  ASSERT_TRUE(AlarmShown());
  SingleClickTimesOut();
  form.exitItem->Choose();
  ForgetWindows();
  StateFile state = ReadStateFile(StatePath());
  state.catchUp.watchedUntil = SecondNumber(MakeDate(2026, 12, 7, 3, 2, 0));
  ASSERT_TRUE(WriteStateFile(StatePath(), state));
  Seconds(29);  // 06:01:30: the bell is 90 s old, young enough to ring if it had not
  Start();
  Seconds(2);
  EXPECT_FALSE(AlarmShown());
  EXPECT_EQ(Count("rang"), 1);
  EXPECT_EQ(NoticeRows(), std::vector<std::string>{"2026/12/07 05:00  テスト"});
}

}  // namespace
}  // namespace wb::test
