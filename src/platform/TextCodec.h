// The text codec: code page 932 to and from UTF-8, the one conversion the data and settings
// files need. Its own header so that storage sees nothing of windows or other services.
// Portable: no operating-system header.
#pragma once
#include <memory>
#include <string>

namespace wb {

// A byte that starts no CP932 character (a lead byte at the end, before a NUL, or before a byte
// it makes no character with) decodes to a private-use character of its own, U+F700 + the
// byte, and that character encodes back to the byte. Text a file held, in whatever bytes,
// is written back exactly as it was read.
inline constexpr char32_t kByteEscapeFirst = 0xF780, kByteEscapeLast = 0xF7FF;
constexpr char32_t ByteEscape(unsigned char b) { return kByteEscapeFirst + (b - 0x80u); }
constexpr bool IsByteEscape(char32_t c) { return c >= kByteEscapeFirst && c <= kByteEscapeLast; }
constexpr unsigned char EscapedByte(char32_t c) { return static_cast<unsigned char>(c - kByteEscapeFirst + 0x80u); }

struct ITextCodec {
  virtual ~ITextCodec() = default;
  // Characters with no CP932 form become "?". `lossless` (when given) tells whether the bytes
  // read back as exactly `utf8`: false when a character had no form, and also when a byte
  // escape next to other text would read back as part of a character (what a file held can
  // always be stored; what a user types around it perhaps not).
  virtual std::string ToCp932(const std::string& utf8, bool* lossless = nullptr) = 0;
  // Undecodable bytes come back as their escapes (above).
  virtual std::string FromCp932(const std::string& cp932) = 0;
};

// This platform's codec (Win32: the code page functions; Linux: iconv). Implemented once per
// platform, in platform/win32 and platform/posix.
std::unique_ptr<ITextCodec> MakeNativeCodec();

}  // namespace wb
