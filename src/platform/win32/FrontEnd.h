// The Win32 window front end: native windows and controls behind the control objects, the
// message loop, the common dialogs, the foreground helper and the timer host. Window logic never
// sees these types; WinMain makes them and puts them into Svc(). Needs <windows.h>.
//
// Set-up order on the UI thread, before the first form is touched:
//   auto frontEnd = MakeWin32FrontEnd(hInstance);   // loads comctl32 v6 and the rich edit
//   auto timers = MakeWin32TimerHost();  ui::Timer::SetHost(timers.get());
//   auto dialogs = MakeWin32Dialogs();   auto foreground = MakeWin32Foreground();
//   Svc().frontEnd = frontEnd.get(); Svc().dialogs = dialogs.get(); Svc().foreground = ...;
//   ... touch the monitor window ...; return RunMessageLoop();
// Tear down in the reverse order, after every form is gone.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/win32/Owned.h"

namespace wb {

// `module` holds the resources: the icons named by image keys ("APP", "STOP", "OPEN", ...).
std::unique_ptr<IFrontEnd> MakeWin32FrontEnd(HINSTANCE module);
std::unique_ptr<IDialogs> MakeWin32Dialogs();
// Must be made on the UI thread: that thread is "ours" when the foreground is compared.
std::unique_ptr<IForeground> MakeWin32Foreground();
// SetTimer on a hidden message-only window of the calling thread.
std::unique_ptr<ui::ITimerHost> MakeWin32TimerHost();

// The program's message loop: runs until Quit (WM_QUIT) and returns its exit code. Handles the
// forms' keyboard (Tab, Enter, Esc) and frees retired forms between messages.
int RunMessageLoop();

namespace win32 {

// An icon of the program's resources by image key, `size` pixels square; empty when missing.
UniqueIcon LoadKeyIcon(const std::string& key, int size);

// "description|pattern|description|pattern" -> the double-NUL list of the open-file dialog.
std::wstring FilterList(const std::string& filter);
// The pattern ("*.csv") of item `index`, from 1, of such a list; empty when there is none.
std::wstring FilterPattern(const std::wstring& list, DWORD index);

// Splits the path given to the open-file dialog into its initial folder (up to and including
// the last "\") and the file name offered.
void SplitDialogPath(const std::wstring& path, std::wstring& folder, std::wstring& file);

}  // namespace win32
}  // namespace wb
