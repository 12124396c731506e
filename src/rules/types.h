// Board geometry, piece codes and the small records every part of the game shares.
#pragma once

#include <cstdint>

namespace rq {

constexpr int BoardColumns = 9;
constexpr int BoardRows = 10;
constexpr int BoardSquares = 90;
constexpr int NoSquare = 91;          // destination of a newly built Move
constexpr int PiecesPerSide = 16;
constexpr int PieceListSize = 17;     // entry 0 stands for "no piece"
constexpr int MoveSlotCells = 30;     // the last cell's status word holds the count
constexpr int MoveSlotCapacity = MoveSlotCells - 1;
constexpr int MoveSlotCount = 102;
constexpr int MaxSearchPly = 100;
constexpr int HistoryCapacity = 1000;
constexpr int RepetitionWindow = 16;  // plies the repetition rule looks back
// Snapshots kept past the full history: the window plus the search's trial moves.
constexpr int RecentCapacity = RepetitionWindow + MaxSearchPly + 12;
constexpr int NoEndPly = 1000;

// Scratch slots that belong to the rules engine's attack and chase tests.
constexpr int SlotCheck = 100;
constexpr int SlotProtection = 101;

constexpr int Red = 0;
constexpr int Green = 1;
constexpr uint8_t RedBit = 0x40;
constexpr uint8_t GreenBit = 0x20;
constexpr uint8_t CapturedMark = 0x80;
constexpr uint8_t IndexMask = 0x1F;

// Piece indexes within a side.
constexpr int FirstSoldier = 1, LastSoldier = 5;
constexpr int FirstChariot = 6, LastChariot = 7;
constexpr int FirstHorse = 8, LastHorse = 9;
constexpr int FirstCannon = 10, LastCannon = 11;
constexpr int FirstAdvisor = 12, LastAdvisor = 13;
constexpr int FirstElephant = 14, LastElephant = 15;
constexpr int GeneralIndex = 16;

// Piece kinds as (PieceType & 7); green types have bit 3 set.
enum PieceKind : int {
  NoKind = 0, Soldier = 1, Chariot = 2, Horse = 3, Cannon = 4, Advisor = 5, Elephant = 6, General = 7
};
constexpr int GreenTypeBit = 8;

// By kind: the first piece index of that kind and how many a side has.
constexpr int KindFirstIndex[8] = {0, FirstSoldier, FirstChariot, FirstHorse, FirstCannon, FirstAdvisor, FirstElephant,
                                   GeneralIndex};
constexpr int KindCapacity[8] = {0, 5, 2, 2, 2, 2, 2, 1};

constexpr int squareOf(int column, int row) { return column + BoardColumns * row; }
constexpr int columnOf(int square) { return square % BoardColumns; }
constexpr int rowOf(int square) { return square / BoardColumns; }
constexpr int sideOfCode(uint8_t code) { return (code & GreenBit) ? Green : Red; }
constexpr uint8_t colourBit(int side) { return side == Green ? GreenBit : RedBit; }
constexpr bool isCaptured(uint8_t listEntry) { return (listEntry & CapturedMark) != 0; }

// The river runs between rows 4 and 5: rows 0..4 are green's half, rows 5..9 red's.
constexpr int GreenRiverRow = 4;
constexpr int RedRiverRow = 5;
constexpr int GreenHalfEnd = squareOf(BoardColumns - 1, GreenRiverRow);  // last square of green's half
constexpr int RedHalfStart = squareOf(0, RedRiverRow);                   // first square of red's half

// Kind of piece index 1..16, the same for both sides.
constexpr int kindOfIndex(int index) {
  return index <= LastSoldier ? Soldier
       : index <= LastChariot ? Chariot
       : index <= LastHorse ? Horse
       : index <= LastCannon ? Cannon
       : index <= LastAdvisor ? Advisor
       : index <= LastElephant ? Elephant
       : General;
}

// One move of any list; status and detail mean what the list says.
struct Move {
  uint8_t from = 0;
  uint8_t to = NoSquare;
  uint8_t captured = 0;
  int32_t status = 0;
  int32_t detail = 0;
};

// The value a search node returns: from/to/captured, the score and the draw detail.
using SearchResult = Move;

// Generated moves of one piece; the count lives in the status word of the last cell.
struct MoveSlot {
  Move cells[MoveSlotCells];

  int32_t count() const { return cells[MoveSlotCells - 1].status; }
  void setCount(int32_t n) { cells[MoveSlotCells - 1].status = n; }
};

// One played move and both piece lists as they stood after it.
struct HistoryEntry {
  uint8_t from = 0;
  uint8_t to = 0;
  uint8_t captured = 0;
  uint8_t pieceSquare[2][PieceListSize] = {};
};
static_assert(sizeof(HistoryEntry) == 3 + 2 * PieceListSize, "history entries have no gaps");

// The 90 squares with the two running evaluation sums, both seen from green.
struct BoardPosition {
  uint8_t squares[BoardSquares] = {};
  int32_t boardValue = 0;
  int32_t boardExtraValue = 0;
};

}  // namespace rq
