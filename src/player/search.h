// The computer's search: negamax alpha-beta with iterative deepening on the game record.
#pragma once

#include <cstdint>
#include <string>

#include "player/time_budget.h"
#include "rules/game_record.h"

namespace rq {

constexpr int32_t WinScore = 99999;
constexpr int32_t InfiniteScore = 9999999;
constexpr int MaxLineLength = 100;

// What a protocol asks of a search's first ply besides the rules: moves never to play (a GUI's
// banned moves), and moves played only when every other one is worse by `margin`.
struct RootMoveRules {
  static constexpr int Capacity = 128;
  struct List {
    int count = 0;
    uint8_t from[Capacity] = {};
    uint8_t to[Capacity] = {};
    // False when the list is full.
    bool add(int fromSquare, int toSquare);
    bool contains(const Move& move) const;
  };
  List banned;
  List discouraged;
  int32_t margin = 0;
};

// Best line from a node: a length, then (from, to) pairs ply by ply.
struct PrincipalLine {
  uint8_t length = 0;
  uint8_t pairs[2 * MaxLineLength] = {};
};

// Searches plies 0 to fullCheckDepth with full validation; reports progress and honours the stop.
SearchResult searchNode(GameRecord& record, int side, int32_t alpha, int32_t beta, int ply, uint8_t* noMoves,
                        PrincipalLine* previousLine, PrincipalLine* line);

// Searches the plies beyond, testing only the facing generals.
SearchResult deepSearchNode(GameRecord& record, int side, int32_t alpha, int32_t beta, int ply, uint8_t* noMoves,
                            PrincipalLine* previousLine, PrincipalLine* line);

// What one finished iteration found, for tools that print it.
struct IterationReport {
  int32_t depth;
  SearchResult result;
  const PrincipalLine* line;
  uint64_t nodes;
  int32_t elapsedMs;
};

// Calls from the deepening into its owner; any may be null.
struct DeepeningHooks {
  void* context = nullptr;
  bool (*stopRequested)(void* context) = nullptr;
  void (*iterationDone)(void* context, const IterationReport& report) = nullptr;
};

// Runs deeper and deeper searches for `side` until the budget or a stop ends them;
// the last iteration's result is the answer.
SearchResult IterativeDeepening(GameRecord& record, int side, const DeepeningLimits& limits, uint8_t& noMoves,
                                const DeepeningHooks& hooks = {});

// The line as coordinate moves separated by blanks ("h2e2 h9g7").
std::string FormatLine(const PrincipalLine& line);

// Whether both squares of a move are on the board.
inline bool IsBoardMove(const Move& m) { return m.from < BoardSquares && m.to < BoardSquares; }

}  // namespace rq
