#include "game/move_record.h"

#include <cstdio>
#include <ctime>
#include <memory>

#include "game/game_application.h"
#include "game/game_file.h"
#include "game/pgn_export.h"
#include "game/safe_file.h"
#include "platform/texts.h"
#include "rules/chinese_notation.h"
#include "rules/notation.h"
#include "rules/wxf.h"

namespace rq {

namespace {

// Fills one cell of a row with the move's texts, the Chinese in `script`.
void WritePly(MoveListPly& ply, const BoardPosition& board, int from, int to, bool undone, ChineseScript script) {
  std::snprintf(ply.chinese, sizeof ply.chinese, "%s", FormatChineseMove(board, from, to, script).c_str());
  std::snprintf(ply.wxf, sizeof ply.wxf, "%s", FormatWxfMove(board, from, to).c_str());
  ply.undone = undone;
}

}  // namespace

void PublishMoveRecord(GameApplication& app) {
  const GameRecord& record = app.game.record;
  MoveRecordView& view = app.moveRecord;
  view.played = record.moveCount;
  view.plies = record.recordedMoves;
  // The board before the first move: the moves on the board taken back. A history that ran
  // full no longer leads to the board; it began at its start position.
  BoardPosition board = record.position;
  if (record.historyOverflowed) {
    for (int s = 0; s < BoardSquares; ++s) board.squares[s] = record.startSquares[s];
  } else {
    for (int i = view.played - 1; i >= 0; --i) {
      const HistoryEntry& e = record.history[i];
      board.squares[e.from] = board.squares[e.to];
      board.squares[e.to] = e.captured;
    }
  }
  // Taiwan and Hong Kong read the moves in traditional characters.
  const ChineseScript script =
      app.language == Language::TraditionalChinese ? ChineseScript::Traditional : ChineseScript::Simplified;
  // A game set up with green to move starts its first row with red's cell empty.
  const int shift = view.plies > 0 && sideOfCode(board.squares[record.history[0].from]) == Green ? 1 : 0;
  view.rowCount = (view.plies + shift + 1) / 2;
  for (int r = 0; r < view.rowCount; ++r) view.rows[r] = MoveListRow{r + 1, {}, {}};
  for (int i = 0; i < view.plies; ++i) {
    const HistoryEntry& e = record.history[i];
    view.from[i] = e.from;
    view.to[i] = e.to;
    MoveListRow& row = view.rows[(i + shift) / 2];
    WritePly((i + shift) % 2 == 0 ? row.red : row.green, board, e.from, e.to, i >= view.played, script);
    board.squares[e.to] = board.squares[e.from];
    board.squares[e.from] = 0;
  }
  if (view.open) app.platform->UpdateMoveList(view.rows, view.rowCount);
}

void ToggleMoveRecord(GameApplication& app) {
  MoveRecordView& view = app.moveRecord;
  if (view.open) {
    view.open = false;
    app.platform->CloseMoveList();
  } else {
    view.open = app.platform->ShowMoveList(view.rows, view.rowCount);
  }
}

std::string MoveRecordPgn(GameApplication& app) {
  const MoveRecordView& view = app.moveRecord;
  auto data = std::make_unique<GameFileData>();
  data->gameNumber = app.gameNumber;
  data->savedAt = FormatSavedAt(app.wallClock ? app.wallClock() : std::time(nullptr));
  UnderGameLock(app.game, [&] {
    data->gameEnded = app.game.gameEnded;
    data->playerSide = app.game.playerSide();
    data->resignedSide = app.game.resigned ? data->playerSide : NoSide;
    const GameRecord& record = app.game.record;
    if (!record.startsAtOpening()) data->startFen = WriteFen(record.startSquares, record.startSide);
  });
  data->board = app.savedBoard;
  data->moveCount = data->recordedMoves = view.played;
  for (int i = 0; i < view.played; ++i) {
    data->history[i].from = view.from[i];
    data->history[i].to = view.to[i];
  }
  return FormatPgn(*data, app.computerName, false);
}

void ServeMoveRecord(GameApplication& app) {
  std::string path;
  for (;;) {
    const MoveListRequest request = app.platform->TakeMoveListRequest(path);
    if (request == MoveListRequest::NoRequest) return;
    if (request == MoveListRequest::Close) {
      if (app.moveRecord.open) ToggleMoveRecord(app);
    } else if (request == MoveListRequest::CopyPgn) {
      app.platform->CopyToClipboard(MoveRecordPgn(app));
    } else if (!ReplaceFileContents(path, MoveRecordPgn(app))) {
      const std::string text = FormatText(_("The game could not be written to \"%s\"."), path.c_str());
      app.platform->ShowMessage(_("Save PGN"), text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
    }
  }
}

}  // namespace rq
