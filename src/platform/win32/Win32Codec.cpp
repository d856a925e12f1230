// Code page 932 <-> UTF-8 through the Windows code page functions, via UTF-16. Characters
// without an exact CP932 form become "?" (no best-fit look-alikes) and are reported, so the
// editor can refuse them before they are stored. A byte that starts no character decodes to
// its byte escape (TextCodec.h) instead of the code page's default character, and the escape
// encodes back to the byte.
#include <windows.h>

#include <string>

#include "platform/NativeServices.h"
#include "platform/win32/Utf.h"

namespace wb {
namespace {

constexpr UINT kCp932 = 932;

// Appends the CP932 form of w[from, to); true when every character had one.
bool AppendCp932(const std::wstring& w, size_t from, size_t to, std::string& out) {
  if (from >= to) return true;
  const int length = int(to - from);
  int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, w.data() + from, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  const size_t had = out.size();
  out.resize(had + size_t(n));
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, w.data() + from, length, out.data() + had, n, nullptr,
                      &usedDefault);
  return !usedDefault;
}

// Appends the UTF-16 form of bytes [from, to), which hold whole characters only.
void AppendUtf16(const std::string& cp932, size_t from, size_t to, std::wstring& out) {
  if (from >= to) return;
  const int length = int(to - from);
  int n = MultiByteToWideChar(kCp932, 0, cp932.data() + from, length, nullptr, 0);
  if (n <= 0) return;
  const size_t had = out.size();
  out.resize(had + size_t(n));
  MultiByteToWideChar(kCp932, 0, cp932.data() + from, length, out.data() + had, n);
}

bool IsCharacter(const char* bytes, int n) {
  return MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes, n, nullptr, 0) > 0;
}

class Win32Codec : public ITextCodec {
 public:
  std::string ToCp932(const std::string& utf8, bool* lossless) override {
    if (lossless) *lossless = true;
    if (utf8.empty()) return {};
    bool whole = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0) != 0;
    const std::wstring w = win32::Widen(utf8);  // broken UTF-8: converted with replacements
    std::string out;
    size_t run = 0;  // the text since the last byte escape
    for (size_t i = 0; i < w.size(); ++i) {
      if (!IsByteEscape(char32_t(w[i]))) continue;
      whole = AppendCp932(w, run, i, out) && whole;
      out += char(EscapedByte(char32_t(w[i])));
      run = i + 1;
    }
    whole = AppendCp932(w, run, w.size(), out) && whole;
    if (lossless) *lossless = whole && FromCp932(out) == utf8;
    return out;
  }

  std::string FromCp932(const std::string& cp932) override {
    if (cp932.empty()) return {};
    if (IsCharacter(cp932.data(), int(cp932.size()))) {  // the usual case: all of it is text
      std::wstring w;
      AppendUtf16(cp932, 0, cp932.size(), w);
      return win32::Narrow(w);
    }
    // Character by character: a lead byte that makes no character with the next byte (or has
    // none) stands alone as its escape; every other byte decodes as the code page says.
    std::wstring w;
    size_t run = 0;
    for (size_t i = 0; i < cp932.size();) {
      const unsigned char b = (unsigned char)cp932[i];
      if (!IsDBCSLeadByteEx(kCp932, b)) {
        ++i;
        continue;
      }
      if (i + 1 < cp932.size() && cp932[i + 1] != '\0' && IsCharacter(cp932.data() + i, 2)) {
        i += 2;
        continue;
      }
      AppendUtf16(cp932, run, i, w);
      w += wchar_t(ByteEscape(b));
      run = ++i;
    }
    AppendUtf16(cp932, run, cp932.size(), w);
    return win32::Narrow(w);
  }
};

}  // namespace

std::unique_ptr<ITextCodec> MakeNativeCodec() { return std::make_unique<Win32Codec>(); }

}  // namespace wb
