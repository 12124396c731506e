// Game records out to PGN: WXF for the tricky cases, and stored games exported whole.
#include <gtest/gtest.h>

#include "game/game_support.h"
#include "game/pgn_export.h"
#include "rules/wxf.h"

namespace rq {
namespace {

TEST(Wxf, TrickyCasesBothWays) {
  struct Row { const char* fen; const char* move; const char* wxf; };
  const char* const GreenStart = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1";
  // Red's files count from column i, green's from column a; green advances down the board.
  const Row rows[] = {
      {StartFen, "h2e2", "C2=5"}, {StartFen, "b0c2", "H8+7"}, {GreenStart, "h9g7", "H8+7"}, {GreenStart, "b7b0", "C2+7"},
      // Two pieces on one file: front and rear; green's front piece is the lower one.
      {"3k5/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1", "e1d1", "-R=6"}, {"4rk3/9/4r4/9/9/9/9/9/9/3K5 b - - 0 1", "e7e6", "+R+1"},
      // Advisors and elephants keep their file: the direction tells them apart.
      {"3k5/9/9/9/9/9/9/3A5/9/3AK4 w - - 0 1", "d2e1", "A6-5"}, {"3k5/9/9/9/9/2B6/9/9/9/2B1K4 w - - 0 1", "c4a2", "E7-9"},
      // Three soldiers on a file count from the front; two files of two name the file.
      {"3k5/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e6d6", "2P=6"}, {"3k5/9/9/2P1P4/2P1P4/9/9/9/9/3K5 w - - 0 1", "c5b5", "-7=8"},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    int from = 0, to = 0, backFrom = -1, backTo = -1;
    ASSERT_TRUE(ParseMove(row.move, from, to)) << row.move;
    EXPECT_EQ(FormatWxfMove(r->position, from, to), row.wxf) << row.fen << " " << row.move;
    EXPECT_TRUE(ParseWxfMove(*r, sideOfCode(r->position.squares[from]), row.wxf, backFrom, backTo)) << row.wxf;
    EXPECT_EQ(FormatMove(backFrom, backTo), row.move) << row.wxf;
  }
  // Other piece letters and separators are read; what names no single move is not.
  GameRecord r;
  int from = -1, to = -1;
  for (const char* text : {"N8+7", "c2.5", "B3+5", "C2=9", "R9+3", "", "X2=5"})
    EXPECT_EQ(ParseWxfMove(r, Red, text, from, to), text[0] == 'N' || text[0] == 'c' || text[0] == 'B') << text;
}

// What the game stores for the record as it stands, `undo` moves taken back.
std::string Stored(const std::string& moves, int undo, int32_t number, bool ended) {
  auto r = test::PlayedRecord(moves);
  for (Move m; undo > 0; --undo) EXPECT_TRUE(r->undoMove(m));
  return FormatGameFile(*test::DataOf(*r, number, ended, r->moveCount % 2 == 0));
}

TEST(Export, StoredGamesAsPgn) {
  struct Row { std::string moves; int undo; bool ended; const char *result, *coordinates, *wxf; };
  const char* const cycle[] = {"i0i1 ", "i9i8 ", "i1i0 ", "i8i9 "};
  std::string shuffle;
  for (int i = 0; i < 17; ++i) shuffle += cycle[i % 4];
  const Row rows[] = {
      {"a0a1 a9a8 a1d1 a8a7 d1d9 a7a8 d9e9", 0, true, "1-0",
       "1. a0a1 a9a8 2. a1d1 a8a7 3. d1d9 a7a8 4. d9e9", "1. R9+1 R1+1 2. R9=6 R1+1 3. R6+8 R1-1 4. R6=5"},
      {"a0a1 i9i8 a1a2 i8f8 a2a1 f8f0 a1a2 f0e0", 0, true, "0-1",
       "1. a0a1 i9i8 2. a1a2 i8f8 3. a2a1 f8f0 4. a1a2 f0e0", "1. R9+1 R9+1 2. R9+1 R9=6 3. R9-1 R6+8 4. R9+1 R6=5"},
      {shuffle, 0, true, "1/2-1/2",
       "1. i0i1 i9i8 2. i1i0 i8i9 3. i0i1 i9i8 4. i1i0 i8i9 5. i0i1 i9i8 6. i1i0 i8i9\n"
       "7. i0i1 i9i8 8. i1i0 i8i9 9. i0i1",
       "1. R1+1 R9+1 2. R1-1 R9-1 3. R1+1 R9+1 4. R1-1 R9-1 5. R1+1 R9+1 6. R1-1 R9-1\n"
       "7. R1+1 R9+1 8. R1-1 R9-1 9. R1+1"},
      {"h2e2 h9g7 h0g2 i9h9", 2, false, "*", "1. h2e2 h9g7", "1. C2=5 H8+7"},  // taken back: left out
      {"", 0, false, "*", "", ""}, {"h2e2", 0, true, "*", "1. h2e2", "1. C2=5"},  // ended, yet the position explains no end
  };
  for (bool wxf : {false, true}) {
    std::string archive, expected, pgn, errors;
    int number = 0, games = 0;
    for (const Row& row : rows) {
      archive += Stored(row.moves, row.undo, ++number, row.ended);
      const std::string moves = wxf ? row.wxf : row.coordinates;
      expected += std::string(number > 1 ? "\n" : "") + "[Event \"Ravenquill game\"]\n[Site \"TESTPC\"]\n" +
                  "[Date \"2024.03.02\"]\n[Round \"" + std::to_string(number) + "\"]\n[Red \"User\"]\n" +
                  "[Black \"Ravenquill\"]\n[Result \"" + row.result + "\"]\n[Variant \"xiangqi\"]\n\n" + moves +
                  (moves.empty() ? "" : " ") + row.result + "\n";
    }
    EXPECT_TRUE(ExportText(archive, "dir/Games1-100_TESTPC.vrd5", wxf, pgn, errors, games) && errors.empty()) << errors;
    EXPECT_EQ(pgn, expected);
  }
}

TEST(Export, DamagedRecordsAreNamedAndTheRestExported) {
  const std::string good = Stored("h2e2 h9g7", 0, 1, false);
  const int goodLines = static_cast<int>(std::count(good.begin(), good.end(), '\n'));
  struct Row { int line; const char* with; const char* reason; };
  const Row rows[] = {{19, "40", "no piece on the from-square"},  // square 40 is empty from the start
                      {7, "00", "the board is not the one the history leads to"}};
  for (const Row& row : rows) {
    std::string damaged = good;
    size_t at = 0;
    for (int l = 1; l < row.line; ++l) at = damaged.find('\n', at) + 1;
    damaged.replace(at, 2, row.with);
    std::string pgn, errors;
    int games = 0;
    EXPECT_FALSE(ExportText(good + damaged + good, "dir/Games1-100_PC.vrd5", false, pgn, errors, games));
    EXPECT_EQ(std::count(pgn.begin(), pgn.end(), '['), 16) << errors;
    EXPECT_EQ(errors.rfind("dir/Games1-100_PC.vrd5:" + std::to_string(goodLines + row.line) + ": ", 0), 0u) << errors;
    EXPECT_NE(errors.find(row.reason), std::string::npos) << errors;
  }
}

TEST(Export, SiteAndDateTagsOfOddNames) {
  for (auto [path, site] : {std::pair{"CurrentGame_.vrd5", ""}, {"/home/u/Games101-200_pc-2.vrd5", "pc-2"},
                            {"saved/mygame.vrd5", "mygame"}})
    EXPECT_EQ(ComputerNameFromFileName(path), site) << path;
  for (const char* savedAt : {"", "Sun Foo  6 18:31:48 2026", "Sun Dec 46 18:31:48 2026"})
    EXPECT_EQ(PgnDate(savedAt), "????.??.??") << savedAt;
}

}  // namespace
}  // namespace rq
