// Small helpers shared by the tests of the rules engine, the player and the game.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "rules/evaluation.h"
#include "rules/game_record.h"
#include "rules/notation.h"

namespace rq::test {

// A game from a match under XBoard: Sjaak II's advisor steps out of green's chariot checks, and
// its last step, e1f0, chases a piece. XBoard allows it; the game's own rules would refuse it.
constexpr const char* HostedChaseStart = "rheakaer1/9/1c4hc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1H2/9/RHEAKAE1R w - - 0 1";
constexpr const char* HostedChaseGame =
    "g3g4 b7e7 b0c2 b9c7 c3c4 a9b9 b2b4 b9b5 i0h0 c6c5 c0a2 c5c4 a2c4 b5c5 e3e4 c5c4 g2e3 c4c3 h0h5 h7i7 "
    "b4c4 c9a7 h5f5 h9h0 g4g5 h0g0 g5h5 i7i3 f5f3 i3i0 f3f7 c7d5 c4d4 d5b4 f7g7 c3c2 e3c2 g0g1 f0e1 g1g0 "
    "e1f0 g0g1 f0e1 g1g0 e1f0 e7e4 c2e3 g0g2 f0e1 g2g0 e1f0 g0g2 f0e1 g2g0 e1f0 g0g2 f0e1 g2g0 e1f0 g0g2 "
    "f0e1 g2g0 e1f0";
// The same game two plies earlier: green to move, its next check answered by that chasing step.
inline std::string HostedChaseBeforeLastCheck() {
  const std::string game = HostedChaseGame;
  return game.substr(0, game.size() - 10);
}

// A record set up from FEN; fails the test on a bad FEN.
inline std::unique_ptr<GameRecord> RecordFromFen(const std::string& fen, int* side = nullptr) {
  auto record = std::make_unique<GameRecord>();
  int toMove = Red;
  std::string error;
  EXPECT_TRUE(LoadFen(*record, fen, toMove, error)) << fen << ": " << error;
  if (side) *side = toMove;
  return record;
}

// Both sums computed afresh from the squares.
inline void FreshSums(const GameRecord& r, int32_t& value, int32_t& extra) {
  value = extra = 0;
  for (int s = 0; s < BoardSquares; ++s) {
    const uint8_t code = r.position.squares[s];
    if (!code) continue;
    const int side = sideOfCode(code), type = r.pieceTypeOf(side, code & IndexMask);
    value += side == Green ? MaterialValue[type & 7] : -MaterialValue[type & 7];
    extra += r.pieceSquareTable[type][s];
  }
}

// Everything a make/unmake pair must give back.
struct Snapshot {
  BoardPosition position;
  uint8_t pieceSquare[2][PieceListSize];
  int32_t moveCount, recordedMoves;
  uint64_t hashKey;
  explicit Snapshot(const GameRecord& r)
      : position(r.position), moveCount(r.moveCount), recordedMoves(r.recordedMoves), hashKey(r.hashKey) {
    std::memcpy(pieceSquare, r.pieceSquare, sizeof(pieceSquare));
  }
  bool operator==(const Snapshot& o) const {
    return std::memcmp(position.squares, o.position.squares, BoardSquares) == 0 && position.boardValue == o.position.boardValue &&
           position.boardExtraValue == o.position.boardExtraValue && std::memcmp(pieceSquare, o.pieceSquare, sizeof(pieceSquare)) == 0 &&
           moveCount == o.moveCount && recordedMoves == o.recordedMoves && hashKey == o.hashKey;
  }
};

// The move of a text such as "h2e2".
inline Move MoveOf(const std::string& text) {
  int from = 0, to = 0;
  EXPECT_TRUE(ParseMove(text, from, to)) << text;
  Move m;
  m.from = static_cast<uint8_t>(from);
  m.to = static_cast<uint8_t>(to);
  return m;
}

// The position of `fen` with the colours swapped: the board turned half round, every piece
// given to the other side, the other side to move.
inline std::string SwappedFen(const std::string& fen) {
  const size_t blank = fen.find(' ');
  std::string board = fen.substr(0, blank), rest = blank == std::string::npos ? "" : fen.substr(blank);
  std::reverse(board.begin(), board.end());  // ranks and files both run the other way
  for (char& c : board) c = std::isupper(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                                         : static_cast<char>(std::toupper(c));
  for (char& c : rest) c = c == 'w' || c == 'r' ? 'b' : c == 'b' ? 'w' : c;
  return board + rest;
}

// The move of `text` ("a1a2") on the board turned half round ("i8i7").
inline std::string SwappedMove(const std::string& text) {
  std::string turned = text;
  for (size_t i = 0; i + 1 < turned.size(); i += 2) {
    turned[i] = static_cast<char>('i' - (turned[i] - 'a'));
    turned[i + 1] = static_cast<char>('9' - (turned[i + 1] - '0'));
  }
  return turned;
}

// Plays a move given as text for the side of the piece on its square, and records it.
inline bool Play(GameRecord& r, const std::string& text) {
  Move m = MoveOf(text);
  const uint8_t piece = r.position.squares[m.from];
  if (piece == 0) return false;
  r.makeMove(sideOfCode(piece), m);
  return r.recordMove(m);
}

// Every generated move of `side` in the rules' order, up to `capacity`; answers the count.
inline int GeneratedMoves(GameRecord& r, int side, Move* out, int capacity) {
  int n = 0;
  r.forEachMove(side, [&](const Move& m) {
    if (n < capacity) out[n++] = m;
    return false;
  });
  return n;
}

// Random permitted moves, red first, never taking a general; false when a side is left
// without one. Seed 11 lasts well over 1000 plies.
inline bool PlayRandomGame(GameRecord& record, int plies, uint32_t seed) {
  std::mt19937 random(seed);
  Move moves[256];
  for (int ply = 0; ply < plies; ++ply) {
    const int side = ply % 2 == 0 ? Red : Green;
    Move* end = moves + GeneratedMoves(record, side, moves, 256);
    end = std::remove_if(moves, end, [&](Move m) { return (record.position.squares[m.to] & IndexMask) == GeneralIndex; });
    std::shuffle(moves, end, random);
    int32_t reason = 0, detail = 0;
    Move* permitted = std::find_if(moves, end, [&](Move m) { return record.validateMove(m, reason, detail); });
    if (permitted == end) return false;
    record.makeMove(side, *permitted);
    record.recordMove(*permitted);
  }
  return true;
}

// A record of `fen` with the moves of `line` ("h2h9 i9h9 ...") played and recorded; `side` is then to move.
inline std::unique_ptr<GameRecord> PlayedRecord(const std::string& line, const std::string& fen = StartFen,
                                                int* side = nullptr) {
  int toMove = Red;
  auto record = RecordFromFen(fen, &toMove);
  std::istringstream moves(line);
  for (std::string move; moves >> move; toMove = 1 - toMove) EXPECT_TRUE(Play(*record, move)) << move;
  if (side) *side = toMove;
  return record;
}

}  // namespace rq::test
