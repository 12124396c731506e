// Reading games and positions that other programs, books and this game wrote: PGN in ICCS,
// WXF or Chinese notation, FEN, and this game's own current-game and archive files.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/game_file.h"
#include "rules/position_fault.h"

namespace rq {

// The largest file or text that is read; anything longer is no game collection.
constexpr size_t MaxGameTextBytes = 16u << 20;

// One game of a text, as the game list shows it and the replay takes it.
struct GameSource {
  std::vector<std::pair<std::string, std::string>> tags;  // PGN tags in their order
  std::vector<std::string> moves;  // the main line's move texts
  std::string fen;                 // the start position; empty for the opening
  std::string record;              // a record of this game's own files, read through its checks
  // What the list shows.
  std::string red, black, date, result;
  int plies = 0;

  // The tag's value, or "" when the game has none.
  std::string tag(const char* name) const;
};

// Every game of the bytes: a FEN, PGN games, or the records of a current-game or archive
// file. False with a sentence saying what was found and what was expected.
bool ReadGames(const std::string& bytes, std::vector<GameSource>& games, std::string& error);

// How replaying a source went.
struct ReplayOutcome {
  bool complete = true;    // false: the move at `stoppedPly` could not be played
  int stoppedPly = 0;
  std::string stoppedText;  // "12... 马８进７"
  std::string error;        // a source that does not give a game at all
};

// Replays the source through the rules from its start position into `data`, which then
// passes CheckGameFile and stands at its last position with its whole history. The player
// takes the side to move, or `finishedSide` when the game has ended. A move the rules do
// not permit stops the replay: `data` holds the game up to the move before it. False, with
// `out.error`, for a source that yields no game (a bad position, a damaged record).
bool ReplaySource(const GameSource& source, int finishedSide, GameFileData& data, ReplayOutcome& out);

// The sentence that refuses a position the rules refuse, in the interface language.
std::string PositionImpossible(const PositionFault& fault);

}  // namespace rq
