// The grapheme clusters and line breaks against ICU's break iterators for the locale
// ja@lb=strict, on Japanese messages: the readme's paragraphs, dates, times, money, URLs,
// emoji and half-width text. Breaks are equal but where a listed Japanese tailoring (the
// conformance test names them) moves one; how many it moved is printed.
#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/TextBreaks.h"

namespace wb {
namespace {

std::u32string FromUtf8(const std::string& s) {
  const icu::UnicodeString u = icu::UnicodeString::fromUTF8(s);
  std::u32string out(size_t(u.countChar32()), U'\0');
  UErrorCode status = U_ZERO_ERROR;
  u.toUTF32(reinterpret_cast<UChar32*>(out.data()), int32_t(out.size()), status);
  return out;
}

// The readme's paragraphs (its lines joined where the readme wrapped them) and short messages
// of the kinds a table holds.
std::vector<std::u32string> Corpus() {
  std::vector<std::u32string> corpus;
  std::ifstream in(std::string(WB_SOURCE_DIR) + "/packaging/readme.txt");
  EXPECT_TRUE(in);
  std::string line, paragraph;
  while (std::getline(in, line)) {
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) {
      if (!paragraph.empty()) corpus.push_back(FromUtf8(paragraph));
      paragraph.clear();
    } else {
      paragraph += line.substr(start);
    }
  }
  if (!paragraph.empty()) corpus.push_back(FromUtf8(paragraph));
  EXPECT_GT(corpus.size(), 30u);
  const char* const kMessages[] = {
      "会議は12:30〜13:00、第２会議室にて。", "本日の気温は28°C、湿度は65%です。",
      "会費は1,000円～2,000円（税込）です。", "予算：￥12,345,678-　締切：2026/12/09（水）",
      "2026-12-09 07:30:00 に起動", "午前7時05分……まだ寝ている？", "えっ…！？本当に？",
      "「会議」『資料』【重要】〔再掲〕《お知らせ》〈注〉", "ちょっと待って、ストップ！ウォッチ",
      "ｺｰﾋｰﾌﾞﾚｲｸ｡ﾃﾞｨｽｸﾁｪｯｸ､ｯｰ｢ｶﾞｷﾞｸﾞ｣･ﾊﾟﾋﾟﾌﾟ", "か\u3099き\u3099く\u3099と半濁点は\u309Aの結合文字",
      "旗🇯🇵🇺🇸🇬🇧を掲げる", "いいね👍🏽👋🏻✌️", "家族👨‍👩‍👧‍👦と👩‍💻で出かける", "ハングル한국어 ㄱㅏ와",
      "https://example.jp/path/to/page?id=42&lang=ja#top を開く", "メール: taro.yamada@example.co.jp まで",
      "C:\\Users\\太郎\\Documents\\報告書_v2.docx を提出", "ver.1.0.5 リリース（2026年12月）",
      "々ゝゞヽヾーぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ・：；？！",
      "3.14159 × 2 = 6.28318、約50％増、+10.5%、-3℃、$3.50、€20、£5", "No.1 ＃1 第3位 1st 2nd",
      "This is an English sentence, with (parentheses) and \"quotes\".", "タブ\tと 空白　全角空白",
      "電話 03-1234-5678 / 内線 #123", "1/2 ¼ ½ 10:30-11:45 7-11 3〜5日",
  };
  for (const char* m : kMessages) corpus.push_back(FromUtf8(m));
  return corpus;
}

// ICU's boundaries as a flag before each code point (the text's start and end left out).
std::vector<bool> IcuBreaks(icu::BreakIterator& it, const std::u32string& text) {
  const icu::UnicodeString u = icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()), int32_t(text.size()));
  it.setText(u);
  std::vector<bool> breaks(text.size());
  for (int32_t at = it.first(); at != icu::BreakIterator::DONE; at = it.next()) {
    const int32_t index = u.countChar32(0, at);
    if (index > 0 && size_t(index) < text.size()) breaks[size_t(index)] = true;
  }
  return breaks;
}

