// Replacing a file in one step on Windows: the new contents are flushed, then MoveFileExW swaps
// them in, so a crash leaves either the old file or the new one, never a torn one.
#include <windows.h>

#include <string>

#include "platform/NativeServices.h"
#include "platform/win32/Utf.h"

namespace wb {

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  std::wstring src = win32::Widen(source), dst = win32::Widen(target);
  HANDLE h = CreateFileW(src.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    FlushFileBuffers(h);
    CloseHandle(h);
  }
  return MoveFileExW(src.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace wb
