// Ending the lines of a message by the rules a Japanese reader expects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/LineBreaks.h"

namespace wb::ui {
namespace {

// Every character 10 wide, a kana 20: a line of 95 holds 9 letters or 4 kana.
std::vector<int> Extents(std::wstring_view run) {
  std::vector<int> widths;
  int x = 0;
  for (wchar_t ch : run) widths.push_back(x += ch >= 0x3000 && ch < 0xD800 ? 20 : 10);
  return widths;
}

// The pieces of the result, split at the cuts and the text's own breaks.
std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines(1);
  for (wchar_t ch : text) {
    if (ch == L'\r' || ch == L' ') lines.emplace_back();
    else lines.back() += ch;
  }
  return lines;
}

std::wstring Times(std::wstring_view unit, size_t n) {
  std::wstring s;
  while (n--) s += unit;
  return s;
}

TEST(LineBreaks, EveryLineFitsAndKeepsTheRules) {
  const std::wstring pair = L"\xD83D\xDE00";  // one character in two units, 10 wide each
  const struct {
    const char* what;
    std::wstring text;
    int width;
    std::vector<size_t> pieceLengths;  // of the first pieces
  } cases[] = {
      {"a word of 300 letters", Times(L"a", 300), 95, {9, 9, 9}},
      {"kana alone", Times(L"あ", 300), 95, {4, 4, 4}},
      {"words that fit are left whole", Times(L"abcdefgh ", 40), 95, {8, 8, 8}},
      {"a word wider than the line among others", Times(L"ab ", 90) + Times(L"c", 20), 95, {2, 2, 2}},
      {"a surrogate pair stays whole", Times(L"a", 8) + pair + Times(L"a", 290), 95, {8, 9}},
      {"no line starts with a closing mark", Times(L"あ", 4) + L"。" + Times(L"あ", 300), 95, {3, 4, 4}},
      {"nor with two of them", Times(L"あ", 3) + L"。」" + Times(L"あ", 300), 95, {2, 4, 4}},
      // A mark after a pair: stepping back over the mark must step over the whole pair.
      {"a mark after a pair, one character a line", Times(L"あ" + pair + L"、", 100), 30, {1, 2, 1, 1, 2}},
      {"a mark after a pair, two a line", Times(L"あ" + pair + L"、", 100), 45, {1, 3, 1, 3}},
      {"a mark after a pair, four a line", Times(L"あ" + pair + L"、", 100), 95, {5, 4, 4, 4}},
      {"a pair wider than the line", Times(pair, 200), 15, {2, 2, 2}},
      // Short messages follow the same rules as long ones.
      {"a short message: no line starts with 。", L"ああああ。", 95, {3, 2}},
      {"digits stay together", L"ああああ10部", 95, {4, 3}},
      {"a number wider than the line is cut", Times(L"1", 12), 95, {9, 3}},
      {"no line ends with 「", L"あああ「あ」", 95, {3, 3}},
      {"a space ends a line by itself", L"abc defghijk", 95, {3, 8}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring out = BreakLines(c.text, c.width, Extents);
    std::wstring without = out;
    std::erase(without, kCutBreak);
    EXPECT_EQ(without, c.text);  // nothing lost, nothing added but the cuts
    const std::vector<std::wstring> lines = Lines(out);
    for (size_t i = 0; i < c.pieceLengths.size(); ++i) EXPECT_EQ(lines.at(i).size(), c.pieceLengths[i]) << i;
    for (const std::wstring& line : lines) {
      if (line.empty()) continue;
      EXPECT_FALSE(line.front() >= 0xDC00 && line.front() <= 0xDFFF) << "starts inside a pair";
      EXPECT_FALSE(line.back() >= 0xD800 && line.back() <= 0xDBFF) << "ends inside a pair";
      const bool oneCharacter = line.size() == 1 || line == pair;  // may be wider than any line
      if (!oneCharacter) {
        EXPECT_LE(Extents(line).back(), c.width);
      }
    }
  }
}

TEST(LineBreaks, ATextThatFitsOrAnUnknownWidthIsLeftAsItIs) {
  EXPECT_EQ(BreakLines(L"ああああ\r\nabcdefghi", 95, Extents), L"ああああ\r\nabcdefghi");
  EXPECT_EQ(BreakLines(Times(L"a", 300), 0, Extents), Times(L"a", 300));
}

// The places the hand-written rules broke wrongly, wrapped at every width of 8 to 20
// characters: what must stay on one line (when it fits one) stays, and no line starts or ends
// with what the Japanese rules forbid there.
TEST(LineBreaks, JapaneseTextAtEveryWidth) {
  const struct {
    std::wstring text;
    std::vector<std::wstring> together;
  } cases[] = {
      {L"今日の最高気温は28°Cになる予報です", {L"28°C"}},
      {L"会議の時間は12:30〜13:00に変わりました", {L"12:30〜", L"13:00"}},
      {L"会費は1,000円～2,000円です（当日払い）", {L"1,000円～", L"2,000円"}},
      {L"えっ……そんなことって…あるのか", {L"えっ……", L"て…"}},
      {L"ｺｰﾋｰを｢ﾃﾞｨｽｸ｣に置いた｡ﾃｽﾄ､ｯﾂ", {L"ｺｰ", L"ﾋｰ", L"｢ﾃﾞｨ", L"ｸ｣", L"た｡", L"ﾄ､ｯ"}},
      {L"ｺﾋﾟｰとﾃﾞｨｽｸを見る", {L"ﾋﾟｰ", L"ﾃﾞｨ"}},
      {L"か\u3099き\u3099く\u3099け\u3099こ\u3099は濁音", {L"か\u3099", L"き\u3099", L"く\u3099", L"こ\u3099"}},
      {L"日の丸\xD83C\xDDEF\xD83C\xDDF5を振って\xD83D\xDC4D\xD83C\xDFFDと家族"
       L"\xD83D\xDC68\x200D\xD83D\xDC69\x200D\xD83D\xDC67で出かける",
       {L"\xD83C\xDDEF\xD83C\xDDF5", L"\xD83D\xDC4D\xD83C\xDFFD",
        L"\xD83D\xDC68\x200D\xD83D\xDC69\x200D\xD83D\xDC67"}},
      {L"詳しくは「https://example.jp/news/2026-12-09」を見てください", {L"2026-12-09」", L"「h"}},
  };
  const std::wstring_view neverStarts = L"、。」｡､｣ｰｯっ…〜～°ﾞﾟ\u3099";
  const std::wstring_view neverEnds = L"「｢（";
  for (const auto& c : cases) {
    for (int chars = 8; chars <= 20; ++chars) {
      const int width = chars * 20;  // full-width characters
      SCOPED_TRACE(testing::Message() << "width " << chars);
      const std::wstring out = BreakLines(c.text, width, Extents);
      std::wstring without = out;
      std::erase(without, kCutBreak);
      ASSERT_EQ(without, c.text);
      std::vector<size_t> cuts;  // in the text, where a line starts
      for (size_t i = 0, at = 0; i < out.size(); ++i) {
        if (out[i] == kCutBreak) cuts.push_back(at);
        else ++at;
      }
      for (const std::wstring& piece : c.together) {
        const size_t from = c.text.find(piece);
        ASSERT_NE(from, std::wstring::npos);
        if (Extents(piece).back() > width) continue;
        for (size_t cut : cuts) EXPECT_FALSE(cut > from && cut < from + piece.size()) << "cut at " << cut << " in " << testing::PrintToString(out);
      }
      for (size_t cut : cuts) {
        EXPECT_EQ(neverStarts.find(c.text[cut]), std::wstring_view::npos) << "a line starts with " << int(c.text[cut]);
        EXPECT_EQ(neverEnds.find(c.text[cut - 1]), std::wstring_view::npos) << "a line ends with " << int(c.text[cut - 1]);
        EXPECT_FALSE(c.text[cut] >= 0xDC00 && c.text[cut] <= 0xDFFF) << "inside a pair";
      }
    }
  }
}

// A list's row too wide for it ends in "…" between two clusters.
TEST(LineBreaks, ARowIsCutBetweenClusters) {
  const std::wstring flags = L"\xD83C\xDDEF\xD83C\xDDF5\xD83C\xDDFA\xD83C\xDDF8";  // 🇯🇵🇺🇸, 10 a unit
  const struct {
    std::wstring row;
    int width;
    size_t keep;
  } cases[] = {
      {L"abcdef", 60, 6},                  // fits
      {L"abcdef", 55, 3},                  // 20 left for the mark
      {flags, 70, 4},                      // the second flag would be cut after one half
      {flags, 50, 0},                      // not even the first flag and the mark
      {L"か\u3099き\u3099", 60, 2},        // 20 + 10 each: き and its mark do not fit
      {L"ab\u3099cd", 50, 1},                // b goes with its mark
  };
  for (const auto& c : cases) EXPECT_EQ(RowCutUnits(c.row, c.width, 20, Extents(c.row)), c.keep) << c.width;
}

}  // namespace
}  // namespace wb::ui
