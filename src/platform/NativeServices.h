// The real services of the machine the program runs on, for the entry points.
// Implemented once per platform (platform/win32, platform/posix). Portable header.
#pragma once
#include <memory>
#include <string>

#include "platform/TextCodec.h"

namespace wb {

struct IClock;

// The system clock of this platform.
std::unique_ptr<IClock> MakeNativeClock();

// Replaces `target` by `source` in one step (the old file stays whole until the new one is
// complete). Both are UTF-8 paths. Returns false when the replacement failed.
bool ReplaceFileAtomically(const std::string& source, const std::string& target);

}  // namespace wb
