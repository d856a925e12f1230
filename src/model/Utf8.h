// Counting and cutting UTF-8 text by characters (code points) and by grapheme clusters (what a
// reader takes for one character: a letter with its marks, a half-width kana with its sound
// mark, a flag, an emoji sequence), never inside one, and by the columns a Japanese fixed-pitch
// font gives them (a full-width character takes two).
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/TextBreaks.h"

namespace wb {

// The bytes of the first `chars` characters of `text` (all of it when it has fewer).
inline size_t Utf8PrefixBytes(std::string_view text, size_t chars) {
  size_t end = 0;
  for (size_t n = 0; n < chars && end < text.size(); ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return end;
}

// The columns of one character: one for ASCII, Latin-1 and the half-width katakana, two for
// everything else a Japanese fixed-pitch font draws (kanji, kana, full-width forms, marks).
inline int ColumnsOfCodePoint(char32_t c) {
  if (c < 0x100) return 1;
  if (c >= 0xFF61 && c <= 0xFF9F) return 1;
  return 2;
}

// The code point that starts at text[i], and the index after it.
inline char32_t NextCodePoint(std::string_view text, size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t k = 1; k < length && i + k < text.size(); ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  i = std::min(text.size(), i + length);
  return c;
}

// The end of the grapheme cluster that starts at text[start], and its columns: its first
// code point's, and one more for each half-width sound mark (ﾞ ﾟ take a cell of their own);
// combining marks, emoji modifiers and the rest of a sequence take none.
inline size_t Utf8ClusterEnd(std::string_view text, size_t start, int* columns = nullptr) {
  GraphemeBreaker clusters;
  size_t i = start;
  int used = 0;
  while (i < text.size()) {
    size_t next = i;
    const char32_t c = DecodeUtf8(text, next);
    if (clusters.BreaksBefore(c) && i != start) break;
    used += i == start ? ColumnsOfCodePoint(c) : (c == U'\uFF9E' || c == U'\uFF9F') ? 1 : 0;
    i = next;
  }
  if (columns) *columns = used;
  return i;
}

// The bytes of the first `clusters` grapheme clusters of `text` (all of it when it has fewer).
inline size_t Utf8ClusterCountPrefixBytes(std::string_view text, size_t clusters) {
  size_t end = 0;
  for (size_t n = 0; n < clusters && end < text.size(); ++n) end = Utf8ClusterEnd(text, end);
  return end;
}

// The longest run of whole clusters at the start of `text` that takes at most `maxBytes`.
inline size_t Utf8ClusterPrefixWithin(std::string_view text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = Utf8ClusterEnd(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return end;
}

inline int Utf8Columns(std::string_view text) {
  int used = 0;
  for (size_t i = 0; i < text.size();) {
    int columns = 0;
    i = Utf8ClusterEnd(text, i, &columns);
    used += columns;
  }
  return used;
}

// `text` cut to at most `columns` columns, ending in "…" (two columns) when it had to be cut,
// between two clusters.
inline std::string CutToColumns(std::string_view text, int columns) {
  int used = 0;
  size_t markEnd = 0;  // where it ends when it is cut, leaving room for the mark
  for (size_t i = 0; i < text.size();) {
    int width = 0;
    i = Utf8ClusterEnd(text, i, &width);
    used += width;
    if (used > columns) return std::string(text.substr(0, markEnd)) + "…";
    if (used <= columns - 2) markEnd = i;
  }
  return std::string(text);
}

}  // namespace wb
