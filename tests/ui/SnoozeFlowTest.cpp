// The snooze through the windows on the fake clock: the alarm window's controls, the press that
// ends the alarm and rings it again, what cancels or holds it (the tray menu, the editor's
// delete, pause), the state file, the wake timer, the tray tip and the history.
#include "MonitorFixture.h"
#include "app_state/HistoryLog.h"
#include "storage/History.h"
#include "storage/StateFile.h"

namespace wb::test {
namespace {

class SnoozeFlow : public MonitorTest {
 public:
  // For the cases' steps.
  using MonitorTest::AlarmShown;
  using MonitorTest::Seconds;

 protected:
  // 07:00 rings; the test starts at 06:59:58 and ticks into the bell.
  AlarmWindow& Ring() {
    AlarmEntry e = Daily(7, 0);
    e.Message = "起きる";
    SaveTable({e, Daily(12, 0)});
    clock.Set(MakeDate(2026, 12, 7, 6, 59, 58));
    Start();
    Seconds(3);
    EXPECT_TRUE(AlarmShown());
    return ui::TheForm<AlarmWindow>();
  }
  void SnoozeFor(const char* label) {
    AlarmWindow& w = ui::TheForm<AlarmWindow>();
    for (int i = 0; i < w.snoozeDelayCombo.ListCount(); ++i)
      if (w.snoozeDelayCombo.List(i) == label) w.snoozeDelayCombo.SetListIndex(i);
    w.snoozeButton.Press();
  }
  std::vector<std::string> Events() const {
    std::vector<std::string> tags;
    for (const HistoryRecord& r : ReadHistory(HistoryPath()))
      if (r.event >= HistoryEvent::Snoozed) tags.push_back(HistoryEventTag(r.event));
    return tags;
  }
  StateFile State() const { return ReadStateFile((dir / "WakebellState.ini").string()); }
};

TEST_F(SnoozeFlow, TheWindowOffersTheDelaysBesideOkWithoutMovingIt) {
  AlarmWindow& w = Ring();
  std::vector<std::string> items;
  for (int i = 0; i < w.snoozeDelayCombo.ListCount(); ++i) items.push_back(w.snoozeDelayCombo.List(i));
  EXPECT_EQ(items, (std::vector<std::string>{"1分", "3分", "5分", "10分", "15分", "30分", "60分"}));
  EXPECT_EQ(w.snoozeDelayCombo.SelectedText(), "5分");
  EXPECT_EQ(ui::WithoutAccessKey(w.snoozeButton.Caption()), "スヌーズ");
  EXPECT_TRUE(w.snoozeButton.Visible());
  // OK where it always was; the new controls inside the window, clear of every other control.
  EXPECT_EQ(w.okButton.Position().left, 70 * ui::kTwipsPerPixel);
  EXPECT_EQ(w.okButton.Position().top, 120 * ui::kTwipsPerPixel);
  const ui::Control* others[] = {&w.messageView, &w.bannerView, &w.timeView, &w.okButton};
  for (const ui::Control* mine : {static_cast<const ui::Control*>(&w.snoozeDelayCombo),
                                  static_cast<const ui::Control*>(&w.snoozeButton)}) {
    const ui::Rect& r = mine->Position();
    EXPECT_LE(r.left + r.width, 213 * ui::kTwipsPerPixel) << mine->Name();
    EXPECT_LE(r.top + r.height, 142 * ui::kTwipsPerPixel) << mine->Name();
    for (const ui::Control* o : others) {
      const ui::Rect& q = o->Position();
      const bool apart = r.left + r.width <= q.left || q.left + q.width <= r.left || r.top + r.height <= q.top ||
                         q.top + q.height <= r.top;
      EXPECT_TRUE(apart) << mine->Name() << " overlaps " << o->Name();
    }
  }
  for (const ui::Control* c : {static_cast<const ui::Control*>(&w.snoozeDelayCombo),
                               static_cast<const ui::Control*>(&w.snoozeButton),
                               static_cast<const ui::Control*>(&w.inertDefaultButton),
                               static_cast<const ui::Control*>(&w.messageView)})
    EXPECT_FALSE(c->AccessibleName().empty()) << c->Name();
  // A key pressed as the window appears lands on the inert default button.
  w.PressEnter();
  EXPECT_TRUE(AlarmShown());
  EXPECT_TRUE(TheAlarm().Snoozes().empty());
}

TEST_F(SnoozeFlow, ASnoozeRingingAgainSaysSoAndCountsWithoutTouchingTheMessage) {
  AlarmWindow& first = Ring();
  EXPECT_EQ(first.Caption(), "Wakebell (アラーム)");
  const char* captions[] = {"スヌーズ1回 - Wakebell (アラーム)", "スヌーズ2回 - Wakebell (アラーム)"};
  for (const char* caption : captions) {
    SnoozeFor("1分");
    Seconds(62);
    ASSERT_TRUE(AlarmShown()) << caption;
    AlarmWindow& again = ui::TheForm<AlarmWindow>();
    EXPECT_EQ(again.Caption(), caption);
    EXPECT_EQ(again.messageView.Text(), "起きる");
  }
  // OK ends the run of snoozes: the entry's next own bell is an alarm like any other.
  ui::TheForm<AlarmWindow>().okButton.Press();
  clock.Set(MakeDate(2026, 12, 7, 11, 59, 58));
  Seconds(3);
  ASSERT_TRUE(AlarmShown());
  EXPECT_EQ(ui::TheForm<AlarmWindow>().Caption(), "Wakebell (アラーム)");
}

TEST_F(SnoozeFlow, TheSettingKeyHidesTheControls) {
  SetSetting(ProgramIni(), "SNOOZEHIDE", "1");
  AlarmWindow& w = Ring();
  EXPECT_FALSE(w.snoozeButton.Visible());
  EXPECT_FALSE(w.snoozeDelayCombo.Visible());
}

struct AfterSnooze {
  const char* name;
  std::function<void(SnoozeFlow&, MonitorWindow&)> act;  // between the press and the snooze's time
  bool rings;                                            // a minute and a few seconds later
  std::vector<std::string> events;
};

class SnoozeFlowCase : public SnoozeFlow, public ::testing::WithParamInterface<AfterSnooze> {};

TEST_P(SnoozeFlowCase, PressingSnoozeEndsTheAlarmAndRingsItAgainUnlessCancelled) {
  const AfterSnooze& c = GetParam();
  Ring();
  Seconds(10);  // 07:00:11
  SnoozeFor("1分");
  EXPECT_FALSE(AlarmShown());
  EXPECT_TRUE(TheAlarm().Progress().dismissed);
  EXPECT_EQ(Setting(ProgramIni(), "SNOOZEMIN"), "1");
  ASSERT_EQ(State().snoozes.size(), 1u);
  EXPECT_EQ(FormatMoment(DateOfLocal(clock.Read().LocalOf(State().snoozes[0].ringAt))), "2026/12/07 07:01:11");
  MonitorWindow& m = ui::TheForm<MonitorWindow>();
  EXPECT_TRUE(m.cancelSnoozeItem->Enabled());
  // The wake timer is for the snooze, the earliest bell now (too near for its lead: at it).
  ASSERT_TRUE(power.WakeAt.has_value());
  EXPECT_EQ(FormatMoment(*power.WakeAt), "2026/12/07 07:01:11");

  c.act(*this, m);
  Seconds(62);
  EXPECT_EQ(AlarmShown(), c.rings) << c.name;
  if (c.rings) {
    EXPECT_EQ(ui::TheForm<AlarmWindow>().messageView.Text(), "起きる");
    EXPECT_EQ(ui::TheForm<AlarmWindow>().bannerView.Text(), "■本鈴■");
  }
  EXPECT_EQ(Events(), c.events) << c.name;
  EXPECT_TRUE(State().snoozes.empty()) << c.name;
  EXPECT_FALSE(m.cancelSnoozeItem->Enabled()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnoozeFlowCase,
    ::testing::Values(
        AfterSnooze{"rings", [](SnoozeFlow&, MonitorWindow&) {}, true, {"snoozed", "snooze-rang"}},
        AfterSnooze{"the tray menu cancels", [](SnoozeFlow&, MonitorWindow& m) { m.cancelSnoozeItem->Choose(); },
                    false, {"snoozed", "snooze-cancelled"}},
        AfterSnooze{"an edit of the table by the data file cancels",
                    [](SnoozeFlow&, MonitorWindow&) { App().table[0].Message = "別の"; }, false,
                    {"snoozed", "snooze-cancelled"}},
        AfterSnooze{"a pause that takes in its time drops it, as the pause's bells",
                    [](SnoozeFlow& t, MonitorWindow& m) {
                      m.pauseItem->Choose();
                      t.Seconds(120);
                      EXPECT_FALSE(t.AlarmShown());
                      m.pauseItem->Choose();
                    },
                    false, {"snoozed", "snooze-cancelled"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(SnoozeFlow, TheTrayTipCountsTheSnooze) {
  Ring();
  SnoozeFor("3分");
  tray.CursorX += 10;  // the cursor left the icon: the next visit refreshes the tip
  Seconds(0.05);
  tray.Mouse(0x200);
  EXPECT_NE(tray.Tip.find("07:03"), std::string::npos) << tray.Tip;
}

}  // namespace
}  // namespace wb::test
