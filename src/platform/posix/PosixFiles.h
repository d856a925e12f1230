// The POSIX side of replacing a file in one step, and its one seam: the call that forces an
// open file's or folder's contents to the disk. Tests put a failing one in its place, as a
// failing disk answers (EIO), to see that nothing is then replaced. Linux only.
#pragma once

namespace wb::posix {

using SyncCall = int (*)(int fd);  // 0, or -1 with errno set, as fsync()

// Installs `call` in place of fsync (nullptr: fsync again); returns the one it replaced.
SyncCall ReplaceSyncCall(SyncCall call);

}  // namespace wb::posix
