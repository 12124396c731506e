// Games and positions brought in by Ctrl+O, Ctrl+V and a file, and the position copied out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/archive.h"
#include "game/current_game.h"
#include "game/game_file.h"
#include "interaction/interaction_fixture.h"
#include "interaction/open_game.h"

namespace rq::test {
namespace {

constexpr MessageAnswer Yes = MessageAnswer::Yes;
constexpr MessageAnswer No = MessageAnswer::No;
const char* const TwoChariots = "3k5/9/9/9/9/9/9/9/R8/1R3K3 b - - 0 1";
const char* const Collection =
    "[Red \"A\"]\n[Black \"B\"]\n[Result \"*\"]\n1. h2e2 *\n\n"
    "[Red \"C\"]\n[Black \"D\"]\n[Date \"2024.03.02\"]\n[Result \"*\"]\n1. 炮二平五 马８进７ 2. 马二进三 车９平８ *\n";

// The position on the board as Ctrl+C gives it.
std::string CopiedFen(GameApplication& app, FakePlatform& fake) {
  OnControlKey(app, KeyCopy);
  return fake.Clipboard();
}

TEST_F(InteractionTest, PastedOpenedAndRefusedTextsChangeTheGameOnlyWhenConfirmed) {
  PlayPair("h2e2", "h9g7");
  const std::string before = CopiedFen(*app, fake);
  EXPECT_EQ(before, "rnbakab1r/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR w - - 0 2");
  // Refused texts and declined questions: a message or a question, nothing else.
  struct Refused { std::string text; std::vector<MessageAnswer> answers; const char* says; };
  const Refused refused[] = {
      {"lorem ipsum", {}, "No Xiangqi game"},
      {"4k4/9/9/9/9/9/9/9/9/4K4 w", {}, "generals face"},
      {TwoChariots, {No}, NewGameQuestion},
      {"1. h2e2 h9g7 2. h2h3", {No}, "2. h2h3"},
      {"1. h2e2 h9g7 2. h2h3", {Yes, No}, NewGameQuestion},
  };
  for (const Refused& row : refused) {
    fake.ClearRecords();
    fake.SetClipboard(row.text);
    fake.answers.assign(row.answers.begin(), row.answers.end());
    OnControlKey(*app, KeyPaste);
    const auto messages = fake.Messages();
    ASSERT_FALSE(messages.empty()) << row.text;
    EXPECT_NE(messages.back().text.find(row.says), std::string::npos) << row.text << ": " << messages.back().text;
    EXPECT_EQ(CopiedFen(*app, fake), before) << row.text;
    EXPECT_EQ(app->gameNumber, 1);
    EXPECT_FALSE(std::filesystem::exists(ArchiveFileName(1, app->computerName)));
  }
  // A pasted position: the old game archived, the player on the side to move, facing it.
  fake.SetClipboard(TwoChariots);
  fake.answers = {Yes};
  OnControlKey(*app, KeyPaste);
  EXPECT_EQ(CopiedFen(*app, fake), TwoChariots);
  EXPECT_EQ(app->gameNumber, 2);
  EXPECT_TRUE(std::filesystem::exists(ArchiveFileName(1, app->computerName)));
  EXPECT_EQ(app->game.playerSide(), Green);
  EXPECT_TRUE(app->boardTurned);
  EXPECT_TRUE(app->game.usersTurn);
  // Saved and continued with its start position; the file names it.
  ASSERT_TRUE(SaveCurrentGame(*app));
  std::ifstream file(CurrentGameFileName(app->computerName));
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(std::string("\nPlayer: green\nStart: ") + TwoChariots + "\n\n\n"), std::string::npos) << text;
}

TEST_F(InteractionTest, AnOpenedGameStandsAtItsEndAndUndoStopsAtItsStart) {
  const std::string path = (std::filesystem::current_path() / "games.PGN").string();
  std::ofstream(path) << Collection;
  fake.chosenFiles = {path};
  fake.chosenGames = {1};
  fake.answers = {Yes};
  OnControlKey(*app, KeyOpen);
  const auto lists = fake.GameLists();
  ASSERT_EQ(lists.size(), 1u);
  ASSERT_EQ(lists[0].size(), 2u);
  EXPECT_EQ(lists[0][1].red, "C");
  EXPECT_EQ(lists[0][1].date, "2024.03.02");
  EXPECT_EQ(lists[0][1].plies, 4);
  EXPECT_EQ(app->game.record.moveCount, 4);
  EXPECT_EQ(app->game.playerSide(), Red);
  EXPECT_EQ(app->eatenRedCount + app->eatenGreenCount, 0);
  EXPECT_EQ(FormatMove(app->lastMove), "i9h9");
  const int expected[] = {2, 0, 0};
  for (int plies : expected) {
    OnKeyDown(*app, KeyUndo);
    EXPECT_EQ(app->game.record.moveCount, plies);
  }
  OnKeyDown(*app, KeyRedo);
  OnKeyDown(*app, KeyRedo);
  EXPECT_EQ(app->game.record.moveCount, 4);
  // A dropped or named file opens the same way; a file that is not there says so.
  fake.ClearRecords();
  OpenGameFile(*app, path + ".missing");
  ASSERT_EQ(fake.Messages().size(), 1u);
  EXPECT_NE(fake.Messages()[0].text.find("could not be read"), std::string::npos);
  EXPECT_EQ(app->game.record.moveCount, 4);
}

TEST_F(InteractionTest, AGameSetUpWithTheComputerToMoveIsAnsweredAndItsFirstMoveStays) {
  // Green moved first in the game, red is to move: the player takes red.
  fake.SetClipboard(std::string("[FEN \"") + TwoChariots + "\"]\n1... d9e9");
  fake.answers = {Yes};
  OnControlKey(*app, KeyPaste);
  EXPECT_EQ(app->game.playerSide(), Red);
  EXPECT_EQ(app->game.record.moveCount, 1);
  PlayPair("a1a9", "e9e8");
  PlayPair("b0b8", "e8e7");
  // Green's first move is the game's, not one of the computer's answers: undo stops after it.
  const int expected[] = {3, 1, 1};
  for (int plies : expected) {
    OnKeyDown(*app, KeyUndo);
    EXPECT_EQ(app->game.record.moveCount, plies);
  }
}

}  // namespace
}  // namespace rq::test
