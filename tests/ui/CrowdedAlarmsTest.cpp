// Alarms that come while another is up: each waits behind the newer one and is answered in its
// turn, none replaced; the caption says how many wait; the sound is the one in front's.
#include "AlertFixture.h"
#include "app_state/HistoryLog.h"
#include "storage/History.h"

namespace wb::test {
namespace {

using CrowdedAlarms = AlertTest;

struct Turn {
  const char* shown;
  const char* caption;
};

// Three alarms, with sound and without, answered in turn by OK, the tray's click and the close
// box: each comes back to the front once the one before it has gone, silent.
TEST_F(CrowdedAlarms, EachWaitsItsTurnAndIsAnsweredOnItsOwn) {
  Present(WithSound(Entry("一"), "C:\\bell.wav", false, 0x40004000, 0x60006000), true, "07:00");
  Present(Entry("二"), true, "07:00");
  Present(WithSound(Entry("三"), "C:\\bell.wav", true, 0x40004000, 0x60006000), true, "07:00");
  const int playsAtStart = mci.Plays();
  const Turn turns[] = {{"三", "ほかに2件 - Wakebell (アラーム)"},
                        {"二", "ほかに1件 - Wakebell (アラーム)"},
                        {"一", "Wakebell (アラーム)"}};
  for (size_t i = 0; i < std::size(turns); ++i) {
    ASSERT_TRUE(WindowShown()) << i;
    EXPECT_EQ(Window().messageView.Text(), turns[i].shown);
    EXPECT_EQ(Window().Caption(), turns[i].caption);
    if (i == 0) Window().okButton.Press();
    if (i == 1) TheAlarm().Dismiss();  // the tray's click answers the one in front
    if (i == 2) Window().RequestClose();
    Tick(2);  // a sound that was closing ends at the next tick
  }
  EXPECT_FALSE(WindowShown());
  EXPECT_EQ(TheAlarm().Waiting(), 0);
  EXPECT_EQ(mci.Plays(), playsAtStart);  // coming back, an alarm does not ring again
}

// Its sound over while it waited, an alarm back in front still waits for its own answer, and
// the history has one for each.
TEST_F(CrowdedAlarms, EachAnswerIsInTheHistory) {
  Present(WithSound(Entry("一"), "C:\\bell.wav", false, 0x40004000, 0x60006000), true, "07:00");
  mci.EndSound();
  Present(Entry("二"), true, "07:00");
  Tick(30);
  Window().okButton.Press();
  Tick(2);
  ASSERT_TRUE(WindowShown());
  EXPECT_EQ(Window().messageView.Text(), "一");
  Tick(30);
  EXPECT_TRUE(WindowShown());
  Window().okButton.Press();
  int dismissed = 0;
  for (const HistoryRecord& r : ReadHistory(HistoryPath())) dismissed += r.event == HistoryEvent::Dismissed;
  EXPECT_EQ(dismissed, 2);
}

}  // namespace
}  // namespace wb::test
