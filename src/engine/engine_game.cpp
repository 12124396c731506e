#include "engine/engine_game.h"

#include "player/search.h"
#include "rules/notation.h"

namespace rq {
namespace {

// Why the rules refuse a move, in words for the protocol's error line.
const char* ReasonText(int32_t reason) {
  switch (reason) {
    case ReasonFacingGenerals: return "the generals would face each other";
    case ReasonPerpetualCheck: return "perpetual check is not allowed";
    case ReasonPerpetualChase: return "perpetual chase is not allowed";
    default: return "not allowed";
  }
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
  if (!r.permitsMove(m, reason)) {
    error = ReasonText(reason);
    return false;
  }
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
  game.sideToMove = side;
  game.moves.clear();
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

bool FirstPermittedMove(GameRecord& record, int side, Move& out) {
  if (record.anyGeneralTaken()) return false;
  bool found = false;
  const bool safe = record.forEachMove(side, [&](const Move& m) {
    if (!record.permitsMove(m)) return false;
    const bool keepsGeneralSafe = !LeavesGeneralAttacked(record, side, m);
    if (keepsGeneralSafe || !found) out = m;
    found = true;
    return keepsGeneralSafe;
  });
  return safe || found;
}

}  // namespace rq
