// Whole-file reads and writes that never leave a half-written file behind.
#pragma once

#include <cstddef>
#include <string>

namespace rq {

// The temporary file a replacement of `path` is written to first, in the same directory.
std::string TempFileName(const std::string& path);

// Writes `bytes` to a temporary file, flushes it to the disk and renames it over `path`:
// on any failure `path` keeps its old content and the temporary file is removed.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

// Reads at most `maxBytes` of `path` into `out`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& out);

// Writes every byte to `fd`, going on after partial writes and interruptions.
bool WriteAll(int fd, const char* data, size_t size);

// Renames `path` to "<path>.damaged" (or "<path>.damaged-2" and on, never over an older
// one); answers the new name, empty when the rename failed.
std::string SetFileAside(const std::string& path);

}  // namespace rq
