#include "platform/LineBreaks.h"

namespace wb::ui {
namespace {

bool IsBreak(wchar_t ch) {
  return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\x3000';
}

// Marks a Japanese line does not start with.
bool ClosesPhrase(wchar_t ch) {
  return std::wstring_view(L"、。，．,.・：；？！゛゜ヽヾゝゞ々ー）〕］｝〉》」』】〙〗〟’”｠»ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ").find(ch) !=
         std::wstring_view::npos;
}

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(wchar_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Whether a cut before run[at] would part the two halves of a surrogate pair.
bool InsidePair(std::wstring_view run, size_t at) {
  return at > 0 && at < run.size() && IsHighSurrogate(run[at - 1]) && IsLowSurrogate(run[at]);
}

// Where the character that ends just before run[at] starts (one unit back, or two for a pair).
size_t CharBefore(std::wstring_view run, size_t at) { return at >= 2 && InsidePair(run, at - 1) ? at - 2 : at - 1; }

// Where the piece that starts at `start` ends when run[overflow] no longer fits its line. Each
// step back moves by whole characters, so no order of the steps can end a piece inside a pair.
size_t CutBefore(std::wstring_view run, size_t start, size_t overflow) {
  size_t cut = overflow;
  if (InsidePair(run, cut)) --cut;  // the pair goes to the next line whole
  // A closing mark takes the character before it to the next line, and so on over a run of
  // marks ("。」"); a line holding nothing but marks is cut where it overflows all the same.
  const size_t fits = cut;
  while (cut > start && ClosesPhrase(run[cut])) cut = CharBefore(run, cut);
  if (cut <= start) cut = fits;
  // One character wider than the line: it gets a line of its own, both halves of a pair too.
  if (cut <= start) cut = InsidePair(run, overflow) ? overflow + 1 : overflow;
  return cut;
}

// One long run, cut into pieces of at most lineWidth, appended to `out`.
void AppendCut(std::wstring_view run, int lineWidth, const std::vector<int>& widths, std::wstring& out) {
  size_t start = 0;
  int before = 0;  // the width of the run before `start`
  for (size_t k = 0; k < run.size() && k < widths.size(); ++k) {
    if (widths[k] - before <= lineWidth || k == start) continue;
    const size_t cut = CutBefore(run, start, k);  // the piece is run[start, cut)
    out.append(run.substr(start, cut - start));
    out += kCutBreak;
    before = widths[cut - 1];
    start = cut;
  }
  out.append(run.substr(start));
}

}  // namespace

std::wstring BreakLongRuns(const std::wstring& text, int lineWidth, const RunExtents& extents) {
  if (lineWidth <= 0 || text.size() <= kShortTextChars) return text;
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    const std::wstring_view run(text.data() + i, end - i);
    if (run.size() > 1) AppendCut(run, lineWidth, extents(run), out);
    else out.append(run);
    if (end < text.size()) out += text[end++];
    i = end;
  }
  return out;
}

}  // namespace wb::ui
