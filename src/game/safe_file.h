// Whole-file reads and writes that never leave a half-written file behind.
#pragma once

#include <cstddef>
#include <string>

#include <sys/types.h>

namespace rq {

// The temporary file a replacement of `path` is written to first, in the same directory.
std::string TempFileName(const std::string& path);

// Writes `bytes` to a temporary file, flushes it to the disk and renames it over `path`:
// on any failure `path` keeps its old content and the temporary file is removed. A
// `path` that exists but cannot be opened for writing is left as it is. On a failure
// `error` is the system's error number of the step that failed.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, int& error);
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

// Removes the temporary files of `path` that a writer killed in the middle of a save
// left behind: those whose process no longer runs. One whose process runs is its own.
void RemoveAbandonedTempFiles(const std::string& path);

// What reading a whole file found: its bytes, no file of that name, or a file that
// exists but could not be opened or read (permissions, an I/O error).
enum class ReadOutcome { Read, Missing, Unreadable };

// Reads at most `maxBytes` of `path` into `out`.
ReadOutcome ReadWholeFile(const std::string& path, size_t maxBytes, std::string& out);

// Writes every byte to `fd`, going on after partial writes and interruptions.
bool WriteAll(int fd, const char* data, size_t size);

// Reads up to `size` bytes from `fd`, trying again after an interruption: how many were
// read, 0 at the end of the file, -1 on an error.
ssize_t ReadSome(int fd, char* buffer, size_t size);

// Renames `path` to "<path>.damaged" (or "<path>.damaged-2" and on, never over an older
// one); answers the new name, empty when the rename failed.
std::string SetFileAside(const std::string& path);

}  // namespace rq
