// A game application on the scripted fake desktop, with helpers that act as the pointer and the computer.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "game/board_view.h"
#include "game/game_application.h"
#include "interaction/commands.h"
#include "interaction/computer_turn.h"
#include "interaction/interaction.h"
#include "rules/notation.h"
#include "support/fake_platform.h"
#include "support/record_helpers.h"
#include "support/scratch.h"

namespace rq::test {

inline int Sq(const std::string& point) { return MoveOf(point + point).from; }

// Four plies played four times over: the history before a repetition.
inline std::vector<std::string> Cycles(const char* a, const char* b, const char* c, const char* d) {
  return {a, b, c, d, a, b, c, d, a, b, c, d, a, b, c, d};
}

class InteractionTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }
  // Without the worker the tests play the computer themselves.
  void Start(bool withWorker = false) {
    app.reset();
    fake.loadableCursorFiles.insert("arrowcop.cur");
    app = std::make_unique<GameApplication>(fake);
    app->clientWidth = app->clientHeight = 1024;
    worker = withWorker;
    if (!withWorker) EndSearchWorker(app->game, app->workerThread);
    fake.ClearRecords();
  }

  // A fresh game from FEN with `history` played into the record, nothing pending; the
  // player to move when the FEN says the player's side is.
  void SetPosition(const char* fen, const std::vector<std::string>& history = {}) {
    int side = Red;
    std::string error;
    GuardedGame& g = app->game;
    ASSERT_TRUE(LoadFen(g.record, fen, side, error)) << error;
    for (const std::string& m : history) ASSERT_TRUE(Play(g.record, m)) << m;
    g.usersTurn = side == g.playerSide();
    g.gameEnded = g.resigned = g.searchRequested = g.searching = g.noMoves = false;
    app->savedBoard = g.record.position;
    app->hoveredPiece = -1;
    app->lastMove.status = NoLastMove;
    app->userEndAnnouncement = app->computerEndAnnouncement = app->gameDrawn = app->computerMoveReady = false;
    app->computerMoveAnimating = app->candidatesShown = false;
    app->eatenRedCount = app->eatenGreenCount = 0;
  }
  void SetScale(double scale) {
    app->viewScale = scale;
    app->clientWidth = app->clientHeight = static_cast<int32_t>(1024 * scale);
  }

  // The player's side, the computer on the other, the board facing the player.
  void PlayAs(int side) {
    app->game.computerSide = static_cast<uint8_t>(side == Red ? Green : Red);
    app->boardTurned = side == Green;
  }

  // Client pixel of a square's centre as the board lies, moved by (dx, dy) scene units.
  int32_t X(int square, double dx = 0) const {
    return static_cast<int32_t>((152 + 90 * columnOf(ShownSquare(app->boardTurned, square)) + dx) * app->viewScale);
  }
  int32_t Y(int square, double dy = 0) const {
    return static_cast<int32_t>((140 + 90 * rowOf(ShownSquare(app->boardTurned, square)) + dy) * app->viewScale);
  }
  void MoveTo(int square) { OnPointerMove(*app, X(square), Y(square)); }
  void Press(int square) {
    MoveTo(square);
    OnButtonDown(*app, X(square), Y(square));
  }
  void Release(int square) { OnButtonUp(*app, X(square), Y(square)); }
  void Drag(const std::string& move) {
    Press(MoveOf(move).from);
    MoveTo(MoveOf(move).to);
    Release(MoveOf(move).to);
  }
  void ClickScene(int32_t x, int32_t y) {
    OnPointerMove(*app, x, y);
    OnButtonDown(*app, x, y);
    OnButtonUp(*app, x, y);
  }

  // The computer's answer as the worker publishes it at the end of its search: `move`, else `m`.
  void Publish(const char* move, int32_t detail = 0, bool noMoves = false, Move m = {}) {
    if (move) {
      m = MoveOf(move);
      m.detail = detail;
    }
    GuardedGame& g = app->game;
    GameLockGuard hold(g);
    g.searchRequested = g.searching = g.usersTurn = false;
    g.bestMove = m;
    g.noMoves = noMoves;
    g.progress = 1.0;
  }

  // Frames 16 fake ms (and with the worker 2 real ms) apart until `done` holds under the lock;
  // false after 200 frames or 2 minutes.
  template <typename F>
  bool FramesUntil(F done, bool presented = true) {
    for (int frame = 0; frame < (worker ? 60000 : 200); ++frame) {
      UpdateComputerTurn(*app);
      if (presented) AnnounceEndOfGame(*app);
      if (UnderGameLock(app->game, done)) return true;
      if (worker) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      fake.AdvanceClock(16);
    }
    return false;
  }
  bool FramesUntilUsersTurn(bool presented = true) {
    return FramesUntil([&] { return app->game.usersTurn; }, presented);
  }
  void PlayPair(const char* user, const char* computer) {
    Drag(user);
    Publish(computer);
    ASSERT_TRUE(FramesUntilUsersTurn()) << user << computer;
  }

  std::vector<std::string> Announcements() const {
    std::vector<std::string> texts;
    for (const RecordedMessage& m : fake.Messages()) {
      if (m.title == "Game has ended") texts.push_back(m.text);
    }
    return texts;
  }
  bool BoardShowsEngine() const {
    return std::memcmp(app->savedBoard.squares, app->game.record.position.squares, BoardSquares) == 0;
  }
  std::vector<uint8_t> EatenGreen() const { return {app->eatenGreen, app->eatenGreen + app->eatenGreenCount}; }

  ScratchDirectory dir;
  FakePlatform fake;
  bool worker = false;
  std::unique_ptr<GameApplication> app;  // last, so it goes first
};

}  // namespace rq::test
