// The one object that owns the game: engine, worker, settings, interaction and display state.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <thread>

#include "game/move_record.h"
#include "platform/language.h"
#include "platform/platform.h"
#include "player/guarded_game.h"
#include "rules/types.h"

namespace rq {

constexpr int32_t NoLastMove = -123456789;
constexpr int EatenCapacity = 16;
constexpr int CandidateCapacity = 30;
constexpr int PieceCodeCount = 81;

// The piece of the player's the user is dragging; code -1 when none.
struct DraggedPiece {
  int32_t code = -1;
  int32_t fromSquare = -1;
  int32_t grabOffsetX = 0;  // piece centre x - pointer x, scene units
  int32_t grabOffsetY = 0;  // pointer y - piece centre y, scene units
};

// The player's best move as key H offers it, in two stages.
struct HintDisplay {
  int32_t stage = 0;   // shown: 0 nothing, 1 the piece to move, 2 the whole move
  int32_t wanted = 0;  // the stage to show once the search has answered
  uint32_t asked = 0;  // the hint request awaiting its answer; 0 when none
  Move move;
};

// The position being set up with key E; the game stays as it was until one starts from it.
struct PositionEditor {
  bool active = false;
  uint8_t squares[BoardSquares] = {};
  int32_t sideToMove = Red;
  int32_t heldCode = -1;  // the piece in the hand: from the tray or lifted off the board
};

struct GameApplication {
  // Window and scene scale.
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;

  // Cursors.
  CursorHandle busyCursor = nullptr;
  CursorHandle copyCursor = nullptr;
  CursorHandle arrowCursor = nullptr;

  char computerName[16] = {};
  int32_t gameNumber = 1;
  // The highest game number found at start-up (0 when none): no new game takes it again.
  int32_t highestEarlierNumber = 0;
  // The current-game file could be neither read nor set aside: no save replaces it.
  bool currentGameFileKept = false;

  GuardedGame game;
  std::thread workerThread;

  BoardPosition savedBoard;  // what the scene draws and the current-game file stores
  Move lastMove;             // status NoLastMove when nothing is highlighted

  uint8_t eatenRed[EatenCapacity] = {};
  uint8_t eatenGreen[EatenCapacity] = {};
  int32_t eatenRedCount = 0;
  int32_t eatenGreenCount = 0;

  int32_t pieceSpriteX[PieceCodeCount] = {};
  int32_t pieceSpriteY[PieceCodeCount] = {};

  DraggedPiece draggedPiece;
  HintDisplay hint;
  PositionEditor editor;

  MoveRecordView moveRecord;  // the record window's rows

  // Candidate moves of the hovered piece: captures first, then quiet moves.
  bool candidatesShown = false;
  int32_t captureCandidateCount = 0;
  int32_t quietCandidateCount = 0;
  int32_t candidateCount = 0;
  Move candidateMoves[CandidateCapacity];

  int32_t hoveredPiece = -1;
  int32_t pointerX = 0;
  int32_t pointerY = 0;

  int32_t boardOriginX = 152;
  int32_t boardOriginY = 884;
  double viewScale = 1.0;
  // The board is seen from green's side, green at the bottom (board_view.h). A game faces
  // its player; key F turns it round for a look from the other side.
  bool boardTurned = false;

  // End-of-game announcements and the prohibited-move explanation.
  bool userEndAnnouncement = false;
  bool computerEndAnnouncement = false;
  bool gameDrawn = false;
  bool explanationShown = false;
  int32_t explanationReason = 0;

  bool usersTurnAtFrameStart = false;

  // Command menu.
  int32_t hoveredMenuItem = -1;
  bool menuHover = false;
  bool buttonDown = false;
  bool menuVisible = false;
  int32_t menuShownAt = 0;
  int32_t menuHiddenAt = 0;

  // The computer's move on its way to the board.
  bool computerMoveReady = false;
  bool computerMoveAnimating = false;
  int32_t animationStart = 0;
  Move animatedMove;  // animFrom = animatedMove.from, animTo = animatedMove.to
  double animProgress = 0.0;

  // The user's settings (platform/settings_table.h).
  SettingsValues settings;
  // The language the player reads: texts, the pictures' words, the help, the record window.
  Language language = Language::English;

  Platform* platform;
  // The run-time data's folder; empty for the working folder.
  std::string dataDir;

  // The wall clock that dates a saved game; null for the system's. Tests fix it.
  std::time_t (*wallClock)() = nullptr;

  // Start-up: builds the game, reads the settings, starts the worker, loads the game in progress.
  explicit GameApplication(Platform& platform, std::string dataDir = {});
  // Shut-down: saves the game in progress (stopping a running search; where it cannot be
  // saved, the player may save it elsewhere), ends the worker, writes the settings.
  ~GameApplication();
  GameApplication(const GameApplication&) = delete;
  GameApplication& operator=(const GameApplication&) = delete;
};

// The number after `number`; the largest stays the last.
inline int32_t NumberAfter(int32_t number) { return number < INT32_MAX ? number + 1 : number; }

// Points the latest-move arrow at the move last played in the record's history; no arrow
// when there is none, or when a history that ran full no longer holds it. The lock is held.
void HighlightLastPlayedMove(GameApplication& app);

// The side a new game gives the player by the setting PlayerSide: red, green, or the other
// one than `previousSide` had (red after none, NoSide).
int NewGameSide(int32_t sideChoice, int previousSide);

// The side the next new game gives the player of the game in progress; the lock is held.
int NextGameSide(const GameApplication& app);

// Turns the board so that the player's side is at the bottom; the lock is held.
void FaceThePlayer(GameApplication& app);

}  // namespace rq
