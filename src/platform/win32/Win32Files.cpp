// Replacing a file in one step on Windows: the new contents are flushed, then swapped in, so a
// crash leaves either the old file or the new one, never a torn one. A flush the disk refuses
// is a failed replacement: the old file stays, and the caller hears of it.
#include <windows.h>

#include <string>

#include "platform/NativeServices.h"
#include "platform/win32/Owned.h"
#include "platform/win32/Utf.h"

namespace wb {

bool TakePermissionsOf(const std::string&, const std::string&) { return true; }

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  std::wstring src = win32::Widen(source), dst = win32::Widen(target);
  {  // closed before the swap, which needs the file free
    const win32::UniqueFile file(CreateFileW(src.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !FlushFileBuffers(file.Get())) return false;
  }
  // ReplaceFileW keeps the replaced file's attributes, security and creation time, which a
  // plain move would reset to the new file's.
  if (GetFileAttributesW(dst.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ReplaceFileW(dst.c_str(), src.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  // No file to replace yet; or ReplaceFileW could not finish (some file systems lack it, and
  // after some of its failures the old name is already gone): the move puts the new file there.
  return MoveFileExW(src.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace wb
