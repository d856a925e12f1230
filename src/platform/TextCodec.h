// The text codec: code page 932 to and from UTF-8, the one conversion the data and settings
// files need. Its own header so that storage sees nothing of windows or other services.
// Portable: no operating-system header.
#pragma once
#include <memory>
#include <string>

namespace wb {

struct ITextCodec {
  virtual ~ITextCodec() = default;
  // Characters with no CP932 form become "?"; `lossless` (when given) tells whether any did.
  virtual std::string ToCp932(const std::string& utf8, bool* lossless = nullptr) = 0;
  virtual std::string FromCp932(const std::string& cp932) = 0;
};

// This platform's codec (Win32: the code page functions; Linux: iconv). Implemented once per
// platform, in platform/win32 and platform/posix.
std::unique_ptr<ITextCodec> MakeNativeCodec();

}  // namespace wb
