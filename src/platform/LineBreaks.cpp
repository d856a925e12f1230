#include "platform/LineBreaks.h"

#include <algorithm>

#include "model/TextBreaks.h"

namespace wb::ui {
namespace {

bool IsSpace(wchar_t ch) { return ch == L' ' || ch == L'\t'; }
bool IsParagraphEnd(wchar_t ch) { return ch == L'\r' || ch == L'\n'; }

// Where the lines of one paragraph may end (the Unicode rules with the Japanese tailorings,
// never inside a grapheme cluster), asked near each line's end alone.
class Paragraph {
 public:
  Paragraph(std::wstring_view text, const std::vector<int>& widths)
      : text_(text), widths_(widths), breaks_(text, kJapaneseStrict) {}

  // The first unit of the line that starts at `start` that does not fit `lineWidth`, or the
  // paragraph's size when the rest fits. A line holds at least its first unit.
  size_t Overflow(size_t start, int lineWidth) const {
    const int limit = (start > 0 ? widths_[start - 1] : 0) + lineWidth;
    const auto end = widths_.begin() + std::ptrdiff_t(text_.size());
    const size_t overflow = size_t(std::upper_bound(widths_.begin() + std::ptrdiff_t(start), end, limit) - widths_.begin());
    return std::max(overflow, start + 1);
  }

  // Where the line that starts at `start` ends when text[overflow] no longer fits it.
  size_t CutBefore(size_t start, size_t overflow, int lineWidth) {
    // Spaces hang at the end of a line: the next line starts after them.
    if (IsSpace(text_[overflow])) {
      size_t after = overflow;
      while (after < text_.size() && IsSpace(text_[after])) ++after;
      return after;
    }
    size_t opportunity = overflow;
    while (opportunity > start && !breaks_.MayBreakBefore(opportunity)) --opportunity;
    // A word that fits a line goes whole to the next one; one wider than a line (a pasted
    // word of 30,000 letters) is cut where the line is full, between two clusters.
    if (opportunity > start && !WiderThanLine(opportunity, lineWidth)) return opportunity;
    size_t cut = overflow;
    while (cut > start && !breaks_.ClusterStartsAt(cut)) --cut;
    if (cut > start) return cut;
    // The line's first cluster is wider than the line: it gets a line of its own.
    cut = overflow + 1;
    while (cut < text_.size() && !breaks_.ClusterStartsAt(cut)) ++cut;
    return cut;
  }

 private:
  // Whether the word at `from` (up to the next place a line may end, spaces left out) is wider
  // than a line. Only a line's width of it is looked at.
  bool WiderThanLine(size_t from, int lineWidth) {
    const size_t overflow = Overflow(from, lineWidth);  // the word is wider when it reaches this
    for (size_t end = from + 1; end <= overflow; ++end)
      if (end >= text_.size() || IsSpace(text_[end]) || breaks_.MayBreakBefore(end)) return false;
    return true;
  }

  std::wstring_view text_;
  const std::vector<int>& widths_;
  LazyLineBreaks<wchar_t> breaks_;
};

// One paragraph, its lines ended, appended to `out`.
void AppendParagraph(std::wstring_view text, int lineWidth, const std::vector<int>& widths, std::wstring& out) {
  if (widths.size() < text.size()) {  // no width for every character: left to the view
    out.append(text);
    return;
  }
  Paragraph p(text, widths);
  size_t start = 0;
  for (;;) {
    const size_t overflow = p.Overflow(start, lineWidth);
    if (overflow >= text.size()) break;
    const size_t cut = p.CutBefore(start, overflow, lineWidth);
    if (cut >= text.size()) break;
    out.append(text.substr(start, cut - start));
    if (!IsSpace(text[cut - 1])) out += kCutBreak;  // after a space the view ends the line itself
    start = cut;
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

size_t RowCutUnits(std::wstring_view row, int width, int markWidth, const std::vector<int>& extents) {
  if (row.empty() || extents.size() < row.size() || extents[row.size() - 1] <= width) return row.size();
  const auto end = extents.begin() + std::ptrdiff_t(row.size());
  size_t fits = size_t(std::upper_bound(extents.begin(), end, width - markWidth) - extents.begin());
  LazyLineBreaks<wchar_t> clusters(row, kJapaneseStrict);
  while (fits > 0 && !clusters.ClusterStartsAt(fits)) --fits;
  return fits;
}

}  // namespace wb::ui
