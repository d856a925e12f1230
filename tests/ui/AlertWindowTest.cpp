// The alarm window: its design, what presenting fills in, staying on top with the focus on the
// inert button, blinking, and the one dismiss routine reached by OK, the close box and the tray.
#include "AlertFixture.h"
#include "editor/EditorWindow.h"

namespace wb::test {
namespace {


TEST_F(AlertTest, InertDefaultButtonCannotCatchAClickMeantForOk) {
  AlarmWindow& f = Window();
  EXPECT_EQ(f.DefaultButton(), &f.inertDefaultButton);
  EXPECT_EQ(f.inertDefaultButton.Position().width * f.inertDefaultButton.Position().height, 0);
  EXPECT_FALSE(f.Visible());  // touched, not shown
}

TEST_F(AlertTest, MainBellFillsMessageFontColoursBannerAndTime) {
  Present(Entry("会議の時間です\r\n資料を持って"), true, "07:30");
  AlarmWindow& f = Window();
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Caption(), "Wakebell (アラーム)");
  EXPECT_EQ(f.messageView.Text(), "会議の時間です\r\n資料を持って");
  EXPECT_EQ(f.messageView.TextColor(), 0x0000FFu);
  EXPECT_EQ(f.messageView.Alignment(), ui::Align::Center);
  EXPECT_EQ(f.messageView.SelLength(), 0);
  EXPECT_EQ(f.messageView.BackColor(), 0x00FFFFu);
  EXPECT_EQ(f.BackColor(), 0x00FFFFu);
  ui::Font font = f.messageView.GetFont();
  EXPECT_EQ(font.name, "MS Pゴシック");
  EXPECT_EQ(font.size, 14);
  EXPECT_TRUE(font.bold);
  EXPECT_FALSE(font.italic);
  EXPECT_TRUE(font.underline);
  EXPECT_FALSE(font.strikethru);

  EXPECT_EQ(f.bannerView.Text(), "■本鈴■");
  EXPECT_EQ(f.bannerView.TextColor(), 0xFFFFFFu);
  EXPECT_EQ(f.bannerView.BackColor(), 0u);
  EXPECT_EQ(f.bannerView.Alignment(), ui::Align::Center);
  EXPECT_EQ(f.timeView.Text(), "07:30");
  EXPECT_EQ(f.timeView.TextColor(), 0xFFFFFFu);
  EXPECT_EQ(f.timeView.BackColor(), 0u);
  EXPECT_EQ(f.timeView.Alignment(), ui::Align::Center);

  EXPECT_TRUE(f.okButton.Enabled());
  EXPECT_TRUE(f.inertDefaultButton.Enabled());
  EXPECT_EQ(f.ActiveControl(), &f.inertDefaultButton);
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);
  EXPECT_TRUE(TheAlarm().Progress().sounding);
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
  EXPECT_TRUE(clock.IsArmed(TheAlarm().Timers().alarmTimer));
  EXPECT_EQ(TheAlarm().Timers().alarmTimer.Interval(), 1000);
  // The list refresh must not create the editor: its load would re-read the data file and
  // let the same entry ring again within its minute.
  EXPECT_EQ(ui::FormIfLoaded<EditorWindow>(), nullptr);
}

TEST_F(AlertTest, PreBellBannerIsEmptyInTheMessageColourEvenAfterAMainBell) {
  Present(Entry(), true);
  AlarmEntry pre = Entry("あと10分");
  pre.Look.BackColor = 0xC0C0C0;
  Present(pre, false, "07:20");
  AlarmWindow& f = Window();
  EXPECT_EQ(f.bannerView.Text(), "");
  EXPECT_EQ(f.bannerView.BackColor(), 0xC0C0C0u);
  EXPECT_EQ(f.messageView.Text(), "あと10分");
  EXPECT_EQ(f.timeView.Text(), "07:20");
}

TEST_F(AlertTest, EnterAtTheMomentOfShowingPressesNothing) {
  Present(Entry());
  AlarmWindow& f = Window();
  f.PressEnter();
  f.PressEnter();
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 0);
}

TEST_F(AlertTest, ActivateAndPaintKeepTheWindowOnTopWithTheFocusOnTheInertButton) {
  Present(Entry());
  AlarmWindow& f = Window();
  f.SetTopMost(false);
  f.okButton.SetFocus();
  f.RaiseActivate();
  EXPECT_TRUE(f.TopMost());
  EXPECT_EQ(f.ActiveControl(), &f.inertDefaultButton);
  f.SetTopMost(false);
  f.okButton.SetFocus();
  f.RaisePaint();
  EXPECT_TRUE(f.TopMost());
  EXPECT_EQ(f.ActiveControl(), &f.inertDefaultButton);
}

TEST_F(AlertTest, ThreeBlinksThenKeptInFrontUntilDismissed) {
  AlarmEntry e = Entry();
  e.BlinkFlag = 1;
  e.BlinkCount = 3;
  e.KeepWindowFlag = 1;
  Present(e);
  auto seq = ShownEachSecond(8);
  EXPECT_EQ(seq, (std::vector<bool>{false, true, false, true, false, true, true, true}));
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 3);
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"AlarmWindow"});  // once, after the blinks
  EXPECT_FALSE(TheAlarm().Progress().blinkActive);

  Window().okButton.Press();
  EXPECT_FALSE(WindowShown());
  Tick(3);
  EXPECT_FALSE(WindowShown());
}

