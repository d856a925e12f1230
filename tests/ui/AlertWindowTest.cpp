// The alarm window: its design, what presenting fills in, staying on top with the focus on the
// inert button, blinking, and the one dismiss routine reached by OK, the close box and the tray.
#include "AlertFixture.h"
#include "editor/Form1.h"

namespace wb::test {
namespace {


TEST_F(AlertTest, InertDefaultButtonCannotCatchAClickMeantForOk) {
  Form2& f = Window();
  EXPECT_EQ(f.DefaultButton(), &f.Command2);
  EXPECT_EQ(f.Command2.Position().width * f.Command2.Position().height, 0);
  EXPECT_FALSE(f.Visible());  // touched, not shown
}

TEST_F(AlertTest, MainBellFillsMessageFontColoursBannerAndTime) {
  Present(Entry("会議の時間です\r\n資料を持って"), true, "07:30");
  Form2& f = Window();
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.Caption(), "Wakebell (アラーム)");
  EXPECT_EQ(f.Rich1.Text(), "会議の時間です\r\n資料を持って");
  EXPECT_EQ(f.Rich1.TextColor(), 0x0000FFu);
  EXPECT_EQ(f.Rich1.Alignment(), ui::Align::Center);
  EXPECT_EQ(f.Rich1.SelLength(), 0);
  EXPECT_EQ(f.Rich1.BackColor(), 0x00FFFFu);
  EXPECT_EQ(f.BackColor(), 0x00FFFFu);
  ui::Font font = f.Rich1.GetFont();
  EXPECT_EQ(font.name, "MS Pゴシック");
  EXPECT_EQ(font.size, 14);
  EXPECT_TRUE(font.bold);
  EXPECT_FALSE(font.italic);
  EXPECT_TRUE(font.underline);
  EXPECT_FALSE(font.strikethru);

  EXPECT_EQ(f.Rich2.Text(), "■本鈴■");
  EXPECT_EQ(f.Rich2.TextColor(), 0xFFFFFFu);
  EXPECT_EQ(f.Rich2.BackColor(), 0u);
  EXPECT_EQ(f.Rich2.Alignment(), ui::Align::Center);
  EXPECT_EQ(f.Rich3.Text(), "07:30");
  EXPECT_EQ(f.Rich3.TextColor(), 0xFFFFFFu);
  EXPECT_EQ(f.Rich3.BackColor(), 0u);
  EXPECT_EQ(f.Rich3.Alignment(), ui::Align::Center);

