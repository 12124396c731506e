// Move generation, perft counts, the position and its history, move judgements, and notation.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "rules/chinese_notation.h"
#include "rules/perft.h"
#include "support/record_helpers.h"

namespace rq {
namespace {

enum Family { Captures, Quiet };

std::vector<int> Destinations(GameRecord& r, int square, Family family) {
  const uint8_t code = r.position.squares[square];
  EXPECT_NE(code, 0) << "no piece on " << square;
  if (family == Captures) r.generateCaptures(sideOfCode(code), code & IndexMask, 0);
  else r.generateQuietMoves(sideOfCode(code), code & IndexMask, 0);
  std::vector<int> out;
  for (int i = 0; i < r.moveSlots[0].count(); ++i) {
    EXPECT_EQ(r.moveSlots[0].cells[i].from, square);
    out.push_back(r.moveSlots[0].cells[i].to);
  }
  return out;
}

TEST(MoveGeneration, EachRuleWritesItsMovesInOrder) {
  const struct { const char* what; const char* fen; int square; Family family; std::vector<int> expected; } rows[] = {
      {"cannon jumps the screen", StartFen, 64, Captures, {1}}, {"soldier before the river", StartFen, 58, Quiet, {49}},
      {"cannon quiet rays", StartFen, 64, Quiet, {55, 46, 37, 28, 73, 63, 65, 66, 67, 68, 69}},
      {"horse through its one free leg", StartFen, 82, Quiet, {65, 63}},
      {"soldier across the river", "3k5/9/9/9/3P5/9/9/9/9/4K4 w", 39, Quiet, {30, 38, 40}},
      {"soldier on the last rank", "4P4/4k4/9/9/9/9/9/9/9/3K5 w", 4, Quiet, {3, 5}},
      {"soldier on the edge file", "3k5/9/9/9/P8/9/9/9/9/4K4 w", 36, Quiet, {27, 37}},
      {"green soldier across", "3k5/9/9/9/9/4p4/9/9/9/3K5 b", 49, Quiet, {58, 48, 50}},
      {"red elephant on the river bank", "3k5/9/9/9/9/2B3B2/9/9/9/4K4 w", 47, Quiet, {63, 67}},
      {"red elephant on the right bank", "3k5/9/9/9/9/2B3B2/9/9/9/4K4 w", 51, Quiet, {67, 71}},
      {"green elephant on the river bank", "2b1k4/9/9/9/2b6/9/9/9/9/4K4 b", 38, Quiet, {18, 22}},
      {"elephant eye blocked by a green piece", "3k5/9/9/9/9/9/9/9/3p5/2B1K4 w", 83, Quiet, {63}},
      {"elephant eyes blocked by both colours", "3k5/9/9/9/9/9/9/9/1N1p5/2B1K4 w", 83, Quiet, {}},
      {"advisor centre moves in order", "3k5/9/9/9/9/9/9/9/4A4/3K5 w", 76, Quiet, {66, 68, 86}},
      {"advisor corner blocked by own centre", "3k5/9/9/9/9/9/9/9/4A4/3AK4 w", 84, Quiet, {}},
      {"cannon without a screen takes nothing", "3k5/9/9/9/4r4/9/9/9/4C4/3K5 w", 76, Captures, {}},
      {"chariot never jumps", "3k5/9/9/9/4r4/4p4/9/9/4R4/3K5 w", 76, Captures, {49}},
      {"chariot takes no own piece", "3k5/9/9/9/4N4/9/9/9/4R4/3K5 w", 76, Captures, {}},
      {"general stays in the palace", "3k5/9/9/9/9/9/9/9/9/3K5 w", 84, Quiet, {75, 85}},
      {"general on the palace's front row", "3k5/9/9/9/9/9/9/4K4/9/9 w", 67, Quiet, {76, 68, 66}},
      {"green general order", "9/4k4/9/9/9/9/9/9/9/3K5 b", 13, Quiet, {4, 22, 14, 12}},
      {"horse on the edge", "3k5/9/9/9/9/9/9/9/9/N2K5 w", 81, Quiet, {64, 74}},
  };
  for (const auto& row : rows) EXPECT_EQ(Destinations(*test::RecordFromFen(row.fen), row.square, row.family), row.expected) << row.what;
}

// A side's moves come piece by piece in index order, each piece's captures first; a visit may itself
// visit, judge, make and unmake moves without disturbing the moves still to come.
TEST(MoveGeneration, ASideIsVisitedInOneOrderWhateverTheVisitDoes) {
  struct Row { const char* fen; int side; const char* firstMoves; bool hasPermittedMove; };
  const char* const NoGreenMove = "3knP3/4P4/9/9/9/9/9/9/9/3K5 b";  // the general's one step faces the other
  const Row rows[] = {
      {StartFen, Red, "a3a4 c3c4 e3e4 g3g4 i3i4 a0a1 a0a2 i0i1 i0i2 b0c2 b0a2 h0i2 h0g2 b2b9 b2b3", true},
      {"r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b", Green, "a6a5 c6c5 g6g5 i6i5 a9a8", true},
      {NoGreenMove, Green, "d9d8", false},
      {"3knP3/4P4/9/9/9/9/9/9/9/4K4 b", Green, "d9d8", true},
      {"3k5/9/9/9/9/9/9/9/4p4/3KNp3 w", Red, "d0d1", false},
      {"4k4/9/9/9/9/9/9/9/4p4/3KNp3 w", Red, "d0d1", true},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    const test::Snapshot before(*r);
    std::string plain, nested;
    r->forEachMove(row.side, [&](const Move& m) {
      plain += (plain.empty() ? "" : " ") + FormatMove(m);
      return false;
    });
    r->forEachMove(row.side, [&](Move m) {
      r->makeMove(row.side, m);
      r->hasPermittedMove(1 - row.side);
      r->forEachMove(1 - row.side, [&](const Move& reply) { return !r->permitsMove(reply); });
      r->unmakeMove(row.side, m);
      nested += (nested.empty() ? "" : " ") + FormatMove(m);
      return false;
    });
    int visits = 0;
    const bool stopped = r->forEachMove(row.side, [&](const Move&) { return ++visits == 1; });
    SCOPED_TRACE(row.fen);
    EXPECT_EQ(plain.substr(0, std::strlen(row.firstMoves)), row.firstMoves);
    EXPECT_EQ(nested, plain);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(visits, 1);
    EXPECT_EQ(r->hasPermittedMove(row.side), row.hasPermittedMove);
    EXPECT_TRUE(test::Snapshot(*r) == before);
  }
}

// Published counts, and the game's own rules: only facing generals refused, taking a general ends the line.
TEST(Perft, CountsUnderBothRules) {
  constexpr PerftRules Standard = PerftRules::Standard, Game = PerftRules::Game;
  const char* const Middle = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w";
  const char* const Pinned = "4k4/9/9/9/9/9/9/9/4R4/4K4 w";
  struct Row { const char* fen; int depth; PerftRules rules; uint64_t nodes; };
  const Row rows[] = {
      {StartFen, 1, Standard, 44}, {StartFen, 2, Standard, 1920}, {StartFen, 3, Standard, 79666},
      {StartFen, 4, Standard, 3290240}, {Middle, 1, Standard, 38}, {Middle, 2, Standard, 1128},
      {Middle, 3, Standard, 43929}, {Middle, 4, Standard, 1339047},
      {"1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w", 4, Standard, 326201},
      {"5a3/3k5/3aR4/9/5r3/5n3/9/3A1A3/5K3/2BC2B2 w", 4, Standard, 202884},
      {"CRN1k1b2/3ca4/4ba3/9/2nr5/9/9/4B4/4A4/4KA3 w", 4, Standard, 395483},
      {"R1N1k1b2/9/3aba3/9/2nr5/2B6/9/4B4/4A4/4KA3 w", 4, Standard, 162837},
      {"C1nNk4/9/9/9/9/9/n1pp5/B3C4/9/3A1K3 w", 4, Standard, 64971},
      {"4ka3/4a4/9/9/4N4/p8/9/4C3c/7n1/2BK5 w", 4, Standard, 149272},
      // The chariot only along the file, 7 + taking the general; the capture is a leaf.
      {Pinned, 1, Game, 10}, {Pinned, 2, Game, 1 + 2 + 6 * 3 + 2 * 2}, {StartFen, 3, Game, 80288}, {Middle, 3, Game, 56978},
      {"4k4/9/9/9/9/9/9/4r4/4N4/4K4 w", 3, Game, 604},
  };
  for (const Row& row : rows) {
    int side = Red;
    EXPECT_EQ(Perft(*test::RecordFromFen(row.fen, &side), side, row.depth, row.rules), row.nodes) << row.fen << " depth " << row.depth;
  }
}

TEST(Position, StartPositionAndPieceLists) {
  GameRecord r;
  const uint8_t red[17] = {0, 54, 56, 58, 60, 62, 81, 89, 82, 88, 64, 70, 84, 86, 83, 87, 85};
  const uint8_t green[17] = {0, 27, 29, 31, 33, 35, 0, 8, 1, 7, 19, 25, 3, 5, 2, 6, 4};
  EXPECT_EQ(0, std::memcmp(r.pieceSquare[Red], red, 17));
  EXPECT_EQ(0, std::memcmp(r.pieceSquare[Green], green, 17));
  EXPECT_EQ(r.staticScore(Red), 0);
  r.position.squares[64] = 0;  // a piece missing from the board counts as taken
  r.rebuildPieceLists();
  EXPECT_TRUE(r.pieceSquare[Red][10] == CapturedMark && r.pieceSquare[Red][11] == 70);
}

// boardValue is green minus red, so a green piece taken lowers it.
TEST(Position, SumsFollowTheTables) {
  struct Row { const char* fen; const char* move; int32_t value, extra; bool tookGeneral; };
  const Row rows[] = {
      {StartFen, "b2b9", -270, 0, false}, {StartFen, "e6e5", 0, 4, false},  // cannon takes horse; a soldier steps
      {"4k4/9/9/9/9/9/9/9/4R4/3K5 w", "e1e9", -6000, -8, true},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    const test::Snapshot before(*r);
    Move m = test::MoveOf(row.move);
    const int side = sideOfCode(r->position.squares[m.from]);
    EXPECT_EQ(r->makeMove(side, m), row.tookGeneral) << row.move;
    EXPECT_TRUE(r->position.boardValue - before.position.boardValue == row.value &&
                r->position.boardExtraValue - before.position.boardExtraValue == row.extra) << row.move;
    if (row.tookGeneral) { EXPECT_EQ(r->pieceSquare[1 - side][GeneralIndex], CapturedMark | m.to); }
    r->unmakeMove(side, m);
    EXPECT_TRUE(test::Snapshot(*r) == before) << row.move;
  }
}

// Random games: make/unmake and judgements give everything back, running sums and the placement key equal
// fresh ones, the fast attack test agrees with the generating one, and undo to the start and redo to the end
// retrace the game.
TEST(Position, RandomGamesKeepEveryInvariant) {
  auto r = std::make_unique<GameRecord>();
  int plies = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    r->newGame();
    for (int ply = 0, side = Red; ply < 250; ++ply, side = 1 - side) {
      Move moves[128], permitted[128];
      const int count = test::GeneratedMoves(*r, side, moves, 128);
      int n = 0;
      const test::Snapshot before(*r);
      for (int i = 0; i < count; ++i) {
        Move m = moves[i];
        r->makeMove(side, m);
        int32_t value, extra;
        test::FreshSums(*r, value, extra);
        ASSERT_TRUE(value == r->position.boardValue && extra == r->position.boardExtraValue) << "seed " << seed;
        ASSERT_EQ(r->hashKey, r->computeHashKey()) << "seed " << seed << " ply " << ply;
        ASSERT_TRUE(r->isGeneralAttackedFast(Red) == r->isRedGeneralAttacked() &&
                    r->isGeneralAttackedFast(Green) == r->isGreenGeneralAttacked());
        r->unmakeMove(side, m);
        ASSERT_TRUE(test::Snapshot(*r) == before) << "seed " << seed << " ply " << ply;
        int32_t reason = 0, detail = 0;
        if (r->validateMove(m, reason, detail) || reason == ReasonRepetition) permitted[n++] = m;
        ASSERT_TRUE(test::Snapshot(*r) == before);
      }
      if (n == 0) break;
      Move m = permitted[rng() % n];
      const bool tookGeneral = r->makeMove(side, m);
      r->recordMove(m);
      ++plies;
      if (tookGeneral) break;
    }
    const test::Snapshot end(*r);
    Move m;
    while (r->undoMove(m)) {}
    test::Snapshot undone(*r);
    undone.recordedMoves = 0;
    EXPECT_TRUE(undone == test::Snapshot(GameRecord())) << "seed " << seed;
    while (r->redoMove(m)) {}
    EXPECT_TRUE(test::Snapshot(*r) == end) << "seed " << seed;
  }
  EXPECT_GT(plies, 4000);
}

// The walk itself is retraced by the random games; here what each step hands back.
TEST(History, UndoAndRedoWalkTheRecordedMoves) {
  GameRecord r;
  EXPECT_FALSE(r.canUndo() || r.canRedo());
  ASSERT_TRUE(test::Play(r, "b2b9") && test::Play(r, "a9b9"));  // cannon takes horse, chariot takes cannon
  EXPECT_EQ(r.history[0].pieceSquare[Green][8], 0x80 | 1);  // the snapshot holds the lists after it
  Move m;
  ASSERT_TRUE(r.undoMove(m) && FormatMove(m) == "a9b9" && m.captured == 0x4A);
  ASSERT_TRUE(r.undoMove(m) && FormatMove(m) == "b2b9" && !r.undoMove(m) && r.recordedMoves == 2);
  EXPECT_TRUE(r.redoMove(m) && r.redoMove(m) && !r.redoMove(m) && FormatMove(m) == "a9b9");
  // A new move after an undo discards what could have been redone.
  ASSERT_TRUE(r.undoMove(m) && r.undoMove(m) && test::Play(r, "h2e2"));
  EXPECT_TRUE(r.recordedMoves == 1 && !r.canRedo());
}

// The judgement of one move; the record must come back as it was.
int32_t Judge(GameRecord& r, const std::string& text, int32_t* detail = nullptr) {
  Move m = test::MoveOf(text);
  int32_t reason = -1, d = 0;
  const test::Snapshot before(r);
  const bool legal = r.validateMove(m, reason, d);
  EXPECT_TRUE(test::Snapshot(r) == before && legal == (reason == ReasonNone)) << text;
  if (detail) *detail = d;
  return reason;
}

// Moves judged with an empty history, and whether red then has a permitted move.
TEST(Validation, FacingGeneralsAndMovesIntoCheck) {
  const char* const Pinned = "4k4/9/9/9/4R4/9/9/9/9/4K4 w";  // e5e9 takes the general
  struct Row { const char* fen; const char* move; int32_t reason; bool redHasMove; };
  const Row rows[] = {
      {Pinned, "e5d5", ReasonFacingGenerals, true}, {Pinned, "e5e2", ReasonNone, true}, {Pinned, "e5e9", ReasonNone, true},
      {"4k4/9/9/9/9/9/9/4r4/4N4/4K4 w", "e1c2", ReasonNone, true},  // a pinned horse steps aside
      // The general's only move would face the other; the horse's legs are blocked.
      {"3k5/9/9/9/9/9/9/9/4p4/3KNp3 w", "d0d1", ReasonFacingGenerals, false},
      {"4k4/9/9/9/9/9/9/9/4p4/3KNp3 w", "d0d1", ReasonNone, true},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    EXPECT_TRUE(Judge(*r, row.move) == row.reason && r->redHasMove() == row.redHasMove) << row.fen << " " << row.move;
  }
}

// A four-ply cycle played four times: only the move that would start the fifth repeats.
TEST(Validation, FourthCycleIsCheckChaseOrDraw) {
  // The point of the chased piece; redHasMove is false when the cycle's first move is its side's only one.
  struct Row { const char* what; const char* fen; const char* moves[4]; int32_t reason; const char* chased; bool redHasMove; };
  const Row rows[] = {
      {"quiet shuffle", "3k5/8r/9/9/9/9/9/9/R8/4K4 w", {"a1a2", "i8i7", "a2a1", "i7i8"}, ReasonRepetition, "", true},
      {"perpetual check", "4k4/R8/9/9/9/9/9/9/9/3K5 w", {"a8a9", "e9e8", "a9a8", "e8e9"}, ReasonPerpetualCheck, "", true},
      {"perpetual chase", "4k4/9/9/9/9/1n7/9/9/R8/3K5 w", {"a1a4", "b4c2", "a4a1", "c2b4"}, ReasonPerpetualChase, "b4", true},
      {"chased piece protected", "1r2k4/9/9/9/9/1n7/9/9/R8/3K5 w", {"a1a4", "b4c2", "a4a1", "c2b4"}, ReasonRepetition, "", true},
      {"chased piece on its own half", "4k4/1n7/9/R8/9/9/9/9/9/3K5 w", {"a6a8", "b8c6", "a8a6", "c6b8"}, ReasonRepetition, "", true},
      {"green gives the check", "3k5/9/9/9/9/9/9/9/r8/4K4 b", {"a1a0", "e0e1", "a0a1", "e1e0"}, ReasonPerpetualCheck, "", true},
      {"check and chase at once", "4k3r/9/9/9/9/9/1n7/4R4/9/3K5 w", {"e2e3", "i9i8", "e3e2", "i8i9"}, ReasonPerpetualCheck, "", true},
      {"red's only move draws", "3k5/9/9/9/3rr4/9/9/9/4p4/3KNp3 w", {"d0d1", "d9d8", "d1d0", "d8d9"}, ReasonRepetition, "", true},
      {"red's only move chases", "3k5/9/9/9/3r5/9/9/9/4p4/3KNp3 w", {"d0d1", "d9d8", "d1d0", "d8d9"}, ReasonPerpetualChase, "e1", false},
  };
  // Every row also with the colours swapped, the board turned half round: the same verdict
  // for the other side, whichever side the player has.
  for (const Row& row : rows) {
    for (const bool swapped : {false, true}) {
      auto r = test::RecordFromFen(swapped ? test::SwappedFen(row.fen) : row.fen);
      const auto move = [&](int ply) { return swapped ? test::SwappedMove(row.moves[ply % 4]) : row.moves[ply % 4]; };
      const std::string what = row.what + std::string(swapped ? ", colours swapped" : "");
      for (int ply = 0; ply < 16; ++ply) {
        ASSERT_EQ(Judge(*r, move(ply)), ReasonNone) << what << " ply " << ply;
        ASSERT_TRUE(test::Play(*r, move(ply)));
      }
      int32_t detail = 0;
      EXPECT_EQ(Judge(*r, move(0), &detail), row.reason) << what;
      if (row.reason == ReasonPerpetualChase) {
        const std::string point = swapped ? test::SwappedMove(row.chased) : row.chased;
        EXPECT_EQ(r->position.squares[test::MoveOf(point + point).from], detail) << what;
      }
      EXPECT_EQ(r->hasPermittedMove(swapped ? Green : Red), row.redHasMove) << what;
    }
  }
}

// Past the full history: chariots touring five squares never repeat, a shuffle repeats at its sixteenth
// ply, every other move is legal, and undo stays refused once a move went unrecorded.
TEST(Validation, RepetitionPastTheFullHistory) {
  struct Row { int tour, shuffle, tourAfter; int32_t reason; };
  const Row rows[] = {
      {990, 16, 0, ReasonRepetition},
      {1000, 16, 0, ReasonRepetition},
      {1400, 16, 0, ReasonRepetition},
      {984, 14, 200, ReasonNone},
  };
  const char* squares[2][5] = {{"a0", "a1", "a2", "a3", "a4"}, {"i9", "i8", "i7", "i6", "i5"}};
  // Each row also with the colours swapped, green opening the game from the turned board.
  for (const bool swapped : {false, true}) {
    for (const Row& row : rows) {
      const std::string fen = "3k4r/9/9/9/9/9/9/9/9/R3K4 w";
      auto r = test::RecordFromFen(swapped ? test::SwappedFen(fen) : fen);
      int at[2] = {0, 0}, base[2] = {0, 0}, ply = 0;
      const int phases[3] = {row.tour, row.shuffle, row.tourAfter}, total = row.tour + row.shuffle + row.tourAfter;
      for (int phase = 0; phase < 3; ++phase) {
        base[0] = at[0];
        base[1] = at[1];
        for (int k = 0; k < phases[phase]; ++k, ++ply) {
          const int s = ply % 2;
          const int to = phase != 1 ? (at[s] + 1) % 5 : at[s] == base[s] ? (base[s] + 1) % 5 : base[s];
          const std::string move = std::string(squares[s][at[s]]) + squares[s][to];
          const std::string text = swapped ? test::SwappedMove(move) : move;
          ASSERT_EQ(Judge(*r, text), ply + 1 == total ? row.reason : ReasonNone) << row.tour << " ply " << ply << " " << swapped;
          test::Play(*r, text);  // past the full history the move goes unrecorded
          at[s] = to;
        }
      }
      Move m;
      EXPECT_FALSE(r->undoMove(m) || r->redoMove(m) || r->moveCount != HistoryCapacity) << row.tour;
      r->newGame();
      EXPECT_TRUE(test::Play(*r, "a0a1") && r->canUndo()) << row.tour;
    }
  }
}

// FEN gives the side, sums from the tables and pieces numbered in square order, and writes back as read.
TEST(Notation, FenRoundTripsWithSumsSideAndNumbering) {
  int side = Green;
  auto r = test::RecordFromFen(StartFen, &side);
  EXPECT_EQ(side, Red);
  EXPECT_TRUE(test::Snapshot(*r) == test::Snapshot(GameRecord()));
  EXPECT_EQ(WriteFen(*test::RecordFromFen("rheakaehr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RHEAKAEHR r - - 0 1"), Red), StartFen);
  const char* fen = "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1";
  r = test::RecordFromFen(fen, &side);
  EXPECT_EQ(side, Green);
  EXPECT_EQ(WriteFen(*r, side), fen);
  int32_t value, extra;
  test::FreshSums(*r, value, extra);
  EXPECT_TRUE(r->position.boardValue == value && r->position.boardExtraValue == extra);
  EXPECT_EQ(r->position.squares[35], 0x25);  // green soldiers on 27, 29, 31, 33, 35
  EXPECT_EQ(r->position.squares[28], 0x48);  // the red horse on b6 is horse 8
}

TEST(Notation, MalformedFenIsRefusedAndLeavesTheRecord) {
  struct Row { const char* fen; const char* mentions; };
  const Row rows[] = {
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9 w", "9 rows"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/9/RNBAKABNR w", "more than 10 rows"},
      {"rnbakabnr/8/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "row 2"},
      {"rnbakabnrr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "longer"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNX w", "letter 'X'"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/4R4/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "too many red chariots"},
      {"rnba1abnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "no green general"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2A2C1/9/RNB1KABNR w", "advisor"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/P8/RNBAKABNR w", "soldier"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/B8/P1P1P1P1P/1C5C1/9/RN1AKABNR w", "elephant"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/K8/RNBA1ABNR w", "general"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR x", "side to move"},
  };
  for (const Row& row : rows) {
    auto r = std::make_unique<GameRecord>();
    test::Play(*r, "h2e2");
    const test::Snapshot before(*r);
    int side = -1;
    std::string error;
    EXPECT_FALSE(LoadFen(*r, row.fen, side, error)) << row.fen;
    EXPECT_NE(error.find(row.mentions), std::string::npos) << row.fen << ": " << error;
    EXPECT_TRUE(test::Snapshot(*r) == before && side == -1) << row.fen;
  }
}

TEST(Notation, MoveTextBothWays) {
  struct Row { const char* text; bool ok; int from, to; };
  const Row rows[] = {
      {"h2e2", true, 70, 67}, {"a0a1", true, 81, 72}, {"i9i0", true, 8, 89}, {"e6e5", true, 31, 40}, {"j2e2", false, 0, 0},
      {"h2e", false, 0, 0}, {"", false, 0, 0}, {"h2e2x", false, 0, 0}, {"H2E2", false, 0, 0}, {"a:a1", false, 0, 0},
  };
  for (const Row& row : rows) {
    int from = -1, to = -1;
    EXPECT_EQ(ParseMove(row.text, from, to), row.ok) << row.text;
    EXPECT_TRUE(!row.ok || (from == row.from && to == row.to && FormatMove(from, to) == row.text)) << row.text;
  }
}

// The traditional characters of a simplified move text, character by character.
std::string Traditional(std::string text) {
  const std::pair<std::string, std::string> pairs[] = {{"车", "車"}, {"马", "馬"}, {"帅", "帥"},
                                                       {"将", "將"}, {"进", "進"}, {"后", "後"}};
  for (const auto& [simplified, traditional] : pairs)
    for (size_t at = text.find(simplified); at != std::string::npos; at = text.find(simplified, at))
      text.replace(at, simplified.size(), traditional);
  return text;
}

TEST(ChineseNotation, TrickyCasesReadBackToTheSameMove) {
  struct Row { const char* fen; const char* move; const char* text; };
  const char *const GreenStart = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b",
             *const Advisors = "3k5/9/9/9/9/9/9/3A5/9/3AK4 w", *const Elephants = "3k5/9/9/9/9/2B6/9/9/9/2B1K4 w",
             *const RedChariots = "3k5/9/9/9/9/9/4R4/9/4R4/3K5 w", *const GreenChariots = "4rk3/9/4r4/9/9/9/9/9/9/3K5 b",
             *const ThreeSoldiers = "3k5/9/4P4/4P4/4P4/9/9/9/9/3K5 w", *const FourSoldiers = "3k5/4P4/4P4/4P4/4P4/9/9/9/9/3K5 w",
             *const TwoFiles = "3k5/9/9/2P1P4/2P1P4/9/9/9/9/3K5 w";
  const Row rows[] = {
      {StartFen, "h2e2", "炮二平五"}, {StartFen, "b0c2", "马八进七"}, {StartFen, "a0a1", "车九进一"}, {StartFen, "e0e1", "帅五进一"},
      {StartFen, "e3e4", "兵五进一"},
      // Green counts in full-width digits from its own right: column a is its file 1.
      {GreenStart, "h9g7", "马８进７"}, {GreenStart, "b7e7", "炮２平５"}, {GreenStart, "b7b0", "炮２进７"}, {GreenStart, "d9e8", "士４进５"},
      {GreenStart, "c9e7", "象３进５"}, {GreenStart, "e9e8", "将５进１"},
      // Advisors and elephants keep their file on a shared file: the direction tells them apart.
      {Advisors, "d0e1", "仕六进五"}, {Advisors, "d2e1", "仕六退五"}, {Elephants, "c4e2", "相七退五"}, {Elephants, "c0e2", "相七进五"},
      // Front and rear; green's front piece is the lower one on the picture.
      {RedChariots, "e3e5", "前车进二"}, {RedChariots, "e1d1", "后车平六"}, {GreenChariots, "e7e6", "前车进１"}, {GreenChariots, "e9d9", "后车平４"},
      {"3k5/9/9/9/4H4/9/9/9/9/3KH4 w", "e0f2", "后马进四"},
      // Soldiers on one file: two front and rear, three front, middle and rear, more numbered.
      {"3k5/9/9/4P4/4P4/9/9/9/9/3K5 w", "e5d5", "后兵平六"}, {ThreeSoldiers, "e7e8", "前兵进一"}, {ThreeSoldiers, "e6d6", "中兵平六"},
      {ThreeSoldiers, "e5f5", "后兵平四"}, {FourSoldiers, "e7d7", "二兵平六"}, {FourSoldiers, "e5f5", "四兵平四"},
      {"5k3/9/9/9/9/4p4/4p4/9/9/3K5 b", "e3e2", "前卒进１"},
      // Two files with several soldiers: the place is followed by the file.
      {TwoFiles, "e6e7", "前五进一"}, {TwoFiles, "c5b5", "后七平八"},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(row.move, from, to)) << row.move;
    EXPECT_EQ(FormatChineseMove(r->position, from, to), row.text) << row.fen << " " << row.move;
    EXPECT_EQ(FormatChineseMove(r->position, from, to, ChineseScript::Traditional), Traditional(row.text)) << row.move;
    const int side = sideOfCode(r->position.squares[from]);
    int cnFrom = -1, cnTo = -1;
    EXPECT_TRUE(ParseChineseMove(*r, side, row.text, cnFrom, cnTo) && FormatMove(cnFrom, cnTo) == row.move) << row.text;
  }
}

}  // namespace
}  // namespace rq
