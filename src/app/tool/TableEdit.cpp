#include "app/tool/TableEdit.h"

#include "storage/DataFile.h"
#include "storage/FileIo.h"
#include "storage/TextBytes.h"

namespace wb::tool {

bool ReadForEdit(const std::string& command, const std::string& path, TableEdit& edit, std::ostream& err) {
  edit.path = path;
  const std::string who = "wakebell-tool " + command + ": ";
  if (NothingAt(path)) {
    edit.table.Clear();
    edit.readStamp = FileStamp{};
    return true;
  }
  std::string bytes;
  AlarmFileInfo info;
  // The volumes an older layout lacks are left 0 ("as the device is"), as the tool reads them.
  if (!ReadFileStamped(path, bytes, edit.readStamp) || !ParseAlarmFile(bytes, StorageCodec(), edit.table, 0, 0, &info)) {
    err << who << "cannot read the data file '" << path << "'; it is left as it is\n";
    return false;
  }
  edit.keepBackup = !bytes.empty() && (!info.currentLayout || info.headerCount < 0 || info.bytesBeyondTable > 0);
  return true;
}

int WriteEdited(const std::string& command, const TableEdit& edit, std::ostream& err) {
  const std::string who = "wakebell-tool " + command + ": ";
  // The last look before the replacement: a save made elsewhere since the read wins, and this
  // change is not made. (Replacing a file cannot be made conditional on its content, so a save
  // landing in the moment between this look and the swap is the one case left to the reader's
  // own check, as a running program's.)
  if (StampOfFile(edit.path) != edit.readStamp) {
    err << who << "the data file '" << edit.path
        << "' changed while this command ran; nothing was written, run it again\n";
    return 1;
  }
  if (edit.keepBackup && KeepBackupOfFile(edit.path).empty()) {
    err << who << "cannot keep a backup of the data file '" << edit.path << "'; nothing was written\n";
    return 1;
  }
  if (!WriteFileAtomically(edit.path, SerializeAlarmTable(edit.table, StorageCodec()))) {
    err << who << "cannot write the data file '" << edit.path << "'; it is left as it was\n";
    return 1;
  }
  return 0;
}

std::optional<int> WholeNumberArg(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace wb::tool
