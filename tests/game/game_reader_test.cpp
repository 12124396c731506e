// Games and positions read from other programs' and books' texts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/game_reader.h"
#include "game/pgn_export.h"
#include "rules/chinese_notation.h"
#include "rules/move_text.h"
#include "rules/notation.h"
#include "rules/position_check.h"
#include "rules/wxf.h"

namespace rq::test {
namespace {

const char* const GreenStart = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1";
// Cannon to the centre, horses out, green's chariot to the horse's file.
const char* const OpeningAfter4 = "rnbakabr1/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1N2/9/RNBAKAB1R w - - 0 3";

// The only game of a text, replayed; its end position as FEN (board and side).
struct Read {
  bool ok = false;
  std::string error;
  std::unique_ptr<GameFileData> data = std::make_unique<GameFileData>();
  ReplayOutcome outcome;
  std::string fen;
};

Read ReadOnly(const std::string& text, size_t which = 0) {
  Read r;
  std::vector<GameSource> games;
  r.ok = ReadGames(text, games, r.error) && which < games.size() &&
         ReplaySource(games[which], Red, *r.data, r.outcome);
  if (r.ok) {
    const int plies = r.data->moveCount;
    auto record = std::make_unique<GameRecord>();
    LoadIntoRecord(*r.data, *record);
    const int side = (record->startSide + plies) % 2;
    r.fen = WriteFen(r.data->board.squares, side);
  }
  if (!r.ok && r.error.empty()) r.error = r.outcome.error;
  return r;
}

// The board and side of a FEN, without its counters.
std::string Placement(const std::string& fen) { return fen.substr(0, fen.find(' ') + 2); }

TEST(MoveText, EachNotationNamesTheMoveItsConventionMeans) {
  struct Row { const char* fen; const char* text; const char* move; };
  const char* const TwoRed = "5k3/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1";
  const char* const TwoGreen = "4rk3/9/4r4/9/9/9/9/9/9/3K5 b - - 0 1";
  const char* const Three = "5k3/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1";
  const Row rows[] = {
      {StartFen, "h2e2", "h2e2"}, {StartFen, "H2-E2", "h2e2"}, {StartFen, "C2=5", "h2e2"},
      {StartFen, "C2.5", "h2e2"}, {StartFen, "H8+7", "b0c2"}, {StartFen, "N8+7", "b0c2"},
      {StartFen, "炮二平五", "h2e2"}, {StartFen, "炮2平5", "h2e2"}, {StartFen, "砲二平五", "h2e2"},
      {StartFen, "马二进三", "h0g2"}, {StartFen, "傌二進三", "h0g2"}, {StartFen, "車一進一", "i0i1"},
      {StartFen, "兵三进一", "g3g4"}, {StartFen, "相三进五", "g0e2"}, {StartFen, "仕四进五", "f0e1"},
      {GreenStart, "马８进７", "h9g7"}, {GreenStart, "馬8進7", "h9g7"}, {GreenStart, "马八进七", "h9g7"},
      {GreenStart, "包8平5", "h7e7"}, {GreenStart, "炮８平５", "h7e7"}, {GreenStart, "卒７进１", "g6g5"},
      {GreenStart, "象3进5", "c9e7"}, {GreenStart, "士４进５", "d9e8"}, {GreenStart, "C8=5", "h7e7"},
      {GreenStart, "h7e7", "h7e7"},
      {TwoRed, "前车平六", "e3d3"}, {TwoRed, "前俥平6", "e3d3"}, {TwoRed, "後車平六", "e1d1"},
      {TwoRed, "R+=6", "e3d3"}, {TwoRed, "R-=6", "e1d1"},
      {TwoGreen, "前车进1", "e7e6"}, {TwoGreen, "後車進１", "e9e8"}, {TwoGreen, "R++1", "e7e6"},
      {Three, "前兵平四", "e7f7"}, {Three, "中兵平六", "e6d6"}, {Three, "后兵平六", "e5d5"},
  };
  for (const Row& row : rows) {
    auto record = std::make_unique<GameRecord>();
    int side = Red, from = -1, to = -1;
    std::string error;
    ASSERT_TRUE(LoadFen(*record, row.fen, side, error)) << row.fen;
    EXPECT_TRUE(ParseMoveText(*record, side, row.text, from, to)) << row.text;
    EXPECT_EQ(FormatMove(from, to), row.move) << row.text;
  }
}

TEST(MoveText, TextsThatNameNoMoveOfTheSideAreRefused) {
  const char* const texts[] = {"e4", "Nf3", "O-O", "h3h4", "i0i0", "C3=5", "炮三平五", "将５平４", "h9g7", ""};
  for (const char* text : texts) {
    auto record = std::make_unique<GameRecord>();
    int from = -1, to = -1;
    EXPECT_FALSE(ParseMoveText(*record, Red, text, from, to)) << text;
  }
}

TEST(GameReader, EveryNotationEncodingAndMarkupReachesTheSamePosition) {
  struct Row { const char* what; std::string text; };
  const std::string chinese = "1. 炮二平五 马８进７ 2. 马二进三 车９平８ *";
  const Row rows[] = {
      {"XBoard coordinates", "[Variant \"xiangqi\"]\n\n1. h2e2 h9g7 2. h0g2 i9h9 *\n"},
      {"ICCS with dashes", "[Format \"ICCS\"]\n1. H2-E2 H9-G7 2. H0-G2 I9-H9 *"},
      {"WXF", "[Format \"WXF\"]\n1. C2=5 H8+7 2. H2+3 R9=8 *"},
      {"WXF by its letters only", "1. C2.5 N8+7 2. N2+3 R9.8"},
      {"Chinese", "[Game \"Chinese Chess\"]\n[Format \"Chinese\"]\n" + chinese},
      {"Chinese, traditional and ASCII digits", "1. 炮二平五 馬8進7 2. 傌二進三 車9平8"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + chinese},
      {"GB18030", "1. \xC5\xDA\xB6\xFE\xC6\xBD\xCE\xE5 \xC2\xED\xA3\xB8\xBD\xF8\xA3\xB7 2. h0g2 i9h9"},
      {"UTF-16 with its mark",
       std::string("\xFF\xFEh\0""2\0e\0""2\0 \0h\0""9\0g\0""7\0 \0h\0""0\0g\0""2\0 \0i\0""9\0h\0""9\0", 40)},
      {"comments, variations, annotations",
       "[Event \"x\"]\n1. h2e2 {centre} (1. b0c2 {also (good)} h9g7) h9g7 $1 2. h0g2!? ; rest of line 2. xx\n"
       "% escaped line\ni9h9 1-0"},
      {"numbers glued to moves", "1.h2e2 h9g7 2.h0g2 2...i9h9"},
      {"a FEN", OpeningAfter4},
      {"a FEN tag and green first",
       "[SetUp \"1\"]\n[FEN \"rnbakab1r/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1N2/9/RNBAKAB1R b - - 0 2\"]\n2... i9h9"},
  };
  for (const Row& row : rows) {
    const Read r = ReadOnly(row.text);
    ASSERT_TRUE(r.ok) << row.what << ": " << r.error;
    EXPECT_TRUE(r.outcome.complete) << row.what;
    EXPECT_EQ(Placement(r.fen), Placement(OpeningAfter4)) << row.what;
  }
}

TEST(GameReader, CollectionsListTheirXiangqiGamesOnly) {
  const std::string text =
      "[Event \"one\"]\n[Red \"Hu Ronghua\"]\n[Black \"Yang Guanlin\"]\n[Date \"1960.01.01\"]\n[Result \"1-0\"]\n\n"
      "1. h2e2 h9g7 1-0\n\n"
      "[Event \"chess\"]\n[White \"A\"]\n[Black \"B\"]\n1. e4 e5 2. Nf3 *\n\n"
      "[Event \"three\"]\n[White \"Xu Yinchuan\"]\n[Black \"Lü Qin\"]\n[Result \"1/2-1/2\"]\n"
      "1. C2=5 H8+7 2. H2+3 1/2-1/2\n";
  std::vector<GameSource> games;
  std::string error;
  ASSERT_TRUE(ReadGames(text, games, error)) << error;
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[0].red, "Hu Ronghua");
  EXPECT_EQ(games[0].black, "Yang Guanlin");
  EXPECT_EQ(games[0].date, "1960.01.01");
  EXPECT_EQ(games[0].result, "1-0");
  EXPECT_EQ(games[0].plies, 2);
  EXPECT_EQ(games[1].red, "Xu Yinchuan");
  EXPECT_EQ(games[1].result, "1/2-1/2");
  EXPECT_EQ(games[1].plies, 3);
}

TEST(GameReader, WhatIsNoGameIsRefusedSayingWhatIsExpected) {
  struct Row { const char* what; std::string text; const char* says; };
  const Row rows[] = {
      {"empty", "", "empty"},
      {"blank", " \n\t\n", "empty"},
      {"binary", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), "not text"},
      {"noise", "lorem ipsum dolor sit amet", "No Xiangqi game"},
      {"chess", "[Event \"x\"]\n[White \"a\"]\n1. e4 e5 2. Nf3 Nc6 *", "No Xiangqi game"},
      {"chess variant", "[Variant \"chess\"]\n1. h2e2 *", "No Xiangqi game"},
      {"too large", std::string(MaxGameTextBytes + 1, 'x'), "far larger"},
      {"chess FEN", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "could not arise"},
      {"damaged saved game", "VRDF05\nGame #: x\n", "damaged"},
  };
  for (const Row& row : rows) {
    const Read r = ReadOnly(row.text);
    EXPECT_FALSE(r.ok) << row.what;
    EXPECT_NE(r.error.find(row.says), std::string::npos) << row.what << ": " << r.error;
  }
}

