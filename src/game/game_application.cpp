// Start-up and shut-down of the game application object.
#include "game/game_application.h"

#include <cstdio>
#include <utility>

#include "game/current_game.h"
#include "game/folders.h"
#include "game/game_file.h"
#include "game/game_texts.h"
#include "game/safe_file.h"
#include "game/save_at_exit.h"
#include "game/settings.h"
#include "platform/language.h"
#include "platform/texts.h"

namespace rq {

namespace {

// Atlas cells by piece kind 1..7: left edge and minus the bottom edge.
constexpr int32_t RedSpriteX[8] = {0, 0, 128, 384, 384, 128, 0, 256};
constexpr int32_t RedSpriteY[8] = {0, 0, 0, -128, -256, -128, -128, -128};
constexpr int32_t GreenSpriteX[8] = {0, 128, 256, 0, 0, 256, 128, 384};
constexpr int32_t GreenSpriteY[8] = {0, -256, -256, -256, -384, -384, -384, -384};

// Every piece code's cell; codes that are no pieces stay 0.
void fillSpriteTables(GameApplication& app) {
  for (int code = 0; code < PieceCodeCount; ++code) app.pieceSpriteX[code] = app.pieceSpriteY[code] = 0;
  for (int index = 1; index <= PiecesPerSide; ++index) {
    const int kind = kindOfIndex(index);
    app.pieceSpriteX[RedBit | index] = RedSpriteX[kind];
    app.pieceSpriteY[RedBit | index] = RedSpriteY[kind];
    app.pieceSpriteX[GreenBit | index] = GreenSpriteX[kind];
    app.pieceSpriteY[GreenBit | index] = GreenSpriteY[kind];
  }
}

// The interface state of a fresh start: no menu, drag, candidates or arrow; the cursors.
void resetInterface(GameApplication& app) {
  Platform& desktop = *app.platform;
  app.hoveredMenuItem = -1;
  app.menuHover = app.buttonDown = app.menuVisible = false;
  app.menuShownAt = app.menuHiddenAt = 0;
  app.userEndAnnouncement = app.computerEndAnnouncement = app.gameDrawn = app.explanationShown = false;
  app.explanationReason = 0;
  app.usersTurnAtFrameStart = false;
  app.busyCursor = desktop.SystemCursor(CursorKind::Busy);
  app.copyCursor = desktop.CursorFromFile(DataPath(app.dataDir, "arrowcop.cur").c_str());
  app.arrowCursor = desktop.SystemCursor(CursorKind::Arrow);
  desktop.SetCursor(app.arrowCursor);
  app.gameNumber = 1;
  app.computerMoveReady = app.computerMoveAnimating = false;
  app.animationStart = 0;
  app.animProgress = 0.0;
  app.viewScale = 1.0;
  app.boardOriginX = 152;
  app.boardOriginY = 884;
  app.eatenRedCount = app.eatenGreenCount = 0;
  app.hoveredPiece = -1;
  app.pointerX = app.pointerY = 0;
  app.draggedPiece = DraggedPiece{};
  app.candidatesShown = false;
  app.captureCandidateCount = app.quietCandidateCount = app.candidateCount = 0;
  app.lastMove.status = NoLastMove;
  fillSpriteTables(app);
}

// The start-up message of a continued game, when the player wants one; the lock is held.
void tellContinuedGame(GameApplication& app) {
  if (!app.settings.hintAtStartup) return;
  const bool green = app.game.playerSide() == Green;
  const char* text = app.game.gameEnded ? GameEndedText
                     : app.game.usersTurn ? (green ? YourTurnAsGreenText : YourTurnText)
                                          : (green ? MyTurnAsGreenText : MyTurnText);
  app.platform->ShowMessage(StartUpTitle, _(text), MessageButtons::Ok, MessageIcon::NoIcon);
}

// Says once, at the start that found it, what became of a saved game that could not be
// loaded: whatever the settings, since the player would otherwise look for it in vain.
void tellUnloadedGame(GameApplication& app, const EarlierGames& earlier) {
  std::string text;
  if (!earlier.setAsideAs.empty()) text = FormatText(_(SetAsideText), earlier.setAsideAs.c_str());
  else if (earlier.keptUnread) text = FormatText(_(KeptUnreadText), CurrentGameFileName(app.computerName).c_str());
  if (text.empty()) return;
  app.platform->ShowMessage(StartUpTitle, text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
}

}  // namespace

// The program's start-up for everything but the window, in the order the rest relies on.
GameApplication::GameApplication(Platform& desktop, std::string dataFolder)
    : platform(&desktop), dataDir(std::move(dataFolder)) {
  // The GuardedGame with its record and lock is built above; the moves are newly built ones.
  savedBoard.boardValue = 0;
  savedBoard.boardExtraValue = 0;
  lastMove = Move{};
  for (Move& m : candidateMoves) m = Move{};
  animatedMove = Move{};

  // The computer's name, cut to 15 characters: the files' names carry it.
  std::snprintf(computerName, sizeof computerName, "%s", platform->ComputerName().c_str());
  // What saves of an earlier run killed in the middle left behind.
  RemoveAbandonedTempFiles(SettingsFileName(computerName));
  RemoveAbandonedTempFiles(CurrentGameFileName(computerName));

  // The defaults, then the settings file over them; the start-up message speaks their language.
  settings = SettingsValues{};
  ReadSettings(*this);
  ApplyLanguage(*this);

  // The interface state and a new game before the worker starts, so it finds no request.
  resetInterface(*this);
  game.resetForNewGame(NewGameSide(settings.sideChoice, NoSide));
  workerThread = std::thread(SearchWorkerMain, &game);

  // The game in progress; loading also puts it into the engine (position, piece
  // lists with the capture marks of the last applied entry).
  EarlierGames earlier;
  const bool found = LoadCurrentGame(*this, earlier);
  highestEarlierNumber = earlier.highestNumber;

  // The rest holds the lock, across the start-up message box too: the worker must not
  // take the game before it is shown and handed over.
  GameLockGuard hold(game);
  FaceThePlayer(*this);
  if (found) {
    HighlightLastPlayedMove(*this);
    tellContinuedGame(*this);
  } else {
    savedBoard = game.record.position;
    gameNumber = NumberAfter(highestEarlierNumber);
    tellUnloadedGame(*this, earlier);
  }
  PublishMoveRecord(*this);
  // An ended game belongs to the user; the computer never searches in one.
  if (game.gameEnded) game.usersTurn = true;
  if (!game.usersTurn) {
    RequestComputerMove(game);
    computerMoveReady = false;
  }
}

void HighlightLastPlayedMove(GameApplication& app) {
  app.lastMove.status = NoLastMove;
  const GameRecord& record = app.game.record;
  if (record.moveCount <= 0 || record.historyOverflowed) return;
  const HistoryEntry& last = record.history[record.moveCount - 1];
  app.lastMove.from = last.from;
  app.lastMove.to = last.to;
  app.lastMove.captured = last.captured;
  app.lastMove.status = 0;
}

int NewGameSide(int32_t sideChoice, int previousSide) {
  if (sideChoice == SideChoiceGreen) return Green;
  if (sideChoice == SideChoiceAlternate && previousSide == Red) return Green;
  return Red;
}

int NextGameSide(const GameApplication& app) { return NewGameSide(app.settings.sideChoice, app.game.playerSide()); }

void FaceThePlayer(GameApplication& app) { app.boardTurned = app.game.playerSide() == Green; }

// Shut-down: the game is saved with any search stopped, and no thread outlives the object.
GameApplication::~GameApplication() {
  SaveGameAtExit(*this);
  EndSearchWorker(game, workerThread);
  WriteSettings(*this);
}

}  // namespace rq
