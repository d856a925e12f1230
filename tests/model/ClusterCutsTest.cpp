// Every cut of text the program makes ("…" in the list and the notices, the tray tip's length,
// the history's messages, tests/storage/HistoryTest.cpp) ends between two grapheme clusters: never between a letter and its
// combining mark, a half-width kana and its sound mark, the two halves of a flag, an emoji and
// its skin tone, or inside a joined emoji sequence.
#include <gtest/gtest.h>

#include <string>

#include "model/ListLine.h"
#include "model/TrayTip.h"
#include "model/Utf8.h"

namespace wb {
namespace {

const std::string kGa = "か\u3099";                 // か and a combining dakuten
const std::string kHalfGa = "ｶﾞ";                   // half-width, two columns
const std::string kFlag = "🇯🇵";                    // two regional indicators
const std::string kThumb = "👍🏽";                   // a skin tone
const std::string kFamily = "👨\u200D👩\u200D👧";  // joined by ZWJ

std::string Times(const std::string& s, int n) {
  std::string out;
  while (n-- > 0) out += s;
  return out;
}

TEST(ClusterCuts, TheCutWithAnEllipsisKeepsClustersWhole) {
  const struct {
    std::string text;
    int columns;
    std::string expected;
  } cases[] = {
      {Times(kGa, 3), 5, kGa + "…"},  // か゛ is two columns, not four
      {Times(kGa, 3), 6, Times(kGa, 3)},
      {Times(kHalfGa, 4), 7, Times(kHalfGa, 2) + "…"},
      {Times(kFlag, 3), 5, kFlag + "…"},
      {Times(kFlag, 3), 6, Times(kFlag, 3)},
      {"OK" + kThumb + kThumb, 5, "OK…"},
      {"OK" + kThumb + kThumb, 6, "OK" + kThumb + kThumb},
      {"家族" + kFamily + "です", 9, "家族" + kFamily + "…"},
      {"家族" + kFamily + "です", 7, "家族…"},
  };
  for (const auto& c : cases) EXPECT_EQ(CutToColumns(c.text, c.columns), c.expected) << c.text << " in " << c.columns;
  EXPECT_EQ(Utf8Columns(Times(kGa, 3) + kHalfGa + kFlag + kFamily), 6 + 2 + 2 + 2);
}

TEST(ClusterCuts, TheTrayTipDropsAClusterThatDoesNotFitWhole) {
  const std::string a62(62, 'a');
  EXPECT_EQ(LimitTrayTip(a62 + kGa), a62);           // 64 code points: か alone would be 63
  EXPECT_EQ(LimitTrayTip(a62 + kFlag), a62);
  EXPECT_EQ(LimitTrayTip("a" + kFamily), "a" + kFamily);
  EXPECT_EQ(LimitTrayTip(std::string(60, 'a') + kFamily), std::string(60, 'a'));

}

TEST(ClusterCuts, TheListsMessageKeepsClustersWhole) {
  const std::string line = "■07:30 2026/12/07 毎日 日月火水木金土";
  const int columns = Utf8Columns(line) + 2 + 7;  // seven columns for the message
  EXPECT_EQ(ListRowWithMessage(line, Times(kGa, 5), columns), line + "  " + Times(kGa, 2) + "…");
  EXPECT_EQ(ListRowWithMessage(line, "ｺｰﾋ" "ﾟｰ" "ﾌﾞﾚｲｸ", columns), line + "  ｺｰﾋﾟｰ…");
  EXPECT_EQ(ListRowWithMessage(line, Times(kHalfGa, 3), columns), line + "  " + Times(kHalfGa, 3));
}

}  // namespace
}  // namespace wb
