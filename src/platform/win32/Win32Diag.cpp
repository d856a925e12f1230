#include "platform/win32/Win32Diag.h"

#include <windows.h>

#include <string>

#include "model/Diag.h"
#include "platform/win32/Utf.h"

namespace wb::win32 {
namespace {

void DebuggerSink(std::string_view line) {
  const std::wstring text = Widen(std::string(line)) + L"\n";
  OutputDebugStringW(text.c_str());
}

}  // namespace

void LogToDebugger() { SetDiagSink(&DebuggerSink); }

void DiagLastError(std::string_view what) {
  const DWORD error = GetLastError();
  Diag(std::string(what) + " failed (error " + std::to_string(error) + ")");
}

}  // namespace wb::win32
