// The game the engine plays: a rules-engine record set up from FEN and replayed move by move.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "player/search.h"
#include "rules/game_record.h"

namespace rq {

// What a move threatened once played: the other general, a piece that counts as chased.
enum MoveThreat : uint8_t { ThreatCheck = 1, ThreatChase = 2 };

struct EngineGame {
  std::unique_ptr<GameRecord> record;
  int sideToMove = Red;
  std::string startFen;        // the position the moves start from
  std::vector<Move> moves;     // every move played since, in order
  std::vector<uint8_t> threats;  // MoveThreat bits of each of those moves
  int startSide = Red;
  HistoryEntry start;            // the pieces of the position the moves start from

  EngineGame();
};

// Sets up a position from FEN (the start position for "startpos" or an empty text);
// on a bad FEN the game is left as it was and `error` says why.
bool SetUpGame(EngineGame& game, const std::string& fen, std::string& error);

// Checks a move given in coordinates and plays it, recording it in the history.
bool PlayMoveText(EngineGame& game, const std::string& text, std::string& error);

// Plays a move already known to be permitted.
void PlayCheckedMove(EngineGame& game, int from, int to);

// Takes back the last `plies` moves by replaying the rest; false when there are fewer.
bool TakeBackMoves(EngineGame& game, int plies);

// Whether the move may be played by `side` under the rules (legal, or a repetition draw).
bool IsPermitted(GameRecord& record, int side, const Move& move);

// Whether playing the move leaves the mover's own general attacked.
bool LeavesGeneralAttacked(GameRecord& record, int side, const Move& move);

// The first permitted move in piece order, preferring one that keeps the general safe and
// passing over `excluded` (may be null); false when the side has none.
bool FirstPermittedMove(GameRecord& record, int side, Move& out, const RootMoveRules::List* excluded = nullptr);

// How far back another program looks for an earlier time of a position.
constexpr int RepetitionLookBack = 100;

// The moves of the side to move that would bring about a position for the third time while
// every move of that side since its first time gave check (or, neither side checking, chased)
// and the other side's did not: XBoard judges such a repetition lost for perpetual checking
// or chasing, where the game's own rules still allow it.
void FindAdjudicatedRepetitions(EngineGame& game, RootMoveRules::List& out);

}  // namespace rq
