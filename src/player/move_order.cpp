#include "player/move_order.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace rq {
namespace {

// Capture scores: every capture that may win material sorts above every killer and quiet
// move, the doubtful ones (a defended piece taken by a more valuable one) below them all.
constexpr int32_t GoodCaptureFloor = 1 << 24;
constexpr int32_t VictimWeight = 64;  // a victim one soldier dearer outweighs any attacker
constexpr int32_t HistoryLimit = 1 << 14;

int32_t KindValue(const GameRecord& r, uint8_t code) { return r.materialValue[kindOfIndex(code & IndexMask)]; }

}  // namespace

void OrderingMemory::clear() {
  for (auto& pair : killers) pair[0] = pair[1] = Move();
  std::memset(history, 0, sizeof history);
}

void OrderingMemory::age() {
  for (auto& side : history)
    for (auto& from : side)
      for (int32_t& h : from) h /= 4;
  for (auto& pair : killers) pair[0] = pair[1] = Move();
}

void OrderingMemory::rememberCutoff(int side, int ply, int depth, const Move& cutoff, const Move* tried,
                                    int triedCount) {
  Move* k = killers[ply];
  if (k[0].from != cutoff.from || k[0].to != cutoff.to) {
    k[1] = k[0];
    k[0] = cutoff;
  }
  // Bonuses shrink as a value nears the limit, so the history never overflows.
  const int32_t bonus = std::min(depth * depth, 400);
  auto adjust = [&](const Move& m, int32_t delta) {
    int32_t& h = history[side][m.from][m.to];
    h += delta - h * (delta < 0 ? -delta : delta) / HistoryLimit;
  };
  adjust(cutoff, bonus);
  for (int i = 0; i < triedCount; ++i) adjust(tried[i], -bonus);
}

MovePicker::MovePicker(GameRecord& r, const OrderingMemory& m, int s, int p, const Move& table, bool onlyCaptures)
    : record(r), memory(m), side(s), ply(p), tableMove(table),
      hasTableMove(table.from != table.to && table.to < BoardSquares), capturesOnly(onlyCaptures),
      stage(onlyCaptures ? MakeCaptures : TableMove) {}

// Whether a remembered move is one the side can make here (a quiet one onto an empty point).
bool MovePicker::canPlay(const Move& m, bool quiet) {
  if (m.from >= BoardSquares || m.to >= BoardSquares) return false;
  const uint8_t code = record.position.squares[m.from];
  if (code == 0 || sideOfCode(code) != side) return false;
  if (quiet && record.position.squares[m.to] != 0) return false;
  return record.pieceCanMove(side, m.from, m.to);
}

// Every capture but the table's move, scored by victim and attacker.
void MovePicker::makeCaptures() {
  captures.count = 0;
  const uint8_t* sq = record.position.squares;
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!record.onBoard(side, index)) continue;
    record.generateCaptures(side, index, ply);
    const MoveSlot& slot = record.moveSlots[ply];
    for (int i = 0; i < slot.count(); ++i) {
      Move m = slot.cells[i];
      if (isTableMove(m)) continue;
      const int32_t victim = KindValue(record, sq[m.to]);
      const int32_t attacker = KindValue(record, sq[m.from]);
      const bool doubtful = victim < attacker && record.isSquareAttacked(m.to, 1 - side);
      // Quiescence never gives a defended piece for less.
      if (doubtful && capturesOnly) continue;
      m.status = victim * VictimWeight - attacker / 8 + (doubtful ? INT32_MIN / 2 : GoodCaptureFloor);
      captures.moves[captures.count++] = m;
    }
  }
}

// Every quiet move but the table's move and the killers, scored by its history.
void MovePicker::makeQuiets() {
  quiets.count = 0;
  for (int index = 1; index <= PiecesPerSide; ++index) {
    if (!record.onBoard(side, index)) continue;
    record.generateQuietMoves(side, index, ply);
    const MoveSlot& slot = record.moveSlots[ply];
    for (int i = 0; i < slot.count(); ++i) {
      Move m = slot.cells[i];
      if (isTableMove(m) || memory.isKiller(ply, m)) continue;
      m.status = memory.history[side][m.from][m.to];
      quiets.moves[quiets.count++] = m;
    }
  }
}

bool MovePicker::pickBest(MoveList& list, int& cursor, int32_t floor, Move& out) {
  if (cursor >= list.count) return false;
  int best = cursor;
  for (int i = cursor + 1; i < list.count; ++i)
    if (list.moves[i].status > list.moves[best].status) best = i;
  if (list.moves[best].status < floor) return false;
  std::swap(list.moves[cursor], list.moves[best]);
  out = list.moves[cursor++];
  return true;
}

bool MovePicker::next(Move& out) {
  for (;;) {
    switch (stage) {
      case TableMove:
        stage = MakeCaptures;
        if (hasTableMove && canPlay(tableMove, false)) {
          out = tableMove;
          out.captured = 0;
          lastQuiet = record.position.squares[out.to] == 0;
          return true;
        }
        break;
      case MakeCaptures:
        makeCaptures();
        stage = GoodCaptures;
        break;
      case GoodCaptures:
        if (pickBest(captures, captureCursor, GoodCaptureFloor, out)) {
          lastQuiet = false;
          return true;
        }
        stage = capturesOnly ? Done : KillerMoves;
        break;
      case KillerMoves:
        while (killerIndex < 2) {
          const Move& k = memory.killers[ply][killerIndex++];
          if (k.from != k.to && !isTableMove(k) && canPlay(k, true)) {
            out = k;
            out.captured = 0;
            lastQuiet = true;
            return true;
          }
        }
        stage = MakeQuiets;
        break;
      case MakeQuiets:
        makeQuiets();
        stage = QuietMoves;
        break;
      case QuietMoves:
        if (pickBest(quiets, quietCursor, INT32_MIN, out)) {
          lastQuiet = true;
          return true;
        }
        stage = BadCaptures;
        break;
      case BadCaptures:
        if (pickBest(captures, captureCursor, INT32_MIN, out)) {
          lastQuiet = false;
          return true;
        }
        stage = Done;
        break;
      case Done:
        return false;
    }
  }
}

}  // namespace rq