TEST(GameReader, AMoveTheRulesRefuseStopsTheReplayBeforeIt) {
  struct Row { const char* text; const char* stopped; int plies; };
  const Row rows[] = {
      {"1. h2e2 h9g7 2. h2h3 *", "2. h2h3", 2},
      {"1. C2=5 H8+7 2. C5+5", "2. C5+5", 2},  // two screens
      {"1. 炮二平五 马８进７ 2. 马九进八", "2. 马九进八", 2},
      {"[FEN \"4k4/9/9/9/9/9/9/9/4R4/3K5 b - - 0 1\"]\n1... e9e7 2. e1e9", "1... e9e7", 0},
  };
  for (const Row& row : rows) {
    const Read r = ReadOnly(row.text);
    ASSERT_TRUE(r.ok) << row.text << ": " << r.error;
    EXPECT_FALSE(r.outcome.complete) << row.text;
    EXPECT_EQ(r.outcome.stoppedText, row.stopped) << row.text;
    EXPECT_EQ(r.data->moveCount, row.plies) << row.text;
  }
}

TEST(PositionCheck, APositionThatCouldNotAriseIsRefusedByItsFirstFault) {
  struct Row { const char* fen; const char* fault; };
  const Row rows[] = {
      {"3k1k3/9/9/9/9/9/9/9/9/4K4 w", "too many green generals"},
      {"9/9/9/9/9/9/9/9/9/4K4 w", "no green general"},
      {"4k4/9/9/9/9/9/4K4/9/9/9 w", "red general on e3"},
      {"3k5/9/9/9/9/9/9/9/3A5/4K4 w", "red advisor on d1"},
      {"3k5/9/9/9/9/9/9/9/9/3BK4 w", "red elephant on d0"},
      {"3k5/9/9/9/2B6/9/9/9/9/4K4 w", "red elephant on c5"},
      {"3k5/9/9/9/9/9/9/P8/9/4K4 w", "red soldier on a2"},
      {"3k5/9/9/9/9/9/1P7/9/9/4K4 w", "red soldier on b3"},
      {"3k5/9/9/9/9/9/9/R1R1R4/9/4K4 w", "too many red chariots"},
      {"4k4/9/9/9/9/9/9/9/9/4K4 w", "generals face each other"},
      {"3k5/9/9/9/9/9/9/9/3R5/4K4 w", "green general is in check with red to move"},
      {"3k5/9/9/9/9/9/9/9/4r4/4K4 b", "red general is in check with green to move"},
  };
  for (const Row& row : rows) {
    auto record = std::make_unique<GameRecord>();
    int side = Red;
    std::string error;
    EXPECT_FALSE(LoadCheckedFen(*record, row.fen, side, error)) << row.fen;
    EXPECT_NE(error.find(row.fault), std::string::npos) << row.fen << ": " << error;
  }
  const char* const sound[] = {"3k5/9/9/9/9/9/9/9/3R5/4K4 b", "3k5/9/9/9/9/9/9/9/4r4/4K4 w", StartFen};
  for (const char* fen : sound) {
    auto record = std::make_unique<GameRecord>();
    int side = Red;
    std::string error;
    EXPECT_TRUE(LoadCheckedFen(*record, fen, side, error)) << fen << ": " << error;
  }
}

