// The real services of the machine the program runs on, for the entry points.
// Implemented once per platform (platform/win32, platform/posix). Portable header.
#pragma once
#include <memory>

#include "platform/Services.h"

namespace wb {

// Code page 932 <-> UTF-8 of this platform (Win32: the code page functions; Linux: iconv).
std::unique_ptr<ITextCodec> MakeNativeCodec();
// The system clock of this platform.
std::unique_ptr<IClock> MakeNativeClock();

// Replaces `target` by `source` in one step (the old file stays whole until the new one is
// complete). Both are UTF-8 paths. Returns false when the replacement failed.
bool ReplaceFileAtomically(const std::string& source, const std::string& target);

}  // namespace wb
