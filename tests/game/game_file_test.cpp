// The current-game file: exact bytes, reading back, and refusing damaged files.
#include "damage_table.h"
#include "game_test_support.h"

namespace rq::test {
namespace {

// A history entry over the opening position's piece lists.
HistoryEntry Entry(int from, int to, int captured) {
  HistoryEntry e{static_cast<uint8_t>(from), static_cast<uint8_t>(to), static_cast<uint8_t>(captured)};
  std::memcpy(e.pieceSquare, GameRecord().pieceSquare, sizeof e.pieceSquare);
  return e;
}

TEST(GameFileLayout, HistoryLinesAreExactly142Characters) {
  HistoryEntry capture = Entry(64, 55, 35), quiet = Entry(64, 55, 0), generalTaken = Entry(40, 4, 48);
  capture.pieceSquare[Red][10] = quiet.pieceSquare[Red][10] = 55;
  capture.pieceSquare[Green][3] = 55 + 128;
  generalTaken.pieceSquare[Red][6] = 4;
  generalTaken.pieceSquare[Green][16] = 4 + 128;
  const struct {
    HistoryEntry entry;
    const char* expected;
  } cases[] = {
      {capture, "64 --> 55 x35 054 056 058 060 062 081 089 082 088 055 070 084 086 083 087 085"
                " 027 029 183 033 035 000 008 001 007 019 025 003 005 002 006 004 "},
      {quiet, "64 --> 55 -   054 056 058 060 062 081 089 082 088 055 070 084 086 083 087 085"
              " 027 029 031 033 035 000 008 001 007 019 025 003 005 002 006 004 "},
      {generalTaken, "40 --> 04 x48 054 056 058 060 062 004 089 082 088 064 070 084 086 083 087 085"
                     " 027 029 031 033 035 000 008 001 007 019 025 003 005 002 006 132 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatHistoryLine(c.entry), c.expected);
    EXPECT_EQ(FormatHistoryLine(c.entry).size(), 142u);
  }
}

TEST(GameFileLayout, GoldenGameMatchesTheHandWrittenFile) {
  EXPECT_EQ(FormatGameFile(*DataOf(*PlayedRecord(GoldenMoves))), GoldenFile);
}

TEST(GameFileReading, WrittenGamesReadBackTheSame) {
  auto golden = PlayedRecord(GoldenMoves);
  auto undone = PlayedRecord(GoldenMoves);
  Move m;
  undone->undoMove(m);
  undone->undoMove(m);
  auto full = std::make_unique<GameRecord>();
  ASSERT_TRUE(PlayRandomGame(*full, HistoryCapacity, 11));
  auto opening = std::make_unique<GameRecord>();
  auto ending = PlayedRecord({GoldenMoves[0], GoldenMoves[1], GoldenMoves[2]});
  std::unique_ptr<GameFileData> cases[] = {DataOf(*golden), DataOf(*undone, 42), DataOf(*ending, 100),
                                           DataOf(*opening, 2147483647), DataOf(*full, 3)};
  cases[2]->gameEnded = true;
  cases[2]->usersTurn = false;
  cases[2]->board.boardValue = INT32_MIN;

  for (auto& data : cases) {
    const std::string text = FormatGameFile(*data);
    SCOPED_TRACE(text.substr(0, 60));
    auto read = std::make_unique<GameFileData>();
    size_t consumed = 0;
    GameFileError error;
    ASSERT_TRUE(ParseGameFile(text.data(), text.size(), consumed, *read, error)) << error.message;
    EXPECT_TRUE(CheckGameFile(*read, error)) << error.message;
    EXPECT_EQ(consumed, text.size());
    EXPECT_EQ(FormatGameFile(*read), text);
    EXPECT_EQ(read->savedAt, data->savedAt);
  }
  EXPECT_NE(FormatGameFile(*cases[3]).find("\n38 40 46 44 48 45 47 41 39\n"), std::string::npos);
  EXPECT_NE(FormatGameFile(*cases[3]).find("Recorded moves: 0\nNext move: 0\nEaten red pieces: 0\n"), std::string::npos);
}

TEST(GameFileReading, TolerancesAndArchives) {
  const std::string golden = GoldenFile;
  std::string crlf;
  for (char c : golden) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::string untimed = golden;
  untimed.erase(untimed.find(" (saved"), 33);
  const std::string cases[] = {"VRDF99" + golden.substr(6), golden.substr(6), crlf, untimed, golden + golden};
  for (const std::string& text : cases) {
    auto read = std::make_unique<GameFileData>();
    size_t consumed = 0;
    GameFileError error;
    ASSERT_TRUE(ParseGameFile(text.data(), text.size(), consumed, *read, error)) << text << error.message;
    EXPECT_TRUE(CheckGameFile(*read, error)) << error.message;
    read->savedAt = "Sat Mar  2 14:05:09 2024";
    EXPECT_EQ(FormatGameFile(*read), golden);
    EXPECT_EQ(consumed, text.size() - (&text == &cases[4] ? golden.size() : 0)) << "the next record starts there";
  }
}

TEST(GameFileReading, DamagedFilesAreRefusedNamingTheLine) {
  for (const Damage& d : Damages) {
    const std::string text = Damaged(d);
    auto read = std::make_unique<GameFileData>();
    size_t consumed = 0;
    GameFileError error;
    EXPECT_FALSE(ParseGameFile(text.data(), text.size(), consumed, *read, error) && CheckGameFile(*read, error))
        << d.name;
    EXPECT_EQ(error.line, d.line) << d.name << ": " << error.message;
  }
}

TEST(GameFileChecks, AFullHistoryWhoseBoardWentOn) {
  auto overflowed = std::make_unique<GameRecord>();
  ASSERT_TRUE(PlayRandomGame(*overflowed, HistoryCapacity + 1, 11));  // the last move goes unrecorded
  const struct {
    const char* name;
    std::unique_ptr<GameFileData> data;
    bool accepted;
  } cases[] = {
      {"board one move on", DataOf(*overflowed), true},
      {"board with taken pieces back", DataOf(*overflowed), false},
      {"board that differs before the redo moves", DataOf(*overflowed), false},
  };
  std::memcpy(cases[1].data->board.squares, StartSquares, BoardSquares);
  cases[2].data->moveCount = HistoryCapacity - 1;
  for (const auto& c : cases) {
    GameFileError error;
    EXPECT_EQ(CheckGameFile(*c.data, error), c.accepted) << c.name << ": " << error.message;
  }
  auto loaded = std::make_unique<GameRecord>();
  LoadIntoRecord(*cases[0].data, *loaded);
  EXPECT_EQ(0, std::memcmp(loaded->position.squares, overflowed->position.squares, BoardSquares));
  EXPECT_FALSE(loaded->canUndo());
}

TEST(GameFileChecks, TurnsAreThoseTheCommandsCanLeave) {
  const struct {
    const char* name;
    const char* moves;  // "full": random plies, the last one past the full history
    int undone;
    bool ended, usersTurn, accepted;
  } cases[] = {
      {"saved while the computer thinks", "h2h9 i9h9 b2e2", 0, false, false, true},
      {"two plies undone", "h2h9 i9h9 b2e2 b9c7", 2, false, true, true},
      {"undone to the opening", "h2h9 i9h9 b2e2 b9c7", 4, false, true, true},
      {"ended by the user's move, not yet announced", "h2h9 i9h9 b2e2", 0, true, false, true},
      {"ended by the user's move, or the computer had none", "h2h9 i9h9 b2e2", 0, true, true, true},
      {"ended by the computer's move", "h2h9 i9h9 b2e2 b9c7", 0, true, true, true},
      {"undone out of a game the user's move ended", "h2h9 i9h9 b2e2", 2, false, true, true},
      {"the user moving on after that undo", "h2h9 b2e2", 0, false, false, true},
      {"past the full history, the computer thinking", "full", 0, false, false, true},
      {"green first", "b9c7", 0, false, true, false},
      {"green twice in a row", "h2h9 i9h9 b9c7", 0, false, true, false},
      {"the opening with the computer to move", "", 0, false, false, false},
      {"ended by the computer's move, the computer to move", "h2h9 i9h9 b2e2 b9c7", 0, true, false, false},
      {"undone to the opening, the computer to move", "h2h9 i9h9 b2e2 b9c7", 4, false, false, false},
  };
  for (const auto& c : cases) {
    auto record = std::make_unique<GameRecord>();
    if (std::string(c.moves) == "full") ASSERT_TRUE(PlayRandomGame(*record, HistoryCapacity + 1, 11));
    std::istringstream moves(std::string(c.moves) == "full" ? "" : c.moves);
    for (std::string move; moves >> move;) ASSERT_TRUE(Play(*record, move)) << c.name << ": " << move;
    Move m;
    for (int i = 0; i < c.undone; ++i) record->undoMove(m);
    auto data = DataOf(*record);
    data->gameEnded = c.ended;
    data->usersTurn = c.usersTurn;
    GameFileError error;
    EXPECT_EQ(CheckGameFile(*data, error), c.accepted) << c.name << ": " << error.message;
  }
}

TEST(GameFileChecks, LoadingRestoresTheCaptureMarksForUndo) {
  auto golden = PlayedRecord(GoldenMoves);
  auto data = DataOf(*golden);
  data->gameEnded = true;
  auto loaded = std::make_unique<GameRecord>();
  LoadIntoRecord(*data, *loaded);
  EXPECT_EQ(0, std::memcmp(loaded->pieceSquare, golden->pieceSquare, sizeof loaded->pieceSquare));
  EXPECT_EQ(loaded->endPly, 4);
  Move m;
  while (loaded->undoMove(m)) {
  }
  EXPECT_EQ(0, std::memcmp(loaded->pieceSquare, GameRecord().pieceSquare, sizeof loaded->pieceSquare));
}

}  // namespace
}  // namespace rq::test
