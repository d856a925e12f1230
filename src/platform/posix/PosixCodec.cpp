// Code page 932 <-> UTF-8 on Linux. The mapping is iconv's ("CP932"), read once into two tables
// so that converting a full data file costs table look-ups, not library calls. It behaves like
// the Windows code page functions the product uses: a character without an exact CP932 form
// becomes "?" (no look-alikes such as the yen sign as a backslash), and the odd single bytes
// become the characters Windows gives them; a byte that starts no character becomes its byte
// escape (TextCodec.h), as the Windows codec makes it, so a file dumps the same on both systems.
#include <iconv.h>

#include <array>
#include <string>
#include <vector>

#include "platform/NativeServices.h"

namespace wb {
namespace {

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// One character through iconv; 0 when it has none. Only used to build the tables.
char32_t DecodeWithIconv(iconv_t cd, const char* in, size_t n) {
  char buf[8];
  char* inPtr = const_cast<char*>(in);
  char* outPtr = buf;
  size_t inLeft = n, outLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0) return 0;
  char32_t c = 0;
  for (char* p = buf; p < outPtr; p += 4)
    c = char32_t((unsigned char)p[0]) << 24 | char32_t((unsigned char)p[1]) << 16 |
        char32_t((unsigned char)p[2]) << 8 | char32_t((unsigned char)p[3]);
  return outPtr - buf == 4 ? c : 0;
}

uint16_t EncodeWithIconv(iconv_t cd, char32_t c) {
  char in[4] = {char(c >> 24), char(c >> 16), char(c >> 8), char(c)};
  char out[8];
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 4, outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) return 0;
  if (outPtr - out == 1) return (unsigned char)out[0];
  if (outPtr - out == 2) return uint16_t((unsigned char)out[0] << 8 | (unsigned char)out[1]);
  return 0;
}

struct Tables {
  std::array<char16_t, 256> single{};  // byte -> character; 0 for lead bytes and holes
  std::vector<char16_t> doubles;       // (lead << 8 | trail) -> character, 0 when none
  std::vector<uint16_t> encode;        // BMP character -> 1 or 2 bytes, 0 when none
  // What decoding writes, ready made: UTF-8 bytes in the low three bytes, their count on top.
  std::array<uint32_t, 256> singleUtf8{};  // a byte alone (a lead byte: its escape)
  std::vector<uint32_t> doubleUtf8;        // a lead byte and the byte after it; 0: no character

  Tables() : doubles(0x10000, 0), encode(0x10000, 0), doubleUtf8(0x10000, 0) {
    Build();
    for (int b = 0; b < 256; ++b) {
      char32_t c = single[size_t(b)];
      // Bytes outside the code page that Windows still decodes to characters of their own.
      if (!c && b != 0) c = b == 0x80 ? 0x80 : b == 0xA0 ? 0xF8F0 : b >= 0xFD ? char32_t(0xF8F1 + (b - 0xFD)) : 0;
      if (!c && b >= 0x80) {  // a lead byte alone, or a hole: the byte's escape, both ways
        c = ByteEscape((unsigned char)b);
        encode[c] = uint16_t(b);
      }
      singleUtf8[size_t(b)] = Packed(c);
    }
    for (size_t code = 0; code < doubleUtf8.size(); ++code)
      doubleUtf8[code] = doubles[code] ? Packed(doubles[code]) : 0;
  }

  static uint32_t Packed(char32_t c) {
    if (c < 0x80) return 1u << 24 | c;
    if (c < 0x800) return 2u << 24 | (0x80 | (c & 0x3F)) << 8 | (0xC0 | (c >> 6));
    return 3u << 24 | (0x80 | (c & 0x3F)) << 16 | (0x80 | ((c >> 6) & 0x3F)) << 8 | (0xE0 | (c >> 12));
  }

