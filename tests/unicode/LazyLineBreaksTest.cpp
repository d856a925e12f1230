// The line breaker asks for breaks near each line's end alone, restarting the rules at a
// restart point or going on from where they stopped: every answer must be what reading the
// whole text from its start gives, in whatever order the positions are asked.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/TextBreaks.h"

namespace wb {
namespace {

// Code points of every class whose rules look back further than one code point, and plain ones.
const char32_t kAlphabet[] = {
    U'a', U'Z', U'1', U'9', U'.', U',', U':', U'/', U'-', U'\u2010', U' ', U' ', U'\t', U'(', U')', U'[', U'」',
    U'「', U'（', U'）', U'"', U'\u2014', U'$', U'%', U'¥', U'°', U'あ', U'っ', U'ー', U'。', U'、', U'～', U'〜',
    U'…', U'漢', U'ｶ', U'ﾞ', U'ｰ', U'\u0301', U'\u3099', U'\u200D', U'\u200B', U'\u00A0', U'\U0001F1EF',
    U'\U0001F1F5', U'\U0001F44D', U'\U0001F3FD', U'\U0001F468', U'\u05D0', U'\u1100', U'\u1161', U'\u11A8',
    U'\uAC00', U'\u0E01', U'!', U'?', U'\u2060', U'\U0001F000', U'\u3000'};

std::u16string ToUtf16(const std::u32string& text) {
  std::u16string out;
  for (char32_t c : text) {
    if (c < 0x10000) {
      out += char16_t(c);
    } else {
      out += char16_t(0xD800 + ((c - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

TEST(LazyLineBreaks, AnswerAsTheWholeTextReadFromItsStart) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 2000; ++round) {
    std::u32string text;
    const size_t length = 1 + random() % 40;
    for (size_t k = 0; k < length; ++k) text += kAlphabet[random() % std::size(kAlphabet)];
    std::vector<LineBreak> whole;
    FindLineBreaks(std::u32string_view(text), kJapaneseStrict, whole);
    std::vector<bool> clusterStart(text.size());
    GraphemeBreaker clusters;
    for (size_t k = 0; k < text.size(); ++k) clusterStart[k] = clusters.BreaksBefore(text[k]);

    const std::u16string units = ToUtf16(text);
    std::vector<size_t> unitOf;  // the unit where each code point starts
    for (size_t k = 0, u = 0; k < text.size(); u += text[k] >= 0x10000 ? 2 : 1, ++k) unitOf.push_back(u);
    // Ask as a line breaker does: from a point towards the start, then forwards, several times.
    LazyLineBreaks<char16_t> lazy(units, kJapaneseStrict);
    for (int walk = 0; walk < 4; ++walk) {
      size_t k = random() % text.size();
      const bool back = random() % 2 == 0;
      for (int steps = 0; steps < 12 && k < text.size(); ++steps) {
        if (k > 0) {
          ASSERT_EQ(lazy.MayBreakBefore(unitOf[k]), whole[k] != LineBreak::kNone)
              << "round " << round << ", code point " << k;
          ASSERT_EQ(lazy.ClusterStartsAt(unitOf[k]), clusterStart[k]) << "round " << round << ", code point " << k;
          if (text[k] >= 0x10000) {
            ASSERT_FALSE(lazy.MayBreakBefore(unitOf[k] + 1));
          }
        }
        if (back && k == 0) break;
        k = back ? k - 1 : k + 1;
      }
    }
  }
}

}  // namespace
}  // namespace wb
