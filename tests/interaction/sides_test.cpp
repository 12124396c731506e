// Either side for the player: the turned board's points, a game as green from red's first
// move to its end, undo that leaves red's first move, turning the board round, resigning
// with the real archive, and the new-game question that names the side.
#include "game/current_game.h"
#include "game/new_game.h"
#include "game/pgn_export.h"
#include "interaction/board_picking.h"
#include "interaction/command_menu.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

// Every corner point in both orientations, at half size: where its centre is drawn and
// that the pointer there picks it again.
TEST_F(InteractionTest, PointsMapToPixelsAndBackWithTheBoardEitherWayUp) {
  const struct { bool turned; const char* point; int32_t x, y; } rows[] = {
      {false, "a9", 76, 70},  {false, "i9", 436, 70},  {false, "a0", 76, 475},  {false, "i0", 436, 475},
      {true, "a9", 436, 475}, {true, "i9", 76, 475},   {true, "a0", 436, 70},   {true, "i0", 76, 70},
      {true, "e4", 256, 250}, {false, "e4", 256, 295},
  };
  SetScale(0.5);
  for (const auto& row : rows) {
    app->boardTurned = row.turned;
    const Point centre = PointCentre(*app, Sq(row.point));
    EXPECT_EQ(centre.x * app->viewScale, row.x) << row.point << row.turned;
    EXPECT_EQ(app->clientHeight - centre.y * app->viewScale, row.y) << row.point << row.turned;
    EXPECT_EQ(SquareAtPoint(*app, PointerToScene(*app, row.x, row.y)), Sq(row.point)) << row.point << row.turned;
    EXPECT_EQ(SquareAtPoint(*app, PointerToScene(*app, row.x + 18, row.y)), -1) << row.point << row.turned;
  }
}

// Green from the new game on: red's first move is the computer's, green's pieces at the
// bottom are the ones picked, and undo stops at red's first move.
TEST_F(InteractionTest, AGreenPlayerAnswersRedsFirstMove) {
  app->settings.sideChoice = SideChoiceGreen;
  fake.answers.assign(1, MessageAnswer::Yes);
  OnKeyDown(*app, KeyNewGame);
  EXPECT_EQ(fake.Messages().at(0).text, "Do you want to quit this game and start a new one?\n\nIn the new game you play green.");
  EXPECT_TRUE(app->boardTurned);
  EXPECT_TRUE(app->game.searchRequested && !app->game.usersTurn) << "red's first move is asked for";
  Publish("h2e2");
  ASSERT_TRUE(FramesUntilUsersTurn());
  MoveTo(Sq("b2"));
  EXPECT_FALSE(app->candidatesShown) << "red's pieces are the computer's";
  PlayPair("h7e7", "h0g2");
  EXPECT_EQ(app->game.record.moveCount, 3);
  // Undo takes back the pair, then nothing: red's first move is not the player's.
  for (int32_t moveCount : {1, 1}) {
    OnKeyDown(*app, KeyUndo);
    EXPECT_EQ(app->game.record.moveCount, moveCount);
    EXPECT_TRUE(app->game.usersTurn);
  }
  int32_t item = -1;
  EXPECT_FALSE(MenuItemAtPoint(*app, 978, 235, item)) << "the undo item is inactive";
  OnKeyDown(*app, KeyRedo);
  EXPECT_EQ(app->game.record.moveCount, 3);
}

// F turns the board for a look from the other side at any time; who plays what stays, and
// the next new game faces the player again.
TEST_F(InteractionTest, TheBoardTurnsRoundForALookAndANewGameFacesThePlayer) {
  PlayAs(Red);
  MoveTo(Sq("b2"));
  ASSERT_TRUE(app->candidatesShown);
  OnKeyDown(*app, KeyTurnBoard);
  EXPECT_TRUE(app->boardTurned);
  EXPECT_FALSE(app->candidatesShown) << "under the pointer is now green's cannon";
  Drag("h2e2");  // at the top now
  EXPECT_EQ(app->game.record.moveCount, 1);
  OnKeyDown(*app, KeyTurnBoard);  // the computer's turn
  EXPECT_FALSE(app->boardTurned);
  OnKeyDown(*app, KeyTurnBoard);
  Publish("h7e7");
  ASSERT_TRUE(FramesUntilUsersTurn());
  fake.answers.assign(1, MessageAnswer::Yes);
  OnKeyDown(*app, KeyNewGame);
  EXPECT_EQ(fake.Messages().at(0).text, "Do you want to quit this game and start a new one?");
  EXPECT_FALSE(app->boardTurned);
  EXPECT_EQ(app->game.playerSide(), Red);
}

