// The alarm window's size for its message: as designed while the message fits, larger with a
// longer one up to half the work area, then a scroll bar the keyboard moves.
#include "AlertFixture.h"

namespace wb::test {
namespace {

using AlarmWindowSize = AlertTest;

// `count` characters of `unit` (each of its characters one code point, three bytes).
std::string Kanji(const std::string& unit, int count) {
  std::string out;
  while (int(out.size()) < count * 3) out += unit;
  return out.substr(0, size_t(count) * 3);
}

constexpr int kPx = ui::kTwipsPerPixel;

TEST_F(AlarmWindowSize, GrowsWithItsMessageUpToHalfTheWorkAreaThenScrolls) {
  const ui::Rect work = frontEnd.WorkArea();
  const struct {
    const char* what;
    std::string message;
    bool designedSize;  // 213 x 142 as it always was
    bool scrolls;
  } cases[] = {
      {"a short message", "会議の時間です", true, false},
      {"three short lines", "会議\r\n資料\r\n三階", true, false},
      {"217 characters", Kanji("週報を書いて部長に送る。", 217), false, false},
      {"600 characters", Kanji("会議の資料を持って三階の大会議室へ行く。", 600), false, true},
      {"the longest message", Kanji("あ", 32767), false, true},
      {"a short one after a long one, in the same window", "会議の時間です", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Present(Entry(c.message));
    AlarmWindow& w = Window();
    const ui::Rect box = w.messageView.Position();
    if (c.designedSize) {
      EXPECT_EQ(w.ClientWidth(), 213 * kPx);
      EXPECT_EQ(w.ClientHeight(), 142 * kPx);
    } else {
      // Larger, but never past half the work area either way.
      EXPECT_GT(w.ClientWidth(), 213 * kPx);
      EXPECT_GT(w.ClientHeight(), 142 * kPx);
      EXPECT_LE(w.ClientWidth(), work.width / 2);
      EXPECT_LE(w.ClientHeight(), work.height / 2);
    }
    // The box fills the window but for the band; all of the message stands in it, or it scrolls.
    EXPECT_EQ(box.width, w.ClientWidth() - 2 * kPx);
    EXPECT_EQ(box.top + box.height + 61 * kPx, w.ClientHeight());
    const int textHeight = frontEnd.TextHeight(c.message, w.messageView.GetFont(), box.width, c.scrolls);
    EXPECT_EQ(w.messageView.ScrollBarRoom(), c.scrolls);
    if (c.scrolls) {
      EXPECT_GT(textHeight, box.height);
      // The box takes all the room there is before it scrolls.
      EXPECT_GE(w.ClientWidth(), work.width / 2 - 2 * kPx);
      EXPECT_GE(w.ClientHeight(), work.height / 2 - 2 * kPx);
    } else {
      EXPECT_LE(textHeight, box.height);
    }
    // The band under the message keeps its arrangement, centred under a wider box.
    const int shift = (w.ClientWidth() - 213 * kPx) / 2;
    EXPECT_EQ(w.okButton.Position().left, 70 * kPx + shift);
    EXPECT_EQ(w.snoozeButton.Position().left, 142 * kPx + shift);
    EXPECT_EQ(w.okButton.Position().top, box.top + box.height + 39 * kPx);
    EXPECT_EQ(w.timeView.Position().top, box.top + box.height + 19 * kPx);
    EXPECT_EQ(w.messageView.Text(), c.message);
  }
}

TEST_F(AlarmWindowSize, TheKeyboardScrollsALongMessageFromTheButtonThatHasTheFocus) {
  Present(Entry("会議の時間です"));
  AlarmWindow& w = Window();
  const int before = w.messageView.ScrollCount();
  EXPECT_FALSE(w.PressScrollKey(ui::ScrollStep::PageDown));  // nothing to scroll: the key is the button's
  EXPECT_EQ(w.messageView.ScrollCount(), before);

  Present(Entry(Kanji("会議の資料を持って三階の大会議室へ行く。", 600)));
  // A message shown anew starts from its top.
  EXPECT_EQ(w.messageView.LastScroll(), ui::ScrollStep::Top);
  ASSERT_EQ(w.ActiveControl(), &w.inertDefaultButton);
  const ui::ScrollStep steps[] = {ui::ScrollStep::LineDown, ui::ScrollStep::PageDown, ui::ScrollStep::Bottom,
                                  ui::ScrollStep::PageUp, ui::ScrollStep::LineUp, ui::ScrollStep::Top};
  for (ui::ScrollStep step : steps) {
    const int count = w.messageView.ScrollCount();
    EXPECT_TRUE(w.PressScrollKey(step));
    EXPECT_EQ(w.messageView.LastScroll(), step);
    EXPECT_EQ(w.messageView.ScrollCount(), count + 1);
  }
  // Still the alarm it was: the keys neither dismissed nor snoozed it.
  EXPECT_TRUE(TheAlarm().Progress().sounding);
  EXPECT_TRUE(w.Visible());
}

TEST_F(AlarmWindowSize, ASmallWorkAreaKeepsTheDesignedSizeAndScrolls) {
  frontEnd.Work = ui::Px(0, 0, 320, 200);  // half of it is smaller than the designed window
  Present(Entry(Kanji("週報を書いて部長に送る。", 217)));
  AlarmWindow& w = Window();
  EXPECT_EQ(w.ClientWidth(), 213 * kPx);
  EXPECT_EQ(w.ClientHeight(), 142 * kPx);
  EXPECT_TRUE(w.messageView.ScrollBarRoom());
}

}  // namespace
}  // namespace wb::test
