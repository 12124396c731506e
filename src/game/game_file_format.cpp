// Writing the current-game file, and reading the date back from its saving time.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/game_file.h"

namespace rq {

namespace {

// Appends printf-style text; the lines of this file are all short.
template <typename... Args>
void appendf(std::string& out, const char* format, Args... args) {
  char line[256];
  const int n = std::snprintf(line, sizeof line, format, args...);
  if (n > 0) out.append(line, std::min<size_t>(static_cast<size_t>(n), sizeof line - 1));
}

// A count cut into 0..capacity, so the writer never reads past an array.
int32_t clampCount(int32_t count, int32_t capacity) { return std::clamp(count, 0, capacity); }

// The names ctime() writes, in the C locale whatever the user's.
constexpr const char* DayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The parts of a ctime text; the month 1..12.
struct SavedAtParts {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Reads a ctime text into its parts; false when it is not of that form.
bool parseSavedAt(const std::string& savedAt, SavedAtParts& t) {
  char weekday[4] = {}, monthName[4] = {};
  if (std::sscanf(savedAt.c_str(), "%3s %3s %d %d:%d:%d %d", weekday, monthName, &t.day, &t.hour, &t.minute, &t.second,
                  &t.year) != 7)
    return false;
  for (int m = 0; m < 12; ++m) {
    if (std::strcmp(monthName, MonthNames[m]) != 0) continue;
    t.month = m + 1;
    return true;
  }
  return false;
}

}  // namespace

std::string CurrentGameFileName(const char* computerName) {
  return std::string("CurrentGame_") + computerName + ".vrd5";
}

// Built by hand rather than with ctime(): the same text, without its shared buffer or the locale.
std::string FormatSavedAt(std::time_t when) {
  std::tm t{};
  if (!localtime_r(&when, &t)) t = std::tm{};
  const int day = std::clamp(t.tm_wday, 0, 6);
  const int month = std::clamp(t.tm_mon, 0, 11);
  std::string text;
  appendf(text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", DayNames[day], MonthNames[month], t.tm_mday, t.tm_hour, t.tm_min,
          t.tm_sec, t.tm_year + 1900);
  return text;
}

bool ParseSavedAtDate(const std::string& savedAt, int& year, int& month, int& day) {
  SavedAtParts t;
  if (!parseSavedAt(savedAt, t)) return false;
  year = t.year;
  month = t.month;
  day = t.day;
  return true;
}

bool SavedAtOrder(const std::string& savedAt, int64_t& order) {
  SavedAtParts t;
  if (!parseSavedAt(savedAt, t)) return false;
  order = ((((static_cast<int64_t>(t.year) * 100 + t.month) * 100 + t.day) * 100 + t.hour) * 100 + t.minute) * 100 +
          t.second;
  return true;
}

std::string FormatHistoryLine(const HistoryEntry& entry) {
  std::string line;
  line.reserve(HistoryLineLength);
  appendf(line, "%02d --> %02d", entry.from, entry.to);
  if (entry.captured != 0) appendf(line, " x%02d", entry.captured);
  else line += " -  ";
  for (int side = 0; side < 2; ++side)
    for (int index = 1; index <= PiecesPerSide; ++index) appendf(line, " %03d", entry.pieceSquare[side][index]);
  line += ' ';
  return line;
}

std::string FormatGameFile(const GameFileData& data) {
  const int32_t recorded = clampCount(data.recordedMoves, HistoryCapacity);
  const int32_t eatenRed = clampCount(data.eatenRedCount, MaxEatenCount);
  const int32_t eatenGreen = clampCount(data.eatenGreenCount, MaxEatenCount);

  std::string out;
  out.reserve(400 + static_cast<size_t>(recorded) * (HistoryLineLength + 1));
  out += GameFileMagic;
  out += '\n';
  appendf(out, "Game #: %d (saved ", data.gameNumber);
  out += data.savedAt;
  out += ")\n";
  appendf(out, "Game ended: %d\n", data.gameEnded ? 1 : 0);
  appendf(out, "User's turn: %d\n", data.usersTurn ? 1 : 0);
  appendf(out, "Board value: %d\n", data.board.boardValue);
  appendf(out, "Board extra value: %d\n", data.board.boardExtraValue);
  for (int row = 0; row < BoardRows; ++row) {
    const uint8_t* s = &data.board.squares[squareOf(0, row)];
    appendf(out, "%02d %02d %02d %02d %02d %02d %02d %02d %02d\n", s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7],
            s[8]);
  }
  appendf(out, "Recorded moves: %d\n", recorded);
  appendf(out, "Next move: %d\n", std::clamp(data.moveCount, 0, recorded));
  for (int i = 0; i < recorded; ++i) {
    out += FormatHistoryLine(data.history[i]);
    out += '\n';
  }
  appendf(out, "Eaten red pieces: %d\n", eatenRed);
  for (int i = 0; i < eatenRed; ++i) appendf(out, "%02d\n", data.eatenRed[i]);
  appendf(out, "Eaten green pieces: %d\n", eatenGreen);
  for (int i = 0; i < eatenGreen; ++i) appendf(out, "%02d\n", data.eatenGreen[i]);
  if (data.playerSide == Green) out += std::string(PlayerKey) + SideWords[Green] + "\n";
  if (data.resignedSide == Red || data.resignedSide == Green)
    out += std::string(ResignedKey) + SideWords[data.resignedSide] + "\n";
  if (!data.startFen.empty()) out += std::string(StartKey) + data.startFen + "\n";
  out += "\n\n";
  return out;
}

}  // namespace rq
