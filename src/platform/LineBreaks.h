// Line breaks in long unbroken runs of text, for a view that wraps its text to its width.
// Some rich edits (Wine's among them) lay out a run that has to be cut inside a word in time
// that grows with the square of its length, and every such word of a long text costs again: a
// pasted line of 30,000 letters or kana without a space, or 500 words each wider than the
// window, froze the alarm window for minutes. Cutting such runs into pieces no wider than a
// line beforehand, where the edit would have cut them anyway, keeps the layout linear.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wb::ui {

// What goes between the pieces: a rich edit's paragraph end. (Its soft line break, a vertical
// tab, shows as a box in some rich edits.) The view formats all its paragraphs alike.
inline constexpr wchar_t kCutBreak = L'\r';

// A text of at most this many characters is left to the view: it lays out fast, and an
// ordinary message keeps the view's own wrapping exactly.
inline constexpr size_t kShortTextChars = 256;

// `extents(run)` gives the width of each prefix of the run: element k is the width of its
// first k+1 characters (as GetTextExtentExPoint reports them).
using RunExtents = std::function<std::vector<int>(std::wstring_view run)>;

// The text, when longer than kShortTextChars, with a kCutBreak wherever a run without a
// space or a line end would pass `lineWidth`: each piece fits one line. A piece never ends inside a
// surrogate pair (a character wider than the line gets a line of its own) and, where the line has
// room for a character and its mark, leaves no closing mark (、。」) to start the next line. A line
// width of zero or less leaves the text as it is.
std::wstring BreakLongRuns(const std::wstring& text, int lineWidth, const RunExtents& extents);

}  // namespace wb::ui
