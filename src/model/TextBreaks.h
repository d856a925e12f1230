// Where text may be cut and where its lines may end, by the Unicode rules: grapheme clusters
// (UAX #29, extended clusters) and line-break opportunities (UAX #14), with the strict Japanese
// line-start rules. The properties come from UnicodeTables (generated from the Unicode
// Character Database by scripts/gen-unicode-tables). Pure: the line breaker of the alarm window
// and every cut of the model ("…", the tray tip, the history) use the same rules.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/UnicodeTables.h"

namespace wb {

namespace unicode {
// The Basic Multilingual Plane's properties a code point an entry, spread out from the ranges
// when the program starts (before that, kBmpSpread is false and the ranges answer).
extern uint16_t gBmpProps[0x10000];
extern const bool gBmpSpread;
uint16_t SearchRanges(char32_t c);
}  // namespace unicode

// The packed properties of one code point (UnicodeTables.h).
inline uint16_t UnicodePropsOf(char32_t c) {
  return c < 0x10000 && unicode::gBmpSpread ? unicode::gBmpProps[c] : unicode::SearchRanges(c);
}
inline unicode::Lb LineBreakClassOf(char32_t c) { return unicode::Lb(UnicodePropsOf(c) & unicode::kLbMask); }

// Grapheme clusters, fed one code point at a time: whether a cluster boundary lies before the
// code point given, after all those given before it. The first code point of a text starts a
// cluster (true).
class GraphemeBreaker {
 public:
  bool BreaksBefore(char32_t c) { return BreaksBeforeProps(UnicodePropsOf(c)); }
  bool BreaksBeforeProps(uint16_t props);
  // As if the text so far ended with a code point of these properties that does not extend a
  // cluster and is no regional indicator (what came before it then changes nothing).
  void RestartAfterProps(uint16_t props);

 private:
  bool started_ = false;
  unicode::Gcb previous_ = unicode::Gcb::Other;
  bool pictographicRun_ = false;  // an Extended_Pictographic, then Extend*: a ZWJ may join the next
  bool afterPictographicZwj_ = false;
  int regionalRun_ = 0;  // regional indicators in a row just before
};

// Where the lines of a text may end: the default rules (which already read the small kana, ー
// and the other conditional starters strictly, as never starting a line), and tailorings, each
// a rule of its own so that the conformance check can tell what each changes. kJapaneseStrict
// is what the program uses.
enum LineBreakTailoring : unsigned {
  kUnicodeDefault = 0,
  // A digit after "." "," ":" stays with it ("ver.1.0.5", "No.1"): the number rule's plain
  // form has IS × NU, the regular-expression form the conformance file is written for drops it.
  kDigitAfterSeparator = 1u << 0,
  // A hyphen that starts a word stays with its letters ("-hashfile"), as Unicode 15.1 (LB20a)
  // and ICU do.
  kWordInitialHyphen = 1u << 1,
  // The full-width tilde (～, read as the wave dash in "1,000円～2,000円" on Japanese Windows,
  // whose code page maps 〜 to it) never starts a line, as 〜 does not (it is an ideograph to
  // the default rules and to ICU).
  kTildeAsWaveDash = 1u << 2,
  // A number stays with the kanji or kana that counts it ("2,000円", "10部", "3日"), as the
  // program always kept letters and digits together; the default rules break there.
  kNumberWithCounter = 1u << 3,
  kAsIcu = kDigitAfterSeparator | kWordInitialHyphen,  // ICU's rules for ja@lb=strict
  kJapaneseStrict = kAsIcu | kTildeAsWaveDash | kNumberWithCounter,
};

// The line-break class of `c` under `tailoring`.
unicode::Lb LineBreakClassOf(char32_t c, unsigned tailoring);

enum class LineBreak : uint8_t { kNone, kAllowed, kMandatory };

// The line-break rules as a machine fed one code point at a time, with the grapheme clusters
// beside them.
class LineBreakMachine {
 public:
  // The break between two code points of the common classes (AL, ID, NS, EX, IN, the Hangul
  // jamo and syllables, opening and closing marks) that extend no cluster: 1 allowed, 0 not, -1
  // not such a pair. Between these the rules read nothing before the two.
  static int PlainPairBreak(uint16_t before, uint16_t after) {
    using unicode::Lb;
    constexpr auto bit = [](Lb c) { return uint64_t(1) << unsigned(c); };
    constexpr uint64_t kPlain = bit(Lb::AL) | bit(Lb::ID) | bit(Lb::NS) | bit(Lb::EX) | bit(Lb::IN) | bit(Lb::H2) |
                                bit(Lb::H3) | bit(Lb::JL) | bit(Lb::JV) | bit(Lb::JT) | bit(Lb::OP) | bit(Lb::CL);
    constexpr uint16_t kGcbBits = uint16_t(0xF << unicode::kGcbShift);
    constexpr uint16_t kOther = uint16_t(unsigned(unicode::Gcb::Other) << unicode::kGcbShift);
    const Lb x = Lb(before & unicode::kLbMask), y = Lb(after & unicode::kLbMask);
    if ((bit(x) & kPlain) == 0 || (bit(y) & kPlain) == 0) return -1;
    if ((before & kGcbBits) != kOther || (after & kGcbBits) != kOther) return -1;
    if (x == Lb::OP || y == Lb::CL) return 0;                                            // LB14, LB13
    if (y == Lb::OP) return x == Lb::AL && (after & unicode::kWideBit) == 0 ? 0 : 1;       // LB30
    const bool none = (bit(y) & (bit(Lb::NS) | bit(Lb::EX) | bit(Lb::IN))) != 0 ||  // LB16, LB21, LB13, LB22
                      (x == Lb::AL && y == Lb::AL) ||                                  // LB28
                      (x == Lb::JL && (y == Lb::JL || y == Lb::JV || y == Lb::H2 || y == Lb::H3)) ||  // LB26
                      ((x == Lb::JV || x == Lb::H2) && (y == Lb::JV || y == Lb::JT)) ||
                      ((x == Lb::JT || x == Lb::H3) && y == Lb::JT);
    return none ? 0 : 1;
  }

