// MCI command strings through mciSendStringW. The program speaks UTF-8; file names in the
// commands may be Japanese, so the whole command is widened, never passed through the ANSI page.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>

#include "model/Diag.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

constexpr size_t kReplyChars = 256;

// The callers act on the code alone (a failed query means no device); the log keeps MCI's
// own words for whoever looks into a sound that did not play.
void LogError(const std::wstring& command, MCIERROR error) {
  wchar_t text[kReplyChars] = {};
  if (!mciGetErrorStringW(error, text, UINT(kReplyChars))) text[0] = L'\0';
  Diag("MCI \"" + win32::Narrow(command) + "\" failed (" + std::to_string(error) + "): " + win32::Narrow(text));
}

class Win32Mci final : public IMci {
 public:
  uint32_t Send(const std::string& command, std::string* reply) override {
    const std::wstring wide = win32::Widen(command);
    if (!reply) {
      const MCIERROR error = mciSendStringW(wide.c_str(), nullptr, 0, nullptr);
      if (error) LogError(wide, error);
      return error;
    }

    // The buffer starts as spaces, as the callers' mode checks expect; the reply is what MCI
    // wrote before its NUL. A buffer MCI left untouched holds no NUL at all: that is no reply,
    // not 256 blanks (a caller waiting for the empty "no device" answer would wait forever).
    wchar_t buffer[kReplyChars];
    std::fill(buffer, buffer + kReplyChars, L' ');
    const MCIERROR error = mciSendStringW(wide.c_str(), buffer, UINT(kReplyChars), nullptr);
    const wchar_t* end = std::find(buffer, buffer + kReplyChars, L'\0');
    *reply = end == buffer + kReplyChars ? std::string()
                                         : win32::Narrow(std::wstring(buffer, size_t(end - buffer)));
    if (error) LogError(wide, error);
    return error;
  }
};

}  // namespace

std::unique_ptr<IMci> MakeWin32Mci() { return std::make_unique<Win32Mci>(); }

}  // namespace wb
