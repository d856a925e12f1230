// The tray icon: clicks, the tip that counts down to the next bell, pausing, the menu, and
// the icon coming back after Explorer restarted.
#include "MonitorFixture.h"

namespace wb::test {
namespace {

constexpr int kMouseMove = 0x200;

class TrayIcon_ : public MonitorTest {
 protected:
  AlarmEntry Once(int dayOffset, int hour, int minute) {
    return Entry(kRepeatOnce, MakeDate(2026, 12, 7 + dayOffset, hour, minute));
  }
  // The mouse comes to rest on the icon at a new spot.
  void Hover() {
    tray.CursorX += 7;
    tray.Mouse(kMouseMove);
  }
};

// ---- first start ----

// Nothing tells a new user where the program went but the icon, which may sit in the hidden part
// of the notification area: the first start says so once, from the icon.
TEST_F(TrayIcon_, OnlyTheVeryFirstStartTellsWhereTheProgramRuns) {
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start);
    tray.Calls.clear();
    Start();
    EXPECT_EQ(tray.CountOps("balloon"), start == 1 ? 1 : 0);
    if (start == 1) {
      EXPECT_EQ(tray.Calls.back().op, "balloon");  // after the icon it comes out of
      EXPECT_NE(tray.Calls.back().tip.find("ダブルクリック"), std::string::npos);
      EXPECT_NE(tray.Calls.back().tip.find("右クリック"), std::string::npos);
    }
    ui::TheForm<MonitorWindow>().exitItem->Choose();
    ForgetWindows();
  }
}

// ---- clicks ----

TEST_F(TrayIcon_, SingleClickDismissesTheAlarmHalfASecondLater) {
  SaveTable({Daily(6, 1)});
  Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  tray.LeftClick();
  Seconds(0.4);
  EXPECT_TRUE(AlarmShown());
  Seconds(0.1);
  EXPECT_FALSE(AlarmShown());
  EXPECT_TRUE(TheAlarm().Progress().dismissed);
  EXPECT_FALSE(TheAlarm().Timers().singleClickTimer.Enabled());
}

TEST_F(TrayIcon_, DoubleClickOpensTheEditorAndDismissesNothing) {
  SaveTable({Daily(6, 1)});
  Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  tray.Mouse(0x201);
  Seconds(0.2);
  tray.Mouse(0x202);
  tray.Mouse(0x203);
  tray.Mouse(0x202);
  Seconds(2);
  EXPECT_TRUE(AlarmShown());
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
  EditorWindow* editor = ui::FormIfLoaded<EditorWindow>();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->Visible());
  EXPECT_EQ(editor->Caption(), "Wakebell");
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"EditorWindow"});
  EXPECT_FALSE(TheAlarm().Timers().singleClickTimer.Enabled());
}

// Left armed, the click timer would hide the next alarm half a second after it appeared.
TEST_F(TrayIcon_, AClickWithNothingToDismissDoesNotDismissTheNextAlarm) {
  SaveTable({Daily(6, 1)});
  Start();
  tray.LeftClick();
  Seconds(0.5);
  EXPECT_FALSE(TheAlarm().Timers().singleClickTimer.Enabled());
  EXPECT_FALSE(clock.IsArmed(TheAlarm().Timers().singleClickTimer));
  Seconds(60.5);  // 06:01:00
  ASSERT_TRUE(AlarmShown());
  Seconds(5);
  EXPECT_TRUE(AlarmShown());
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
}

TEST_F(TrayIcon_, EditMenuCancelsAPendingClickAndShowsTheEditorInFront) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  Seconds(61);
  tray.LeftClick();
  form.editItem->Choose();
  Seconds(1);
  EXPECT_TRUE(AlarmShown());
  ASSERT_NE(ui::FormIfLoaded<EditorWindow>(), nullptr);
  EXPECT_TRUE(ui::FormIfLoaded<EditorWindow>()->Visible());
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"EditorWindow"});
}

TEST_F(TrayIcon_, RightClickPopsUpTheMenuWithTheMonitorInFront) {
  foreground.Journal = &journal;
  MonitorWindow& form = Start();
  frontEnd.PopupChoices = {"aboutItem"};
  tray.RightClick();
  EXPECT_EQ(frontEnd.Popups, std::vector<std::string>{"trayMenu"});
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"MonitorWindow"});
  AboutBox* about = ui::FormIfLoaded<AboutBox>();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->Visible());
  EXPECT_TRUE(frontEnd.ModalForms.empty());  // not modal
  EXPECT_FALSE(form.Visible());
}

// ---- the tip ----

TEST_F(TrayIcon_, TipCountsDownToTheNextBell) {
  SaveTable({Daily(7, 30)});
  clock.Set(MakeDate(2026, 12, 7, 6, 15, 0));
  Start();
  Hover();
  EXPECT_EQ(tray.Tip, "あと1時間15分 本日07:30");
  EXPECT_EQ(App().nextBellTime, MakeDate(2026, 12, 7, 7, 30));
}

TEST_F(TrayIcon_, TipSaysRingingAtTheBellsSecond) {
  SaveTable({Daily(7, 30)});
  clock.Set(MakeDate(2026, 12, 7, 7, 29, 0));
  Start();
  clock.Set(MakeDate(2026, 12, 7, 7, 30, 0));
  Hover();
  EXPECT_EQ(tray.Tip, "アラーム中本日07:30");
}

TEST_F(TrayIcon_, TipSaysNoneWithin24HoursForABell30HoursAway) {
  SaveTable({Once(1, 12, 15)});
  clock.Set(MakeDate(2026, 12, 7, 6, 15, 0));
  Start();
  Hover();
  EXPECT_EQ(tray.Tip, "２４時間中のアラームはありません");
}

