// CP932 byte-string helpers of the storage layer, and the codec it converts text with.
// Portable: no operating-system header.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace wb {

// This system's own codec, made on first use.
ITextCodec& StorageCodec();

// Whether a byte opens a double-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest prefix of `cp932` of at most `maxBytes` bytes that does not split a character.
std::string_view CutCp932(std::string_view cp932, size_t maxBytes);

}  // namespace wb