std::vector<bool> OurLineBreaks(const std::u32string& text, unsigned tailoring) {
  std::vector<LineBreak> found;
  FindLineBreaks(std::u32string_view(text), tailoring, found);
  std::vector<bool> breaks(text.size());
  for (size_t k = 1; k < text.size(); ++k) breaks[k] = found[k] != LineBreak::kNone;
  return breaks;
}

std::string ToUtf8(const std::u32string& text) {
  std::string out;
  icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()), int32_t(text.size())).toUTF8String(out);
  return out;
}

std::string Marked(const std::u32string& text, const std::vector<bool>& breaks) {
  std::u32string marked;
  for (size_t k = 0; k < text.size(); ++k) marked += (k > 0 && breaks[k] ? U"|" : U"") + std::u32string(1, text[k]);
  return ToUtf8(marked);
}

TEST(IcuCrossCheck, GraphemeClustersAreIcus) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> icu(icu::BreakIterator::createCharacterInstance(icu::Locale("ja"), status));
  ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  for (const std::u32string& text : Corpus()) {
    GraphemeBreaker breaker;
    std::vector<bool> ours(text.size());
    for (size_t k = 0; k < text.size(); ++k) ours[k] = breaker.BreaksBefore(text[k]) && k > 0;
    const std::vector<bool> theirs = IcuBreaks(*icu, text);
    EXPECT_EQ(ours, theirs) << "ours: " << Marked(text, ours) << "\nICU:  " << Marked(text, theirs);
  }
}

TEST(IcuCrossCheck, LineBreaksAreIcusButForTheJapaneseTailorings) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> icu(icu::BreakIterator::createLineInstance(icu::Locale("ja@lb=strict"), status));
  ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  // The tailorings beyond ICU's, each with the places it moved in the corpus.
  struct Tailoring {
    const char* rule;
    unsigned bit;
    int moved = 0;
  } beyondIcu[] = {{"～ as the wave dash", kTildeAsWaveDash}, {"a number with its counter", kNumberWithCounter}};
  unsigned all = kAsIcu;
  for (const Tailoring& t : beyondIcu) all |= t.bit;
  ASSERT_EQ(all, unsigned(kJapaneseStrict)) << "a tailoring beyond ICU's is not listed";
  int compared = 0, moved = 0;
  for (const std::u32string& text : Corpus()) {
    const std::vector<bool> theirs = IcuBreaks(*icu, text);
    const std::vector<bool> plain = OurLineBreaks(text, kAsIcu);
    EXPECT_EQ(plain, theirs) << "ours: " << Marked(text, plain) << "\nICU:  " << Marked(text, theirs);
    const std::vector<bool> japanese = OurLineBreaks(text, kJapaneseStrict);
    for (Tailoring& t : beyondIcu) {
      const std::vector<bool> one = OurLineBreaks(text, kAsIcu | t.bit);
      for (size_t k = 1; k < text.size(); ++k) t.moved += one[k] != theirs[k];
    }
    for (size_t k = 1; k < text.size(); ++k) {
      ++compared;
      if (japanese[k] == theirs[k]) continue;
      ++moved;
      EXPECT_TRUE(theirs[k] && !japanese[k]) << "a tailoring only takes breaks away: " << Marked(text, japanese);
    }
  }
  std::printf("line breaks: %d places compared with ICU, %d moved by the Japanese tailorings\n", compared, moved);
  int byEach = 0;
  for (const Tailoring& t : beyondIcu) {
    std::printf("  %s: %d\n", t.rule, t.moved);
    EXPECT_GT(t.moved, 0) << t.rule << ": the corpus no longer shows it";
    byEach += t.moved;
  }
  EXPECT_EQ(byEach, moved) << "two tailorings moved the same place";
}

}  // namespace
}  // namespace wb
