// The program's diagnostic log: one line for a failure that the user does not see and that
// no caller can act on (a window that could not be made, a media command refused, a program
// error). The line goes to a sink the platform sets at start-up (the debugger output on
// Windows, where a windowed program has no standard error); by default to standard error.
// Portable: no operating-system header.
#pragma once
#include <string_view>

namespace wb {

// Receives one line without its line end; must not throw.
using DiagSink = void (*)(std::string_view line);

// Sets where lines go (null: standard error again) and returns the sink it replaces.
DiagSink SetDiagSink(DiagSink sink);

// Writes "Wakebell: " and `line` to the sink.
void Diag(std::string_view line);

}  // namespace wb
