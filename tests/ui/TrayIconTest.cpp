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
  EXPECT_TRUE(G().Mon.AlarmDismissed);
  EXPECT_FALSE(TheForm3().Timer3.Enabled());
}

TEST_F(TrayIcon_, DoubleClickOpensTheEditorAndDismissesNothing) {
  SaveTable({Daily(6, 1)});
  Form3& form = Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  tray.Mouse(0x201);
  Seconds(0.2);
  tray.Mouse(0x202);
  tray.Mouse(0x203);
  tray.Mouse(0x202);
  Seconds(2);
  EXPECT_TRUE(AlarmShown());
  EXPECT_FALSE(G().Mon.AlarmDismissed);
  Form1* editor = Form1IfLoaded();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->Visible());
  EXPECT_EQ(editor->Caption(), "Wakebell");
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"Form1"});
  EXPECT_FALSE(form.Timer3.Enabled());
}

// Left armed, the click timer would hide the next alarm half a second after it appeared.
TEST_F(TrayIcon_, AClickWithNothingToDismissDoesNotDismissTheNextAlarm) {
  SaveTable({Daily(6, 1)});
  Form3& form = Start();
  tray.LeftClick();
  Seconds(0.5);
  EXPECT_FALSE(form.Timer3.Enabled());
  EXPECT_FALSE(clock.IsArmed(form.Timer3));
  Seconds(60.5);  // 06:01:00
  ASSERT_TRUE(AlarmShown());
  Seconds(5);
  EXPECT_TRUE(AlarmShown());
  EXPECT_FALSE(G().Mon.AlarmDismissed);
}

TEST_F(TrayIcon_, EditMenuCancelsAPendingClickAndShowsTheEditorInFront) {
  SaveTable({Daily(6, 1)});
  Form3& form = Start();
  Seconds(61);
  tray.LeftClick();
  form.medit->Choose();
  Seconds(1);
  EXPECT_TRUE(AlarmShown());
  ASSERT_NE(Form1IfLoaded(), nullptr);
  EXPECT_TRUE(Form1IfLoaded()->Visible());
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"Form1"});
}

TEST_F(TrayIcon_, RightClickPopsUpTheMenuWithTheMonitorInFront) {
  foreground.Journal = &journal;
  Form3& form = Start();
  frontEnd.PopupChoices = {"mver"};
  tray.RightClick();
  EXPECT_EQ(frontEnd.Popups, std::vector<std::string>{"IconMenu"});
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"Form3"});
  frmAbout* about = FrmAboutIfLoaded();
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
  EXPECT_EQ(G().NextBellTime, MakeDate(2026, 12, 7, 7, 30));
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
  Form3& form = Start();
  Hover();
  EXPECT_EQ(tray.CountOps("modify"), 1);
  EXPECT_TRUE(clock.IsArmed(form.Timer4));
  EXPECT_EQ(form.Timer4.Interval(), 50);
  // Moving over the icon without leaving it.
  Seconds(10);
  tray.Mouse(kMouseMove);
  EXPECT_EQ(tray.CountOps("modify"), 1);
  // The cursor leaves; Timer4 notices within 50 ms.
  tray.CursorX = 500;
  Seconds(0.05);
  EXPECT_FALSE(G().Mon.HoverActive);
  EXPECT_FALSE(clock.IsArmed(form.Timer4));
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
  Form3& form = Start();
  Hover();
  EXPECT_EQ(tray.Tip, "Wakebell");  // neither today nor tomorrow
  EXPECT_EQ(Form1IfLoaded(), nullptr);  // the tip never opens the editor

  form.medit->Choose();
  Form1IfLoaded()->MonthView1.SetValue(MakeDate(2026, 12, 9));
  tray.CursorX = 900;
  Seconds(0.05);
  Hover();
  EXPECT_EQ(tray.Tip, "あと1時間15分 本日07:30");
}

TEST_F(TrayIcon_, ALongTipIsCutToWhatTheIconRecordHolds) {
  AlarmEntry e = Daily(7, 30);
  SaveTable({e});
  Form3& form = Start();
  form.ModifyTrayIcon(TrayIcon::App, std::string(40, 'a') + std::string(30, 'x') + "日本");
  EXPECT_EQ(tray.Tip, std::string(40, 'a') + std::string(23, 'x'));
  form.ModifyTrayIcon(TrayIcon::App, std::string(62, 'a') + "日本");
  EXPECT_EQ(tray.Tip, std::string(62, 'a') + "日");
}

// ---- pause ----

TEST_F(TrayIcon_, PauseShowsTheStopPictureAndResumeTheProgramIcon) {
  SaveTable({Daily(7, 30)});
  Form3& form = Start();
  form.mstop->Choose();
  EXPECT_TRUE(form.mstop->Checked());
  EXPECT_TRUE(G().Mon.Paused);
  EXPECT_EQ(tray.Icon, TrayIcon::Stop);
  EXPECT_EQ(tray.Tip, "アラームは停止中です");

  Hover();  // resting on the icon while paused leaves the tip alone
  EXPECT_EQ(tray.Tip, "アラームは停止中です");
  EXPECT_FALSE(G().Mon.HoverActive);

  form.mstop->Choose();
  EXPECT_FALSE(form.mstop->Checked());
  EXPECT_FALSE(G().Mon.Paused);
  EXPECT_EQ(tray.Icon, TrayIcon::App);
  EXPECT_EQ(tray.Tip, "Wakebell");
}

// The pause picture once came from the editor, whose load re-reads the data file and brought
// back the fired-at marks of an alarm that had just rung: it rang a second time.
TEST_F(TrayIcon_, PausingDoesNotCreateTheEditorNorRingTwice) {
  SaveTable({Daily(6, 1)});
  Form3& form = Start();
  Seconds(61);
  ASSERT_TRUE(AlarmShown());
  form.Timer3_Timer();
  form.mstop->Choose();
  EXPECT_EQ(Form1IfLoaded(), nullptr);
  form.mstop->Choose();
  Seconds(30);
  EXPECT_FALSE(AlarmShown());
  EXPECT_NE(G().Table[0].MainBellFiredAt, 0);
}

// ---- Explorer restarts ----

TEST_F(TrayIcon_, ARestartedShellGetsThePausedIconBack) {
  Form3& form = Start();
  form.mstop->Choose();
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
