// The game archive: every game left for a new one, appended whole to the file of its
// block of a hundred game numbers.
#pragma once

#include <cstdint>
#include <string>

namespace rq {

// "Games<first>-<last>_<name>.vrd5" of the block that holds `gameNumber` (1 and up).
std::string ArchiveFileName(int32_t gameNumber, const char* computerName);

// Appends the whole of `sourceName` to `archiveName` in reads of up to 4096 bytes,
// holding an exclusive lock on the archive throughout, so that records appended by two
// running copies never interleave. False when a file cannot be opened, read or written;
// a failed append cuts the archive back to its length before, so it holds whole records.
bool AppendFileToArchive(std::string archiveName, std::string sourceName);

// The same for a record held in memory.
bool AppendRecordToArchive(const std::string& archiveName, const std::string& record);

// The game number and saving time of the last record in `archiveName`, read from the end
// of the file alone; false when the file or such a record is not there.
bool ReadLastArchivedGame(const std::string& archiveName, int32_t& number, std::string& savedAt);

// The number of the last game in the newest archive of `computerName` in the working
// folder (the file of the highest block that holds a record); 0 when there is none.
int32_t LastArchivedGameNumber(const char* computerName);

}  // namespace rq
