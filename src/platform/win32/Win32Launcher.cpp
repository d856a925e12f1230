// Starting other programs (the volume mixer, the system information tool) by name or path.
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Services.h"

namespace wb {
namespace {

class Win32Launcher final : public ILauncher {
 public:
  bool FileExists(const std::string& path) override { return win32::FileExistsW(win32::Widen(path)); }

  bool Start(const std::string& program) override {
    if (program.empty()) return false;
    win32::ComScope com;  // the shell may hand the start to a COM object
    const std::wstring file = win32::Widen(program);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No error box of the shell's own: the caller shows the program's message on failure.
    // NOASYNC: the call finishes before the COM scope above ends.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
  }
};

}  // namespace

std::unique_ptr<ILauncher> MakeWin32Launcher() { return std::make_unique<Win32Launcher>(); }

}  // namespace wb
