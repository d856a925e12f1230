// The folder watch: a change notification on the data file's folder (a name, size or
// last-write change of any file in it), asked without waiting at each of the monitor's ticks,
// so no thread of its own calls into the program.
#include <windows.h>

#include <string>

#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {

namespace {

struct ChangeNotificationTraits {  // FindFirstChangeNotificationW: INVALID_HANDLE_VALUE when it fails
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { FindCloseChangeNotification(h); }
};

class Win32FileWatch : public IFileWatch {
 public:
  bool Watch(const std::string& file) override {
    std::wstring folder = win32::Widen(file);
    const size_t sep = folder.find_last_of(L"\\/");
    folder = sep == std::wstring::npos ? L"." : folder.substr(0, sep + 1);
    handle_.Reset(FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    return bool(handle_);
  }

  bool TakeChange() override {
    if (!handle_ || WaitForSingleObject(handle_.Get(), 0) != WAIT_OBJECT_0) return false;
    // Re-armed before the file is looked at, so a change made during the look is not lost.
    if (!FindNextChangeNotification(handle_.Get())) handle_.Reset();
    return true;
  }

 private:
  win32::Unique<HANDLE, ChangeNotificationTraits> handle_;
};

}  // namespace

std::unique_ptr<IFileWatch> MakeWin32FileWatch() { return std::make_unique<Win32FileWatch>(); }

}  // namespace wb
