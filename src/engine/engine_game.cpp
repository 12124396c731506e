#include "engine/engine_game.h"

#include <cstring>

#include "player/search.h"
#include "rules/notation.h"

namespace rq {
namespace {

// Why the rules refuse a move, in words for the protocol's error line.
const char* ReasonText(int32_t reason) {
  return reason == ReasonFacingGenerals ? "the generals would face each other" : "not allowed";
}

// Whether the side to move may play from -> to; `error` names the reason when not.
bool CheckMove(EngineGame& game, int from, int to, std::string& error) {
  GameRecord& r = *game.record;
  if (r.anyGeneralTaken()) { error = "the game is over"; return false; }
  const uint8_t code = r.position.squares[from];
  if (code == 0) { error = "no piece on " + FormatMove(from, to).substr(0, 2); return false; }
  if (sideOfCode(code) != game.sideToMove) { error = "not the side to move"; return false; }
  if (!r.pieceCanMove(game.sideToMove, from, to)) { error = "the piece cannot move there"; return false; }
  Move m;
  m.from = static_cast<uint8_t>(from);
  m.to = static_cast<uint8_t>(to);
  int32_t reason = ReasonNone;
  // The program sending the moves is the referee of repetitions, and other programs judge them by
  // other rules: refusing a move it allows would lose the game to a false illegal-move claim.
  if (!r.permitsMove(m, reason) && reason != ReasonPerpetualCheck && reason != ReasonPerpetualChase) {
    error = ReasonText(reason);
    return false;
  }
  return true;
}

// The MoveThreat bits of the move `side` has just made.
uint8_t ThreatsAfterMove(GameRecord& r, int side) {
  int32_t target = 0;
  uint8_t threats = 0;
  if (r.isGeneralAttackedFast(1 - side)) threats |= ThreatCheck;
  if (r.chasesPiece(side, target)) threats |= ThreatChase;
  return threats;
}

// Whether `threat` marked every one of the moves `plies` from now back over the span:
// the last played move is 1 ply back.
bool EveryMoveThreatened(const EngineGame& game, int firstBack, int span, uint8_t threat) {
  const int played = static_cast<int>(game.threats.size());
  for (int back = firstBack; back < span; back += 2)
    if (back > played || !(game.threats[played - back] & threat)) return false;
  return true;
}

}  // namespace

EngineGame::EngineGame() : record(std::make_unique<GameRecord>()), startFen(StartFen) {}

bool SetUpGame(EngineGame& game, const std::string& fen, std::string& error) {
  const std::string text = (fen.empty() || fen == "startpos") ? std::string(StartFen) : fen;
  int side = Red;
  if (!LoadFen(*game.record, text, side, error)) return false;
  game.startFen = text;
  game.startSide = side;
  std::memcpy(game.start.pieceSquare, game.record->pieceSquare, sizeof game.start.pieceSquare);
  game.sideToMove = side;
  game.moves.clear();
  game.threats.clear();
  return true;
}

bool IsPermitted(GameRecord& record, int side, const Move& move) {
  if (!IsBoardMove(move)) return false;
  const uint8_t code = record.position.squares[move.from];
  if (code == 0 || sideOfCode(code) != side || record.anyGeneralTaken()) return false;
  return record.pieceCanMove(side, move.from, move.to) && record.permitsMove(move);
}

void PlayCheckedMove(EngineGame& game, int from, int to) {
  Move m;
  m.from = static_cast<uint8_t>(from);
  m.to = static_cast<uint8_t>(to);
  game.record->makeMove(game.sideToMove, m);
  // A full history takes no more moves; the game goes on unrecorded, as in the game itself.
  game.record->recordMove(m);
  game.moves.push_back(m);
  game.threats.push_back(ThreatsAfterMove(*game.record, game.sideToMove));
  game.sideToMove = 1 - game.sideToMove;
}

bool PlayMoveText(EngineGame& game, const std::string& text, std::string& error) {
  int from = 0, to = 0;
  if (!ParseMove(text, from, to)) { error = "not a move in a0-i9 coordinates"; return false; }
  if (!CheckMove(game, from, to, error)) return false;
  PlayCheckedMove(game, from, to);
  return true;
}

bool TakeBackMoves(EngineGame& game, int plies) {
  if (plies < 0 || plies > static_cast<int>(game.moves.size())) return false;
  std::vector<Move> kept(game.moves.begin(), game.moves.end() - plies);
  std::string error;
  if (!SetUpGame(game, game.startFen, error)) return false;
  // Every kept move was permitted when it was played from this same start.
  for (const Move& m : kept) PlayCheckedMove(game, m.from, m.to);
  return true;
}

bool LeavesGeneralAttacked(GameRecord& record, int side, const Move& move) {
  Move trial = move;
  const bool tookGeneral = record.makeMove(side, trial);
  const bool attacked = !tookGeneral && record.isGeneralAttackedFast(side);
  record.unmakeMove(side, trial);
  return attacked;
}

bool FirstPermittedMove(GameRecord& record, int side, Move& out, const RootMoveRules::List* excluded) {
  if (record.anyGeneralTaken()) return false;
  bool found = false;
  const bool safe = record.forEachMove(side, [&](const Move& m) {
    if ((excluded != nullptr && excluded->contains(m)) || !record.permitsMove(m)) return false;
    const bool keepsGeneralSafe = !LeavesGeneralAttacked(record, side, m);
    if (keepsGeneralSafe || !found) out = m;
    found = true;
    return keepsGeneralSafe;
  });
  return safe || found;
}

void FindAdjudicatedRepetitions(EngineGame& game, RootMoveRules::List& out) {
  GameRecord& r = *game.record;
  const int side = game.sideToMove;
  if (r.anyGeneralTaken()) return;
  r.forEachMove(side, [&](const Move& m) {
    if (!r.permitsMove(m)) return false;
    Move trial = m;
    r.makeMove(side, trial);
    // The same side is to move again at an even distance; four plies is the shortest cycle. The
    // record's snapshots follow moves, so the position the moves start from is the game's own.
    const int played = static_cast<int>(game.moves.size());
    int seen = 0, span = 0;
    for (int back = 4; back <= RepetitionLookBack && seen < 2; back += 2) {
      const HistoryEntry* earlier = back == played + 1 ? &game.start : r.snapshotBefore(back);
      if (earlier == nullptr) break;
      if (r.placementMatches(*earlier)) {
        ++seen;
        span = back;
      }
    }
    const uint8_t threats = seen == 2 ? ThreatsAfterMove(r, side) : 0;
    r.unmakeMove(side, trial);
    if (seen < 2) return false;
    // This side's earlier moves in the span lie 2, 4, ... plies back from the move, the other's 1, 3, ...
    const bool ourChecks = (threats & ThreatCheck) && EveryMoveThreatened(game, 2, span, ThreatCheck);
    const bool theirChecks = EveryMoveThreatened(game, 1, span, ThreatCheck);
    const bool ourChases = (threats & ThreatChase) && EveryMoveThreatened(game, 2, span, ThreatChase);
    const bool theirChases = EveryMoveThreatened(game, 1, span, ThreatChase);
    const bool lost = (ourChecks && !theirChecks) || (!ourChecks && !theirChecks && ourChases && !theirChases);
    if (lost) out.add(m.from, m.to);
    return false;
  });
}

}  // namespace rq
