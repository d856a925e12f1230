// Replacing a file in one step on Linux: the new contents reach the disk before rename() swaps
// them in, so a crash leaves either the old file or the new one, never a torn one.
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <string>

#include "platform/NativeServices.h"

namespace wb {
namespace {

void SyncPath(const std::string& path, int flags) {
  int fd = open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  SyncPath(source, O_RDONLY);
  if (rename(source.c_str(), target.c_str()) != 0) return false;
  // The rename itself lives in the folder; without this a crash could bring back the old name.
  SyncPath(FolderOf(target), O_RDONLY | O_DIRECTORY);
  return true;
}

}  // namespace wb
