// The real Win32 services behind the interfaces of platform/Services.h: MCI, system sound,
// audio devices, tray icon, shell, registry, launcher and instance guard. Only the entry point
// and the Wine checker create them; window logic never sees these types, only the interfaces.
#pragma once
#include <memory>
#include <string>

#include "platform/Services.h"

namespace wb {

std::unique_ptr<IMci> MakeWin32Mci();
std::unique_ptr<ISystemSound> MakeWin32SystemSound();
std::unique_ptr<IAudioDevices> MakeWin32AudioDevices();
// Creates the tray's hidden owner window on the calling thread, whose message loop must run.
std::unique_ptr<ITray> MakeWin32Tray();
std::unique_ptr<IShell> MakeWin32Shell();
std::unique_ptr<IRegistry> MakeWin32Registry();
std::unique_ptr<ILauncher> MakeWin32Launcher();
// `mutexName` is the session-wide name that marks a running instance (UTF-8).
std::unique_ptr<IInstance> MakeWin32Instance(const std::string& mutexName = "Local\\Wakebell.Instance");

std::unique_ptr<IFolderAccess> MakeWin32FolderAccess();

// Folder of the running executable, UTF-8, ending in "\".
std::string ProgramFolder();

namespace win32 {

// Window class of the tray's hidden owner window; it receives the icon's callback messages
// and the shell's "TaskbarCreated" broadcast (so it must be a top-level window, not message-only).
inline constexpr const wchar_t* kTrayWindowClass = L"WakebellTrayOwner";

// The tip as it goes into the icon record: at most 63 code points (a surrogate pair is never
// split), so that it and its NUL always fit the record's 128-character field.
std::wstring TrayTipText(const std::string& utf8);

// Initialises COM (single-threaded apartment) on the calling thread for the life of the
// object unless the thread already has it; the shell-link and launch calls need it.
class ComScope {
 public:
  ComScope();
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool uninitialize_ = false;
};

// Whether `path` names an existing file (not a folder). Shared by the shell and the launcher.
bool FileExistsW(const std::wstring& path);

}  // namespace win32
}  // namespace wb
