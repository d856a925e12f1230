// Code page 932 <-> UTF-8 through the Windows code page functions, via UTF-16. Characters
// without an exact CP932 form become "?" (no best-fit look-alikes) and are reported, so the
// editor can refuse them before they are stored.
#include <windows.h>

#include <string>

#include "platform/NativeServices.h"
#include "platform/win32/Utf.h"

namespace wb {
namespace {

constexpr UINT kCp932 = 932;

class Win32Codec : public ITextCodec {
 public:
  std::string ToCp932(const std::string& utf8, bool* lossless) override {
    if (lossless) *lossless = true;
    if (utf8.empty()) return {};
    int wn = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    if (wn == 0 && lossless) *lossless = false;  // broken UTF-8: converted with replacements
    std::wstring w = win32::Widen(utf8);
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, w.data(), int(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
      WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, w.data(), int(w.size()), out.data(), n,
                          nullptr, &usedDefault);
    if (usedDefault && lossless) *lossless = false;
    return out;
  }

  std::string FromCp932(const std::string& cp932) override {
    if (cp932.empty()) return {};
    int n = MultiByteToWideChar(kCp932, 0, cp932.data(), int(cp932.size()), nullptr, 0);
    std::wstring w(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(kCp932, 0, cp932.data(), int(cp932.size()), w.data(), n);
    return win32::Narrow(w);
  }
};

}  // namespace

std::unique_ptr<ITextCodec> MakeNativeCodec() { return std::make_unique<Win32Codec>(); }

}  // namespace wb