// The side each new game gives, and what the question says of it.
TEST_F(InteractionTest, ANewGameGivesTheSideOfTheSettingAndTheQuestionNamesIt) {
  const struct { int32_t choice; int current, next; const char* told; } rows[] = {
      {SideChoiceRed, Red, Red, ""},
      {SideChoiceRed, Green, Red, "\n\nIn the new game you play red."},
      {SideChoiceGreen, Red, Green, "\n\nIn the new game you play green."},
      {SideChoiceAlternate, Red, Green, "\n\nIn the new game you play green."},
      {SideChoiceAlternate, Green, Red, "\n\nIn the new game you play red."},
  };
  for (const auto& row : rows) {
    fake.ClearRecords();
    SetPosition(StartFen);
    PlayAs(row.current);
    app->settings.sideChoice = row.choice;
    fake.answers.assign(1, MessageAnswer::Yes);
    NewGameCommand(*app);
    EXPECT_EQ(fake.Messages().at(0).text, "Do you want to quit this game and start a new one?" + std::string(row.told));
    EXPECT_EQ(app->game.playerSide(), row.next) << row.choice << row.current;
    EXPECT_EQ(app->boardTurned, row.next == Green) << row.choice << row.current;
    EXPECT_EQ(app->game.usersTurn, row.next == Red) << row.choice << row.current;
    app->game.searchRequested = false;  // no worker
  }
}

// R on the player's turn: asked, then the game ends lost; the file, the archive and the
// export say so, with the players under their colours. Undo withdraws it.
TEST_F(InteractionTest, ResigningEndsTheGameLostAndTheArchiveAndExportKeepIt) {
  const struct {
    int side;
    bool usersTurn, ended;
    MessageAnswer answer;
    bool asked, resigned;
    const char* tags;
  } rows[] = {
      {Red, true, false, MessageAnswer::Yes, true, true, "[White \"User\"]\n[Black \"Ravenquill\"]\n[Result \"0-1\"]\n[Red \"User\"]"},
      {Green, true, false, MessageAnswer::Yes, true, true,
       "[White \"Ravenquill\"]\n[Black \"User\"]\n[Result \"1-0\"]\n[Red \"Ravenquill\"]"},
      {Red, true, false, MessageAnswer::No, true, false, "[Result \"*\"]"},
      {Red, false, false, MessageAnswer::Yes, false, false, "[Result \"*\"]"},
      {Red, true, true, MessageAnswer::Yes, false, false, "[Result \"*\"]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.side) + std::to_string(row.usersTurn) + std::to_string(row.ended));
    app.reset();
    dir.Clear();
    Start();
    PlayAs(row.side);
    SetPosition(StartFen, {"h2e2", "h7e7", "b0c2", "b9c7"});
    UndoCommand(*app);  // a move of each that redo could bring back
    if (row.side == Green) UndoCommand(*app);
    app->game.usersTurn = row.usersTurn;
    app->game.gameEnded = row.ended;
    app->game.record.endPly = row.ended ? 2 : NoEndPly;
    fake.answers.assign(1, row.answer);
    fake.ClearRecords();
    OnKeyDown(*app, KeyResign);
    ASSERT_EQ(fake.Messages().size(), row.asked ? 1u : 0u);
    if (row.asked) EXPECT_EQ(fake.Messages()[0].text, "Do you want to resign this game?");
    EXPECT_EQ(app->game.resigned, row.resigned);
    if (row.resigned) {
      EXPECT_TRUE(app->game.gameEnded);
      ASSERT_TRUE(FramesUntilUsersTurn());
      EXPECT_EQ(Announcements(), std::vector<std::string>{ComputerWonText});
      EXPECT_FALSE(app->game.record.canRedo()) << "the game ends where it stands";
    }
    app->game.usersTurn = true;
    ASSERT_TRUE(StartNewGame(*app));
    const std::string archived = ReadFile("Games1-100_TESTBOX.vrd5");
    std::string pgn, errors;
    int games = 0;
    ASSERT_TRUE(ExportText(archived, "Games1-100_TESTBOX.vrd5", false, pgn, errors, games)) << errors;
    EXPECT_NE(pgn.find(row.tags), std::string::npos) << pgn;
    EXPECT_EQ(archived.find("Resigned: ") != std::string::npos, row.resigned) << archived;
  }
  // Taken back, the resignation is withdrawn and redo leads to no end.
  SetPosition(StartFen, {"h2e2", "h7e7"});
  fake.answers.assign(1, MessageAnswer::Yes);
  OnKeyDown(*app, KeyResign);
  ASSERT_TRUE(app->game.resigned);
  OnKeyDown(*app, KeyUndo);
  OnKeyDown(*app, KeyRedo);
  EXPECT_FALSE(app->game.resigned || app->game.gameEnded);
  EXPECT_EQ(app->game.record.moveCount, 2);
}

}  // namespace
}  // namespace rq::test
