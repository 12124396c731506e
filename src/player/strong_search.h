// The strong search: principal-variation alpha-beta with a transposition table, quiescence on
// captures, null move, late-move reductions, a check extension and aspiration windows, on the
// game's own rules, under a time ceiling that it keeps inside an iteration.
#pragma once

#include <cstdint>

#include "player/move_order.h"
#include "player/search.h"
#include "player/transposition.h"

namespace rq {

class SearchClock;

constexpr int32_t StrongMaxDepth = 64;

struct StrongLimits {
  int32_t maxDepth = StrongMaxDepth;
  int32_t ceilingMs = -1;  // the answer comes no later than this after the start; -1: none
  int32_t softMs = -1;     // no iteration starts after this; -1: judged from the ceiling alone
  uint64_t maxNodes = 0;   // a ceiling counted in moves made instead of time; 0: none
  // Another program referees the game and may allow the opponent a perpetual check or chase
  // that the game's own rules prohibit: such a move counts as a draw, not as one it cannot make.
  bool hostJudgesRepetitions = false;
};

struct StrongSearch {
  explicit StrongSearch(int tableBits = DefaultTableBits);
  StrongSearch(const StrongSearch&) = delete;
  StrongSearch& operator=(const StrongSearch&) = delete;

  // Searches deeper and deeper for `side` until the limits, a stop of the record's clock or
  // the hooks end it, and answers with the best move of the last whole iteration (its score
  // in `status`, ReasonRepetition in `detail` when it ends the game drawn). `noMoves` is set when
  // the side has no permitted move. The record comes back as it was.
  SearchResult run(GameRecord& record, int side, const StrongLimits& limits, uint8_t& noMoves,
                   const DeepeningHooks& hooks = {});

  // Forgets all that earlier searches learnt, so that a search is repeated exactly.
  void forget();
  const TranspositionTable& transpositions() const { return table; }

  uint64_t nodes = 0;          // moves the last search made
  int32_t completedDepth = 0;  // of the last search's last whole iteration

 private:
  // What trying one move found; only `Made` leaves the move on the board (and recorded).
  enum class Trial { Prohibited, Suicidal, TookGeneral, Draw, Made };

  struct RootMove {
    Move move;
    uint64_t nodes;
    bool draw;  // playing it ends the game drawn by repetition
  };

  void prepare(GameRecord& record, const StrongLimits& limits);
  int collectRootMoves(int side);
  int32_t searchRoot(int side, int depth, int32_t alpha, int32_t beta);
  int32_t search(int side, int depth, int32_t alpha, int32_t beta, int ply, bool inCheck, int lastNull);
  int32_t quiesce(int side, int32_t alpha, int32_t beta, int ply, int qply, bool inCheck);
  Trial tryMove(int side, Move& move, int ply, int lastNull, bool mainSearch, bool& givesCheck);
  Trial repetitionTrial(int32_t reason, int ply) const;
  void takeBack(int side, const Move& move, bool mainSearch);
  void noteKey(int index, uint64_t key, int lastNull);
  void noteUnknown(int index);
  bool mayRepeat(int index, int lastNull) const;
  bool repeatsEarlier(int index, int lastNull) const;
  bool tableMayCut(int ply, int depth) const;
  bool mayPassTurn(int side) const;
  void setLine(int ply, const Move& move);
  void poll();
  int32_t nowMs() const;
  int32_t stopMarginMs() const;
  bool startNextIteration(int32_t elapsedMs, int32_t lastIterationMs, int32_t iterationBeforeMs) const;

  TranspositionTable table;
  OrderingMemory memory;

  GameRecord* record = nullptr;
  SearchClock* clock = nullptr;
  StrongLimits limits;
  int32_t startMs = 0;
  int32_t lastPublishMs = 0;
  uint64_t nextPoll = 0;
  bool stopped = false;
  uint32_t verdicts = 0;  // repetition judgements so far: a node that saw one is not stored

  // Positions by path index (the root 0, the game's earlier positions below it), for the
  // repetition rule and for knowing where the history might still matter.
  static constexpr int KeyBase = RepetitionWindow + 4;
  uint64_t pathKeys[KeyBase + StrongMaxPly + 2];
  bool keyKnown[KeyBase + StrongMaxPly + 2];
  int16_t lastCycle[KeyBase + StrongMaxPly + 2];

  PrincipalLine lines[StrongMaxPly + 2];
  RootMove rootMoves[MaxNodeMoves];
  int rootCount = 0;
};

}  // namespace rq
