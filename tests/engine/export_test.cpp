// Game records out to PGN: WXF for the tricky cases, and whole games saved, archived,
// exported and replayed from the PGN in both notations.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "engine/engine_game.h"
#include "game/archive.h"
#include "game/game_file.h"
#include "rules/notation.h"
#include "game/pgn_export.h"
#include "rules/wxf.h"

namespace rq {
namespace {

std::unique_ptr<GameRecord> FromFen(const std::string& fen) {
  auto r = std::make_unique<GameRecord>();
  int side = Red;
  std::string error;
  EXPECT_TRUE(LoadFen(*r, fen, side, error)) << fen << ": " << error;
  return r;
}

TEST(Wxf, TrickyCasesBothWays) {
  struct Row { const char* fen; const char* move; const char* wxf; };
  // Red's files count from column i, green's from column a; green advances down the board.
  const Row rows[] = {
      {StartFen, "h2e2", "C2=5"},
      {StartFen, "b0c2", "H8+7"},
      {StartFen, "a0a1", "R9+1"},
      {StartFen, "d0e1", "A6+5"},
      {StartFen, "c0e2", "E7+5"},
      {StartFen, "e0e1", "K5+1"},
      {StartFen, "e3e4", "P5+1"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1", "h9g7", "H8+7"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1", "a9a8", "R1+1"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1", "b7b0", "C2+7"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1", "b7e7", "C2=5"},
      // Two red chariots on one file: front and rear instead of the file.
      {"3k5/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1", "e3e5", "+R+2"},
      {"3k5/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1", "e1e2", "-R+1"},
      {"3k5/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1", "e1d1", "-R=6"},
      {"3k5/9/9/9/9/9/4R4/9/4R4/3K5 w - - 0 1", "e3e2", "+R-1"},
      // Green's front piece is the lower one on the picture.
      {"4rk3/9/4r4/9/9/9/9/9/9/3K5 b - - 0 1", "e7e6", "+R+1"},
      {"4rk3/9/4r4/9/9/9/9/9/9/3K5 b - - 0 1", "e9d9", "-R=4"},
      {"3k5/9/9/9/4H4/9/9/9/9/3KH4 w - - 0 1", "e5d7", "+H+6"},
      {"3k5/9/9/9/4H4/9/9/9/9/3KH4 w - - 0 1", "e0f2", "-H+4"},
      {"3k5/9/9/9/9/9/9/2C6/9/2C1K4 w - - 0 1", "c2c9", "+C+7"},
      // Advisors and elephants keep their file: the direction tells them apart.
      {"3k5/9/9/9/9/9/9/3A5/9/3AK4 w - - 0 1", "d0e1", "A6+5"},
      {"3k5/9/9/9/9/9/9/3A5/9/3AK4 w - - 0 1", "d2e1", "A6-5"},
      {"3k5/9/9/9/9/2B6/9/9/9/2B1K4 w - - 0 1", "c0e2", "E7+5"},
      {"3k5/9/9/9/9/2B6/9/9/9/2B1K4 w - - 0 1", "c4e2", "E7-5"},
      {"3k5/9/9/9/9/2B6/9/9/9/2B1K4 w - - 0 1", "c4a2", "E7-9"},
      // Soldiers on one file: two by front and rear, three or more by number from the front.
      {"3k5/9/9/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e6e7", "+P+1"},
      {"3k5/9/9/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e5d5", "-P=6"},
      {"3k5/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e7e8", "1P+1"},
      {"3k5/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e6d6", "2P=6"},
      {"3k5/9/4P4/4P4/4P4/9/9/9/9/3K5 w - - 0 1", "e5f5", "3P=4"},
      // Two files with two soldiers each: the marker is followed by the file.
      {"3k5/9/9/2P1P4/2P1P4/9/9/9/9/3K5 w - - 0 1", "e6e7", "+5+1"},
      {"3k5/9/9/2P1P4/2P1P4/9/9/9/9/3K5 w - - 0 1", "c5b5", "-7=8"},
      {"5k3/9/9/9/9/4p4/4p4/9/9/3K5 b - - 0 1", "e3e2", "+P+1"},
      {"5k3/9/9/9/9/4p4/4p4/9/9/3K5 b - - 0 1", "e4d4", "-P=4"},
  };
  for (const Row& row : rows) {
    auto r = FromFen(row.fen);
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(row.move, from, to)) << row.move;
    EXPECT_EQ(FormatWxfMove(r->position, from, to), row.wxf) << row.fen << " " << row.move;
    int backFrom = -1, backTo = -1;
    EXPECT_TRUE(ParseWxfMove(*r, sideOfCode(r->position.squares[from]), row.wxf, backFrom, backTo)) << row.wxf;
    EXPECT_EQ(FormatMove(backFrom, backTo), row.move) << row.wxf;
  }
}

TEST(Wxf, ReadingRefusesWhatNamesNoSingleMove) {
  struct Row { const char* text; bool ok; const char* move; };
  const Row rows[] = {
      {"C2=5", true, "h2e2"}, {"N8+7", true, "b0c2"}, {"c2.5", true, "h2e2"}, {"B3+5", true, "g0e2"},
      {"C2=9", false, ""},    {"R9+3", false, ""},    {"", false, ""},       {"X2=5", false, ""},
  };
  for (const Row& row : rows) {
    GameRecord r;
    int from = -1, to = -1;
    EXPECT_EQ(ParseWxfMove(r, Red, row.text, from, to), row.ok) << row.text;
    if (row.ok) {
      EXPECT_EQ(FormatMove(from, to), row.move) << row.text;
    }
  }
}

// What the game stores for the record as it stands.
std::unique_ptr<GameFileData> Stored(const GameRecord& r, int32_t number, bool ended) {
  auto d = std::make_unique<GameFileData>();
  d->gameNumber = number;
  d->savedAt = "Sat Mar  7 09:05:01 2026";
  d->gameEnded = ended;
  d->usersTurn = r.moveCount % 2 == 0;
  d->board = r.position;
  d->recordedMoves = r.recordedMoves;
  d->moveCount = r.moveCount;
  std::memcpy(d->history, r.history, sizeof d->history);
  for (int i = 0; i < r.moveCount; ++i) {
    const uint8_t taken = r.history[i].captured;
    if (!taken) continue;
    if (sideOfCode(taken) == Red) d->eatenRed[d->eatenRedCount++] = taken;
    else d->eatenGreen[d->eatenGreenCount++] = taken;
  }
  return d;
}

// A game of `plies` moves whose choices follow a fixed sequence, captures first.
void PlayGame(GameRecord& r, int plies, uint32_t seed, bool& ended) {
  ended = false;
  for (int ply = 0; ply < plies && !ended; ++ply) {
    const int side = ply % 2 == 0 ? Red : Green;
    Move moves[128];
    int n = 0;
    bool captures = false;
    for (int index = 1; index <= PiecesPerSide; ++index) {
      if (!r.onBoard(side, index)) continue;
      for (int family = 0; family < 2; ++family) {
        if (family == 0) r.generateCaptures(side, index, 0);
        else r.generateQuietMoves(side, index, 0);
        for (int i = 0; i < r.moveSlots[0].count() && n < 128; ++i) {
          Move m = r.moveSlots[0].cells[i];
          if (!IsPermitted(r, side, m)) continue;
          if (family == 0 && !captures) n = 0, captures = true;
          if (family == 1 && captures) continue;
          moves[n++] = m;
        }
      }
    }
    ASSERT_GT(n, 0);
    seed = seed * 1103515245u + 12345u;
    Move m = moves[(seed >> 8) % n];
    m.captured = 0;
    ended = r.makeMove(side, m);
    r.recordMove(m);
  }
}

struct PgnGame {
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<std::string> moves;
  std::string result;
  std::string tag(const std::string& name) const {
    for (const auto& t : tags)
      if (t.first == name) return t.second;
    return "(none)";
  }
};

std::vector<PgnGame> ReadPgn(const std::string& pgn) {
  std::vector<PgnGame> games;
  std::istringstream in(pgn);
  std::string line;
  bool inMoves = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') {
      if (inMoves || games.empty()) games.emplace_back();
      inMoves = false;
      const size_t q = line.find('"');
      games.back().tags.emplace_back(line.substr(1, q - 2), line.substr(q + 1, line.rfind('"') - q - 1));
      continue;
    }
    if (line.empty() || games.empty()) continue;
    inMoves = true;
    std::istringstream words(line);
    std::string w;
    bool comment = false;
    while (words >> w) {
      if (w[0] == '{') comment = true;
      if (comment) {
        if (w.back() == '}') comment = false;
        continue;
      }
      if (w.back() == '.') continue;
      if (w == "1-0" || w == "0-1" || w == "1/2-1/2" || w == "*") games.back().result = w;
      else games.back().moves.push_back(w);
    }
  }
  return games;
}

