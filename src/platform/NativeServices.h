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
// complete). Both are UTF-8 paths. Returns false when the replacement failed, and also when the
// new data or the folder could not be made durable: then `target` is left as it was, except
// when only the final folder sync after the swap fails (the swap cannot be taken back).
bool ReplaceFileAtomically(const std::string& source, const std::string& target);

// Gives the new, still empty file `file` the permissions of `model`, so that data never lies
// in a file more open than the one it replaces or is a copy of. POSIX: the mode bits; Windows:
// nothing to do (the replacement carries attributes and security over). True when `model` is
// missing or its permissions were taken.
bool TakePermissionsOf(const std::string& model, const std::string& file);

}  // namespace wb
