// Where the lines of a message end in a view that wraps its text to its width, and where a
// list's row too wide for it is cut. The view's own
// wrapping cannot be trusted with Japanese: some rich edits (Wine's among them) start a line
// with 「。」 or part a number between its digits, and lay out a run that has to be cut inside a
// word in time that grows with the square of its length (a pasted line of 30,000 letters froze
// the alarm window for minutes). So the program ends every line itself, by the rules a Japanese
// reader expects, and the view only shows the pieces.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wb::ui {

// What goes between the pieces: a rich edit's paragraph end. (Its soft line break, a vertical
// tab, shows as a box in some rich edits.) The view formats all its paragraphs alike.
inline constexpr wchar_t kCutBreak = L'\r';

// `extents(run)` gives the width of each prefix of the run: element k is the width of its
// first k+1 characters (as GetTextExtentExPoint reports them).
using RunExtents = std::function<std::vector<int>(std::wstring_view run)>;

// The text with a kCutBreak wherever a line of `lineWidth` ends inside a paragraph, except
// right after a space or tab, where every view ends a line by itself. A line ends only where
// the Unicode line-break rules (UAX #14) allow, with the strict Japanese rules
// (model/TextBreaks.h): no line starts with a closing mark, small kana, ー, 々, 〜 ～ or …
// (full- or half-width: 、。」｡､｣ｰｯ) nor ends with an opening one (「（｢); a number stays with
// its separators and units ("1,000", "28°C", "12:30"); a URL breaks after "/" and the like.
// A word wider than a line is cut where the line is full. Nothing is ever cut inside a
// grapheme cluster (a letter and its marks, ｶﾞ, a flag, an emoji sequence): a cluster wider
// than the line gets a line of its own.
// The text's own characters are all kept, in order. A line width of zero or less leaves the
// text as it is.
std::wstring BreakLines(const std::wstring& text, int lineWidth, const RunExtents& extents);

// Where a list cuts a row too wide for it, to end it in "…": the units of the row's whole
// grapheme clusters (never part of a flag, a letter without its mark) that leave `markWidth`
// of `width` for the mark; the row's size when it fits. `extents` as above, for the row.
size_t RowCutUnits(std::wstring_view row, int width, int markWidth, const std::vector<int>& extents);

}  // namespace wb::ui