// A game of random moves that keep the mover's general safe, as other programs' rules ask.
std::unique_ptr<GameFileData> RandomGame(const char* fen, unsigned seed, int plies) {
  auto record = std::make_unique<GameRecord>();
  int side = Red;
  std::string error;
  if (!LoadFen(*record, fen, side, error)) return nullptr;
  std::mt19937 random(seed);
  for (int ply = 0; ply < plies; ++ply) {
    std::vector<Move> safe;
    record->forEachMove(side, [&](Move& m) {
      if (!record->permitsMove(m)) return false;
      record->makeMove(side, m);
      if (!record->isGeneralAttackedFast(side) && !record->generalsFacing()) safe.push_back(m);
      record->unmakeMove(side, m);
      return false;
    });
    if (safe.empty()) break;
    Move m = safe[random() % safe.size()];
    if (record->makeMove(side, m)) break;
    record->recordMove(m);
    side = 1 - side;
  }
  auto data = std::make_unique<GameFileData>();
  data->board = record->position;
  data->recordedMoves = data->moveCount = record->moveCount;
  std::memcpy(data->history, record->history, sizeof data->history);
  if (!record->startsAtOpening()) data->startFen = fen;
  return data;
}

TEST(GameReader, ExportedGamesReadBackToTheSameMovesInEveryNotation) {
  const char* const starts[] = {StartFen, GreenStart, "2bak4/4a4/4b4/9/9/9/9/9/4R4/3RK4 w - - 0 1"};
  for (unsigned seed = 1; seed <= 6; ++seed) {
    const char* fen = starts[seed % 3];
    const auto game = RandomGame(fen, seed, 120);
    ASSERT_TRUE(game) << fen;
    // The record window's Chinese, in the traditional characters of a zh_TW book.
    auto record = std::make_unique<GameRecord>();
    int side = Red;
    std::string error, chinese = std::string("[FEN \"") + fen + "\"]\n";
    LoadFen(*record, fen, side, error);
    for (int i = 0; i < game->moveCount; ++i) {
      std::string text = FormatChineseMove(record->position, game->history[i].from, game->history[i].to);
      if (seed % 2 == 0)
        for (auto [simple, traditional] : {std::pair{"车", "車"}, {"马", "馬"}, {"进", "進"}, {"后", "後"}})
          for (size_t at; (at = text.find(simple)) != std::string::npos;) text.replace(at, 3, traditional);
      chinese += text + " ";
      Move m;
      m.from = game->history[i].from;
      m.to = game->history[i].to;
      record->makeMove(sideOfCode(record->position.squares[m.from]), m);
    }
    for (const std::string& text : {FormatPgn(*game, "test", false), FormatPgn(*game, "test", true), chinese}) {
      const Read r = ReadOnly(text);
      ASSERT_TRUE(r.ok) << text << r.error;
      ASSERT_TRUE(r.outcome.complete) << text << r.outcome.stoppedText;
      ASSERT_EQ(r.data->moveCount, game->moveCount) << text;
      for (int i = 0; i < game->moveCount; ++i)
        EXPECT_EQ(FormatMove(r.data->history[i].from, r.data->history[i].to),
                  FormatMove(game->history[i].from, game->history[i].to)) << text << " ply " << i;
      EXPECT_EQ(std::memcmp(r.data->board.squares, game->board.squares, BoardSquares), 0) << text;
      EXPECT_EQ(r.data->startFen, game->startFen.empty() ? "" : WriteFen(record->startSquares, record->startSide));
    }
  }
}