 private:
  void Build() {
    iconv_t dec = iconv_open("UTF-32BE", "CP932");
    iconv_t enc = iconv_open("CP932", "UTF-32BE");
    if (dec == (iconv_t)-1 || enc == (iconv_t)-1) {  // no tables: every character is "?"
      if (dec != (iconv_t)-1) iconv_close(dec);
      if (enc != (iconv_t)-1) iconv_close(enc);
      return;
    }
    for (int b = 1; b < 256; ++b) {
      if (IsLead((unsigned char)b)) continue;
      char byte = char(b);
      single[size_t(b)] = char16_t(DecodeWithIconv(dec, &byte, 1));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLead((unsigned char)lead)) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        char pair[2] = {char(lead), char(trail)};
        char32_t c = DecodeWithIconv(dec, pair, 2);
        if (c > 0 && c < 0x10000) doubles[size_t(lead << 8 | trail)] = char16_t(c);
      }
    }
    // Encoding: the code iconv picks for a character (several codes share some characters),
    // kept only when it decodes back to that character.
    auto decode = [&](uint16_t code) { return code < 0x100 ? single[code] : doubles[code]; };
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      uint16_t code = EncodeWithIconv(enc, c);
      if (code != 0 && decode(code) == c) encode[c] = code;
    }
    // The bytes outside the code page that Windows maps to characters of their own, both ways.
    encode[0x80] = 0x80;
    encode[0xF8F0] = 0xA0;
    for (uint16_t b = 0xFD; b <= 0xFF; ++b) encode[0xF8F1 + (b - 0xFD)] = b;
    iconv_close(dec);
    iconv_close(enc);
  }
};

const Tables& Cp932() {
  static const Tables tables;
  return tables;
}

// The character at s[i] and its length; length 0 for a broken or overlong sequence.
char32_t NextUtf8(const std::string& s, size_t i, size_t& len) {
  unsigned char b = (unsigned char)s[i];
  len = 0;
  size_t n = b < 0x80 ? 1 : b >= 0xC2 && b < 0xE0 ? 2 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xF0 && b < 0xF5 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
  for (size_t k = 1; k < n; ++k) {
    unsigned char t = (unsigned char)s[i + k];
    if ((t & 0xC0) != 0x80) return 0;
    c = c << 6 | (t & 0x3F);
  }
  static const char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  len = n;
  return c;
}

class PosixCodec : public ITextCodec {
 public:
  PosixCodec() : t_(Cp932()) {}

  std::string ToCp932(const std::string& utf8, bool* lossless) override {
    bool whole = true;
    // CP932 never takes more bytes than UTF-8 (4 -> "??").
    if (scratch_.size() < utf8.size()) scratch_.resize(utf8.size());
    char* const start = scratch_.data();
    char* p = start;
    for (size_t i = 0; i < utf8.size();) {
      unsigned char b = (unsigned char)utf8[i];
      if (b < 0x80) {
        *p++ = char(b);
        ++i;
        continue;
      }
      size_t len;
      char32_t c = NextUtf8(utf8, i, len);
      uint16_t code = len && c < 0x10000 ? t_.encode[c] : 0;
      if (code == 0) {
        *p++ = '?';
        if (c >= 0x10000) *p++ = '?';  // one per UTF-16 unit, as Windows converts them
        whole = false;
      } else if (code < 0x100) {
        *p++ = char(code);
      } else {
        *p++ = char(code >> 8);
        *p++ = char(code & 0xFF);
      }
      i += len ? len : 1;
    }
    std::string out(start, size_t(p - start));
    if (lossless) *lossless = whole && FromCp932(out) == utf8;
    return out;
  }

  std::string FromCp932(const std::string& cp932) override {
    // Decoded into a reused buffer, so each result is one allocation of the exact size.
    if (scratch_.size() < cp932.size() * 3 + 3) scratch_.resize(cp932.size() * 3 + 3);
    char* const start = scratch_.data();
    char* p = start;
    for (size_t i = 0; i < cp932.size();) {
      unsigned char b = (unsigned char)cp932[i];
      if (b < 0x80) {
        *p++ = char(b);
        ++i;
        continue;
      }
      uint32_t packed = 0;
      if (IsLead(b) && i + 1 < cp932.size()) packed = t_.doubleUtf8[size_t(b << 8 | (unsigned char)cp932[i + 1])];
      if (packed) {
        i += 2;
      } else {  // a lead byte that makes no character with the next one stands alone
        packed = t_.singleUtf8[b];
        ++i;
      }
      p[0] = char(packed);
      p[1] = char(packed >> 8);
      p[2] = char(packed >> 16);
      p += packed >> 24;
    }
    return std::string(start, size_t(p - start));
  }

 private:
  const Tables& t_;
  std::string scratch_;
};

}  // namespace

std::unique_ptr<ITextCodec> MakeNativeCodec() { return std::make_unique<PosixCodec>(); }

}  // namespace wb
