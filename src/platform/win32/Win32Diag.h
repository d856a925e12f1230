// The diagnostic log on Windows: lines go to the debugger output (OutputDebugStringW), which
// a debugger or DebugView shows, and Wine prints with WINEDEBUG=+debugstr.
#pragma once
#include <string_view>

namespace wb::win32 {

// Sends the program's diagnostic lines to the debugger output from now on.
void LogToDebugger();

// Logs that `what` failed, with the thread's last error code; call it before anything else
// that may change that code.
void DiagLastError(std::string_view what);

}  // namespace wb::win32
