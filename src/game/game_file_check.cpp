// Judging a stored game before it is trusted, and putting it into the engine.
#include <cstring>
#include <memory>

#include "game/game_file.h"
#include "game/game_file_ranges.h"
#include "rules/notation.h"
#include "rules/position_check.h"

namespace rq {

namespace {

// 1-based file lines of the parts that the checks can blame.
constexpr int UsersTurnLine = 4;
constexpr int FirstBoardLine = 7;
constexpr int RecordedMovesLine = 17;
constexpr int FirstHistoryLine = 19;

// The line of the eaten red or green count.
int eatenLine(const GameFileData& data, bool green) {
  return FirstHistoryLine + data.recordedMoves + (green ? data.eatenRedCount + 1 : 0);
}

// The line of the resignation, as the writer places it.
int resignedLine(const GameFileData& data) {
  return eatenLine(data, true) + data.eatenGreenCount + 1 + (data.playerSide == Green ? 1 : 0);
}

// The line of the start position, as the writer places it.
int startLine(const GameFileData& data) { return resignedLine(data) + (data.resignedSide != NoSide ? 1 : 0); }

// Every count, square and code within what the game can hold.
bool checkRanges(const GameFileData& data, GameFileError& error) {
  if (data.gameNumber < 1 || data.gameNumber > MaxGameNumber) return error.fail(2, fault::BadGameNumber);
  if (data.recordedMoves < 0 || data.recordedMoves > HistoryCapacity)
    return error.fail(RecordedMovesLine, fault::RecordedMovesOutOfRange);
  if (data.moveCount < 0 || data.moveCount > data.recordedMoves)
    return error.fail(RecordedMovesLine + 1, fault::NextMoveOutOfRange);
  for (int i = 0; i < data.recordedMoves; ++i) {
    const HistoryEntry& e = data.history[i];
    if (e.from >= BoardSquares || e.to >= BoardSquares || (e.captured != 0 && !IsPieceCode(e.captured)))
      return error.fail(FirstHistoryLine + i, fault::BadMove);
    for (int side = 0; side < 2; ++side)
      for (int index = 1; index <= PiecesPerSide; ++index)
        if (!IsSnapshotValue(e.pieceSquare[side][index])) return error.fail(FirstHistoryLine + i, fault::BadSnapshot);
  }
  if (data.playerSide != Red && data.playerSide != Green) return error.fail(eatenLine(data, true), fault::BadPlayerSide);
  if (data.resignedSide != NoSide && data.resignedSide != Red && data.resignedSide != Green)
    return error.fail(resignedLine(data), fault::BadResignedSide);
  const int32_t counts[2] = {data.eatenRedCount, data.eatenGreenCount};
  const uint8_t* lists[2] = {data.eatenRed, data.eatenGreen};
  for (int side = 0; side < 2; ++side) {
    if (counts[side] < 0 || counts[side] > MaxEatenCount)
      return error.fail(eatenLine(data, side == Green), fault::EatenCountOutOfRange);
    for (int i = 0; i < counts[side]; ++i)
      if (!IsPieceCode(lists[side][i]) || sideOfCode(lists[side][i]) != side)
        return error.fail(eatenLine(data, side == Green) + 1 + i, fault::BadEatenCode);
  }
  return true;
}

// Every square holds nothing or a piece code, and no piece stands on two squares.
bool checkBoard(const BoardPosition& board, GameFileError& error) {
  bool seen[2][PieceListSize] = {};
  for (int square = 0; square < BoardSquares; ++square) {
    const uint8_t code = board.squares[square];
    if (code == 0) continue;
    const int line = FirstBoardLine + rowOf(square);
    if (!IsPieceCode(code)) return error.fail(line, fault::BadBoardCode);
    bool& piece = seen[sideOfCode(code)][code & IndexMask];
    if (piece) return error.fail(line, fault::PieceOnTwoSquares);
    piece = true;
  }
  return true;
}

// The squares alike; the stored sums are not compared.
bool sameSquares(const BoardPosition& a, const BoardPosition& b) {
  return std::memcmp(a.squares, b.squares, BoardSquares) == 0;
}

// The computer is to move only after a move of the player's (`lastSide`, NoSide before the
// first), or at the start when it plays red: it answers the player, or a save stopped it
// thinking. The player may be to move after any move, since an undo out of a game that the
// player's move ended leaves the turn with the player, but never before red's first move.
bool checkTurn(const GameFileData& data, int firstSide, int lastSide, GameFileError& error) {
  const int player = data.playerSide;
  if (!data.usersTurn && lastSide != player && !(lastSide == NoSide && player != firstSide))
    return error.fail(UsersTurnLine, fault::ComputerOutOfTurn);
  if (data.usersTurn && lastSide == NoSide && player != firstSide && !data.gameEnded)
    return error.fail(UsersTurnLine, fault::PlayerBeforeFirstMove);
  return true;
}

// A resignation is the player's, on the player's turn, and ends the game where its record ends.
bool checkResignation(const GameFileData& data, GameFileError& error) {
  if (data.resignedSide == NoSide) return true;
  if (data.resignedSide != data.playerSide || !data.gameEnded || !data.usersTurn ||
      data.moveCount != data.recordedMoves)
    return error.fail(resignedLine(data), fault::ResignationOutOfPlace);
  return true;
}

// Plays the history from its start position, as the player and the computer could have.
bool checkReplay(const GameFileData& data, GameFileError& error) {
  auto record = std::make_unique<GameRecord>();
  int firstSide = Red;
  PositionFault refused;
  if (data.startFen.empty()) record->newGame();
  else if (!LoadCheckedFen(*record, data.startFen, firstSide, refused))
    return error.fail(startLine(data), fault::BadStartPosition);
  const int player = data.playerSide, computer = player == Red ? Green : Red;
  int previousSide = NoSide, lastSide = NoSide;
  for (int i = 0; i < data.recordedMoves; ++i) {
    if (i == data.moveCount && !sameSquares(record->position, data.board))
      return error.fail(FirstBoardLine, fault::BoardNotFromHistory);
    const HistoryEntry& e = data.history[i];
    const int line = FirstHistoryLine + i;
    const uint8_t code = record->position.squares[e.from];
    if (code == 0) return error.fail(line, fault::NoPieceOnFromSquare);
    const int side = sideOfCode(code);
    // The start's side moves first; then the computer only ever answers the player. The player may move
    // twice in a row: that same undo hands the player the board on the computer's turn.
    if (i == 0 ? side != firstSide : side == computer && previousSide != player) return error.fail(line, fault::MoveOutOfTurn);
    previousSide = side;
    if (i == data.moveCount - 1) lastSide = side;
    if (!record->pieceCanMove(side, e.from, e.to)) return error.fail(line, fault::NotAMoveOfThatPiece);
    Move move;
    move.from = e.from;
    move.to = e.to;
    int32_t reason = 0, detail = 0;
    // A move that ends the game drawn by repetition is played; the prohibited ones never are.
    if (!record->validateMove(move, reason, detail) && reason != ReasonRepetition)
      return error.fail(line, fault::ProhibitedMove);
    record->makeMove(side, move);
    if (move.captured != e.captured) return error.fail(line, fault::CapturedPieceDiffers);
    record->recordMove(move);
    if (std::memcmp(&e.pieceSquare[Red][1], &record->pieceSquare[Red][1], PiecesPerSide) != 0 ||
        std::memcmp(&e.pieceSquare[Green][1], &record->pieceSquare[Green][1], PiecesPerSide) != 0)
      return error.fail(line, fault::SnapshotDiffersFromReplay);
  }
  if (data.moveCount == data.recordedMoves && !sameSquares(record->position, data.board)) {
    // Moves made after the history filled up were never recorded: the board has gone on
    // without it. That game is kept, with undo and redo refused (LoadIntoRecord), as long
    // as no piece the history saw taken has come back.
    if (data.recordedMoves == HistoryCapacity) {
      for (int side = 0; side < 2; ++side)
        for (int index = 1; index <= PiecesPerSide; ++index) {
          const uint8_t code = static_cast<uint8_t>(colourBit(side) | index);
          if (isCaptured(record->pieceSquare[side][index]) && std::memchr(data.board.squares, code, BoardSquares))
            return error.fail(FirstBoardLine, fault::TakenPieceBack);
        }
      return true;
    }
    return error.fail(FirstBoardLine, fault::BoardNotFromHistory);
  }
  return checkTurn(data, firstSide, lastSide, error);
}

}  // namespace

bool CheckGameFile(const GameFileData& data, GameFileError& error) {
  error = GameFileError{};
  return checkRanges(data, error) && checkBoard(data.board, error) && checkResignation(data, error) &&
         checkReplay(data, error);
}

bool SnapshotMatchesBoard(const HistoryEntry& entry, const BoardPosition& board) {
  int onBoard = 0;
  for (int side = 0; side < 2; ++side) {
    for (int index = 1; index <= PiecesPerSide; ++index) {
      const uint8_t value = entry.pieceSquare[side][index];
      const uint8_t code = static_cast<uint8_t>(colourBit(side) | index);
      if (value < BoardSquares) {
        if (board.squares[value] != code) return false;
        ++onBoard;
      } else if (!isCaptured(value) || std::memchr(board.squares, code, BoardSquares) != nullptr) {
        return false;
      }
    }
  }
  int occupied = 0;
  for (uint8_t code : board.squares) occupied += code != 0;
  return occupied == onBoard;
}

void EatenFromHistory(GameFileData& data) {
  data.eatenRedCount = data.eatenGreenCount = 0;
  for (int i = 0; i < data.moveCount && i < HistoryCapacity; ++i) {
    const uint8_t taken = data.history[i].captured;
    if (taken == 0) continue;
    if (sideOfCode(taken) == Red) data.eatenRed[data.eatenRedCount++] = taken;
    else data.eatenGreen[data.eatenGreenCount++] = taken;
  }
}

void LoadIntoRecord(const GameFileData& data, GameRecord& record) {
  const int32_t recorded = data.recordedMoves < 0 ? 0 : data.recordedMoves > HistoryCapacity ? HistoryCapacity
                                                                                              : data.recordedMoves;
  const int32_t count = data.moveCount < 0 ? 0 : data.moveCount > recorded ? recorded : data.moveCount;
  int firstSide = Red;
  PositionFault refused;
  if (data.startFen.empty() || !LoadFen(record, data.startFen, firstSide, refused)) record.newGame();
  record.position = data.board;
  record.rebuildPieceLists();
  std::memcpy(record.history, data.history, sizeof(HistoryEntry) * static_cast<size_t>(recorded));
  record.recordedMoves = recorded;
  record.moveCount = count;
  record.historyOverflowed = false;
  record.historyDetached = false;
  record.recentMoves = 0;
  if (count > 0) {
    const HistoryEntry& last = record.history[count - 1];
    // Only the snapshot brings back where captured pieces were taken; one that does not
    // describe the board belongs to a history that ran full, and undo stays refused.
    if (SnapshotMatchesBoard(last, record.position)) {
      std::memcpy(&record.pieceSquare[Red][1], &last.pieceSquare[Red][1], PiecesPerSide);
      std::memcpy(&record.pieceSquare[Green][1], &last.pieceSquare[Green][1], PiecesPerSide);
    } else {
      record.historyOverflowed = true;
      record.historyDetached = true;
    }
  }
  record.endPly = data.gameEnded ? recorded : NoEndPly;
}

}  // namespace rq
