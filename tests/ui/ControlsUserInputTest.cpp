// What the native front end calls when the user acts on a list or an up-down: the objects must
// end in the same state and raise the same events as when program code makes the change.
#include <gtest/gtest.h>

#include "UiHarness.h"
#include "platform/Controls.h"

namespace wb::test {
namespace {

class InputSample : public ui::Form {
 public:
  InputSample() : ui::Form("InputSample", "InputSample", 3000, 2000) {
    for (const char* row : {"a", "b", "c"}) {
      alarmList.AddItem(row);
      unitList.AddItem(row);
    }
  }
  ui::ListBox alarmList{*this, "alarmList", {.multiSelect = true}};
  ui::ListBox unitList{*this, "unitList", {.multiSelect = false}};
  ui::UpDown hourSpin{*this, "hourSpin", {.min = 0, .max = 23}};
};

using ControlsUserInput = UiTest;

TEST_F(ControlsUserInput, ShiftClickSelectsRowsWithOneClick) {
  InputSample f;
  int clicks = 0;
  f.alarmList.onClick = [&] { ++clicks; };
  f.alarmList.UserSelect({true, false, true}, 2);
  EXPECT_TRUE(f.alarmList.Selected(0));
  EXPECT_FALSE(f.alarmList.Selected(1));
  EXPECT_TRUE(f.alarmList.Selected(2));
  EXPECT_EQ(f.alarmList.ListIndex(), 2);
  EXPECT_EQ(clicks, 1);
  f.alarmList.UserSelect({false, false, false}, 2);  // ctrl-click took the last row out again
  EXPECT_FALSE(f.alarmList.Selected(2));
  EXPECT_EQ(f.alarmList.ListIndex(), 2);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsUserInput, SingleSelectionListKeepsOnlyTheFocusedRow) {
  InputSample f;
  f.unitList.UserSelect({true, true, false}, 1);
  EXPECT_FALSE(f.unitList.Selected(0));
  EXPECT_TRUE(f.unitList.Selected(1));
  EXPECT_EQ(f.unitList.ListIndex(), 1);
}

TEST_F(ControlsUserInput, UpDownArrowsStopAtTheEndsUnlessWrapping) {
  InputSample f;
  int changes = 0;
  f.hourSpin.onChange = [&] { ++changes; };
  f.hourSpin.SetValue(23);
  changes = 0;
  f.hourSpin.Step(1);
  EXPECT_EQ(f.hourSpin.Value(), 23);
  EXPECT_EQ(changes, 0);
  f.hourSpin.SetWrap(true);
  f.hourSpin.Step(1);
  EXPECT_EQ(f.hourSpin.Value(), 0);
  f.hourSpin.Step(-1);
  EXPECT_EQ(f.hourSpin.Value(), 23);
  f.hourSpin.Step(-25);  // a step larger than the range wraps as often as it must
  EXPECT_EQ(f.hourSpin.Value(), 22);
  EXPECT_EQ(changes, 3);
}

TEST_F(ControlsUserInput, DisabledUpDownIgnoresArrows) {
  InputSample f;
  f.hourSpin.SetValue(5);
  f.hourSpin.SetEnabled(false);
  f.hourSpin.Step(1);
  EXPECT_EQ(f.hourSpin.Value(), 5);
}

}  // namespace
}  // namespace wb::test
