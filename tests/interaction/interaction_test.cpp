// Picking, dragging and dropping, the taken pieces, the computer's answer up to the announcements,
// and the commands: undo, redo, new game, the keys, settings, help, the command menu and the record.
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <regex>
#include <set>

#include "game/current_game.h"
#include "game/pgn_export.h"
#include "game/settings.h"
#include "interaction/board_picking.h"
#include "interaction/captured_pieces.h"
#include "interaction/command_menu.h"
#include "interaction_fixture.h"
#include "player/search.h"
#include "support/desktop_locale.h"

namespace rq::test {
namespace {

constexpr const char* Pinned = "4k4/9/9/9/4R4/9/9/9/9/4K4 w";  // a chariot between the generals
constexpr const char* Shuffle = "3k5/8r/9/9/9/9/9/9/R8/4K4 w";

TEST_F(InteractionTest, PickingUsesTheRadiusAndTheDropLandsWhereThePieceIsDrawn) {
  const struct { double scale; int32_t x, y; int square, code; int32_t grabX, grabY; } rows[] = {
      {1.0, 277, 770, 64, 0x4A, -35, 0},
      {1.0, 278, 770, -1, -1, 0, 0},
      {1.0, 217, 795, 64, 0x4A, 25, 25},
      {1.0, 242, 140, 1, -1, 0, 0},
      {0.75, 190, 580, 64, 0x4A, -11, 3},
  };
  for (const auto& row : rows) {
    SetScale(row.scale);
    const ScenePoint p = PointerToScene(*app, row.x, row.y);
    PickedPiece picked;
    EXPECT_EQ(SquareAtPoint(*app, p), row.square) << row.x;
    EXPECT_EQ(PieceAtPoint(*app, p, picked), row.code >= 0) << row.x;
    EXPECT_EQ(picked.code, row.code) << row.x;
    EXPECT_EQ(picked.grabOffsetX, row.grabX) << row.x;
    EXPECT_EQ(picked.grabOffsetY, row.grabY) << row.x;
  }
  for (double scale : {1.0, 0.8125}) {
    SetPosition(StartFen);
    SetScale(scale);
    // Seized off its centre, let go with the piece on the target and the pointer 36 units off it.
    OnPointerMove(*app, X(Sq("b2"), 20), Y(Sq("b2"), -20));
    OnButtonDown(*app, X(Sq("b2"), 20), Y(Sq("b2"), -20));
    OnButtonUp(*app, X(Sq("e2"), 20), Y(Sq("e2"), -30));
    EXPECT_EQ(app->savedBoard.squares[Sq("e2")], 0x4A) << scale;
  }
}

TEST_F(InteractionTest, DropsPlayOnlyPermittedMovesAndHandOverOrEndTheGame) {
  const auto shuffle = Cycles("a1a2", "i8i7", "a2a1", "i7i8");
  const struct {
    const char* fen;
    std::vector<std::string> history;
    const char* move;
    double dx;
    bool usersTurn, ended;
    int32_t reason, status;  // status 0: not played
    uint8_t taken;
    bool over;
  } rows[] = {
      {Pinned, {}, "e5d5", 0, true, false, 1, 0, 0, false},
      {Pinned, {}, "e5e3", 0, true, false, 0, 1, 0, false},
      {StartFen, {}, "b2b2", 0, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2b5", 45, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2c4", 0, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2b0", 0, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2a2", -200, true, false, 0, 0, 0, false},
      {StartFen, {}, "b2e2", 0, false, false, 0, 0, 0, false},
      {StartFen, {}, "b2e2", 0, true, true, 0, 0, 0, false},
      {StartFen, {}, "b2b9", 0, true, false, 0, 2, 0x28, false},
      {"4k4/9/9/9/9/9/9/9/9/3KR4 w", {}, "e0e9", 0, true, false, 0, 2, 0x30, true},
      {StartFen, {}, "e0e1", 0, true, false, 0, 1, 0, false},
      {Shuffle, shuffle, "a1a2", 0, true, false, 4, -4, 0, true},
  };
  for (const auto& row : rows) {
    SetPosition(row.fen, row.history);
    app->game.usersTurn = row.usersTurn;
    app->game.gameEnded = row.ended;
    app->computerMoveReady = true;
    const BoardPosition before = app->savedBoard;
    const Move m = MoveOf(row.move);
    Press(m.from);
    EXPECT_EQ(app->savedBoard.squares[m.from] == 0, row.usersTurn && !row.ended) << row.move << ": held off the board";
    OnPointerMove(*app, X(m.to, row.dx), Y(m.to, row.dx));
    EXPECT_EQ(app->explanationShown ? app->explanationReason : 0, row.reason) << row.move;
    OnButtonUp(*app, X(m.to, row.dx), Y(m.to, row.dx));
    EXPECT_EQ(app->draggedPiece.code, -1);
    const GameRecord& r = app->game.record;
    EXPECT_EQ(r.moveCount, static_cast<int32_t>(row.history.size()) + (row.status ? 1 : 0)) << row.move;
    EXPECT_EQ(app->lastMove.status, row.status ? row.status : NoLastMove) << row.move;
    if (!row.status) {
      EXPECT_EQ(std::memcmp(app->savedBoard.squares, before.squares, BoardSquares), 0) << row.move;
      continue;
    }
    EXPECT_TRUE(BoardShowsEngine()) << row.move;
    EXPECT_EQ(EatenGreen(), row.taken ? std::vector<uint8_t>{row.taken} : std::vector<uint8_t>{}) << row.move;
    EXPECT_FALSE(app->game.usersTurn) << row.move;
    EXPECT_EQ(app->game.searchRequested, !row.over) << row.move;
    EXPECT_EQ(app->computerMoveReady, row.over) << row.move;
    EXPECT_EQ(app->game.gameEnded && app->userEndAnnouncement && r.endPly == r.recordedMoves, row.over) << row.move;
    EXPECT_EQ(app->gameDrawn, row.status < 0) << row.move;
    EXPECT_EQ(fake.CurrentCursor(), row.over ? FakePlatform::ArrowToken() : FakePlatform::BusyToken()) << row.move;
  }
}

// Whatever way a handler leaves, it leaves the game lock free: another thread takes it at once.
TEST_F(InteractionTest, EveryHandlerLeavesTheLockFreeOnEveryPath) {
  const struct { const char* what; bool usersTurn, ended; std::function<void()> act; } rows[] = {
      {"pointer over a piece", true, false, [&] { MoveTo(Sq("b2")); }},
      {"press on the computer's turn", false, false, [&] { Press(Sq("b2")); }},
      {"press and release", true, false, [&] { Drag("b2b2"); }},
      {"release after the end", true, true, [&] { Release(Sq("b2")); }},
      {"key on the computer's turn", false, false, [&] { OnKeyDown(*app, KeyUndo); }},
      {"undo with nothing to take back", true, false, [&] { OnKeyDown(*app, KeyUndo); }},
      {"new game refused", true, false, [&] { OnKeyDown(*app, KeyNewGame); }},
      {"settings cancelled", true, false, [&] { OnKeyDown(*app, KeySettings); }},
      {"hint after the end", true, true, [&] { OnKeyDown(*app, KeyHint); }},
      {"a frame while the computer thinks", false, false, [&] { FramesUntil([] { return false; }); }},
      {"a frame with no move to play", false, false, [&] {
         Publish(nullptr, 0, true);
         FramesUntilUsersTurn();
       }},
      {"a saved game", true, false, [&] { SaveCurrentGame(*app); }},
  };
  for (const auto& row : rows) {
    SetPosition(StartFen);
    app->game.usersTurn = row.usersTurn;
    app->game.gameEnded = row.ended;
    app->game.searchRequested = !row.usersTurn;
    row.act();
    auto other = std::async(std::launch::async, [&] { GameLockGuard hold(app->game); });
    const bool free = other.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!free) UnlockGame(app->game);  // let the other thread through before the next row
    other.wait();
    EXPECT_TRUE(free) << row.what;
  }
}

TEST_F(InteractionTest, AHeldPieceGoesBackBeforeACommandOrASecondPress) {
  Press(Sq("b2"));
  OnButtonDown(*app, X(Sq("h2")), Y(Sq("h2")));
  Release(Sq("h2"));
  EXPECT_TRUE(BoardShowsEngine());
  PlayPair("b2e2", "h7e7");
  Press(Sq("e2"));
  OnKeyDown(*app, KeyUndo);
  EXPECT_EQ(app->draggedPiece.code, -1);
  Release(Sq("e6"));
  EXPECT_EQ(app->game.record.moveCount, 0) << "the release played from the list of the position before";
  EXPECT_TRUE(BoardShowsEngine());
}

TEST_F(InteractionTest, EatenListsStayWithinSixteenEntries) {
  const struct { int32_t before; bool add; int32_t after; } rows[] = {
      {15, true, 16},
      {16, true, 16},
      {40, true, 40},
      {-3, true, 1},
      {0, false, 0},
      {40, false, 15},
  };
  for (const auto& row : rows) {
    std::memset(app->eatenRed, 0x41, sizeof app->eatenRed);
    app->eatenRedCount = 5;
    app->eatenGreenCount = row.before;
    if (row.add) AddEatenPiece(*app, Move{0, NoSquare, 0x28});
    else RemoveEatenPiece(*app, 0x28);
    EXPECT_EQ(app->eatenGreenCount, row.after) << row.before;
    EXPECT_EQ(app->eatenRedCount, 5) << row.before;
    EXPECT_EQ(std::count(app->eatenRed, app->eatenRed + EatenCapacity, 0x41), EatenCapacity) << "written past the list";
  }
}

// Coarse frames too: the answer is drawn moving before it is played.
TEST_F(InteractionTest, TheAnswerIsAnimatedForHalfASecondThenPlayed) {
  for (int32_t step : {16, 2000}) {
    SetPosition(StartFen);
    Drag("b2e2");
    Publish("h7e7");
    fake.SetClock(5000 * step);
    bool drawn = false;
    for (int frame = 0; !app->game.usersTurn && frame < 200; ++frame) {
      drawn = app->computerMoveReady;
      UpdateComputerTurn(*app);
      fake.AdvanceClock(step);
    }
    EXPECT_TRUE(drawn) << step;
    EXPECT_GT(fake.ElapsedMilliseconds(), 5000 * step + ComputerMoveAnimationMs) << step;
    EXPECT_EQ(FormatMove(app->lastMove), "h7e7");
    EXPECT_TRUE(BoardShowsEngine());
    EXPECT_TRUE(Announcements().empty());
  }
}

// Each end for a red and for a green player, the board turned and every piece given to the
// other side; bad moves of the computer (numbered squares, red's only) are never played and lose the game.
TEST_F(InteractionTest, EveryEndIsAnnouncedOnceAfterTheFinalFrameIsShown) {
  const struct {
    const char* fen;
    std::vector<std::string> history;
    const char *user, *computer;
    int32_t detail;
    bool noMoves;
    const char* text;
    Move bad;
  } rows[] = {
      {"4k4/9/9/9/9/P8/9/9/9/r2K5 w", {}, "a4a5", "a0d0", 0, false, ComputerWonText},
      {"4k4/9/9/9/9/9/4p4/9/4N4/3AKA3 b", {}, nullptr, "e3d3", 0, false, ComputerWonText},  // no move, no check
      {"4k4/9/9/9/9/9/9/9/9/3KR4 w", {}, "e0e9", nullptr, 0, false, UserWonText},  // the player takes the general
      {StartFen, {}, "b2e2", nullptr, 0, true, UserWonText},
      {"3k5/8r/9/9/9/9/9/9/R8/4K4 b", Cycles("i8i7", "a1a2", "i7i8", "a2a1"), nullptr, "i8i7", 4, false, DrawText},
      {StartFen, {}, "b2e2", nullptr, 0, false, UserWonText, {25, NoSquare}},
      {StartFen, {}, "b2e2", nullptr, 0, false, UserWonText, {200, 22}},
      {StartFen, {}, "b2e2", nullptr, 0, false, UserWonText, {40, 49}},
      {StartFen, {}, "b2e2", nullptr, 0, false, UserWonText, {67, 58}},
      {StartFen, {}, "b2e2", nullptr, 0, false, UserWonText, {0, 1}},
      {StartFen, {}, "b2e2", nullptr, 0, false, UserWonText, {25, 40}},
  };
  for (const bool green : {false, true})
    for (const auto& row : rows) {
      if (green && (row.bad.from != 0 || row.bad.to != NoSquare)) continue;
      SCOPED_TRACE(std::string(row.text) + " " + std::to_string(row.bad.from) + (green ? " green" : ""));
      const auto turned = [&](const char* move) { return green ? SwappedMove(move) : std::string(move); };
      std::vector<std::string> history;
      for (const std::string& move : row.history) history.push_back(turned(move.c_str()));
      PlayAs(green ? Green : Red);
      SetPosition((green ? SwappedFen(row.fen) : std::string(row.fen)).c_str(), history);
      fake.ClearRecords();
      if (row.user) Drag(turned(row.user));
      const BoardPosition shown = app->savedBoard;
      if (!app->game.gameEnded) Publish(row.computer ? turned(row.computer).c_str() : nullptr, row.detail, row.noMoves, row.bad);
      ASSERT_TRUE(FramesUntilUsersTurn(false)) << "the game must not hang";
      EXPECT_TRUE(Announcements().empty()) << "announced before the final frame was shown";
      ASSERT_TRUE(FramesUntilUsersTurn());
      ASSERT_TRUE(FramesUntilUsersTurn());
      EXPECT_EQ(Announcements(), std::vector<std::string>{row.text});
      EXPECT_EQ(fake.Messages()[0].buttons, MessageButtons::Ok);
      EXPECT_TRUE(app->game.gameEnded);
      EXPECT_TRUE(BoardShowsEngine());
      EXPECT_EQ(app->game.record.endPly, app->game.record.recordedMoves);
      EXPECT_EQ(app->gameDrawn, row.text == DrawText);
      EXPECT_EQ(app->game.record.moveCount, history.size() + (row.user ? 1 : 0) + (row.computer ? 1 : 0));
      if (!row.computer) {
        EXPECT_EQ(std::memcmp(app->savedBoard.squares, shown.squares, BoardSquares), 0);
      }
      Press(Sq("e0"));
      EXPECT_EQ(app->draggedPiece.code, -1) << "a piece moves after the end";
    }
}

TEST_F(InteractionTest, UndoAndRedoStepTwoPliesWithTheEatenPiecesAndTheHighlight) {
  PlayPair("b2b9", "a9b9");
  PlayPair("h2h9", "i9h9");
  MoveTo(Sq("e5"));
  const struct { int32_t key, moveCount; std::vector<uint8_t> eatenGreen; const char* highlighted; } rows[] = {
      {KeyUndo, 2, {0x28}, "a9b9"},
      {KeyUndo, 0, {}, nullptr},
      {KeyUndo, 0, {}, nullptr},
      {KeyRedo, 2, {0x28}, "a9b9"},
      {KeyRedo, 4, {0x28, 0x29}, "i9h9"},
      {KeyRedo, 4, {0x28, 0x29}, "i9h9"},
  };
  for (const auto& row : rows) {
    OnKeyDown(*app, row.key);
    EXPECT_EQ(app->game.record.moveCount, row.moveCount);
    EXPECT_EQ(app->game.record.recordedMoves, 4) << row.moveCount;
    EXPECT_EQ(EatenGreen(), row.eatenGreen) << row.moveCount;
    EXPECT_EQ(app->eatenRedCount, row.moveCount / 2) << row.moveCount;
    EXPECT_EQ(app->lastMove.status == NoLastMove ? "" : FormatMove(app->lastMove), row.highlighted ? row.highlighted : "");
    EXPECT_TRUE(BoardShowsEngine()) << row.moveCount;
    EXPECT_TRUE(app->game.usersTurn) << row.moveCount;
  }
}

TEST_F(InteractionTest, UndoLeavesAFinishedGameAndRedoEndsItAgainSilently) {
  SetPosition("5k3/9/9/9/9/9/9/9/9/3KR4 b - - 0 1");
  Publish("f9e9");
  ASSERT_TRUE(FramesUntilUsersTurn());
  Drag("e0e9");
  ASSERT_TRUE(FramesUntilUsersTurn());
  ASSERT_TRUE(app->game.gameEnded);
  OnKeyDown(*app, KeyUndo);
  EXPECT_EQ(app->game.record.moveCount, 1) << "the player's move goes, the computer's first move stays";
  EXPECT_FALSE(app->game.gameEnded);
  EXPECT_TRUE(app->game.usersTurn);
  EXPECT_EQ(app->eatenGreenCount, 0);
  OnKeyDown(*app, KeyRedo);
  OnKeyDown(*app, KeyRedo);
  EXPECT_EQ(app->game.record.moveCount, 2);
  EXPECT_TRUE(app->game.gameEnded);
  EXPECT_EQ(app->eatenGreenCount, 1);
  ASSERT_TRUE(FramesUntilUsersTurn());
  EXPECT_EQ(Announcements().size(), 1u) << "ending again by redo is no new end";
}

TEST_F(InteractionTest, CommandsActOnlyOnTheUsersTurnAndNewGameAsksUnlessEnded) {
  constexpr MessageAnswer No = MessageAnswer::No;
  constexpr MessageAnswer Yes = MessageAnswer::Yes;
  const struct {
    int32_t key;
    bool byMenu, usersTurn, ended;
    MessageAnswer answer;
    size_t asked, dialogs;
    int32_t plies, game;
  } rows[] = {
      {KeyUndo, false, true, false, No, 0, 0, 0, 1},
      {KeyUndo, true, false, false, No, 0, 0, 2, 1},
      {KeyUndo, false, false, false, No, 0, 0, 2, 1},
      {KeyRedo, false, false, false, No, 0, 0, 0, 1},
      {KeySettings, false, true, false, No, 0, 1, 2, 1},
      {KeySettings, false, false, false, No, 0, 0, 2, 1},
      {KeyNewGame, false, true, false, Yes, 1, 0, 0, 2},
      {KeyNewGame, true, true, false, Yes, 1, 0, 0, 2},
      {KeyNewGame, false, true, false, No, 1, 0, 2, 1},
      {KeyNewGame, false, true, true, No, 0, 0, 0, 2},
      {KeyNewGame, true, false, false, Yes, 0, 0, 2, 1},
      {'A', false, true, false, No, 0, 0, 2, 1},
      {0x7A, false, true, false, No, 0, 0, 2, 1},  // F11 shares z's code point
  };
  for (const auto& row : rows) {
    app.reset();
    dir.Clear();
    Start();
    PlayPair("b2e2", "h7e7");
    if (row.key == KeyRedo) UndoCommand(*app);
    app->game.usersTurn = row.usersTurn;
    app->game.searching = !row.usersTurn;
    app->game.gameEnded = row.ended;
    app->game.record.endPly = row.ended ? 2 : NoEndPly;
    fake.answers.assign(1, row.answer);
    fake.ClearRecords();
    if (row.byMenu) ClickScene(978, row.key == KeyUndo ? 235 : 480);
    else OnKeyDown(*app, row.key);
    ASSERT_EQ(fake.Messages().size(), row.asked) << row.key << row.byMenu;
    if (row.asked) {
      EXPECT_EQ(fake.Messages()[0].text, "Do you want to quit this game and start a new one?");
    }
    EXPECT_EQ(fake.DialogsShown().size(), row.dialogs) << row.key << row.byMenu;
    EXPECT_EQ(app->game.record.moveCount, row.plies) << row.key << row.byMenu;
    EXPECT_EQ(app->gameNumber, row.game) << row.key << row.byMenu;
    EXPECT_EQ(ReadFile("Games1-100_TESTBOX.vrd5").find("Recorded moves: 2\n") != std::string::npos, row.game == 2);
    app->game.searching = false;  // no worker to end the search at shut-down
  }
}

TEST_F(InteractionTest, SettingsApplyOnlyWhenConfirmedAndWarnOfSlowLevels) {
  const std::string minutes = "several minutes";
  const struct { int32_t level; bool confirmed; int32_t chosen; std::string warning; int32_t ceilingMs; } rows[] = {
      {1, false, 4, "", -1},
      {1, true, 3, minutes, -1},
      {3, true, 3, "", -1},
      {3, true, 2, "", -1},
      {2, true, 4, minutes, -1},
      {4, true, 5, "", 1000},
      {5, true, 6, "strong level.\nOn it the computer takes up to 3 seconds", 3000},
      {1, true, 7, "up to 10 seconds", 10000},
      {7, true, 7, "", 10000},
      {7, true, 3, minutes, -1},
  };
  for (const auto& row : rows) {
    app->settings.difficultyLevel = row.level;
    app->settings.showMoves = true;
    DialogOutcome outcome{row.confirmed, SettingsValues()};
    outcome.values.difficultyLevel = row.chosen;
    outcome.values.showMoves = false;
    fake.dialogOutcomes.push_back(outcome);
    fake.ClearRecords();
    OnKeyDown(*app, KeySettings);
    ASSERT_EQ(fake.DialogsShown().size(), 1u) << row.chosen;
    ASSERT_EQ(fake.DialogsShown()[0].difficultyLevel, row.level) << row.chosen;
    const int32_t level = row.confirmed ? row.chosen : row.level;
    double seconds = 0;
    int32_t depth = 0;
    DifficultyLimits(level, seconds, depth);
    EXPECT_EQ(app->settings.difficultyLevel, level) << row.chosen;
    EXPECT_EQ(app->game.thinkSeconds, seconds) << row.chosen;
    EXPECT_EQ(app->game.ceilingMs, row.ceilingMs) << row.chosen;
    EXPECT_EQ(app->settings.showMoves, !row.confirmed) << row.chosen;
    ASSERT_EQ(fake.Messages().size(), row.warning.empty() ? 0u : 1u) << row.chosen;
    if (!row.warning.empty()) EXPECT_EQ(fake.Messages()[0].title, "Warning") << row.chosen;
    if (!row.warning.empty()) EXPECT_NE(fake.Messages()[0].text.find(row.warning), std::string::npos) << row.chosen;
  }
}

TEST_F(InteractionTest, HelpOpensThePageOfTheChosenLanguageEscaped) {
  const std::string deep = "/" + std::string(1500, 'd');
  const std::string frames = "/Documentation/RavenquillHelpFrames_";
  // Help language 0 follows the interface language; 1 and 2 keep naming their pages.
  const struct { std::string directory; int32_t helpLanguage; Language language; std::string url; } rows[] = {
      {"/home/ann/rq", 1, Language::English, "file:///home/ann/rq" + frames + "Fin.html"},
      {"/home/ann/rq/", 2, Language::English, "file:///home/ann/rq" + frames + "Chi.html"},
      {"/home/ann/rq", 2, Language::TraditionalChinese, "file:///home/ann/rq" + frames + "Chi.html"},
      {"/home/ann/rq", 0, Language::SimplifiedChinese, "file:///home/ann/rq" + frames + "Chi.html"},
      {"/home/ann/rq", 0, Language::TraditionalChinese, "file:///home/ann/rq" + frames + "Cht.html"},
      {"/home/ann/rq", 0, Language::Vietnamese, "file:///home/ann/rq" + frames + "Vie.html"},
      {"/home/ann/rq", 0, Language::Finnish, "file:///home/ann/rq" + frames + "Fin.html"},
      {"/home/ann/rq", 3, Language::Finnish, "file:///home/ann/rq"},
      {"/", -1, Language::English, "file:///"},
      {"/tmp/my games #2/50%", 0, Language::English, "file:///tmp/my%20games%20%232/50%25" + frames + "Eng.html"},
      {"/tmp/\xc3\xa4", 3, Language::English, "file:///tmp/%C3%A4"},
      {deep + deep, 0, Language::English, "file://" + deep + deep + frames + "Eng.html"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(HelpPageUrl(row.directory, row.helpLanguage, row.language), row.url) << row.directory;
  // The shipped pages are well-formed, link only within the help, each to the four others, and
  // have the English page's sections and links, so that every language's page tells the whole.
  const std::string docs = RQ_REPO_ROOT "/Documentation/";
  const char* pages[] = {"Eng", "Fin", "Chi", "Cht", "Vie"};
  const auto anchors = [&](const char* language) {
    std::ifstream in(docs + "RavenquillHelpFrames_" + language + ".html");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex anchor("(id|href)=\"[^\"]*\"");
    std::multiset<std::string> found;
    for (std::sregex_iterator at(text.begin(), text.end(), anchor), end; at != end; ++at) found.insert(at->str());
    for (const char* page : pages) {
      const std::string link = std::string("href=\"RavenquillHelpFrames_") + page + ".html\"";
      EXPECT_EQ(found.count(link), page == language ? 0u : 1u) << language << " " << link;
      found.erase(link);
    }
    return found;
  };
  for (const char* language : pages) {
    const std::string path = docs + "RavenquillHelpFrames_" + language + ".html";
    const std::string outsideLinks = "grep -oE '(href|src)=\"[^\"#][^\"]*\"' " + path +
                                     " | grep -vE '\"(ravenquill_help.css|RavenquillHelpFrames_(Eng|Fin|Chi|Cht|Vie).html)\"'";
    EXPECT_EQ(std::system(("xmllint --noout --nonet " + path + " && ! " + outsideLinks).c_str()), 0) << path;
    EXPECT_EQ(anchors(language), anchors("Eng")) << path;
  }
  // The menu's Help and key F1, which answers in the computer's turn too, open the page; one that cannot
  // open (no browser took it, or missing) is reported with where it is.
  const std::string chinese = docs + "RavenquillHelpFrames_Chi.html";
  const std::string finnish = "/nonexistent/Documentation/RavenquillHelpFrames_Fin.html";
  const struct {
    int32_t language;
    Language interface;
    const char* dataDir;
    bool opens;
    std::string message;
    bool byF1, usersTurn;
  } clicks[] = {
      {1, Language::English, RQ_REPO_ROOT, true, "", false, true},
      {0, Language::Vietnamese, RQ_REPO_ROOT, true, "", true, false},
      {2, Language::English, RQ_REPO_ROOT, false, "No web browser opened the help page. Open it yourself:\n" + chinese, false, true},
      {1, Language::English, "/nonexistent", true, "The help page is missing: it should be\n" + finnish, true, true},
  };
  for (const auto& click : clicks) {
    fake.ClearRecords();
    fake.openUrlSucceeds = click.opens;
    app->dataDir = click.dataDir;
    app->settings.helpLanguage = click.language;
    app->language = click.interface;
    app->game.usersTurn = click.usersTurn;
    if (click.byF1) OnKeyDown(*app, KeyHelp);
    else ClickScene(978, 851);
    const auto messages = fake.Messages();
    ASSERT_EQ(messages.size(), click.message.empty() ? 0u : 1u) << click.message;
    if (!click.message.empty()) {
      EXPECT_EQ(messages[0].text, click.message);
    } else {
      EXPECT_EQ(fake.OpenedUrls(), std::vector<std::string>{HelpPageUrl(click.dataDir, click.language, app->language)})
          << click.language << (click.byF1 ? " by F1" : " by the menu");
    }
  }
  app->game.usersTurn = true;
}

// The record window's rows as "number red green | red green", "~" before a move taken back.
std::string RowsText(const std::vector<MoveListRow>& rows, std::string text = "") {
  auto cell = [](const MoveListPly& p, const char* s) { return std::string(p.undone ? " ~" : " ") + s; };
  for (const MoveListRow& r : rows) {
    text += std::to_string(r.number) + cell(r.red, r.red.chinese) + cell(r.green, r.green.chinese) + " |" +
            cell(r.red, r.red.wxf) + cell(r.green, r.green.wxf) + "\n";
  }
  return text;
}

TEST_F(InteractionTest, MoveRecordFollowsTheGameAndItsPgnIsTheExportersOwn) {
  app->wallClock = [] { return std::time_t{1773000000}; };
  OnKeyDown(*app, KeyMoveList);
  ASSERT_TRUE(fake.MoveListOpen());
  ASSERT_EQ(RowsText(fake.MoveRows()), "");
  PlayPair("h2e2", "h9g7");
  Drag("b0c2");
  EXPECT_EQ(RowsText(fake.MoveRows()), "1 炮二平五 马８进７ | C2=5 H8+7\n2 马八进七  | H8+7 \n");  // before the answer
  Publish("b9c7");
  ASSERT_TRUE(FramesUntilUsersTurn());
  const std::string both = "1 炮二平五 马８进７ | C2=5 H8+7\n2 马八进七 马２进３ | H8+7 H2+3\n";
  EXPECT_EQ(RowsText(fake.MoveRows()), both);
  UndoCommand(*app);
  EXPECT_EQ(RowsText(fake.MoveRows()), "1 炮二平五 马８进７ | C2=5 H8+7\n2 ~马八进七 ~马２进３ | ~H8+7 ~H2+3\n");
  RedoCommand(*app);
  EXPECT_EQ(RowsText(fake.MoveRows()), both);
  // Copy and save give what the exporter makes of the saved game; closing is M again.
  fake.moveListRequests = {{MoveListRequest::CopyPgn, ""}, {MoveListRequest::SavePgn, "game.pgn"}, {MoveListRequest::Close, ""}};
  ServeMoveRecord(*app);
  EXPECT_FALSE(fake.MoveListOpen());
  std::string saved, exported, errors;
  int games = 0, error = 0;
  SaveCurrentGame(*app, saved, error);
  ASSERT_TRUE(ExportText(saved, "CurrentGame_TESTBOX.vrd5", false, exported, errors, games));
  EXPECT_EQ(fake.Clipboard(), exported);
  EXPECT_EQ(ReadFile("game.pgn"), exported);
  EXPECT_NE(exported.find("1. h2e2 h9g7 2. b0c2 b9c7 *"), std::string::npos) << exported;
  OnKeyDown(*app, KeyMoveList);
  fake.answers.push_back(MessageAnswer::Yes);
  NewGameCommand(*app);
  EXPECT_TRUE(fake.MoveListOpen());
  EXPECT_EQ(RowsText(fake.MoveRows()), "") << "a new game empties the list";
}

// A language chosen in the settings speaks at once: the questions, the record window's moves
// (in traditional characters for Taiwan and Hong Kong, the window made anew), and the help,
// whose language from the file gives way. System brings the desktop's language back.
TEST_F(InteractionTest, ALanguageChosenInTheSettingsSpeaksAtOnce) {
  DesktopLocale desktop(nullptr, RQ_CATALOG_DIR);  // a desktop in the C locale: English
  app->settings.helpLanguage = 2;
  ApplyLanguage(*app);
  OnKeyDown(*app, KeyMoveList);
  PlayPair("h2e2", "h9g7");
  const struct { bool confirmed; int32_t chosen; Language language; const char *rows, *question; int32_t help; } steps[] = {
      {false, 3, Language::English, "1 炮二平五 马８进７ | C2=5 H8+7\n", "New game?", 2},
      {true, 3, Language::TraditionalChinese, "1 炮二平五 馬８進７ | C2=5 H8+7\n", "開始新局？", 0},
      {true, 4, Language::Vietnamese, "1 炮二平五 马８进７ | C2=5 H8+7\n", "Ván mới?", 0},
      {true, 0, Language::English, "1 炮二平五 马８进７ | C2=5 H8+7\n", "New game?", 0},
  };
  for (const auto& step : steps) {
    DialogOutcome outcome{step.confirmed, app->settings};
    outcome.values.interfaceLanguage = step.chosen;
    fake.dialogOutcomes.push_back(outcome);
    OnKeyDown(*app, KeySettings);
    EXPECT_EQ(app->language, step.language) << step.chosen;
    EXPECT_EQ(app->settings.helpLanguage, step.help) << step.chosen;
    EXPECT_TRUE(fake.MoveListOpen()) << step.chosen;
    EXPECT_EQ(RowsText(fake.MoveRows()), step.rows) << step.chosen;
    fake.ClearRecords();
    fake.answers.push_back(MessageAnswer::No);
    OnKeyDown(*app, KeyNewGame);
    ASSERT_EQ(fake.Messages().size(), 1u) << step.chosen;
    EXPECT_EQ(fake.Messages()[0].title, step.question) << step.chosen;
  }
}

}  // namespace
}  // namespace rq::test