TEST_F(AlertTest, NoBlinksAndNoKeepClosesAfterOneSecond) {
  AlarmEntry e = Entry();
  e.BlinkFlag = 1;
  e.BlinkCount = 0;
  e.KeepWindowFlag = 0;
  Present(e);
  EXPECT_TRUE(WindowShown());
  auto seq = ShownEachSecond(4);
  EXPECT_EQ(seq, (std::vector<bool>{false, false, false, false}));
  EXPECT_TRUE(foreground.Brought.empty());
}

TEST_F(AlertTest, WithoutBlinkTheWindowStaysUntilDismissed) {
  AlarmEntry e = Entry();
  e.BlinkCount = 5;
  e.KeepWindowFlag = 0;
  Present(e);
  Tick(20);
  EXPECT_TRUE(WindowShown());
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 0);
  EXPECT_TRUE(foreground.Brought.empty());
}

TEST_F(AlertTest, OkDismissesAndEndsTheBlinking) {
  AlarmEntry e = Entry();
  e.BlinkFlag = 1;
  e.BlinkCount = 10;
  e.KeepWindowFlag = 1;
  Present(e);
  Tick(3);  // hidden, shown, hidden
  Tick();
  ASSERT_TRUE(WindowShown());
  Window().okButton.Press();
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(TheAlarm().Progress().dismissed);
  EXPECT_FALSE(TheAlarm().Progress().sounding);
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 10);
  Tick(5);  // neither blinks nor comes back to the front
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(foreground.Brought.empty());
}

TEST_F(AlertTest, CloseBoxDismissesUnloadsAndTheNextAlarmMakesANewWindow) {
  Present(Entry("一回目"));
  AlarmWindow* first = &Window();
  first->RequestClose();
  EXPECT_FALSE(first->Loaded());
  EXPECT_EQ(ui::FormIfLoaded<AlarmWindow>(), nullptr);
  EXPECT_TRUE(TheAlarm().Progress().dismissed);
  EXPECT_FALSE(TheAlarm().Progress().sounding);
  Tick(2);  // the running alarm timer must not bring the closed window back
  EXPECT_EQ(ui::FormIfLoaded<AlarmWindow>(), nullptr);

  Present(Entry("二回目"));
  ASSERT_NE(ui::FormIfLoaded<AlarmWindow>(), nullptr);
  EXPECT_TRUE(Window().Visible());
  EXPECT_EQ(Window().messageView.Text(), "二回目");
  EXPECT_EQ(Window().Caption(), "Wakebell (アラーム)");
}

TEST_F(AlertTest, TrayDismissDisarmsTheSingleClickTimer) {
  Present(Entry());
  TheAlarm().Timers().singleClickTimer.SetEnabled(true);
  Tick();
  TheAlarm().Dismiss();
  EXPECT_FALSE(TheAlarm().Timers().singleClickTimer.Enabled());
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(TheAlarm().Progress().dismissed);
}

TEST_F(AlertTest, ClickWithNothingToDismissDoesNotDismissTheNextAlarm) {
  TheAlarm().Timers().singleClickTimer.SetEnabled(true);
  TheAlarm().Dismiss();  // the click's tick, no alarm in progress
  EXPECT_FALSE(TheAlarm().Timers().singleClickTimer.Enabled());
  Present(Entry());
  Tick(1);
  EXPECT_TRUE(WindowShown());
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
}

TEST_F(AlertTest, NewAlarmReplacesTheOneInProgress) {
  AlarmEntry first = Entry("一");
  first.BlinkFlag = 1;
  first.BlinkCount = 5;
  Present(first);
  Tick(3);
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 2);
  Present(Entry("二"), true, "07:31");
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 1);
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 0);
  EXPECT_FALSE(TheAlarm().Progress().blinkActive);
  EXPECT_TRUE(WindowShown());
  EXPECT_EQ(Window().messageView.Text(), "二");
  EXPECT_EQ(Window().timeView.Text(), "07:31");
  Tick(5);
  EXPECT_TRUE(WindowShown());
}

TEST_F(AlertTest, AlarmOutlivingItsSlotStillBlinksAndDismisses) {
  AlarmEntry e = SoundEntry("C:\\Sounds\\bell.mp3", true);
  e.BlinkFlag = 1;
  e.BlinkCount = 2;
  Present(e);
  App().table.Clear();  // the editor re-read a data file without the entry
  Tick(2);
  EXPECT_EQ(TheAlarm().Progress().blinkCounter, 1);
  Window().okButton.Press();
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  Tick();
  EXPECT_EQ(TheAlarm().Progress().activeSlot, -1);
}

// Emptying a long text costs the native box seconds; a new window costs nothing. The alarm
// goes on as if the window had been reused.
TEST_F(AlertTest, AWindowHoldingALongMessageIsMadeAnewForAnotherMessage) {
  const std::string longMessage(5000, 'x');
  Present(Entry(longMessage));
  AlarmWindow* first = &Window();
  Present(Entry(longMessage));  // the same message: the same window
  EXPECT_TRUE(first->Loaded());
  Present(Entry("短い"));
  EXPECT_FALSE(first->Loaded());
  EXPECT_TRUE(WindowShown());
  EXPECT_EQ(Window().messageView.Text(), "短い");
  EXPECT_EQ(TheAlarm().Progress().activeSlot, 2);
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
}

TEST_F(AlertTest, UnloadingByCodeDoesNotRunTheDismissAgain) {
  Present(SoundEntry("C:\\Sounds\\bell.wav"));
  mci.Commands.clear();
  Window().Unload();
  EXPECT_TRUE(mci.Commands.empty());
  EXPECT_FALSE(TheAlarm().Progress().dismissed);
}

}  // namespace
}  // namespace wb::test
