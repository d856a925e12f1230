// Counting and cutting UTF-8 text by characters (code points), never inside one.
#pragma once

#include <cstddef>
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

}  // namespace wb
