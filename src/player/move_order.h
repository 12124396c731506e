// The order in which a node of the strong search tries its moves: the table's move, captures
// by most valuable victim and least valuable attacker, the killers, the quiet moves by their
// history, and last the captures that give a defended piece for a lesser one.
#pragma once

#include <cstdint>

#include "rules/game_record.h"

namespace rq {

constexpr int StrongMaxPly = 96;    // plies below the root; the rules engine keeps slots 99 to 101
constexpr int MaxNodeMoves = 128;   // more than a side can ever have

struct MoveList {
  Move moves[MaxNodeMoves];
  int count = 0;
};

// What the nodes of one search teach the next ones about quiet moves.
struct OrderingMemory {
  Move killers[StrongMaxPly + 1][2];
  int32_t history[2][BoardSquares][BoardSquares];

  void clear();
  bool isKiller(int ply, const Move& m) const {
    const Move* k = killers[ply];
    return (m.from == k[0].from && m.to == k[0].to) || (m.from == k[1].from && m.to == k[1].to);
  }
  // Lets the history of an earlier search count for less.
  void age();
  // A quiet move refuted the node: it becomes a killer and gains history, the quiet moves
  // tried before it lose some.
  void rememberCutoff(int side, int ply, int depth, const Move& cutoff, const Move* tried, int triedCount);
};

// Hands out a node's moves one at a time, generating each family only when it is reached.
struct MovePicker {
  enum Stage : uint8_t {
    TableMove, MakeCaptures, GoodCaptures, KillerMoves, MakeQuiets, QuietMoves, BadCaptures, Done
  };

  // All moves, or (`capturesOnly`) the captures that may win something; `tableMove` may be none.
  MovePicker(GameRecord& record, const OrderingMemory& memory, int side, int ply, const Move& tableMove,
             bool capturesOnly);

  // The next move to try; false when there is none left.
  bool next(Move& out);
  // Whether the move last handed out was quiet (neither a capture nor the table's move's capture).
  bool lastWasQuiet() const { return lastQuiet; }

 private:
  bool isTableMove(const Move& m) const { return hasTableMove && m.from == tableMove.from && m.to == tableMove.to; }
  bool canPlay(const Move& m, bool quiet);
  void makeCaptures();
  void makeQuiets();
  // Takes the best-scored move left in the list, if its score reaches `floor`.
  bool pickBest(MoveList& list, int& cursor, int32_t floor, Move& out);

  GameRecord& record;
  const OrderingMemory& memory;
  int side, ply;
  Move tableMove;
  bool hasTableMove;
  bool capturesOnly;
  bool lastQuiet = false;
  Stage stage;
  int killerIndex = 0;
  int captureCursor = 0, quietCursor = 0;
  MoveList captures, quiets;
};

}  // namespace rq
