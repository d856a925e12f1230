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
      List1.AddItem(row);
      List2.AddItem(row);
    }
  }
  ui::ListBox List1{*this, "List1", {}, true};
  ui::ListBox List2{*this, "List2", {}, false};
  ui::UpDown UpDown1{*this, "UpDown1", {}, 0, 23};
};

using ControlsUserInput = UiTest;

TEST_F(ControlsUserInput, ShiftClickSelectsRowsWithOneClick) {
  InputSample f;
  int clicks = 0;
  f.List1.Click = [&] { ++clicks; };
  f.List1.UserSelect({true, false, true}, 2);
  EXPECT_TRUE(f.List1.Selected(0));
  EXPECT_FALSE(f.List1.Selected(1));
  EXPECT_TRUE(f.List1.Selected(2));
  EXPECT_EQ(f.List1.ListIndex(), 2);
  EXPECT_EQ(clicks, 1);
  f.List1.UserSelect({false, false, false}, 2);  // ctrl-click took the last row out again
  EXPECT_FALSE(f.List1.Selected(2));
  EXPECT_EQ(f.List1.ListIndex(), 2);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsUserInput, SingleSelectionListKeepsOnlyTheFocusedRow) {
  InputSample f;
  f.List2.UserSelect({true, true, false}, 1);
  EXPECT_FALSE(f.List2.Selected(0));
  EXPECT_TRUE(f.List2.Selected(1));
  EXPECT_EQ(f.List2.ListIndex(), 1);
}

TEST_F(ControlsUserInput, UpDownArrowsStopAtTheEndsUnlessWrapping) {
  InputSample f;
  int changes = 0;
  f.UpDown1.Change = [&] { ++changes; };
  f.UpDown1.SetValue(23);
  changes = 0;
  f.UpDown1.Step(1);
  EXPECT_EQ(f.UpDown1.Value(), 23);
  EXPECT_EQ(changes, 0);
  f.UpDown1.SetWrap(true);
  f.UpDown1.Step(1);
  EXPECT_EQ(f.UpDown1.Value(), 0);
  f.UpDown1.Step(-1);
  EXPECT_EQ(f.UpDown1.Value(), 23);
  f.UpDown1.Step(-25);  // a step larger than the range wraps as often as it must
  EXPECT_EQ(f.UpDown1.Value(), 22);
  EXPECT_EQ(changes, 3);
}

TEST_F(ControlsUserInput, DisabledUpDownIgnoresArrows) {
  InputSample f;
  f.UpDown1.SetValue(5);
  f.UpDown1.SetEnabled(false);
  f.UpDown1.Step(1);
  EXPECT_EQ(f.UpDown1.Value(), 5);
}

}  // namespace
}  // namespace wb::test
