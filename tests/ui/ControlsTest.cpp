#include <gtest/gtest.h>

#include "UiHarness.h"
#include "platform/Controls.h"

namespace wb::test {
namespace {

class Sample : public ui::Form {
 public:
  Sample() : ui::Form("Sample", "Sample", 3000, 2000) {}
  ui::CheckBox Check1{*this, "Check1", {}, "a"};
  ui::OptionButton Option1{*this, "Option1", {}, "x", 1};
  ui::OptionButton Option2{*this, "Option2", {}, "y", 1};
  ui::TextBox Text1{*this, "Text1", {}};
  ui::ListBox List1{*this, "List1", {}};
  ui::Button Command1{*this, "Command1", {}, "OK"};
  ui::Button Command2{*this, "Command2", {}, ""};
};

using ControlsTest = UiTest;

TEST_F(ControlsTest, SettingAValueReactsOnlyWhenItChanges) {
  Sample f;
  int clicks = 0, changes = 0;
  f.Check1.Click = [&] { ++clicks; };
  f.Text1.Change = [&] { ++changes; };
  f.Check1.SetValue(1);
  f.Check1.SetValue(1);
  f.Check1.SetValue(0);
  f.Text1.SetText("abc");
  f.Text1.SetText("abc");
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, OptionsOfAGroupExcludeEachOther) {
  Sample f;
  int clicks2 = 0;
  f.Option2.Click = [&] { ++clicks2; };
  f.Option1.SetValue(true);
  f.Option2.SetValue(true);
  EXPECT_FALSE(f.Option1.Value());
  EXPECT_TRUE(f.Option2.Value());
  EXPECT_EQ(clicks2, 1);
}

TEST_F(ControlsTest, TypingHonoursKeyPressAndTheCaret) {
  Sample f;
  f.Text1.KeyPress = [](int& k) { if (k < '0' || k > '9') k = 0; };
  f.Text1.Type("1a2");
  EXPECT_EQ(f.Text1.Text(), "12");
  EXPECT_EQ(f.Text1.SelStart(), 2);
}

TEST_F(ControlsTest, EnterPressesTheFocusedButtonOrTheDefault) {
  Sample f;
  int ok = 0, inert = 0;
  f.Command1.Click = [&] { ++ok; };
  f.Command2.Click = [&] { ++inert; };
  f.Command2.SetDefault(true);
  f.PressEnter();
  f.Command1.SetFocus();
  f.PressEnter();
  EXPECT_EQ(inert, 1);
  EXPECT_EQ(ok, 1);
}

TEST_F(ControlsTest, TimersTickOnTheTestClockUntilDisabled) {
  ui::Timer t("T", 1000);
  int ticks = 0;
  t.Tick = [&] { if (++ticks == 3) t.SetEnabled(false); };
  t.SetEnabled(true);
  clock.Advance(999);
  EXPECT_EQ(ticks, 0);
  clock.Advance(10000);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(clock.IsArmed(t));
}

TEST_F(ControlsTest, UnloadedFormsAreMadeAnewByTheNextTouch) {
  ui::FormSlot<Sample> slot;
  int loads = 0;
  slot.Get().Check1.SetValue(1);
  slot.Get().Load = [&] { ++loads; };
  slot.Get().Unload();
  EXPECT_FALSE(slot.Exists());
  EXPECT_EQ(slot.Get().Check1.Value(), 0);  // designed state again
  EXPECT_TRUE(slot.Exists());
}

}  // namespace
}  // namespace wb::test
