// Where the running program lives: the settings file and the default data file sit beside it.
#include <windows.h>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {  // a long path truncates the name and fills the buffer exactly: try a larger one
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};  // longer than any path Windows accepts
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return win32::Narrow(slash == std::wstring::npos ? std::wstring(L".\\") : path.substr(0, slash) + L"\\");
}

}  // namespace wb
