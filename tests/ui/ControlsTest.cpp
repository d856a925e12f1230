#include <gtest/gtest.h>

#include <tuple>

#include "UiHarness.h"
#include "audio/DeviceDialog.h"
#include "platform/Controls.h"

namespace wb::test {
namespace {

class Sample : public ui::Form {
 public:
  Sample() : ui::Form("Sample", "Sample", 3000, 2000) {}
  ui::CheckBox blinkCheck{*this, "blinkCheck", {.caption = "a"}};
  ui::OptionButton dailyOption{*this, "dailyOption", {.caption = "x", .group = 1}};
  ui::OptionButton monthlyOption{*this, "monthlyOption", {.caption = "y", .group = 1}};
  ui::TextBox hourEdit{*this, "hourEdit", {}};
  ui::ListBox alarmList{*this, "alarmList", {.multiSelect = true}};
  ui::Button okButton{*this, "okButton", {.caption = "OK"}};
  ui::Button inertButton{*this, "inertButton", {}};
};

using ControlsTest = UiTest;

TEST_F(ControlsTest, SettingAValueReactsOnlyWhenItChanges) {
  Sample f;
  int clicks = 0, changes = 0;
  f.blinkCheck.onClick = [&] { ++clicks; };
  f.hourEdit.onChange = [&] { ++changes; };
  f.blinkCheck.SetValue(ui::CheckState::Ticked);
  f.blinkCheck.SetValue(ui::CheckState::Ticked);
  f.blinkCheck.SetValue(ui::CheckState::Unticked);
  f.hourEdit.SetText("abc");
  f.hourEdit.SetText("abc");
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, AClickTicksAGreyOrUntickedBoxAndUnticksATickedOne) {
  Sample f;
  for (auto [from, to] : {std::pair{ui::CheckState::Unticked, ui::CheckState::Ticked},
                          std::pair{ui::CheckState::Ticked, ui::CheckState::Unticked},
                          std::pair{ui::CheckState::Grey, ui::CheckState::Ticked}}) {
    f.blinkCheck.SetValue(from);
    f.blinkCheck.Toggle();
    EXPECT_EQ(f.blinkCheck.Value(), to) << int(from);
  }
}

// An entry's stored font flags are True (-1) or False; any other number reads as set, and a
// font stored back writes True/False.
TEST(FontOfAppearance, ReadsAnyNumberButZeroAsSetAndStoresTrueOrFalse) {
  Appearance look{.FontName = "ＭＳ 明朝", .FontSize = 20, .FontBold = kTrue, .FontItalic = 1, .FontUnderline = kFalse,
                  .FontStrikethru = 7};
  const ui::Font font = ui::FontOf(look);
  EXPECT_EQ(font, (ui::Font{.name = "ＭＳ 明朝", .size = 20, .bold = true, .italic = true, .underline = false,
                            .strikethru = true}));
  Appearance back;
  ui::StoreFont(font, back);
  EXPECT_EQ(std::tie(back.FontName, back.FontSize, back.FontBold, back.FontItalic, back.FontUnderline,
                     back.FontStrikethru),
            std::make_tuple(std::string("ＭＳ 明朝"), int16_t(20), kTrue, kTrue, kFalse, kTrue));
}

TEST_F(ControlsTest, OptionsOfAGroupExcludeEachOther) {
  Sample f;
  int clicks2 = 0;
  f.monthlyOption.onClick = [&] { ++clicks2; };
  f.dailyOption.SetValue(true);
  f.monthlyOption.SetValue(true);
  EXPECT_FALSE(f.dailyOption.Value());
  EXPECT_TRUE(f.monthlyOption.Value());
  EXPECT_EQ(clicks2, 1);
}

TEST_F(ControlsTest, TypingHonoursKeyPressAndTheCaret) {
  Sample f;
  f.hourEdit.onKeyPress = [](int& k) { if (k < '0' || k > '9') k = 0; };
  f.hourEdit.Type("1a2");
  EXPECT_EQ(f.hourEdit.Text(), "12");
  EXPECT_EQ(f.hourEdit.SelStart(), 2);
}

TEST_F(ControlsTest, EnterPressesTheFocusedButtonOrTheDefault) {
  Sample f;
  int ok = 0, inert = 0;
  f.okButton.onClick = [&] { ++ok; };
  f.inertButton.onClick = [&] { ++inert; };
  f.inertButton.SetDefault(true);
  f.PressEnter();
  f.okButton.SetFocus();
  f.PressEnter();
  EXPECT_EQ(inert, 1);
  EXPECT_EQ(ok, 1);
}

TEST_F(ControlsTest, TimersTickOnTheTestClockUntilDisabled) {
  ui::Timer t("T", 1000);
  int ticks = 0;
  t.onTick = [&] { if (++ticks == 3) t.SetEnabled(false); };
  t.SetEnabled(true);
  clock.Advance(999);
  EXPECT_EQ(ticks, 0);
  clock.Advance(10000);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(clock.IsArmed(t));
}

TEST_F(ControlsTest, UnloadedFormsAreMadeAnewByTheNextTouch) {
  int loads = 0;
  ui::TheForm<Sample>().blinkCheck.SetValue(ui::CheckState::Ticked);
  ui::TheForm<Sample>().onLoad = [&] { ++loads; };
  ui::TheForm<Sample>().Unload();
  EXPECT_EQ(ui::FormIfLoaded<Sample>(), nullptr);
  EXPECT_EQ(ui::TheForm<Sample>().blinkCheck.Value(), ui::CheckState::Unticked);  // designed state again
  EXPECT_NE(ui::FormIfLoaded<Sample>(), nullptr);
}

// The keyboard order is the window's list, not the order its members were declared in.
class TabSample : public ui::Form {
 public:
  TabSample() : ui::Form("TabSample", "TabSample", 3000, 2000) {
    SetTabOrder({&hourEdit, &dailyOption, &monthlyOption, &okButton, &cancelButton, &minuteEdit});
  }
  ui::Button okButton{*this, "okButton", {.caption = "OK"}};
  ui::Label hourLabel{*this, "hourLabel", {.caption = "時"}};
  ui::TextBox minuteEdit{*this, "minuteEdit", {}};
  ui::TextBox hourEdit{*this, "hourEdit", {}};
  ui::OptionButton dailyOption{*this, "dailyOption", {.caption = "x", .group = 1}};
  ui::OptionButton monthlyOption{*this, "monthlyOption", {.caption = "y", .group = 1}};
  ui::Button cancelButton{*this, "cancelButton", {.caption = "キャンセル"}};
  ui::Button helpButton{*this, "helpButton", {.caption = "?"}};  // not in the list
};

std::vector<std::string> TabWalk(TabSample& f, int presses, int direction = 1) {
  std::vector<std::string> names;
  for (int i = 0; i < presses; ++i) {
    f.PressTab(direction);
    names.push_back(f.ActiveControl() ? f.ActiveControl()->Name() : "none");
  }
  return names;
}

// The harness drops the windows of a test with this one reset; a window it did not know of
// (the device dialog once) would carry its state into the next test.
TEST_F(ControlsTest, OneResetForgetsEveryWindowOfEveryKind) {
  ui::TheForm<Sample>().blinkCheck.SetValue(ui::CheckState::Ticked);
  ui::TheForm<TabSample>();
  ui::TheForm<DeviceDialog>();
  ForgetWindows();
  EXPECT_EQ(ui::FormIfLoaded<Sample>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<TabSample>(), nullptr);
  EXPECT_EQ(ui::FormIfLoaded<DeviceDialog>(), nullptr);
  EXPECT_EQ(ui::TheForm<Sample>().blinkCheck.Value(), ui::CheckState::Unticked);  // made anew
}

TEST_F(ControlsTest, TabFollowsTheTabOrderAndWraps) {
  TabSample f;
  f.monthlyOption.SetValue(true);
  EXPECT_EQ(TabWalk(f, 6), (std::vector<std::string>{"hourEdit", "monthlyOption", "okButton", "cancelButton",
                                                      "minuteEdit", "hourEdit"}));
  EXPECT_EQ(TabWalk(f, 2, -1), (std::vector<std::string>{"minuteEdit", "cancelButton"}));
}

TEST_F(ControlsTest, TabSkipsHiddenAndDisabledControlsAndThoseLeftOut) {
  TabSample f;
  f.okButton.SetEnabled(false);
  f.cancelButton.SetVisible(false);
  f.helpButton.SetFocus();  // a click may still focus a control that is no stop
  EXPECT_EQ(TabWalk(f, 4), (std::vector<std::string>{"hourEdit", "dailyOption", "minuteEdit", "hourEdit"}));
}

TEST_F(ControlsTest, AnOptionGroupIsOneStopAtTheTickedOrFirstOption) {
  TabSample f;
  f.hourEdit.SetFocus();
  EXPECT_EQ(TabWalk(f, 1), std::vector<std::string>{"dailyOption"});  // none ticked: the first
  f.monthlyOption.SetValue(true);
  f.hourEdit.SetFocus();
  EXPECT_EQ(TabWalk(f, 2), (std::vector<std::string>{"monthlyOption", "okButton"}));
  EXPECT_EQ(TabWalk(f, 1, -1), std::vector<std::string>{"monthlyOption"});
}

TEST_F(ControlsTest, NoTabOrderMeansNoTabStops) {
  Sample f;
  f.PressTab(1);
  EXPECT_EQ(f.ActiveControl(), nullptr);
}

TEST_F(ControlsTest, OptionsStructsGiveTheDesignedState) {
  Sample f;
  ui::TextBox limited{f, "limited", {.rect = {1, 2, 3, 4}, .multiLine = true, .maxLength = 2}};
  EXPECT_EQ(limited.Position().left, 1);
  EXPECT_EQ(limited.Position().height, 4);
  EXPECT_TRUE(limited.MultiLine());
  EXPECT_EQ(limited.MaxLength(), 2);
  limited.Type("123");
  EXPECT_EQ(limited.Text(), "12");
  ui::UpDown spin{f, "spin", {.min = 1, .max = 12, .wrap = true}};
  EXPECT_EQ(spin.Value(), 1);
  spin.Step(-1);
  EXPECT_EQ(spin.Value(), 12);
  ui::HScrollBar slider{f, "slider", {.min = -5, .max = 5, .smallChange = 2, .largeChange = 4}};
  EXPECT_EQ(slider.Value(), -5);
  EXPECT_EQ(slider.SmallChange(), 2);
  EXPECT_EQ(slider.LargeChange(), 4);
  ui::ListBox single{f, "single", {}};
  EXPECT_FALSE(single.MultiSelect());
  ui::RichText view{f, "view", {.locked = true}};
  EXPECT_TRUE(view.Locked());
  ui::Button openButton{f, "openButton", {.picture = "OPEN"}};
  EXPECT_EQ(openButton.Picture(), "OPEN");
  EXPECT_EQ(openButton.Caption(), "");
  ui::OptionButton option{f, "option", {.caption = "z", .group = 3}};
  EXPECT_EQ(option.Group(), 3);
  EXPECT_EQ(option.Caption(), "z");
  EXPECT_EQ(f.Find("limited"), &limited);
}

}  // namespace
}  // namespace wb::test