  explicit LineBreakMachine(unsigned tailoring) : tailoring_(tailoring) {}

  // The class of the first code point at or after a position that is no combining mark: the
  // number rule looks one past the code point it decides ("$(" before "1").
  using LookAhead = unicode::Lb (*)(const void* context, size_t position, unsigned tailoring);

  struct Step {
    LineBreak line;  // before the code point (kNone before the first)
    bool clusterStart;
  };
  // Feeds the code point at `position` (given to `lookAhead` as the position after it).
  Step Feed(char32_t c, size_t nextPosition, LookAhead lookAhead, const void* context);

  // Whether the state after `c` does not depend on what came before it: a machine restarted
  // after it (RestartAfter) decides the rest of the text as one fed from the start does.
  static bool IsRestartPoint(char32_t c);
  void RestartAfter(char32_t c);

 private:
  struct Classified {
    unicode::Lb cls;
    uint16_t props;
    bool wide;                    // East Asian width F, W or H (LB30)
    bool unassignedPictographic;  // LB30b's [\p{Extended_Pictographic}&\p{Cn}]
    bool hyphen;                  // HY or U+2010 (kWordInitialHyphen)
  };
  Classified Classify(char32_t c, uint16_t props) const;
  void Take(const Classified& b);

  unsigned tailoring_;
  bool started_ = false;
  unicode::Lb raw_ = unicode::Lb::SP;           // the previous code point's own class
  Classified a_{unicode::Lb::SP, 0, false, false, false};  // as the rules after LB10 see it
  unicode::Lb lastNonSpace_ = unicode::Lb::SP;  // `a_` before the spaces that end the text so far
  bool hebrewHyphen_ = false;                   // HL (HY|BA) ends the text so far (LB21a)
  bool initialHyphen_ = false;                  // a word-initial hyphen ends it
  int number_ = 0;       // LB25: 1 after NU (NU|SY|IS)*, 2 after a CL or CP closes that
  int regionalRun_ = 0;  // regional indicators ending the text so far (LB30a)
  GraphemeBreaker clusters_;
};

// What may happen before each code point of `text`: out[k] is the break before text[k]
// (out[0], before the first, is kNone; a break at the end of the text is not given). A break
// is never allowed inside a grapheme cluster. `out` is resized to text.size().
void FindLineBreaks(std::span<const char32_t> text, unsigned tailoring, std::vector<LineBreak>& out);

// The same without the grapheme guard: UAX #14 alone, as its conformance file states it.
void FindLineBreaksUax14(std::span<const char32_t> text, unsigned tailoring, std::vector<LineBreak>& out);

// The breaks and clusters of a text of UTF-16 code units (or UTF-32: a unit above U+FFFF is a
// code point of its own), decided only where they are asked for: a line breaker needs them near
// the end of each line alone. The machine restarts at the last restart point before the
// position asked (or goes on from where it stopped), so a long message costs about what its
// line ends do. The text must outlive the object.
template <typename Unit>
class LazyLineBreaks {
 public:
  LazyLineBreaks(std::basic_string_view<Unit> text, unsigned tailoring)
      : text_(text), tailoring_(tailoring), flags_(text.size(), 0), machine_(tailoring) {}

