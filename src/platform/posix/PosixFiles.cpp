// Replacing a file in one step on Linux: the new contents reach the disk before rename() swaps
// them in, so a crash leaves either the old file or the new one, never a torn one. A sync the
// disk refuses is a failed replacement: the old file stays, and the caller hears of it.
#include "platform/posix/PosixFiles.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/NativeServices.h"

namespace wb {
namespace {

posix::SyncCall g_syncCall = ::fsync;

bool SyncFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = g_syncCall(fd) == 0;
  close(fd);
  return synced;
}

// A file system that cannot sync folders at all says so with EINVAL; the rename is then as
// durable as it can be made there, and refusing every save would help nobody.
bool SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = g_syncCall(fd) == 0 || errno == EINVAL;
  close(fd);
  return synced;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

posix::SyncCall posix::ReplaceSyncCall(SyncCall call) {
  SyncCall before = g_syncCall;
  g_syncCall = call ? call : ::fsync;
  return before;
}

bool TakePermissionsOf(const std::string& model, const std::string& file) {
  struct stat st {};
  if (stat(model.c_str(), &st) != 0) return errno == ENOENT;
  return chmod(file.c_str(), st.st_mode & 07777) == 0;
}

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
  const std::string folder = FolderOf(target);
  // The new file's data and its name in the folder are on the disk before the old file goes.
  if (!SyncFile(source) || !SyncFolder(folder)) return false;
  if (rename(source.c_str(), target.c_str()) != 0) return false;
  // The rename itself lives in the folder; without this a crash could bring back the old name.
  return SyncFolder(folder);
}

}  // namespace wb
