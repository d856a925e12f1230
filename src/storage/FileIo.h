// Whole-file reads, atomic writes and backups for the data and settings files.
// Paths are UTF-8 with "\" or "/" as folder separators. Portable: no operating-system header
// (the one-step replacement comes from the platform's NativeServices).
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace wb {

std::filesystem::path PathFromUtf8(const std::string& path);

// The folder part of a path: everything up to and including its last "\" or "/" ("" if none).
std::string FolderOf(const std::string& path);

bool FileExists(const std::string& path);

// True only when nothing at all is at `path` (no file, folder or link, not even a broken one):
// a writer may then start a new file there. Whatever else cannot be read must be left alone.
bool NothingAt(const std::string& path);

// Opens a regular file to be read a piece at a time, and tells its size. False when it is no
// regular file or cannot be opened.
bool OpenToRead(const std::string& path, std::ifstream& in, uint64_t& size);

// Reads the whole file. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Reads the first `maxBytes` bytes of the file (all of it when it is smaller), so that a file of
// any size costs no more than that. False when it cannot be opened or read.
bool ReadFileHead(const std::string& path, size_t maxBytes, std::string& bytes);

// Reads the last `maxBytes` bytes of the file (all of it when it is smaller); `size` is the
// whole file's. False when it cannot be opened or read.
bool ReadFileTail(const std::string& path, size_t maxBytes, std::string& bytes, uint64_t& size);

// Writes `bytes` to "<path>.tmp" and then puts it in place of `path` in one step, so the old
// file stays whole until the new one is complete. A link at `path` stays a link: the file it
// leads to is replaced. The new file keeps the permissions of the one it replaces, or, when
// there is none yet, takes those of `permissionsOf` (when given).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, const std::string& permissionsOf = {});

// Keeps the file at `path` as it is now (before we change it) beside it, never overwriting
// another backup: the first of "<path>.bak", "<path>.bak2" ... "<path>.bak99" that is free or
// already holds the same bytes. A new backup is no more open than `path`. The file is copied
// and compared a piece at a time, so that one of any size is kept without being held in
// memory. Returns the backup's path, "" when none could be written.
std::string KeepBackupOfFile(const std::string& path);

}  // namespace wb
