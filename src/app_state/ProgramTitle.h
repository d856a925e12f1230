// The program's title: the tray tip at rest, the windows' captions, the title of its message
// boxes and of the About box. Header only; any part of the program may include it.
#pragma once

namespace wb {

inline constexpr const char* kProgramTitle = "Wakebell";

}  // namespace wb
