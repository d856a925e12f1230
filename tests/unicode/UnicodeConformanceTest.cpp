// The grapheme clusters and line breaks against the Unicode conformance files that come with
// the Character Database (Debian's unicode-data, /usr/share/unicode/auxiliary): every case of
// GraphemeBreakTest.txt, and every case of LineBreakTest.txt with the default rules; the
// program's tailorings change only the cases listed here, by rule, with how many each changes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/TextBreaks.h"

namespace wb {
namespace {

const char* const kDataFolder = "/usr/share/unicode/auxiliary/";

// One line of a conformance file: its code points, and whether each gap between two of them
// is a break (÷) or not (×). The marks before the first and after the last are not kept.
struct Case {
  int lineNumber;
  std::u32string text;
  std::vector<bool> breakBefore;  // [k]: a break before text[k]; [0] unused
  std::string source;
};

std::vector<Case> ReadCases(const std::string& name) {
  std::ifstream in(kDataFolder + name);
  EXPECT_TRUE(in) << "missing " << kDataFolder << name << ": scripts/setup installs unicode-data";
  std::vector<Case> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string body = line.substr(0, line.find('#'));
    if (body.find_first_not_of(" \t") == std::string::npos) continue;
    Case c{number, {}, {}, line};
    std::istringstream tokens(body);
    std::string token;
    bool pending = false;
    while (tokens >> token) {
      if (token == "÷" || token == "×") {
        pending = token == "÷";
      } else {
        c.text += char32_t(std::stoul(token, nullptr, 16));
        c.breakBefore.push_back(pending);
      }
    }
    cases.push_back(std::move(c));
  }
  return cases;
}

std::vector<bool> OurLineBreaks(const std::u32string& text, unsigned tailoring) {
  std::vector<LineBreak> found;
  FindLineBreaksUax14(std::u32string_view(text), tailoring, found);
  std::vector<bool> breaks(text.size());
  for (size_t k = 1; k < text.size(); ++k) breaks[k] = found[k] != LineBreak::kNone;
  return breaks;
}

bool SameGaps(const std::vector<bool>& a, const std::vector<bool>& b) {
  for (size_t k = 1; k < a.size(); ++k)
    if (a[k] != b[k]) return false;
  return true;
}

TEST(UnicodeConformance, EveryGraphemeBreakCase) {
  const std::vector<Case> cases = ReadCases("GraphemeBreakTest.txt");
  ASSERT_GT(cases.size(), 500u);
  int failed = 0;
  for (const Case& c : cases) {
    GraphemeBreaker breaker;
    std::vector<bool> ours(c.text.size());
    for (size_t k = 0; k < c.text.size(); ++k) ours[k] = breaker.BreaksBefore(c.text[k]);
    if (!SameGaps(ours, c.breakBefore) && ++failed <= 10) ADD_FAILURE() << "line " << c.lineNumber << ": " << c.source;
  }
  EXPECT_EQ(failed, 0) << "of " << cases.size();
}

TEST(UnicodeConformance, EveryLineBreakCaseWithTheDefaultRules) {
  const std::vector<Case> cases = ReadCases("LineBreakTest.txt");
  ASSERT_GT(cases.size(), 7000u);
  int failed = 0;
  for (const Case& c : cases)
    if (!SameGaps(OurLineBreaks(c.text, kUnicodeDefault), c.breakBefore) && ++failed <= 10)
      ADD_FAILURE() << "line " << c.lineNumber << ": " << c.source;
  EXPECT_EQ(failed, 0) << "of " << cases.size();
}

// Each tailoring and the number of conformance cases it changes. A case the whole
// Japanese set changes must be changed by one of them alone.
TEST(UnicodeConformance, TheJapaneseTailoringsChangeOnlyTheListedCases) {
  const struct {
    const char* rule;
    unsigned tailoring;
    int changedCases;
  } kTailorings[] = {
      {"IS × NU: a digit after . , : stays with it", kDigitAfterSeparator, 14},
      {"(sot|SP|...) (HY|U+2010) × AL: a word-initial hyphen stays with its word", kWordInitialHyphen, 8},
      {"～ (U+FF5E) starts no line, as the wave dash 〜: NS instead of ID", kTildeAsWaveDash, 0},
      {"NU × ID: a number stays with its counter (2,000円, 10部)", kNumberWithCounter, 5},
  };
  const std::vector<Case> cases = ReadCases("LineBreakTest.txt");
  unsigned listed = 0;
  for (const auto& t : kTailorings) {
    listed |= t.tailoring;
    int changed = 0;
    for (const Case& c : cases) changed += !SameGaps(OurLineBreaks(c.text, t.tailoring), c.breakBefore);
    EXPECT_EQ(changed, t.changedCases) << t.rule;
    std::printf("tailoring \"%s\": %d of %zu cases changed\n", t.rule, changed, cases.size());
  }
  EXPECT_EQ(listed, unsigned(kJapaneseStrict)) << "a tailoring of kJapaneseStrict is not listed";
  for (const Case& c : cases) {
    if (SameGaps(OurLineBreaks(c.text, kJapaneseStrict), c.breakBefore)) continue;
    bool explained = false;
    for (const auto& t : kTailorings) explained = explained || !SameGaps(OurLineBreaks(c.text, t.tailoring), c.breakBefore);
    EXPECT_TRUE(explained) << "line " << c.lineNumber << " changed by no listed tailoring alone: " << c.source;
  }
}

}  // namespace
}  // namespace wb
