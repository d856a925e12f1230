// Whether the program can make files in a folder: by creating a hidden trial file there that
// the system deletes as soon as it is closed. The manifest asks for no elevation, so a write
// to Program Files is refused here rather than quietly sent to the user's virtual store.
#include <windows.h>

#include <string>

#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {

namespace {

class Win32FolderAccess : public IFolderAccess {
 public:
  bool CanCreateFilesIn(const std::string& folder) override {
    const std::wstring base = win32::Widen(folder) + L"Wakebell-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    // A name left over by another process is taken as in use, never opened or removed.
    for (int attempt = 0; attempt < 8; ++attempt) {
      const std::wstring trial = base + std::to_wstring(attempt) + L".tmp";
      // Closing the handle (at once, as it goes out of scope) deletes the file again.
      win32::UniqueFile file(CreateFileW(trial.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                         nullptr));
      if (file) return true;
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<IFolderAccess> MakeWin32FolderAccess() { return std::make_unique<Win32FolderAccess>(); }

}  // namespace wb
