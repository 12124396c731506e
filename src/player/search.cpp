// Negamax alpha-beta over the game record, played in place with make and unmake.
// Move order: the previous iteration's line first, then captures before quiet moves,
// piece by piece in the shuffled piece order.
#include "player/search.h"

#include <cstring>

#include "player/search_clock.h"
#include "rules/notation.h"

namespace rq {
namespace {

SearchResult withScore(const Move& m, int32_t score) {
  SearchResult r = m;
  r.status = score;
  return r;
}

// Puts the previous line's move for this ply alone into the node's slot.
bool loadPreviousMove(GameRecord& r, int side, int ply, PrincipalLine* previousLine) {
  const int from = previousLine->pairs[2 * ply];
  const int to = previousLine->pairs[2 * ply + 1];
  // The stored line is followed once per iteration, down its first path only.
  if (ply == previousLine->length - 1) previousLine->length = 0;
  MoveSlot& slot = r.moveSlots[ply];
  // A line carried over from the previous iteration may hold pairs of another branch.
  if (!r.pieceCanMove(side, from, to)) {
    slot.setCount(0);
    return false;
  }
  slot.cells[0].from = static_cast<uint8_t>(from);
  slot.cells[0].to = static_cast<uint8_t>(to);
  slot.cells[0].captured = 0;
  slot.setCount(1);
  return true;
}

void setLine(PrincipalLine* line, const Move& m, const PrincipalLine& child) {
  line->length = static_cast<uint8_t>(child.length + 1);
  line->pairs[0] = m.from;
  line->pairs[1] = m.to;
  std::memcpy(line->pairs + 2, child.pairs, 2 * child.length);
}

template <bool Full>
SearchResult node(GameRecord& r, int side, int32_t alpha, int32_t beta, int ply, uint8_t* noMoves,
                  PrincipalLine* previousLine, PrincipalLine* line) {
  if (Full && ply == 0) r.shufflePieceOrder();
  SearchResult best;
  int moves = 0;
  bool played = false;
  PrincipalLine local;
  const int32_t depthLimit = r.depthLimit.load(std::memory_order_relaxed);
  MoveSlot& slot = r.moveSlots[ply];

  for (int pass = 0; pass < 2; ++pass) {
    const bool captures = pass == 0;
    const int firstK = (captures && ply < previousLine->length) ? -1 : 0;
    for (int k = firstK; k < PiecesPerSide; ++k) {
      if (Full && ply < 3 && r.searchClock &&
          r.searchClock->reportProgress((k + 1) / 33.0 + ply + (captures ? 0.0 : 0.5)))
        return best;
      if (k == -1) {
        if (!loadPreviousMove(r, side, ply, previousLine)) continue;
        moves += 1;
      } else {
        const int n = r.pieceOrder[k];
        if (!r.onBoard(side, n)) continue;
        slot.setCount(0);
        if (captures) r.generateCaptures(side, n, ply);
        else r.generateQuietMoves(side, n, ply);
        moves += slot.count();
      }
      const int count = slot.count();
      for (int i = 0; i < count; ++i) {
        if (alpha >= beta) {
          *noMoves = moves == 0;
          return withScore(best, alpha);
        }
        // The progress reports stay near the root; a hard limit must also cut a deep subtree.
        if (r.searchDeadline && r.searchDeadline->expired(r.searchNodes)) return best;
        Move& move = slot.cells[i];
        move.detail = 0;
        if (Full && ply == 0 && r.rootRules && r.rootRules->banned.contains(move)) {
          moves -= 1;
          continue;
        }
        if (Full) {
          int32_t reason = 0, detail = 0;
          if (!r.validateMove(move, reason, detail)) {
            if (reason != ReasonRepetition) {
              moves -= 1;
              continue;
            }
            move.detail = ReasonRepetition;
          }
          played = true;
        }
        const bool tookGeneral = r.makeMove(side, move);
        r.searchNodes += 1;
        if (!Full && !tookGeneral && r.generalsFacing()) {
          r.unmakeMove(side, move);
          moves -= 1;
          continue;
        }
        // Past the full history the trial move still goes into the repetition window.
        const bool recorded = Full && ply < r.fullCheckDepth;
        if (recorded) r.recordMove(move);
        int32_t childValue;
        if (ply + 1 < depthLimit && !tookGeneral && move.detail != ReasonRepetition) {
          const bool childFull = Full && ply < r.fullCheckDepth;
          r.plyMoves[ply] = childFull ? node<true>(r, 1 - side, -beta, -alpha, ply + 1, noMoves, previousLine, &local)
                                      : node<false>(r, 1 - side, -beta, -alpha, ply + 1, noMoves, previousLine, &local);
          childValue = r.plyMoves[ply].status;
        } else {
          childValue = r.staticScore(1 - side);
          local.length = 0;
        }
        int32_t value = -childValue;
        if (move.detail == ReasonRepetition) value = 0;
        if (Full && ply == 0 && r.rootRules && r.rootRules->discouraged.contains(move)) value -= r.rootRules->margin;
        if (value > alpha) {
          alpha = value;
          best = move;
          setLine(line, move, local);
        }
        if (recorded) r.dropLastRecord();
        r.unmakeMove(side, move);
        if (tookGeneral || *noMoves || move.detail == ReasonRepetition) {
          *noMoves = moves == 0;
          return withScore(move, move.detail == ReasonRepetition ? 0 : WinScore - ply);
        }
      }
    }
  }
  if (Full && !played) {
    if (ply == 0) *noMoves = 1;
    return withScore(best, ply - WinScore);
  }
  *noMoves = moves == 0;
  return withScore(best, alpha);
}

// The line as the answer begins it: a node that ends at a repetition or a taken general
// answers with that move, while the line still holds the best one scored before it.
PrincipalLine lineOfAnswer(const PrincipalLine& line, const Move& answer) {
  if (line.length > 0 && line.pairs[0] == answer.from && line.pairs[1] == answer.to) return line;
  PrincipalLine own;
  if (IsBoardMove(answer)) {
    own.length = 1;
    own.pairs[0] = answer.from;
    own.pairs[1] = answer.to;
  }
  return own;
}

}  // namespace

bool RootMoveRules::List::add(int fromSquare, int toSquare) {
  if (count >= Capacity) return false;
  from[count] = static_cast<uint8_t>(fromSquare);
  to[count] = static_cast<uint8_t>(toSquare);
  ++count;
  return true;
}

bool RootMoveRules::List::contains(const Move& move) const {
  for (int i = 0; i < count; ++i)
    if (from[i] == move.from && to[i] == move.to) return true;
  return false;
}

SearchResult searchNode(GameRecord& record, int side, int32_t alpha, int32_t beta, int ply, uint8_t* noMoves,
                        PrincipalLine* previousLine, PrincipalLine* line) {
  return node<true>(record, side, alpha, beta, ply, noMoves, previousLine, line);
}

SearchResult deepSearchNode(GameRecord& record, int side, int32_t alpha, int32_t beta, int ply, uint8_t* noMoves,
                            PrincipalLine* previousLine, PrincipalLine* line) {
  return node<false>(record, side, alpha, beta, ply, noMoves, previousLine, line);
}

SearchResult IterativeDeepening(GameRecord& record, int side, const DeepeningLimits& limits, uint8_t& noMoves,
                                const DeepeningHooks& hooks) {
  PrincipalLine previousLine, line;
  noMoves = 0;
  SearchResult result, lastComplete;
  bool completed = false;
  record.searchNodes = 0;
  record.depthLimit = 1;
  SearchDeadline deadline(limits, record.searchClock);
  record.searchDeadline = &deadline;
  while (record.depthLimit < MaxSearchPly && record.depthLimit <= limits.maxDepth) {
    const int32_t depth = record.depthLimit;
    if (!deadline.mayStartIteration(depth)) break;
    result = searchNode(record, side, -InfiniteScore, InfiniteScore, 0, &noMoves, &previousLine, &line);
    previousLine = line;
    record.depthLimit = depth + 1;
    deadline.iterationEnded(depth);
    const bool stop = hooks.stopRequested && hooks.stopRequested(hooks.context);
    const bool cut = deadline.cut();
    if (!cut) {
      lastComplete = result;
      completed = true;
      if (hooks.iterationDone) {
        const PrincipalLine reported = lineOfAnswer(line, result);
        hooks.iterationDone(hooks.context, {depth, result, &reported, record.searchNodes, deadline.elapsedMs()});
      }
    }
    // A stop that came without a stop request (a hint given up) ends the deepening too.
    if (stop || cut) break;
  }
  record.searchDeadline = nullptr;
  // An iteration cut short before it found any move answers with the last whole one.
  if (!IsBoardMove(result) && !noMoves && completed) result = lastComplete;
  return result;
}

std::string FormatLine(const PrincipalLine& line) {
  std::string text;
  for (int i = 0; i < line.length; ++i) {
    if (i) text += ' ';
    text += FormatMove(line.pairs[2 * i], line.pairs[2 * i + 1]);
  }
  return text;
}

}  // namespace rq
