#include "platform/LineBreaks.h"

namespace wb::ui {
namespace {

bool IsSpace(wchar_t ch) { return ch == L' ' || ch == L'\t'; }
bool IsParagraphEnd(wchar_t ch) { return ch == L'\r' || ch == L'\n'; }

// Marks a Japanese line does not start with.
bool ClosesPhrase(wchar_t ch) {
  return std::wstring_view(L"、。，．,.・：；？！?!:;%)]}゛゜ヽヾゝゞ々ー）〕］｝〉》」』】〙〗〟’”｠»ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ％")
             .find(ch) != std::wstring_view::npos;
}

// Marks a Japanese line does not end with.
bool OpensPhrase(wchar_t ch) {
  return std::wstring_view(L"([{（〔［｛〈《「『【〘〖〝‘“｟«＄￥＃").find(ch) != std::wstring_view::npos;
}

// Characters that read as one word with their neighbours, as in English text, which breaks
// only at spaces: every printable ASCII character ("10:30", "3.5%", "http://..."), the other
// alphabets, and the full-width letters and digits.
bool IsWordChar(wchar_t ch) {
  if (ch > L' ' && ch < 0x7F) return true;
  if (ch >= L'０' && ch <= L'９') return true;
  if ((ch >= L'Ａ' && ch <= L'Ｚ') || (ch >= L'ａ' && ch <= L'ｚ')) return true;
  return ch >= 0xC0 && ch < 0x2E80 && !ClosesPhrase(ch) && !OpensPhrase(ch);
}

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(wchar_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Whether a cut before text[at] would part the two halves of a surrogate pair.
bool InsidePair(std::wstring_view text, size_t at) {
  return at > 0 && at < text.size() && IsHighSurrogate(text[at - 1]) && IsLowSurrogate(text[at]);
}

// Whether a line may end just before text[at].
bool MayBreakBefore(std::wstring_view text, size_t at) {
  if (at == 0 || at >= text.size() || InsidePair(text, at)) return false;
  const wchar_t before = text[at - 1], after = text[at];
  if (IsSpace(before)) return true;
  if (IsSpace(after)) return false;
  if (IsWordChar(before) && IsWordChar(after)) return false;
  return !ClosesPhrase(after) && !OpensPhrase(before);
}

// The width of text[from, to) given the prefix widths.
int WidthOf(const std::vector<int>& widths, size_t from, size_t to) {
  if (to <= from) return 0;
  return widths[to - 1] - (from > 0 ? widths[from - 1] : 0);
}

// Where the line that starts at `start` ends when text[overflow] no longer fits it.
size_t CutBefore(std::wstring_view text, const std::vector<int>& widths, int lineWidth, size_t start, size_t overflow) {
  // Spaces hang at the end of a line: the next line starts after them.
  if (IsSpace(text[overflow])) {
    size_t after = overflow;
    while (after < text.size() && IsSpace(text[after])) ++after;
    return after;
  }
  // A word wider than a line is cut where the line is full; one that fits goes whole to the next.
  // (Only a line's width of it is looked at: a pasted word of 30,000 letters is cut a thousand
  // times.)
  size_t wordStart = overflow;
  bool wideWord = false;
  if (IsWordChar(text[overflow])) {
    while (wordStart > start && IsWordChar(text[wordStart - 1])) --wordStart;
    size_t end = overflow;
    while (end < text.size() && IsWordChar(text[end]) && WidthOf(widths, wordStart, end + 1) <= lineWidth) ++end;
    wideWord = end < text.size() && IsWordChar(text[end]);
  }
  for (size_t at = overflow; at > start; --at) {
    if (MayBreakBefore(text, at)) return at;
    if (wideWord && at > wordStart && at <= overflow && !InsidePair(text, at) && !ClosesPhrase(text[at])) return at;
  }
  // No place the rules allow: the line is cut where it is full, a pair kept whole.
  if (!InsidePair(text, overflow)) return overflow;
  return overflow - 1 > start ? overflow - 1 : overflow + 1;
}

// One paragraph, its lines ended, appended to `out`.
void AppendParagraph(std::wstring_view text, int lineWidth, const std::vector<int>& widths, std::wstring& out) {
  size_t start = 0;
  for (size_t k = 0; k < text.size() && k < widths.size(); ++k) {
    if (k == start || WidthOf(widths, start, k + 1) <= lineWidth) continue;
    const size_t cut = CutBefore(text, widths, lineWidth, start, k);
    if (cut >= text.size()) break;
    out.append(text.substr(start, cut - start));
    if (!IsSpace(text[cut - 1])) out += kCutBreak;  // after a space the view ends the line itself
    start = cut;
    k = cut - 1;  // the loop's step looks at text[cut] next, now the first of its line
  }
  out.append(text.substr(start));
}

}  // namespace

std::wstring BreakLines(const std::wstring& text, int lineWidth, const RunExtents& extents) {
  if (lineWidth <= 0) return text;
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    while (end < text.size() && !IsParagraphEnd(text[end])) ++end;
    const std::wstring_view paragraph(text.data() + i, end - i);
    if (paragraph.size() > 1) AppendParagraph(paragraph, lineWidth, extents(paragraph), out);
    else out.append(paragraph);
    if (end < text.size()) out += text[end++];
    i = end;
  }
  return out;
}

}  // namespace wb::ui
