// Reading the data file to change it and writing it back, for the tool's add and remove: the
// write is one atomic replacement, and it is refused when the file changed since it was read
// (a running program's editor, another PC or another tool saved meanwhile), so nothing saved
// elsewhere is overwritten unseen. Portable: no operating-system header.
#pragma once
#include <optional>
#include <ostream>
#include <string>

#include "model/AlarmTable.h"
#include "storage/FileStamp.h"

namespace wb::tool {

struct TableEdit {
  std::string path;
  AlarmTable table;
  FileStamp readStamp;
  // What the program's save would keep first: an older layout, or bytes the table does not hold.
  bool keepBackup = false;
};

// Reads `path` for a change; a missing file is an empty table. False (reason printed) when
// there is something that is no readable data file.
bool ReadForEdit(const std::string& command, const std::string& path, TableEdit& edit, std::ostream& err);

// Writes the table back, unless the file changed since ReadForEdit. Returns the exit code: 0
// written, 1 changed meanwhile or not written (reason printed, the file as it was).
int WriteEdited(const std::string& command, const TableEdit& edit, std::ostream& err);

// A whole number written in digits alone (up to 9 of them); nothing for anything else.
std::optional<int> WholeNumberArg(const std::string& text);

}  // namespace wb::tool
