// Code page 932 <-> UTF-8 on Linux, through iconv. Behaves like the Windows code page functions
// the product uses: characters without an exact CP932 form become "?" (no best-fit guesses),
// and undecodable bytes become the characters Windows gives them, so files dump the same on
// both systems.
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/NativeServices.h"

namespace wb {
namespace {

bool IsAscii(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// Length of the UTF-8 sequence starting at s[i], 1 for a broken one.
size_t Utf8Length(const std::string& s, size_t i) {
  unsigned char c = (unsigned char)s[i];
  size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  if (i + n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if (((unsigned char)s[i + k] & 0xC0) != 0x80) return 1;
  return n;
}

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != (iconv_t)-1) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd_ != (iconv_t)-1; }

  // Converts as much of [in, in + inLeft) as it can; returns the errno that stopped it (0 = all).
  int Convert(const char*& in, size_t& inLeft, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[4096];
    while (inLeft > 0) {
      char* inPtr = const_cast<char*>(in);
      char* outPtr = buf;
      size_t outLeft = sizeof buf;
      size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      int err = r == size_t(-1) ? errno : 0;
      in = inPtr;
      out.append(buf, size_t(outPtr - buf));
      if (err == E2BIG) continue;
      if (err != 0) return err;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

class PosixCodec : public ITextCodec {
 public:
  PosixCodec() : toCp932_("CP932", "UTF-8"), fromCp932_("UTF-8", "CP932") {}

  std::string ToCp932(const std::string& utf8, bool* lossless) override {
    if (lossless) *lossless = true;
    if (IsAscii(utf8)) return utf8;  // CP932 keeps the ASCII range as it is
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    bool whole = toCp932_.Ok() && toCp932_.Convert(in, left, out) == 0;
    // iconv maps a few characters that have no CP932 form to look-alikes (the yen sign to a
    // backslash); Windows refuses those. Whatever does not come back unchanged is redone one
    // character at a time, each failing character becoming "?".
    if (whole && FromCp932(out) == utf8) return out;
    if (lossless) *lossless = false;
    out.clear();
    for (size_t i = 0; i < utf8.size();) {
      size_t n = Utf8Length(utf8, i);
      std::string one = utf8.substr(i, n);
      std::string enc;
      const char* p = one.data();
      size_t l = one.size();
      if (toCp932_.Ok() && toCp932_.Convert(p, l, enc) == 0 && FromCp932(enc) == one)
        out += enc;
      else
        out += '?';
      i += n;
    }
    return out;
  }

  std::string FromCp932(const std::string& cp932) override {
    if (IsAscii(cp932)) return cp932;
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    const char* in = cp932.data();
    size_t left = cp932.size();
    while (left > 0) {
      int err = fromCp932_.Ok() ? fromCp932_.Convert(in, left, out) : EILSEQ;
      if (err == 0) break;
      // The bytes Windows decodes although they hold no character of the code page.
      unsigned char b = (unsigned char)*in;
      if (b == 0x80) AppendUtf8(out, 0x80);
      else if (b == 0xA0) AppendUtf8(out, 0xF8F0);
      else if (b >= 0xFD) AppendUtf8(out, 0xF8F1 + (b - 0xFD));
      else AppendUtf8(out, 0x30FB);  // a broken double-byte character: the katakana middle dot
      ++in;
      --left;
    }
    return out;
  }

 private:
  Converter toCp932_, fromCp932_;
};

}  // namespace

std::unique_ptr<ITextCodec> MakeNativeCodec() { return std::make_unique<PosixCodec>(); }

}  // namespace wb
