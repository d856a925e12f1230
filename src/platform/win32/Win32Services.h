// The real Win32 services behind the interfaces of platform/Services.h: MCI, system sound,
// audio devices, tray icon, shell, registry, launcher and instance guard. Only the entry point
// and the Wine checker create them; window logic never sees these types, only the interfaces.
#pragma once
#include <memory>
#include <string>

#include "platform/Services.h"
#include "platform/win32/Owned.h"

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
// Creates its hidden notice window on the calling thread, whose message loop must run.
std::unique_ptr<IPower> MakeWin32Power();

std::unique_ptr<IFolderAccess> MakeWin32FolderAccess();
std::unique_ptr<IFileWatch> MakeWin32FileWatch();

// Folder of the running executable, UTF-8, ending in "\".
std::string ProgramFolder();

namespace win32 {

// Window class of the tray's hidden owner window; it receives the icon's callback messages
// and the shell's "TaskbarCreated" broadcast (so it must be a top-level window, not message-only).
inline constexpr const wchar_t* kTrayWindowClass = L"WakebellTrayOwner";

// Window class of the power service's hidden window: the power and clock broadcasts reach
// top-level windows only. Tests post their resume notices to it.
inline constexpr const wchar_t* kPowerWindowClass = L"WakebellPowerWatch";

// The tip as it goes into the icon record, cut by the tray tip's one rule (LimitTrayTip), so
// that it and its NUL always fit the record's 128-character field.
std::wstring TrayTipText(const std::string& utf8);

// A moment of this PC's local time as the system's time record (to the second); shared by the
// clock's UTC offset and the wake timer's conversion to UTC.
SYSTEMTIME SystemTimeOf(OleDate local);

// Whether `path` names an existing file (not a folder). Shared by the shell and the launcher.
bool FileExistsW(const std::wstring& path);

}  // namespace win32
}  // namespace wb
