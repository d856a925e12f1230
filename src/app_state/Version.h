// The program's version for C++: major, minor and revision, and the text the user reads
// ("1.0.5"). Generated from the project's version by CMake; no part of the program states it again.
#pragma once
#include "WakebellVersion.h"

namespace wb {

inline constexpr int kVersionMajor = WB_VERSION_MAJOR;
inline constexpr int kVersionMinor = WB_VERSION_MINOR;
inline constexpr int kVersionRevision = WB_VERSION_REVISION;
inline constexpr const char* kVersionText = WB_VERSION_TEXT;

}  // namespace wb