TEST_F(TrayIcon_, TipStaysWhenNothingRingsTodayOrTomorrow) {
  SaveTable({Once(3, 9, 0)});
  Start();
  const size_t calls = tray.Calls.size();
  Hover();
  EXPECT_EQ(tray.Tip, "Wakebell");
  EXPECT_EQ(tray.Calls.size(), calls);
}

TEST_F(TrayIcon_, TipIsRefreshedOncePerVisitOfTheMouse) {
  SaveTable({Daily(7, 30)});
  clock.Set(MakeDate(2026, 12, 7, 6, 15, 0));
  MonitorWindow& form = Start();
  Hover();
  EXPECT_EQ(tray.CountOps("modify"), 1);
  EXPECT_TRUE(clock.IsArmed(form.hoverTimer));
  EXPECT_EQ(form.hoverTimer.Interval(), 50);
  // Moving over the icon without leaving it.
  Seconds(10);
  tray.Mouse(kMouseMove);
  EXPECT_EQ(tray.CountOps("modify"), 1);
  // The cursor leaves; hoverTimer notices within 50 ms.
  tray.CursorX = 500;
  Seconds(0.05);
  EXPECT_FALSE(App().monitor.hoverActive);
  EXPECT_FALSE(clock.IsArmed(form.hoverTimer));
  Seconds(49.95);  // 06:16:00
  Hover();
  EXPECT_EQ(tray.CountOps("modify"), 2);
  EXPECT_EQ(tray.Tip, "あと1時間14分 本日07:30");
}

TEST_F(TrayIcon_, TipCountsFromTheEditorsCalendarDayWhenTheEditorIsOpen) {
  AlarmEntry wednesdays = Entry(kRepeatWeekly, MakeDate(2026, 12, 1, 7, 30));
  wednesdays.WeekdayMask = kMaskWednesday;
  SaveTable({wednesdays});
  clock.Set(MakeDate(2026, 12, 7, 6, 15, 0));  // a Monday
  MonitorWindow& form = Start();
  Hover();
  EXPECT_EQ(tray.Tip, "Wakebell");  // neither today nor tomorrow
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);  // the tip never opens the editor

  form.editItem->Choose();
  ui::FormIfLoaded<EditorWindow>()->calendar.SetValue(MakeDate(2026, 12, 9));
  tray.CursorX = 900;
  Seconds(0.05);
  Hover();
  EXPECT_EQ(tray.Tip, "あと1時間15分 本日07:30");
}

TEST_F(TrayIcon_, ALongTipIsCutToWhatTheIconRecordHolds) {
  AlarmEntry e = Daily(7, 30);
  SaveTable({e});
  MonitorWindow& form = Start();
  form.ModifyTrayIcon(TrayIcon::App, std::string(40, 'a') + std::string(30, 'x') + "日本");
  EXPECT_EQ(tray.Tip, std::string(40, 'a') + std::string(23, 'x'));
  form.ModifyTrayIcon(TrayIcon::App, std::string(62, 'a') + "日本");
  EXPECT_EQ(tray.Tip, std::string(62, 'a') + "日");
}

// ---- pause ----

TEST_F(TrayIcon_, PauseShowsTheStopPictureAndResumeTheProgramIcon) {
  SaveTable({Daily(7, 30)});
  MonitorWindow& form = Start();
  form.pauseItem->Choose();
  EXPECT_TRUE(form.pauseItem->Checked());
  EXPECT_TRUE(App().monitor.paused);
  EXPECT_EQ(tray.Icon, TrayIcon::Stop);
  EXPECT_EQ(tray.Tip, "アラームは停止中です");

  Hover();  // resting on the icon while paused leaves the tip alone
  EXPECT_EQ(tray.Tip, "アラームは停止中です");
  EXPECT_FALSE(App().monitor.hoverActive);

  form.pauseItem->Choose();
  EXPECT_FALSE(form.pauseItem->Checked());
  EXPECT_FALSE(App().monitor.paused);
  EXPECT_EQ(tray.Icon, TrayIcon::App);
  EXPECT_EQ(tray.Tip, "Wakebell");
}

// The pause picture once came from the editor, whose load re-reads the data file and brought
// back the fired-at marks of an alarm that had just rung: it rang a second time.
TEST_F(TrayIcon_, PausingDoesNotCreateTheEditorNorRingTwice) {
  SaveTable({Daily(6, 1)});
  MonitorWindow& form = Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  SingleClickTimesOut();
  form.pauseItem->Choose();
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
  form.pauseItem->Choose();
  Seconds(30);
  EXPECT_FALSE(AlarmShown());
  EXPECT_NE(App().table[0].MainBellFiredAt, 0);
}

// ---- Explorer restarts ----

TEST_F(TrayIcon_, ARestartedShellGetsThePausedIconBack) {
  MonitorWindow& form = Start();
  form.pauseItem->Choose();
  tray.RestartShell();
  EXPECT_TRUE(tray.Present);
  EXPECT_EQ(tray.Icon, TrayIcon::Stop);
  EXPECT_EQ(tray.Tip, "アラームは停止中です");
}

TEST_F(TrayIcon_, ARestartedShellGetsTheLastTipBack) {
  SaveTable({Daily(7, 30)});
  clock.Set(MakeDate(2026, 12, 7, 6, 15, 0));
  Start();
  Hover();
  tray.RestartShell();
  EXPECT_EQ(tray.Icon, TrayIcon::App);
  EXPECT_EQ(tray.Tip, "あと1時間15分 本日07:30");
  // Its clicks still reach the program.
  tray.RightClick();
  EXPECT_EQ(frontEnd.Popups.size(), 1u);
}

}  // namespace
}  // namespace wb::test
