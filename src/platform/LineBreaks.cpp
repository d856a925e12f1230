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

// One long run, cut into pieces of at most lineWidth, appended to `out`.
void AppendCut(std::wstring_view run, int lineWidth, const std::vector<int>& widths, std::wstring& out) {
  size_t start = 0;
  int before = 0;  // the width of the run before `start`
  for (size_t k = 0; k < run.size() && k < widths.size(); ++k) {
    if (widths[k] - before <= lineWidth || k == start) continue;
    size_t cut = k;  // the piece is run[start, cut)
    if (cut - start > 1 && IsHighSurrogate(run[cut - 1])) --cut;
    if (cut - start > 1 && ClosesPhrase(run[cut])) --cut;  // the mark's line takes the character before it too
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
