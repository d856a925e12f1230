// Counting and cutting UTF-8 text by characters (code points), never inside one, and by the
// columns a Japanese fixed-pitch font gives them (a full-width character takes two).
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

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

inline int Utf8Columns(std::string_view text) {
  int used = 0;
  for (size_t i = 0; i < text.size();) used += ColumnsOfCodePoint(NextCodePoint(text, i));
  return used;
}

// `text` cut to at most `columns` columns, ending in "…" (two columns) when it had to be cut.
inline std::string CutToColumns(std::string_view text, int columns) {
  int used = 0;
  size_t markEnd = 0;  // where it ends when it is cut, leaving room for the mark
  for (size_t i = 0; i < text.size();) {
    used += ColumnsOfCodePoint(NextCodePoint(text, i));
    if (used > columns) return std::string(text.substr(0, markEnd)) + "…";
    if (used <= columns - 2) markEnd = i;
  }
  return std::string(text);
}

}  // namespace wb