  EXPECT_TRUE(f.Command1.Enabled());
  EXPECT_TRUE(f.Command2.Enabled());
  EXPECT_EQ(f.ActiveControl(), &f.Command2);
  EXPECT_EQ(G().Mon.ActiveIndex, 0);
  EXPECT_TRUE(G().Mon.AlarmSounding);
  EXPECT_FALSE(G().Mon.AlarmDismissed);
  EXPECT_TRUE(clock.IsArmed(TheForm3().Timer2));
  EXPECT_EQ(TheForm3().Timer2.Interval(), 1000);
  // The list refresh must not create the editor: its load would re-read the data file and
  // let the same entry ring again within its minute.
  EXPECT_EQ(Form1IfLoaded(), nullptr);
}

TEST_F(AlertTest, PreBellBannerIsEmptyInTheMessageColourEvenAfterAMainBell) {
  Present(Entry(), true);
  AlarmEntry pre = Entry("あと10分");
  pre.BackColor = 0xC0C0C0;
  Present(pre, false, "07:20");
  Form2& f = Window();
  EXPECT_EQ(f.Rich2.Text(), "");
  EXPECT_EQ(f.Rich2.BackColor(), 0xC0C0C0u);
  EXPECT_EQ(f.Rich1.Text(), "あと10分");
  EXPECT_EQ(f.Rich3.Text(), "07:20");
}

TEST_F(AlertTest, EnterAtTheMomentOfShowingPressesNothing) {
  Present(Entry());
  Form2& f = Window();
  f.PressEnter();
  f.PressEnter();
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(G().Mon.AlarmDismissed);
  EXPECT_EQ(G().Mon.ActiveIndex, 0);
}

TEST_F(AlertTest, ActivateAndPaintKeepTheWindowOnTopWithTheFocusOnTheInertButton) {
  Present(Entry());
  Form2& f = Window();
  f.SetTopMost(false);
  f.Command1.SetFocus();
  f.RaiseActivate();
  EXPECT_TRUE(f.TopMost());
  EXPECT_EQ(f.ActiveControl(), &f.Command2);
  f.SetTopMost(false);
  f.Command1.SetFocus();
  f.RaisePaint();
  EXPECT_TRUE(f.TopMost());
  EXPECT_EQ(f.ActiveControl(), &f.Command2);
}

TEST_F(AlertTest, ThreeBlinksThenKeptInFrontUntilDismissed) {
  AlarmEntry e = Entry();
  e.BlinkFlag = 1;
  e.BlinkCount = 3;
  e.KeepWindowFlag = 1;
  Present(e);
  auto seq = ShownEachSecond(8);
  EXPECT_EQ(seq, (std::vector<bool>{false, true, false, true, false, true, true, true}));
  EXPECT_EQ(G().Mon.BlinkCounter, 3);
  EXPECT_EQ(foreground.Brought, std::vector<std::string>{"Form2"});  // once, after the blinks
  EXPECT_FALSE(G().Mon.BlinkActive);

  Window().Command1.Press();
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
  EXPECT_EQ(G().Mon.BlinkCounter, 0);
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
  Window().Command1.Press();
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(G().Mon.AlarmDismissed);
  EXPECT_FALSE(G().Mon.AlarmSounding);
  EXPECT_EQ(G().Mon.BlinkCounter, 10);
  Tick(5);  // neither blinks nor comes back to the front
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(foreground.Brought.empty());
}

TEST_F(AlertTest, CloseBoxDismissesUnloadsAndTheNextAlarmMakesANewWindow) {
  Present(Entry("一回目"));
  Form2* first = &Window();
  first->RequestClose();
  EXPECT_FALSE(first->Loaded());
  EXPECT_EQ(Form2IfLoaded(), nullptr);
  EXPECT_TRUE(G().Mon.AlarmDismissed);
  EXPECT_FALSE(G().Mon.AlarmSounding);
  Tick(2);  // the running Timer2 must not bring the closed window back
  EXPECT_EQ(Form2IfLoaded(), nullptr);

  Present(Entry("二回目"));
  ASSERT_NE(Form2IfLoaded(), nullptr);
  EXPECT_TRUE(Window().Visible());
  EXPECT_EQ(Window().Rich1.Text(), "二回目");
  EXPECT_EQ(Window().Caption(), "Wakebell (アラーム)");
}

TEST_F(AlertTest, TrayDismissDisarmsTheSingleClickTimer) {
  Present(Entry());
  TheForm3().Timer3.SetEnabled(true);
  Tick();
  DismissAlarm();
  EXPECT_FALSE(TheForm3().Timer3.Enabled());
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(G().Mon.AlarmDismissed);
}

TEST_F(AlertTest, ClickWithNothingToDismissDoesNotDismissTheNextAlarm) {
  TheForm3().Timer3.SetEnabled(true);
  DismissAlarm();  // the click's tick, no alarm in progress
  EXPECT_FALSE(TheForm3().Timer3.Enabled());
  Present(Entry());
  Tick(1);
  EXPECT_TRUE(WindowShown());
  EXPECT_FALSE(G().Mon.AlarmDismissed);
}

TEST_F(AlertTest, NewAlarmReplacesTheOneInProgress) {
  AlarmEntry first = Entry("一");
  first.BlinkFlag = 1;
  first.BlinkCount = 5;
  Present(first);
  Tick(3);
  EXPECT_EQ(G().Mon.BlinkCounter, 2);
  Present(Entry("二"), true, "07:31");
  EXPECT_EQ(G().Mon.ActiveIndex, 1);
  EXPECT_EQ(G().Mon.BlinkCounter, 0);
  EXPECT_FALSE(G().Mon.BlinkActive);
  EXPECT_TRUE(WindowShown());
  EXPECT_EQ(Window().Rich1.Text(), "二");
  EXPECT_EQ(Window().Rich3.Text(), "07:31");
  Tick(5);
  EXPECT_TRUE(WindowShown());
}

TEST_F(AlertTest, AlarmOutlivingItsSlotStillBlinksAndDismisses) {
  AlarmEntry e = SoundEntry("C:\\Sounds\\bell.mp3", true);
  e.BlinkFlag = 1;
  e.BlinkCount = 2;
  Present(e);
  G().Table.Clear();  // the editor re-read a data file without the entry
  Tick(2);
  EXPECT_EQ(G().Mon.BlinkCounter, 1);
  Window().Command1.Press();
  EXPECT_EQ(mci.GetState(), fake::FakeMci::State::Closed);
  Tick();
  EXPECT_EQ(G().Mon.ActiveIndex, -1);
}

TEST_F(AlertTest, UnloadingByCodeDoesNotRunTheDismissAgain) {
  Present(SoundEntry("C:\\Sounds\\bell.wav"));
  mci.Commands.clear();
  Window().Unload();
  EXPECT_TRUE(mci.Commands.empty());
  EXPECT_FALSE(G().Mon.AlarmDismissed);
}

}  // namespace
}  // namespace wb::test
