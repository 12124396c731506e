// A game application on the scripted fake desktop, in a scratch working directory, with
// helpers that act as the pointer and as the computer player.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game/game_application.h"
#include "interaction/interaction.h"
#include "rules/notation.h"
#include "support/fake_platform.h"

namespace rq::test {

constexpr const char* TestLockName = "RavenquillInteractionTests";

// Square of coordinate text such as "h2" (files a-i, ranks 0-9 from red's side).
inline int Sq(const char* text) {
  int from = 0, to = 0;
  const std::string both = std::string(text) + text;
  EXPECT_TRUE(ParseMove(both, from, to)) << text;
  return from;
}

class InteractionTest : public ::testing::Test {
 protected:
  FakePlatform fake;
  std::unique_ptr<GameApplication> app;
  std::filesystem::path oldDirectory;
  std::filesystem::path directory;
  bool workerRunning = true;

  void SetUp() override {
    oldDirectory = std::filesystem::current_path();
    char pattern[] = "/tmp/rq-interaction-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    std::filesystem::current_path(directory);
    fake.loadableCursorFiles.insert("arrowcop.cur");
  }

  void TearDown() override {
    app.reset();
    std::filesystem::current_path(oldDirectory);
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }

  // Builds the application; without the worker the tests play the computer themselves.
  void Start(bool withWorker = false) {
    app = std::make_unique<GameApplication>(fake, TestLockName);
    app->clientWidth = app->clientHeight = 1024;
    app->viewScale = 1.0;
    if (!withWorker) {
      EndSearchWorker(app->game, app->workerThread);
      workerRunning = false;
    }
    fake.ClearRecords();
  }

  // A fresh game from FEN: empty history, `usersTurn` as the side says, nothing pending.
  void SetPosition(const char* fen) {
    int side = Red;
    std::string error;
    LockGame(app->game);
    GuardedGame& g = app->game;
    ASSERT_TRUE(LoadFen(g.record, fen, side, error)) << error;
    g.usersTurn = side == Red;
    g.gameEnded = g.searchRequested = g.searching = g.noMoves = false;
    app->savedBoard = g.record.position;
    app->userEndAnnouncement = app->computerEndAnnouncement = app->gameDrawn = false;
    app->computerMoveReady = app->computerMoveAnimating = false;
    app->hoveredPiece = -1;
    app->candidatesShown = false;
    app->lastMove.status = NoLastMove;
    app->eatenRedCount = app->eatenGreenCount = 0;
    UnlockGame(g);
  }

  // Four plies played four times over: the history before a repetition.
  static std::vector<const char*> Cycles(const char* a, const char* b, const char* c, const char* d) {
    std::vector<const char*> plies;
    for (int i = 0; i < 4; ++i) plies.insert(plies.end(), {a, b, c, d});
    return plies;
  }

  // Plays coordinate moves straight into the record (both sides), as a history to build on.
  void PlayHistory(const std::vector<const char*>& moves) {
    LockGame(app->game);
    GameRecord& r = app->game.record;
    for (const char* text : moves) {
      int from = 0, to = 0;
      ASSERT_TRUE(ParseMove(text, from, to)) << text;
      Move m;
      m.from = static_cast<uint8_t>(from);
      m.to = static_cast<uint8_t>(to);
      r.makeMove(sideOfCode(r.position.squares[from]), m);
      r.recordMove(m);
    }
    app->savedBoard = r.position;
    UnlockGame(app->game);
  }

  void SetScale(double scale) {
    app->viewScale = scale;
    app->clientWidth = app->clientHeight = static_cast<int32_t>(1024 * scale);
  }

  // Client pixel of a square's centre, moved by (dx, dy) scene units.
  int32_t PixelX(int square, double dx = 0) const { return static_cast<int32_t>((152 + 90 * columnOf(square) + dx) * app->viewScale); }
  int32_t PixelY(int square, double dy = 0) const { return static_cast<int32_t>((140 + 90 * rowOf(square) + dy) * app->viewScale); }

  void MoveTo(int square) { OnPointerMove(*app, PixelX(square), PixelY(square)); }

  // Presses on `from`, drags over `to` and releases there.
  void Drag(int from, int to) {
    MoveTo(from);
    OnButtonDown(*app, PixelX(from), PixelY(from));
    MoveTo(to);
    OnButtonUp(*app, PixelX(to), PixelY(to));
  }
  void Drag(const char* text) {
    int from = 0, to = 0;
    ASSERT_TRUE(ParseMove(text, from, to)) << text;
    Drag(from, to);
  }

  // Publishes the computer's answer as the worker would at the end of its search.
  void Publish(const char* text, int32_t detail = 0, bool noMoves = false) {
    int from = 0, to = 0;
    if (text) {
      ASSERT_TRUE(ParseMove(text, from, to)) << text;
    }
    Move m;
    m.from = static_cast<uint8_t>(from);
    m.to = static_cast<uint8_t>(to);
    m.detail = detail;
    PublishMove(m, noMoves);
  }
  void PublishMove(const Move& m, bool noMoves = false) {
    LockGame(app->game);
    app->game.searchRequested = false;
    app->game.searching = false;
    app->game.usersTurn = false;
    app->game.bestMove = m;
    app->game.noMoves = noMoves;
    app->game.progress = 1.0;
    UnlockGame(app->game);
  }

  // A pass of the main loop: the frame's turn step, then what follows the buffer swap.
  void Frame(bool presented = true) {
    UpdateComputerTurn(*app);
    if (presented) AnnounceEndOfGame(*app);
  }

  // Frames 16 ms apart until the user is to move again; returns the frames drawn.
  int RunFramesUntilUsersTurn(int limit = 200, bool presented = true) {
    for (int frame = 1; frame <= limit; ++frame) {
      Frame(presented);
      fake.AdvanceClock(16);
      LockGame(app->game);
      const bool done = app->game.usersTurn;
      UnlockGame(app->game);
      if (done) return frame;
    }
    return -1;
  }

  // Messages titled "Game has ended", in order.
  std::vector<std::string> Announcements() const {
    std::vector<std::string> texts;
    for (const RecordedMessage& m : fake.Messages())
      if (m.title == "Game has ended") texts.push_back(m.text);
    return texts;
  }

  bool BoardShowsEngine() const {
    return std::memcmp(app->savedBoard.squares, app->game.record.position.squares, BoardSquares) == 0;
  }

  static std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

}  // namespace rq::test
