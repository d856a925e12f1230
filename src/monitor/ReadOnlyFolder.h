// The start-up's one word about a program folder that cannot be written: the settings and the
// data file live there, so nothing the user changes could be kept. Said once, at start-up; the
// program goes on with the table it read and writes nowhere else instead.
#pragma once
#include <string>

namespace wb {

// The message naming `programFolder` (with its separator at the end, as the program keeps it).
std::string ReadOnlyFolderMessage(const std::string& programFolder);

// Shows the message; start-up asks the folder service first and remembers the answer in
// App().programFolderWritable.
void WarnProgramFolderReadOnly(const std::string& programFolder);

}  // namespace wb
