// The current-game file: one game as text, also the unit of the game archive.
// Pure functions, so that the saver, the loader and the exporters share one layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "game/game_file_faults.h"
#include "rules/game_record.h"
#include "rules/types.h"

namespace rq {

constexpr int32_t MaxEatenCount = 16;
constexpr int32_t HistoryLineLength = 142;  // characters before the line ending
constexpr const char* GameFileMagic = "VRDF05";
constexpr int NoSide = -1;

// What a game may say beyond the first release's layout: optional keyed lines ("Key: value")
// after the lists of taken pieces, before the two empty lines that end the record. A game
// that needs none is saved as that release saved it; one that has any is refused by it as
// damaged, never played with a meaning it cannot see.
constexpr const char* PlayerKey = "Player: ";      // the player's side, when green
constexpr const char* ResignedKey = "Resigned: ";  // the side that gave the game up
constexpr const char* StartKey = "Start: ";        // FEN of a start other than the opening
constexpr const char* SideWords[2] = {"red", "green"};

// Everything one current-game file carries.
struct GameFileData {
  int32_t gameNumber = 1;
  std::string savedAt;  // ctime text of the saving time, without its newline
  bool gameEnded = false;
  bool usersTurn = true;
  BoardPosition board;
  int32_t recordedMoves = 0;
  int32_t moveCount = 0;
  HistoryEntry history[HistoryCapacity];
  uint8_t eatenRed[MaxEatenCount] = {};
  uint8_t eatenGreen[MaxEatenCount] = {};
  int32_t eatenRedCount = 0;
  int32_t eatenGreenCount = 0;
  int32_t playerSide = Red;        // the computer plays the other side
  int32_t resignedSide = NoSide;   // the side that resigned, or NoSide
  std::string startFen;            // where the history begins; empty for the opening, red to move
};

// Where a file went wrong: its 1-based line (0 when no line is to blame) and why, one of
// game_file_faults.h's texts.
struct GameFileError {
  int line = 0;
  const char* message = "";

  // Records why the file is refused; always false, so a check can return it.
  bool fail(int blamedLine, const char* why) {
    line = blamedLine;
    message = why;
    return false;
  }
};

// "CurrentGame_<name>.vrd5".
std::string CurrentGameFileName(const char* computerName);

// The ctime text of `when` in local time, without the newline (24 characters).
std::string FormatSavedAt(std::time_t when);

// The date of such a text: year, month 1..12 and day as written; false when the text
// is not of that form.
bool ParseSavedAtDate(const std::string& savedAt, int& year, int& month, int& day);

// The same text as a number that grows with the time it tells (year to second); false
// when the text is not of that form.
bool SavedAtOrder(const std::string& savedAt, int64_t& order);

// One history line without its line ending: exactly HistoryLineLength characters.
std::string FormatHistoryLine(const HistoryEntry& entry);

// The whole file, byte for byte; counts outside their capacities are cut to them.
std::string FormatGameFile(const GameFileData& data);

// Reads one record from the start of `text` (an archive holds many back to back);
// `consumed` is where the next begins. False, with the line and reason, on any line
// that is missing, cut short or out of range; `out` is then only partly filled.
bool ParseGameFile(const char* text, size_t length, size_t& consumed, GameFileData& out, GameFileError& error);

// The game number and saving time of the record at the start of `text`, from its first two
// lines alone, so that a file damaged further on still tells them; false when they are not there.
bool ParseGameHeader(const char* text, size_t length, int32_t& number, std::string& savedAt);

// Whether the data describes a game that really happened: ranges, no piece on two
// squares, and a history that replays legally from its start position (the opening, or
// `startFen`) to the saved board and snapshots, the start's side first, the computer only
// ever answering the player. A resignation ends the game at its last move, on the player's
// turn. The two stored sums are taken as they are.
bool CheckGameFile(const GameFileData& data, GameFileError& error);

// Whether the snapshot lists pieces exactly where `board` has them.
bool SnapshotMatchesBoard(const HistoryEntry& entry, const BoardPosition& board);

// The eaten lists of the pieces the history took, in the order they were taken.
void EatenFromHistory(GameFileData& data);

// Puts a checked game into the engine: position, piece lists with their capture marks
// from the last applied entry, history, counters and the end of a finished game.
void LoadIntoRecord(const GameFileData& data, GameRecord& record);

}  // namespace rq
