#include "model/TextBreaks.h"

#include <algorithm>

namespace wb {

using unicode::Gcb;
using unicode::Lb;

namespace unicode {

uint16_t SearchRanges(char32_t c) {
  const uint32_t* end = kRangeStarts + kRangeCount;
  return kRangeProps[size_t(std::upper_bound(kRangeStarts, end, uint32_t(c)) - kRangeStarts) - 1];
}

// Spread when the program starts: nearly every character of a message is in the Basic
// Multilingual Plane, and the line breaker of a long message looks up each one it decides.
uint16_t gBmpProps[0x10000];

namespace {
bool SpreadBmp() {
  for (size_t r = 0; r < kRangeCount && kRangeStarts[r] < 0x10000; ++r) {
    const uint32_t end = r + 1 < kRangeCount ? std::min<uint32_t>(kRangeStarts[r + 1], 0x10000) : 0x10000;
    std::fill(gBmpProps + kRangeStarts[r], gBmpProps + end, kRangeProps[r]);
  }
  return true;
}
}  // namespace

const bool gBmpSpread = SpreadBmp();

}  // namespace unicode

// ---- Grapheme clusters ----

bool GraphemeBreaker::BreaksBeforeProps(uint16_t props) {
  const Gcb next = Gcb((props >> unicode::kGcbShift) & 0xF);
  const bool pictographic = (props & unicode::kExtPictBit) != 0;
  const Gcb prev = previous_;
  if (prev == Gcb::Other && next == Gcb::Other && !afterPictographicZwj_) {  // most text: GB999
    pictographicRun_ = pictographic;
    regionalRun_ = 0;
    started_ = true;
    return true;
  }
  bool breaks = true;
  if (!started_) {
    breaks = true;
  } else if (prev == Gcb::CR && next == Gcb::LF) {  // GB3
    breaks = false;
  } else if (prev == Gcb::CR || prev == Gcb::LF || prev == Gcb::Control) {  // GB4
    breaks = true;
  } else if (next == Gcb::CR || next == Gcb::LF || next == Gcb::Control) {  // GB5
    breaks = true;
  } else if (prev == Gcb::L && (next == Gcb::L || next == Gcb::V || next == Gcb::LV || next == Gcb::LVT)) {  // GB6
    breaks = false;
  } else if ((prev == Gcb::LV || prev == Gcb::V) && (next == Gcb::V || next == Gcb::T)) {  // GB7
    breaks = false;
  } else if ((prev == Gcb::LVT || prev == Gcb::T) && next == Gcb::T) {  // GB8
    breaks = false;
  } else if (next == Gcb::Extend || next == Gcb::ZWJ || next == Gcb::SpacingMark || prev == Gcb::Prepend) {  // GB9-9b
    breaks = false;
  } else if (afterPictographicZwj_ && pictographic) {  // GB11
    breaks = false;
  } else if (prev == Gcb::Regional_Indicator && next == Gcb::Regional_Indicator && regionalRun_ % 2 == 1) {  // GB12, GB13
    breaks = false;
  }
  afterPictographicZwj_ = pictographicRun_ && next == Gcb::ZWJ;
  pictographicRun_ = pictographic || (pictographicRun_ && next == Gcb::Extend);
  regionalRun_ = next == Gcb::Regional_Indicator ? regionalRun_ + 1 : 0;
  previous_ = next;
  started_ = true;
  return breaks;
}

void GraphemeBreaker::RestartAfterProps(uint16_t props) {
  started_ = true;
  previous_ = Gcb((props >> unicode::kGcbShift) & 0xF);
  pictographicRun_ = (props & unicode::kExtPictBit) != 0;
  afterPictographicZwj_ = false;
  regionalRun_ = 0;
}

// ---- Line breaks ----

Lb LineBreakClassOf(char32_t c, unsigned tailoring) {
  if ((tailoring & kTildeAsWaveDash) != 0 && c == U'～') return Lb::NS;
  return LineBreakClassOf(c);
}

namespace {

constexpr uint64_t Bit(Lb c) { return uint64_t(1) << unsigned(c); }
template <typename... C>
constexpr uint64_t Set(C... c) { return (Bit(c) | ...); }
constexpr bool In(Lb c, uint64_t set) { return (Bit(c) & set) != 0; }

constexpr uint64_t kAlphabetic = Set(Lb::AL, Lb::HL);
constexpr uint64_t kHangul = Set(Lb::JL, Lb::JV, Lb::JT, Lb::H2, Lb::H3);
constexpr uint64_t kMarks = Set(Lb::CM, Lb::ZWJ);
// Classes after which a combining mark does not attach (rule LB9).
constexpr uint64_t kNoBase = Set(Lb::BK, Lb::CR, Lb::LF, Lb::NL, Lb::SP, Lb::ZW);
// Classes whose rules look further back than the code point before (LB9, LB14-17, LB21a, the
// word-initial hyphen, LB25, LB30a): after any other the state is that code point's alone.
constexpr uint64_t kLookBack = Set(Lb::SP, Lb::CM, Lb::ZWJ, Lb::RI, Lb::SY, Lb::IS, Lb::CL, Lb::CP, Lb::HY, Lb::BA);
// Classes that take part in no rule but the last: two of them together may break.
constexpr uint64_t kPlainBefore = Set(Lb::ID, Lb::NS, Lb::EX, Lb::IN, Lb::H2, Lb::H3, Lb::JL, Lb::JV, Lb::JT);

}  // namespace

LineBreakMachine::Classified LineBreakMachine::Classify(char32_t c, uint16_t props) const {
  Lb cls = Lb(props & unicode::kLbMask);
  if ((tailoring_ & kTildeAsWaveDash) != 0 && c == U'～') cls = Lb::NS;
  return {cls, props, (props & unicode::kWideBit) != 0,
          (props & unicode::kExtPictBit) != 0 && (props & unicode::kUnassignedBit) != 0,
          cls == Lb::HY || c == U'\u2010'};
}

bool LineBreakMachine::IsRestartPoint(char32_t c) {
  const uint16_t props = UnicodePropsOf(c);
  const Gcb g = Gcb((props >> unicode::kGcbShift) & 0xF);
  return !In(Lb(props & unicode::kLbMask), kLookBack) && c != U'\u2010' && g != Gcb::Extend && g != Gcb::ZWJ &&
         g != Gcb::Regional_Indicator;
}

void LineBreakMachine::RestartAfter(char32_t c) {
  const uint16_t props = UnicodePropsOf(c);
  const Classified b = Classify(c, props);
  started_ = true;
  raw_ = b.cls;
  lastNonSpace_ = b.cls;
  hebrewHyphen_ = initialHyphen_ = false;
  number_ = b.cls == Lb::NU ? 1 : 0;
  regionalRun_ = 0;
  a_ = b;
  clusters_.RestartAfterProps(props);
}

// What the rules look back at, once `b` is the code point before the next.
inline void LineBreakMachine::Take(const Classified& b) {
  hebrewHyphen_ = In(b.cls, Set(Lb::HY, Lb::BA)) && a_.cls == Lb::HL;
  initialHyphen_ = b.hyphen && In(a_.cls, Set(Lb::BK, Lb::CR, Lb::LF, Lb::NL, Lb::SP, Lb::ZW, Lb::CB, Lb::GL));
  if (b.cls == Lb::NU) number_ = 1;
  else if (number_ == 1 && In(b.cls, Set(Lb::SY, Lb::IS))) number_ = 1;
  else if (number_ == 1 && In(b.cls, Set(Lb::CL, Lb::CP))) number_ = 2;
  else number_ = 0;
  regionalRun_ = b.cls == Lb::RI ? regionalRun_ + 1 : 0;
  if (b.cls != Lb::SP) lastNonSpace_ = b.cls;
  a_ = b;
}

// Inlined into the loops that feed it: a long message feeds it at every line's end.
[[gnu::always_inline]] inline LineBreakMachine::Step LineBreakMachine::Feed(char32_t c, size_t nextPosition, LookAhead lookAhead, const void* context) {
  const uint16_t props = UnicodePropsOf(c);
  const bool clusterStart = clusters_.BreaksBeforeProps(props);
  Classified b = Classify(c, props);
  const Lb bRaw = b.cls;
  if (!started_) {  // the start of the text counts as a space
    started_ = true;
    if (In(b.cls, kMarks)) b.cls = Lb::AL;  // LB10
    Take(b);
    raw_ = bRaw;
    return {LineBreak::kNone, clusterStart};
  }
  const Lb raw = raw_;
  raw_ = bRaw;
  const Lb x = a_.cls;
  // The common case first: two code points of classes whose rules read nothing but the two.
  if (raw == x && x == Lb(a_.props & unicode::kLbMask) && In(x, kPlainBefore | Set(Lb::AL, Lb::OP, Lb::CL))) {
    const int plain = PlainPairBreak(a_.props, props);
    if (plain >= 0 && bRaw == Lb(props & unicode::kLbMask)) {
      Take(b);
      return {plain != 0 ? LineBreak::kAllowed : LineBreak::kNone, clusterStart};
    }
  }
  LineBreak decision = LineBreak::kAllowed;
  if (raw == Lb::BK) {  // LB4
    decision = LineBreak::kMandatory;
  } else if (raw == Lb::CR) {  // LB5
    decision = bRaw == Lb::LF ? LineBreak::kNone : LineBreak::kMandatory;
  } else if (raw == Lb::LF || raw == Lb::NL) {
    decision = LineBreak::kMandatory;
  } else if (In(bRaw, Set(Lb::BK, Lb::CR, Lb::LF, Lb::NL, Lb::SP, Lb::ZW))) {  // LB6, LB7
    decision = LineBreak::kNone;
  } else if (lastNonSpace_ == Lb::ZW) {  // LB8: ZW SP* ÷
    decision = LineBreak::kAllowed;
  } else if (raw == Lb::ZWJ && !(In(bRaw, kMarks) && !In(raw, kNoBase))) {  // LB8a
    decision = LineBreak::kNone;
  } else if (In(bRaw, kMarks) && !In(raw, kNoBase)) {  // LB9: the mark takes its base's class
    return {LineBreak::kNone, clusterStart};
  } else {
    if (In(b.cls, kMarks)) b.cls = Lb::AL;  // LB10
    const Lb y = b.cls;
    auto none = [&] { decision = LineBreak::kNone; };
    if (x == Lb::WJ || y == Lb::WJ) none();                                                // LB11
    else if (x == Lb::GL) none();                                                          // LB12
    else if (y == Lb::GL && !In(x, Set(Lb::SP, Lb::BA, Lb::HY))) none();                   // LB12a
    else if (In(y, Set(Lb::CL, Lb::CP, Lb::EX, Lb::IS, Lb::SY))) none();                   // LB13
    else if (lastNonSpace_ == Lb::OP) none();                                              // LB14
    else if (lastNonSpace_ == Lb::QU && y == Lb::OP) none();                               // LB15
    else if (In(lastNonSpace_, Set(Lb::CL, Lb::CP)) && y == Lb::NS) none();                // LB16
    else if (lastNonSpace_ == Lb::B2 && y == Lb::B2) none();                               // LB17
    else if (x == Lb::SP) decision = LineBreak::kAllowed;                                  // LB18
    else if (x == Lb::QU || y == Lb::QU) none();                                           // LB19
    else if (x == Lb::CB || y == Lb::CB) decision = LineBreak::kAllowed;                   // LB20
    else if ((tailoring_ & kWordInitialHyphen) != 0 && initialHyphen_ && y == Lb::AL) none();
    else if (In(y, Set(Lb::BA, Lb::HY, Lb::NS)) || x == Lb::BB) none();                    // LB21
    else if (hebrewHyphen_) none();                                                        // LB21a
    else if (x == Lb::SY && y == Lb::HL) none();                                           // LB21b
    else if (y == Lb::IN) none();                                                          // LB22
    else if ((In(x, kAlphabetic) && y == Lb::NU) || (x == Lb::NU && In(y, kAlphabetic))) none();  // LB23
    else if ((x == Lb::PR && In(y, Set(Lb::ID, Lb::EB, Lb::EM))) ||
             (In(x, Set(Lb::ID, Lb::EB, Lb::EM)) && y == Lb::PO)) none();                  // LB23a
    else if ((In(x, Set(Lb::PR, Lb::PO)) && In(y, kAlphabetic)) ||
             (In(x, kAlphabetic) && In(y, Set(Lb::PR, Lb::PO)))) none();                   // LB24
    // LB25, as the conformance file reads it (UAX #14's example of a tailoring for numbers).
    else if (In(x, Set(Lb::PR, Lb::PO)) && y == Lb::NU) none();
    else if (In(x, Set(Lb::PR, Lb::PO)) && In(y, Set(Lb::OP, Lb::HY)) &&
             lookAhead(context, nextPosition, tailoring_) == Lb::NU) none();
    else if (In(x, Set(Lb::OP, Lb::HY)) && y == Lb::NU) none();
    else if ((tailoring_ & kDigitAfterSeparator) != 0 && x == Lb::IS && y == Lb::NU) none();
    else if (number_ == 1 && In(y, Set(Lb::NU, Lb::SY, Lb::IS, Lb::CL, Lb::CP))) none();
    else if (number_ != 0 && In(y, Set(Lb::PO, Lb::PR))) none();
    else if ((x == Lb::JL && In(y, Set(Lb::JL, Lb::JV, Lb::H2, Lb::H3))) ||
             (In(x, Set(Lb::JV, Lb::H2)) && In(y, Set(Lb::JV, Lb::JT))) ||
             (In(x, Set(Lb::JT, Lb::H3)) && y == Lb::JT)) none();                          // LB26
    else if ((In(x, kHangul) && y == Lb::PO) || (x == Lb::PR && In(y, kHangul))) none();    // LB27
    else if (In(x, kAlphabetic) && In(y, kAlphabetic)) none();                             // LB28
    else if (x == Lb::IS && In(y, kAlphabetic)) none();                                    // LB29
    else if ((In(x, Set(Lb::AL, Lb::HL, Lb::NU)) && y == Lb::OP && !b.wide) ||
             (x == Lb::CP && !a_.wide && In(y, Set(Lb::AL, Lb::HL, Lb::NU)))) none();       // LB30
    else if (x == Lb::RI && y == Lb::RI && regionalRun_ % 2 == 1) none();                  // LB30a
    else if (y == Lb::EM && (x == Lb::EB || a_.unassignedPictographic)) none();            // LB30b
    else if ((tailoring_ & kNumberWithCounter) != 0 && x == Lb::NU && y == Lb::ID) none();
  }
  if (In(b.cls, kMarks)) b.cls = Lb::AL;  // a mark after a space or a break (LB10)
  Take(b);
  return {decision, clusterStart};
}

namespace {

Lb LookAheadIn(const void* context, size_t position, unsigned tailoring) {
  const auto& text = *static_cast<const std::span<const char32_t>*>(context);
  for (; position < text.size(); ++position) {
    const Lb cls = LineBreakClassOf(text[position], tailoring);
    if (!In(cls, kMarks)) return cls;
  }
  return Lb::SP;
}

void Find(std::span<const char32_t> text, unsigned tailoring, bool keepClusters, std::vector<LineBreak>& out) {
  out.assign(text.size(), LineBreak::kNone);
  LineBreakMachine machine(tailoring);
  for (size_t k = 0; k < text.size(); ++k) {
    const LineBreakMachine::Step step = machine.Feed(text[k], k + 1, &LookAheadIn, &text);
    out[k] = k == 0 || (keepClusters && !step.clusterStart) ? LineBreak::kNone : step.line;
  }
}

}  // namespace

void FindLineBreaksUax14(std::span<const char32_t> text, unsigned tailoring, std::vector<LineBreak>& out) {
  Find(text, tailoring, false, out);
}

void FindLineBreaks(std::span<const char32_t> text, unsigned tailoring, std::vector<LineBreak>& out) {
  Find(text, tailoring, true, out);
}

template <typename Unit>
void LazyLineBreaks<Unit>::DecideThrough(size_t at) {
  if (at > 0 && IsLow(char32_t(text_[at])) && IsHigh(char32_t(text_[at - 1]))) --at;  // the pair it ends
  // A line breaker walking back from where a line overflows asks one position after another
  // towards the line's start: decide a stretch of them at once, twice as long as the last.
  size_t from = at;
  if (at < runStart_ && at + kStretch >= runStart_) {
    const size_t stretch = std::max<size_t>(4, 2 * (position_ - runStart_));
    from = at > stretch ? at - stretch : 0;
  }
  if (from > 0 && IsLow(char32_t(text_[from])) && IsHigh(char32_t(text_[from - 1]))) --from;
  // Go on from where the machine stopped when nothing but undecided text lies between; else
  // restart after the last restart point before `from`, or from the start of the text.
  while (from > 0 && from != position_) {
    const size_t previous = StartOfPrevious(from);
    size_t unused = 0;
    if (LineBreakMachine::IsRestartPoint(Decode(previous, unused))) break;
    from = previous;
  }
  runStart_ = from;
  if (from != position_ || from == 0) {
    machine_ = LineBreakMachine(tailoring_);
    if (from > 0) {
      size_t unused = 0;
      machine_.RestartAfter(Decode(StartOfPrevious(from), unused));
    }
  }
  size_t i = from;
  while (i <= at && i < text_.size()) {
    size_t next = 0;
    const char32_t c = Decode(i, next);
    const LineBreakMachine::Step step = machine_.Feed(c, next, &LookAheadOf, this);
    flags_[i] = uint8_t(kDecided | (step.line != LineBreak::kNone && step.clusterStart && i > 0 ? kBreak : 0) |
                        (step.clusterStart ? kCluster : 0));
    if (next == i + 2) flags_[i + 1] = kDecided;  // inside a pair: nothing
    i = next;
  }
  position_ = i;
}

template class LazyLineBreaks<wchar_t>;
template class LazyLineBreaks<char16_t>;
template class LazyLineBreaks<char32_t>;

// ---- UTF-8 ----

char32_t DecodeUtf8(std::string_view text, size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) {
    ++i;
    return lead;
  }
  char32_t c = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return lead;
    }
    c = (c << 6) | (next & 0x3F);
  }
  i += length;
  return c;
}

size_t Utf8ClusterPrefixBytes(std::string_view text, size_t maxCodePoints) {
  GraphemeBreaker clusters;
  size_t count = 0, cut = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const char32_t c = DecodeUtf8(text, i);
    if (clusters.BreaksBefore(c)) cut = start;  // all before `start` is whole clusters
    if (++count > maxCodePoints) return cut;
  }
  return text.size();
}

}  // namespace wb