TEST(GameReader, AGameFromASetUpPositionIsSavedWithItsStartAndReadBack) {
  const Read r = ReadOnly("[FEN \"3k5/9/9/9/9/9/9/9/R8/1R3K3 b - - 0 1\"]\n1... d9e9 2. a1a9 e9e8 *");
  ASSERT_TRUE(r.ok) << r.error;
  r.data->savedAt = "Sat Mar  2 14:05:09 2024";
  const std::string file = FormatGameFile(*r.data);
  EXPECT_NE(file.find("\nStart: 3k5/9/9/9/9/9/9/9/R8/1R3K3 b - - 0 1\n\n\n"), std::string::npos) << file;
  auto back = std::make_unique<GameFileData>();
  size_t consumed = 0;
  GameFileError error;
  ASSERT_TRUE(ParseGameFile(file.data(), file.size(), consumed, *back, error) && CheckGameFile(*back, error))
      << error.line << ": " << error.message;
  EXPECT_EQ(FormatGameFile(*back), file);
  // The same moves from another start, or a start that cannot be, are refused.
  struct Row { const char* from; const char* to; };
  const Row damaged[] = {{"Start: 3k5/9/9/9/9/9/9/9/R8/1R3K3 b", "Start: 3k5/9/9/9/9/9/9/9/R8/1R3K3 w"},
                         {"Start: 3k5/", "Start: 3K5/"},
                         {"Start: 3k5/9/9/9/9/9/9/9/R8/1R3K3 b - - 0 1\n", ""}};
  for (const Row& row : damaged) {
    std::string text = file;
    text.replace(text.find(row.from), std::strlen(row.from), row.to);
    *back = GameFileData();
    EXPECT_FALSE(ParseGameFile(text.data(), text.size(), consumed, *back, error) && CheckGameFile(*back, error))
        << row.to;
  }
  // The exporter gives its start to other programs.
  const std::string pgn = FormatPgn(*r.data, "test", false);
  EXPECT_NE(pgn.find("[SetUp \"1\"]\n[FEN \"3k5/9/9/9/9/9/9/9/R8/1R3K3 b - - 0 1\"]"), std::string::npos) << pgn;
  EXPECT_NE(pgn.find("1... d9e9 2. a1a9 e9e8 *"), std::string::npos) << pgn;
}

// The game's own current-game and archive files open with every record, the last one too,
// whatever blank lines stand around them.
TEST(GameReader, TheGamesOwnFilesOpenUpToTheirLastRecord) {
  const Read r = ReadOnly("1. h2e2 h9g7 2. h0g2 *");
  ASSERT_TRUE(r.ok) << r.error;
  r.data->savedAt = "Sat Mar  2 14:05:09 2024";
  const std::string file = FormatGameFile(*r.data);
  const struct { std::string text; size_t games; } rows[] = {
      {file, 1}, {"\n \n" + file, 1}, {file + "\n\n", 1}, {file + file, 2}, {file + file + file, 3},
  };
  for (const auto& row : rows) {
    std::vector<GameSource> games;
    std::string error;
    ASSERT_TRUE(ReadGames(row.text, games, error)) << row.games << ": " << error;
    ASSERT_EQ(games.size(), row.games);
    auto data = std::make_unique<GameFileData>();
    ReplayOutcome outcome;
    ASSERT_TRUE(ReplaySource(games.back(), Red, *data, outcome)) << outcome.error;
    EXPECT_EQ(FormatGameFile(*data), file) << row.games;
  }
}

}  // namespace
}  // namespace rq::test
