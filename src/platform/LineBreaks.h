// Where the lines of a message end in a view that wraps its text to its width. The view's own
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
// right after a space or tab, where every view ends a line by itself. The rules, in order:
// - a line never starts with a closing mark (、。」) nor ends with an opening one (「（), where
//   the line has room for the characters they cling to;
// - letters and digits standing together ("10", "OK", "http://...") stay on one line, unless
//   they are wider than a line; then they are cut where the line is full;
// - a piece never ends inside a surrogate pair (a character wider than the line gets a line of
//   its own).
// The text's own characters are all kept, in order. A line width of zero or less leaves the
// text as it is.
std::wstring BreakLines(const std::wstring& text, int lineWidth, const RunExtents& extents);

}  // namespace wb::ui