  // Whether a line may end before text[at], 0 < at < size (never inside a cluster, nor inside
  // a surrogate pair).
  bool MayBreakBefore(size_t at) { return (Flags(at) & kBreak) != 0; }
  bool ClusterStartsAt(size_t at) { return (Flags(at) & kCluster) != 0; }

 private:
  static constexpr uint8_t kDecided = 1, kBreak = 2, kCluster = 4;
  static constexpr size_t kStretch = 4;

  static bool IsAsciiAlphanumeric(char32_t u) {
    return (u >= U'0' && u <= U'9') || (u >= U'A' && u <= U'Z') || (u >= U'a' && u <= U'z');
  }
  static bool IsHigh(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
  static bool IsLow(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

  // The code point that starts at `i` and the index after it.
  char32_t Decode(size_t i, size_t& next) const {
    const char32_t u = char32_t(text_[i]);
    if (IsHigh(u) && i + 1 < text_.size() && IsLow(char32_t(text_[i + 1]))) {
      next = i + 2;
      return 0x10000 + ((u - 0xD800) << 10) + (char32_t(text_[i + 1]) - 0xDC00);
    }
    next = i + 1;
    return u;
  }
  // Where the code point that ends at `end` (> 0) starts.
  size_t StartOfPrevious(size_t end) const {
    return end >= 2 && IsLow(char32_t(text_[end - 1])) && IsHigh(char32_t(text_[end - 2])) ? end - 2 : end - 1;
  }

  static unicode::Lb LookAheadOf(const void* context, size_t position, unsigned tailoring) {
    const auto* self = static_cast<const LazyLineBreaks*>(context);
    for (size_t i = position; i < self->text_.size();) {
      size_t next = 0;
      const unicode::Lb cls = LineBreakClassOf(self->Decode(i, next), tailoring);
      if (cls != unicode::Lb::CM && cls != unicode::Lb::ZWJ) return cls;
      i = next;
    }
    return unicode::Lb::SP;
  }

  uint8_t Flags(size_t at) {
    if ((flags_[at] & kDecided) == 0 && !DecidePlainPair(at)) DecideThrough(at);
    return flags_[at];
  }

  // Most places a line breaker asks about lie between two letters, kana or ideographs, where
  // the rules read nothing but the two: decided here without the machine. False for any other.
  bool DecidePlainPair(size_t at) {
    if (at == 0) return false;
    const char32_t before = char32_t(text_[at - 1]), after = char32_t(text_[at]);
    // Two ASCII letters or digits never part (LB28, LB23, LB25), whatever came before.
    if (IsAsciiAlphanumeric(before) && IsAsciiAlphanumeric(after)) {
      flags_[at] = uint8_t(kDecided | kCluster);
      return true;
    }
    if (before >= 0xD800 && before <= 0xDFFF) return false;
    if (after >= 0xD800 && after <= 0xDFFF) return false;
    if (before == U'～' || after == U'～') return false;
    const int decision = LineBreakMachine::PlainPairBreak(UnicodePropsOf(before), UnicodePropsOf(after));
    if (decision < 0) return false;
    flags_[at] = uint8_t(kDecided | kCluster | (decision != 0 ? kBreak : 0));
    return true;
  }

  void DecideThrough(size_t at);  // TextBreaks.cpp, for wchar_t, char16_t and char32_t

  std::basic_string_view<Unit> text_;
  unsigned tailoring_;
  std::vector<uint8_t> flags_;
  LineBreakMachine machine_;
  size_t position_ = 0;  // where the machine stopped: the next unit it would be fed
  size_t runStart_ = 0;  // where the last decision began
};

extern template class LazyLineBreaks<wchar_t>;
extern template class LazyLineBreaks<char16_t>;
extern template class LazyLineBreaks<char32_t>;

// ---- UTF-8 ----

// The code point that starts at text[i] (a byte that starts none reads as itself, one byte),
// and the index after it.
char32_t DecodeUtf8(std::string_view text, size_t& i);

// The end (in bytes) of the longest run of whole grapheme clusters at the start of `text` that
// holds at most `maxCodePoints` code points.
size_t Utf8ClusterPrefixBytes(std::string_view text, size_t maxCodePoints);

}  // namespace wb
