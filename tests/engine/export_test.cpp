// Game records out to PGN: WXF for the tricky cases, and stored games exported whole.
#include <gtest/gtest.h>

#include <vector>

#include "game/game_support.h"
#include "game/pgn_export.h"
#include "rules/wxf.h"

namespace rq {
namespace {

TEST(Wxf, TrickyCasesBothWays) {
  // `others`: the same move as this program's earlier releases and Fairy-Stockfish spell it.
  struct Row { const char* fen; const char* move; const char* wxf; std::vector<const char*> others; };
  const char* const GreenStart = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1";
  const char* const Three = "5k3/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1";
  const char* const Five = "3kP4/4P4/4P4/4P4/4P4/9/9/9/9/5K3 w - - 0 1";
  // Red's files count from column i, green's from column a; green advances down the board.
  const Row rows[] = {
      {StartFen, "h2e2", "C2=5", {}}, {StartFen, "b0c2", "H8+7", {}}, {GreenStart, "h9g7", "H8+7", {}},
      {GreenStart, "b7b0", "C2+7", {}},
      // Two pieces on one file: front and rear after the letter; green's front piece is the lower one.
      {"5k3/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1", "e1d1", "R-=6", {"-R=6"}},
      {"4rk3/9/4r4/9/9/9/9/9/9/3K5 b - - 0 1", "e7e6", "R++1", {"+R+1"}},
      {"5k3/9/9/9/9/9/9/1N7/9/1N1K5 w - - 0 1", "b2c4", "H++7", {"+H+7"}},
      // The file where the other one could not make the same step on the board.
      {"5k3/9/9/9/9/9/9/1N7/9/1N1K5 w - - 0 1", "b2a0", "H8-9", {"+H-9"}},
      {"3kP4/9/4P4/9/9/9/9/9/9/5K3 w - - 0 1", "e7e8", "P5+1", {"-P+1"}},
      {"3kP4/9/4P4/9/9/9/9/9/9/5K3 w - - 0 1", "e9f9", "P+=4", {"+P=4"}},
      // Advisors and elephants never could: their direction tells two on one file apart.
      {"3k5/9/9/9/9/9/9/3A5/9/3AK4 w - - 0 1", "d2e1", "A6-5", {}}, {"3k5/9/9/9/9/2B6/9/9/9/2B1K4 w - - 0 1", "c4a2", "E7-9", {}},
      // Three soldiers on a file: front, file, rear; four or five: "++" and "--" outside them.
      {Three, "e7f7", "P+=4", {"1P=4", "15=4"}}, {Three, "e6d6", "P5=6", {"2P=6", "25=6"}}, {Three, "e5d5", "P-=6", {"3P=6", "35=6"}},
      {Five, "e9f9", "++=4", {"1P=4", "15=4"}}, {Five, "e8f8", "P+=4", {"2P=4", "25=4"}}, {Five, "e7f7", "P5=4", {"3P=4", "35=4"}},
      {Five, "e6f6", "P-=4", {"4P=4", "45=4"}}, {Five, "e5f5", "--=4", {"5P=4", "55=4"}},
      {"3k5/4P4/4P4/4P4/4P4/9/9/9/9/5K3 w - - 0 1", "e7f7", "P+=4", {"2P=4", "25=4"}},
      // Several soldiers on two files: the file, then front, rear or the file again for the middle one.
      {"5k3/9/9/2P1P4/2P1P4/9/9/9/9/3K5 w - - 0 1", "c5b5", "7-=8", {"-7=8", "27=8"}},
      {"5k3/9/2P6/2P1P4/2P1P4/9/9/9/9/3K5 w - - 0 1", "c6b6", "77=8", {"27=8"}},
      {"3k5/9/9/9/9/2p1p4/2p1p4/2p6/9/5K3 b - - 0 1", "c3b3", "33=2", {"23=2"}},
  };
  for (const Row& row : rows) {
    auto r = test::RecordFromFen(row.fen);
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(row.move, from, to)) << row.move;
    EXPECT_EQ(FormatWxfMove(r->position, from, to), row.wxf) << row.fen << " " << row.move;
    std::vector<const char*> spellings = row.others;
    spellings.push_back(row.wxf);
    for (const char* text : spellings) {
      int backFrom = -1, backTo = -1;
      EXPECT_TRUE(ParseWxfMove(*r, sideOfCode(r->position.squares[from]), text, backFrom, backTo) &&
                  FormatMove(backFrom, backTo) == row.move) << row.fen << " " << text;
    }
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
  // `coordinates` and `wxf`: the move text after the tags, result included.
  struct Row { std::string moves; int undo; bool ended; const char *result, *coordinates, *wxf; };
  const char* const cycle[] = {"i0i1 ", "i9i8 ", "i1i0 ", "i8i9 "};
  std::string shuffle;
  for (int i = 0; i < 17; ++i) shuffle += cycle[i % 4];
  const Row rows[] = {
      // Red has only moves into check: the common rules end the game there, ours take the general.
      {"i0i2 b7b4 b2c2 h7e7 h2h4 e7e3 h0g2 b4e4 a0a1 e4e0", 0, true, "0-1",
       "1. i0i2 b7b4 2. b2c2 h7e7 3. h2h4 e7e3 4. h0g2 b4e4 {Red had only moves into\n"
       "check, and in Ravenquill must still move: 5. a0a1 e4e0 takes the general} 0-1",
       "1. R1+2 C2+3 2. C8=7 C8=5 3. C2+2 C5+4 4. H2+3 C2=5 {Red had only moves into\n"
       "check, and in Ravenquill must still move: 5. R9+1 C5+4 takes the general} 0-1"},
      // A move into check that the common rules refuse, green's and red's.
      {"a0a1 a9a8 a1d1 a8a7 d1d9 a7a8 d9e9", 0, true, "1-0",
       "1. a0a1 a9a8 2. a1d1 a8a7 3. d1d9 {Green moved into check, which Ravenquill\n"
       "allows: 3... a7a8 4. d9e9 takes the general} 1-0",
       "1. R9+1 R1+1 2. R9=6 R1+1 3. R6+8 {Green moved into check, which Ravenquill\n"
       "allows: 3... R1-1 4. R6=5 takes the general} 1-0"},
      {"a0a1 i9i8 a1a2 i8f8 a2a1 f8f0 a1a2 f0e0", 0, true, "0-1",
       "1. a0a1 i9i8 2. a1a2 i8f8 3. a2a1 f8f0 {Red moved into check, which Ravenquill\n"
       "allows: 4. a1a2 f0e0 takes the general} 0-1",
       "1. R9+1 R9+1 2. R9+1 R9=6 3. R9-1 R6+8 {Red moved into check, which Ravenquill\n"
       "allows: 4. R9+1 R6=5 takes the general} 0-1"},
      {"a0a1 a9a8 a1d1 a8a7 d1d9 a7a8", 0, false, "*",  // and left there
       "1. a0a1 a9a8 2. a1d1 a8a7 3. d1d9 {Green moved into check, which Ravenquill\nallows: 3... a7a8} *",
       "1. R9+1 R1+1 2. R9=6 R1+1 3. R6+8 {Green moved into check, which Ravenquill\nallows: 3... R1-1} *"},
      {shuffle, 0, true, "1/2-1/2",
       "1. i0i1 i9i8 2. i1i0 i8i9 3. i0i1 i9i8 4. i1i0 i8i9 5. i0i1 i9i8 6. i1i0 i8i9\n"
       "7. i0i1 i9i8 8. i1i0 i8i9 9. i0i1 1/2-1/2",
       "1. R1+1 R9+1 2. R1-1 R9-1 3. R1+1 R9+1 4. R1-1 R9-1 5. R1+1 R9+1 6. R1-1 R9-1\n"
       "7. R1+1 R9+1 8. R1-1 R9-1 9. R1+1 1/2-1/2"},
      {"h2e2 h9g7 h0g2 i9h9", 2, false, "*", "1. h2e2 h9g7 *", "1. C2=5 H8+7 *"},  // taken back: left out
      {"", 0, false, "*", "*", "*"}, {"h2e2", 0, true, "*", "1. h2e2 *", "1. C2=5 *"},  // ended, yet the position explains no end
  };
  for (bool wxf : {false, true}) {
    std::string archive, expected, pgn, errors;
    int number = 0, games = 0;
    for (const Row& row : rows) {
      archive += Stored(row.moves, row.undo, ++number, row.ended);
      // XBoard reads the players from [White] and [Black], the Chinese convention from [Red] and [Black].
      expected += std::string(number > 1 ? "\n" : "") + "[Game \"Chinese Chess\"]\n[Event \"Ravenquill game\"]\n" +
                  "[Site \"TESTPC\"]\n[Date \"2024.03.02\"]\n[Round \"" + std::to_string(number) + "\"]\n" +
                  "[White \"User\"]\n[Black \"Ravenquill\"]\n[Result \"" + row.result + "\"]\n[Red \"User\"]\n" +
                  "[Variant \"xiangqi\"]\n[Format \"" + (wxf ? "WXF" : "ICCS") + "\"]\n\n" +
                  (wxf ? row.wxf : row.coordinates) + "\n";
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
    EXPECT_EQ(std::count(pgn.begin(), pgn.end(), '['), 2 * 11) << errors;  // two games of eleven tags
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