std::string TempDir() {
  char pattern[] = "/tmp/rq-export-XXXXXX";
  const char* dir = mkdtemp(pattern);
  return dir ? dir : "/tmp";
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

TEST(Export, SavedAndArchivedGamesReplayFromThePgn) {
  const std::string dir = TempDir();
  const std::string current = dir + "/CurrentGame_TESTPC.vrd5";
  const std::string archive = dir + "/" + ArchiveFileName(1, "TESTPC");
  EXPECT_EQ(archive, dir + "/Games1-100_TESTPC.vrd5");

  // Game 1 runs to a taken general; game 2 is left with two moves taken back, which the
  // PGN must leave out; game 3 has no move yet.
  struct Game { int plies; int undo; uint32_t seed; };
  const Game plan[] = {{400, 0, 7}, {40, 2, 11}, {0, 0, 3}};
  std::vector<std::unique_ptr<GameRecord>> records;
  std::vector<bool> ended;
  for (int g = 0; g < 3; ++g) {
    auto r = std::make_unique<GameRecord>();
    bool over = false;
    PlayGame(*r, plan[g].plies, plan[g].seed, over);
    Move m;
    for (int k = 0; k < plan[g].undo; ++k) ASSERT_TRUE(r->undoMove(m));
    WriteFile(current, FormatGameFile(*Stored(*r, g + 1, over)));
    ASSERT_TRUE(AppendFileToArchive(archive, current));
    records.push_back(std::move(r));
    ended.push_back(over);
  }
  ASSERT_TRUE(ended[0]) << "the first game should end with a taken general";

  std::ifstream in(archive, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  for (bool wxf : {false, true}) {
    SCOPED_TRACE(wxf ? "wxf" : "coordinates");
    std::string pgn, errors;
    int games = 0;
    EXPECT_TRUE(ExportText(text.str(), archive, wxf, pgn, errors, games));
    EXPECT_EQ(errors, "");
    const std::vector<PgnGame> read = ReadPgn(pgn);
    ASSERT_EQ(read.size(), 3u) << pgn;
    for (int g = 0; g < 3; ++g) {
      const PgnGame& p = read[g];
      const GameRecord& original = *records[g];
      EXPECT_EQ(p.tag("Site"), "TESTPC");
      EXPECT_EQ(p.tag("Date"), "2026.03.07");
      EXPECT_EQ(p.tag("Round"), std::to_string(g + 1));
      EXPECT_EQ(p.tag("Red"), "User");
      EXPECT_EQ(p.tag("Black"), "Ravenquill");
      EXPECT_EQ(p.tag("Variant"), "xiangqi");
      EXPECT_EQ(p.tag("FEN"), "(none)");
      EXPECT_EQ(p.tag("Result"), p.result);
      ASSERT_EQ(static_cast<int>(p.moves.size()), original.moveCount) << "game " << g + 1;
      // Replay move by move, each one permitted, to the stored position.
      EngineGame replay;
      for (size_t i = 0; i < p.moves.size(); ++i) {
        std::string error;
        std::string move = p.moves[i];
        if (wxf) {
          int from = 0, to = 0;
          ASSERT_TRUE(ParseWxfMove(*replay.record, replay.sideToMove, move, from, to)) << g + 1 << ": " << move;
          move = FormatMove(from, to);
        }
        ASSERT_TRUE(PlayMoveText(replay, move, error)) << g + 1 << " ply " << i << " " << move << ": " << error;
        EXPECT_EQ(move, FormatMove(original.history[i].from, original.history[i].to));
      }
      EXPECT_EQ(0, std::memcmp(replay.record->position.squares, original.position.squares, BoardSquares));
    }
    // The general taken last decides the first game; the others go on.
    const bool redWon = !isCaptured(records[0]->pieceSquare[Red][GeneralIndex]);
    EXPECT_EQ(read[0].result, redWon ? "1-0" : "0-1");
    EXPECT_EQ(read[1].result, "*");
    EXPECT_EQ(read[2].result, "*");
  }
  std::remove(current.c_str());
  std::remove(archive.c_str());
  rmdir(dir.c_str());
}

int CountLines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST(Export, DamagedRecordsAreNamedAndTheRestExported) {
  GameRecord played;
  bool over = false;
  PlayGame(played, 12, 5, over);
  const std::string good = FormatGameFile(*Stored(played, 1, false));
  const int goodLines = CountLines(good);
  // The good record with `count` characters of line `line` (1-based), from `column` on, replaced.
  auto damage = [&](int line, size_t column, const std::string& with) {
    std::string text = good;
    size_t at = 0;
    for (int l = 1; l < line; ++l) at = text.find('\n', at) + 1;
    text.replace(at + column, with.size(), with);
    return text;
  };
  struct Row {
    const char* name;
    std::string middle;  // the damaged record between two good ones
    int line;            // the archive's line that must be named; the middle record starts at goodLines + 1
    const char* reason;
  };
  const int history = goodLines + 19;  // the archive line of the middle record's first move
  // The first piece on the board lines (7 to 16), to be taken off.
  int boardLine = 0;
  size_t pieceColumn = 0;
  {
    std::istringstream lines(good);
    std::string text;
    for (int l = 1; std::getline(lines, text) && !boardLine; ++l)
      for (size_t c = 0; l >= 7 && l <= 16 && c < text.size() && !boardLine; c += 3)
        if (text.compare(c, 2, "00") != 0) boardLine = l, pieceColumn = c;
  }
  const Row rows[] = {
      {"a history line cut short", damage(19 + 4, 3, "->>"), history + 4, "bad to-square"},
      // Square 40 is empty from the start.
      {"a move from an empty square", damage(19, 0, "40"), history, "no piece on the from-square"},
      {"a board that the history does not lead to", damage(boardLine, pieceColumn, "00"), goodLines + boardLine,
       "the board is not the one the history leads to"},
      // The next record's first line is read in place of "Recorded moves".
      {"a record that ends early", good.substr(0, good.find("Recorded moves")), goodLines + 17, "unexpected line"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string text = good + row.middle + good;
    std::string pgn, errors;
    int games = 0;
    EXPECT_FALSE(ExportText(text, "dir/Games1-100_PC.vrd5", false, pgn, errors, games));
    EXPECT_EQ(ReadPgn(pgn).size(), 2u) << errors;
    EXPECT_EQ(errors.rfind("dir/Games1-100_PC.vrd5:", 0), 0u) << errors;
    if (row.line) {
      EXPECT_NE(errors.find(":" + std::to_string(row.line) + ": "), std::string::npos) << errors;
    }
    EXPECT_NE(errors.find(row.reason), std::string::npos) << errors;
  }
}

TEST(Export, TagsFromNamesTimesAndEnds) {
  struct NameRow { const char* path; const char* site; };
  const NameRow names[] = {
      {"CurrentGame_DESKTOP7.vrd5", "DESKTOP7"}, {"/home/u/Games101-200_pc-2.vrd5", "pc-2"},
      {"CurrentGame_.vrd5", ""},                 {"saved/mygame.vrd5", "mygame"},
  };
  for (const NameRow& row : names) EXPECT_EQ(ComputerNameFromFileName(row.path), row.site) << row.path;

  struct DateRow { const char* savedAt; const char* date; };
  const DateRow dates[] = {
      {"Sun Dec  6 18:31:48 2026", "2026.12.06"}, {"Wed Jan 31 00:00:00 1990", "1990.01.31"},
      {"", "????.??.??"},                          {"Sun Foo  6 18:31:48 2026", "????.??.??"},
      {"Sun Dec 46 18:31:48 2026", "????.??.??"},
  };
  for (const DateRow& row : dates) EXPECT_EQ(PgnDate(row.savedAt), row.date) << row.savedAt;

  // The result from the game-ended flag and the last position.
  struct EndRow { const char* name; std::vector<const char*> moves; bool ended; const char* result; };
  std::vector<const char*> shuffle;
  for (int i = 0; i < 4; ++i)
    for (const char* m : {"i0i1", "i9i8", "i1i0", "i8i9"}) shuffle.push_back(m);
  shuffle.push_back("i0i1");
  const EndRow ends[] = {
      {"unfinished", {"h2e2"}, false, "*"},
      {"red takes the green general", {"a0a1", "a9a8", "a1d1", "a8a7", "d1d9", "a7a8", "d9e9"}, true, "1-0"},
      {"green takes the red general", {"a0a1", "i9i8", "a1a2", "i8f8", "a2a1", "f8f0", "a1a2", "f0e0"}, true, "0-1"},
      {"a drawing repetition", shuffle, true, "1/2-1/2"},
      {"ended yet nothing explains it", {"h2e2"}, true, "*"},
  };
  for (const EndRow& row : ends) {
    GameRecord r;
    for (const char* text : row.moves) {
      int from = 0, to = 0;
      ASSERT_TRUE(ParseMove(text, from, to)) << text;
      Move m;
      m.from = static_cast<uint8_t>(from);
      m.to = static_cast<uint8_t>(to);
      r.makeMove(sideOfCode(r.position.squares[from]), m);
      r.recordMove(m);
    }
    EXPECT_EQ(GameResult(*Stored(r, 1, row.ended)), row.result) << row.name;
  }
}

}  // namespace
}  // namespace rq
