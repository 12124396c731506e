// Principal-variation search on the game record, played in place with make and unmake. The
// main search records every move it tries, so that the repetition rule judges it against the
// real game and the line above it; quiescence takes pieces only and so can repeat nothing.
#include "player/strong_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "player/clock.h"
#include "player/search_clock.h"

namespace rq {
namespace {

constexpr int32_t MateBound = WinScore - 2 * MaxSearchPly;  // beyond it a score is a won or lost line
constexpr int NoNull = -1000;         // path index meaning: no null move on this line
constexpr int16_t NoCycle = -1000;
constexpr int CycleReach = 12;        // a cycle this close may still lead to a verdict below a node
constexpr int TableSafeDepth = 13;    // a deeper node may reach a verdict through the plies above it
constexpr uint64_t PollInterval = 1024;
constexpr int32_t PublishIntervalMs = 50;
// Kept back from a ceiling for unwinding and answering, and for a thread held up by a busy machine.
constexpr int32_t StopMarginMs = 25;
constexpr int32_t StopMarginShare = 12;  // of the ceiling, when that is more: a loaded machine holds threads up
constexpr int32_t AspirationWindow = 40;
constexpr int32_t FullWindowAfter = 800;    // an aspiration window this wide opens fully
constexpr int32_t NullMoveMaterial = 500;   // chariots, horses and cannons the side must keep
constexpr int QuiescenceEvasionPlies = 4;   // checks answered in full this deep into quiescence
constexpr int32_t DeltaMargin = 200;
constexpr int MaxTriedQuiets = 64;

// Plies a late quiet move is reduced by, from the depth and the number of moves before it.
struct ReductionTable {
  int8_t plies[64][64];
  ReductionTable() {
    for (int d = 0; d < 64; ++d)
      for (int n = 0; n < 64; ++n)
        plies[d][n] = d < 1 || n < 1 ? 0 : static_cast<int8_t>(0.75 + std::log(d) * std::log(n) / 2.25);
  }
};
const ReductionTable Reductions;

// Won and lost lines count their plies from the root; the table keeps them from the node.
int32_t ToTable(int32_t score, int ply) {
  return score >= MateBound ? score + ply : score <= -MateBound ? score - ply : score;
}
int32_t FromTable(int32_t score, int ply) {
  return score >= MateBound ? score - ply : score <= -MateBound ? score + ply : score;
}

}  // namespace

StrongSearch::StrongSearch(int tableBits) : table(tableBits) { memory.clear(); }

void StrongSearch::forget() {
  table.clear();
  memory.clear();
}

// The time on the clock that times searches.
int32_t StrongSearch::nowMs() const { return SearchTimeSource(clock)(); }

// Everything a new search starts from: its limits, a fresh count, and the keys of the game so far.
void StrongSearch::prepare(GameRecord& r, const StrongLimits& lim) {
  record = &r;
  clock = r.searchClock;
  limits = lim;
  nodes = 0;
  stopped = false;
  verdicts = 0;
  completedDepth = 0;
  startMs = lastPublishMs = nowMs();
  nextPoll = limits.maxNodes ? std::min(PollInterval, limits.maxNodes) : PollInterval;
  table.newSearch();
  memory.age();
  // The root and the game's positions before it, as far back as the repetition rule looks;
  // the first few cells stand for positions before those.
  for (int i = 0; i < KeyBase - RepetitionWindow + 1; ++i) {
    keyKnown[i] = false;
    lastCycle[i] = NoCycle;
  }
  for (int back = RepetitionWindow - 1; back >= 0; --back) {
    const HistoryEntry* snapshot = back == 0 ? nullptr : r.snapshotBefore(back + 1);
    if (back == 0 || snapshot) noteKey(-back, back == 0 ? r.hashKey : r.placementKey(snapshot->pieceSquare), NoNull);
    else noteUnknown(-back);
  }
}

// Notes the position at path `index` and whether it closes a cycle of four plies.
void StrongSearch::noteKey(int index, uint64_t key, int lastNull) {
  const int i = KeyBase + index;
  pathKeys[i] = key;
  keyKnown[i] = true;
  const bool cycle = index - 4 >= lastNull && keyKnown[i - 4] && pathKeys[i - 4] == key;
  lastCycle[i] = cycle ? static_cast<int16_t>(index) : lastCycle[i - 1];
}

// Notes that the game's record does not reach the position at path `index`.
void StrongSearch::noteUnknown(int index) {
  keyKnown[KeyBase + index] = false;
  lastCycle[KeyBase + index] = lastCycle[KeyBase + index - 1];
}

// Whether the position at `index` stood 4, 8, 12 and 16 plies before, as far as keys tell.
bool StrongSearch::mayRepeat(int index, int lastNull) const {
  const uint64_t key = pathKeys[KeyBase + index];
  for (int back = 4; back <= RepetitionWindow; back += 4) {
    const int p = index - back;
    if (p < lastNull || !keyKnown[KeyBase + p] || pathKeys[KeyBase + p] != key) return false;
  }
  return true;
}

// Whether the position at `index` stood before, with the same side to move, since the last
// null move and within the plies the repetition rule looks back over.
bool StrongSearch::repeatsEarlier(int index, int lastNull) const {
  const uint64_t key = pathKeys[KeyBase + index];
  for (int p = index - 4; p >= lastNull && p >= index - RepetitionWindow; p -= 2)
    if (keyKnown[KeyBase + p] && pathKeys[KeyBase + p] == key) return true;
  return false;
}

// A stored score may end a node unless the line's recent cycles could give a verdict below it
// that another history would not give.
bool StrongSearch::tableMayCut(int ply, int depth) const {
  return depth < TableSafeDepth && ply - lastCycle[KeyBase + ply] >= CycleReach;
}

// Passing is safe while the side keeps enough pieces to attack with: zugzwang is for endings.
bool StrongSearch::mayPassTurn(int side) const {
  int32_t material = 0;
  for (int index = FirstChariot; index <= LastCannon; ++index)
    if (record->onBoard(side, index)) material += record->materialValue[kindOfIndex(index)];
  return material >= NullMoveMaterial;
}

// The best line from `ply`: the move, then the line found below it.
void StrongSearch::setLine(int ply, const Move& move) {
  PrincipalLine& line = lines[ply];
  const PrincipalLine& child = lines[ply + 1];
  line.length = static_cast<uint8_t>(std::min(child.length + 1, MaxLineLength));
  line.pairs[0] = move.from;
  line.pairs[1] = move.to;
  std::memcpy(line.pairs + 2, child.pairs, 2 * static_cast<size_t>(line.length - 1));
}

// Looks at the stop, the ceilings and the clock every so many moves, and shows the progress.
void StrongSearch::poll() {
  nextPoll = nodes + PollInterval;
  if (limits.maxNodes) {
    if (nodes >= limits.maxNodes) stopped = true;
    nextPoll = std::min(nextPoll, limits.maxNodes);
  }
  if (clock && clock->stop.load(std::memory_order_relaxed)) stopped = true;
  if (limits.ceilingMs < 0) return;
  const int32_t now = nowMs();
  const int32_t elapsed = now - startMs;
  if (elapsed >= limits.ceilingMs - stopMarginMs()) stopped = true;
  if (clock && now - lastPublishMs >= PublishIntervalMs) {
    lastPublishMs = now;
    clock->publishProgress(std::min(1.0, elapsed / static_cast<double>(std::max(limits.ceilingMs, 1))));
  }
}

// Makes the move and judges it by the game's rules; in the main search the move that stays
// on the board is recorded, so that the repetition rule sees it.
StrongSearch::Trial StrongSearch::tryMove(int side, Move& move, int ply, int lastNull, bool mainSearch,
                                          bool& givesCheck) {
  const bool tookGeneral = record->makeMove(side, move);
  if (++nodes >= nextPoll) poll();
  if (tookGeneral) {
    record->unmakeMove(side, move);
    return Trial::TookGeneral;
  }
  if (record->generalsFacing()) {
    record->unmakeMove(side, move);
    return Trial::Prohibited;
  }
  if (mainSearch) {
    noteKey(ply + 1, record->hashKey, lastNull);
    // The keys only point at a repetition; the rules engine judges it on the recorded line.
    if (mayRepeat(ply + 1, lastNull)) {
      record->unmakeMove(side, move);
      int32_t reason = ReasonNone, detail = 0;
      record->validateMove(move, reason, detail);
      if (reason != ReasonNone) {
        ++verdicts;
        return repetitionTrial(reason, ply);
      }
      record->makeMove(side, move);
    }
    // Below the root a cycle is judged at its first round as the game would judge its fourth:
    // whoever wants more than a draw must leave it, and a checking or chasing side must anyway.
    if (ply > 0 && repeatsEarlier(ply + 1, lastNull)) {
      int32_t detail = 0;
      const int32_t reason = record->repetitionReason(side, detail);
      record->unmakeMove(side, move);
      ++verdicts;
      return repetitionTrial(reason, ply);
    }
  }
  // Moving into an attack is allowed, and loses the general on the next ply.
  if (record->isGeneralAttackedFast(side)) {
    record->unmakeMove(side, move);
    return Trial::Suicidal;
  }
  givesCheck = record->isGeneralAttackedFast(1 - side);
  if (mainSearch) record->recordMove(move);
  return Trial::Made;
}

// What a repetition makes of a move at `ply`: a draw, or a move that may not be made. The
// opponent moves at odd plies.
StrongSearch::Trial StrongSearch::repetitionTrial(int32_t reason, int ply) const {
  if (reason == ReasonRepetition || (limits.hostJudgesRepetitions && (ply & 1))) return Trial::Draw;
  return Trial::Prohibited;
}

// Takes back a move that tryMove left on the board.
void StrongSearch::takeBack(int side, const Move& move, bool mainSearch) {
  if (mainSearch) record->dropLastRecord();
  record->unmakeMove(side, move);
}

// The root's moves that the rules permit or judge a drawing repetition, the table's move first.
int StrongSearch::collectRootMoves(int side) {
  Move tableMove;
  if (const TableEntry* e = table.probe(PositionKey(*record, side)); e && e->hasMove()) {
    tableMove.from = e->from;
    tableMove.to = e->to;
  }
  MovePicker picker(*record, memory, side, 0, tableMove, false);
  rootCount = 0;
  Move m;
  while (picker.next(m)) {
    if (record->rootRules && record->rootRules->banned.contains(m)) continue;
    Move judged = m;
    int32_t reason = ReasonNone, detail = 0;
    if (record->validateMove(judged, reason, detail) || reason == ReasonRepetition)
      rootMoves[rootCount++] = {m, 0, false};
  }
  return rootCount;
}

// One pass over the root's moves; the best goes to the front for the next one.
int32_t StrongSearch::searchRoot(int side, int depth, int32_t alpha, int32_t beta) {
  const int32_t alphaBefore = alpha;
  int32_t best = -InfiniteScore;
  int bestIndex = 0;
  lines[0].length = 0;
  for (int i = 0; i < rootCount; ++i) {
    Move m = rootMoves[i].move;
    const uint64_t nodesBefore = nodes;
    bool givesCheck = false;
    const Trial trial = tryMove(side, m, 0, NoNull, true, givesCheck);
    rootMoves[i].draw = trial == Trial::Draw;
    int32_t value;
    lines[1].length = 0;
    switch (trial) {
      case Trial::Prohibited: continue;
      case Trial::Suicidal: value = 1 - WinScore; break;
      case Trial::TookGeneral: value = WinScore; break;
      case Trial::Draw: value = 0; break;
      case Trial::Made:
      default:
        if (i == 0) {
          value = -search(1 - side, depth - 1, -beta, -alpha, 1, givesCheck, NoNull);
        } else {
          value = -search(1 - side, depth - 1, -alpha - 1, -alpha, 1, givesCheck, NoNull);
          if (value > alpha && value < beta) value = -search(1 - side, depth - 1, -beta, -alpha, 1, givesCheck, NoNull);
        }
        takeBack(side, m, true);
        break;
    }
    rootMoves[i].nodes += nodes - nodesBefore;
    if (stopped) return best;
    if (record->rootRules && record->rootRules->discouraged.contains(m)) value -= record->rootRules->margin;
    if (value > best) {
      best = value;
      bestIndex = i;
    }
    if (value > alpha) {
      alpha = value;
      setLine(0, m);
      if (value >= beta) break;
    }
  }
  // The best move first; the others by the effort their refutations took, the most first.
  if (best > alphaBefore && bestIndex > 0) std::rotate(rootMoves, rootMoves + bestIndex, rootMoves + bestIndex + 1);
  std::stable_sort(rootMoves + 1, rootMoves + rootCount,
                   [](const RootMove& a, const RootMove& b) { return a.nodes > b.nodes; });
  return best;
}

// A node of the main search, scored for `side` to move; `lastNull` is the path index after the
// line's last null move.
int32_t StrongSearch::search(int side, int depth, int32_t alpha, int32_t beta, int ply, bool inCheck, int lastNull) {
  lines[ply].length = 0;
  if (stopped) return 0;
  if (ply >= StrongMaxPly) return record->staticScore(side);
  // No line from here can end sooner than a win already found above.
  alpha = std::max(alpha, ply - WinScore);
  beta = std::min(beta, WinScore - ply - 1);
  if (alpha >= beta) return alpha;
  if (inCheck) ++depth;
  if (depth <= 0) return quiesce(side, alpha, beta, ply, 0, inCheck);

  const bool pvNode = beta - alpha > 1;
  const uint64_t key = PositionKey(*record, side);
  Move tableMove;
  if (const TableEntry* e = table.probe(key)) {
    if (e->hasMove()) {
      tableMove.from = e->from;
      tableMove.to = e->to;
    }
    if (!pvNode && e->depth >= depth && tableMayCut(ply, depth)) {
      const int32_t score = FromTable(e->score, ply);
      const Bound bound = e->bound();
      if (bound == ExactBound || (bound == LowerBound && score >= beta) || (bound == UpperBound && score <= alpha))
        return score;
    }
  }

  // Null move: if passing still holds beta, a real move will too.
  if (!pvNode && !inCheck && lastNull != ply && depth >= 2 && record->staticScore(side) >= beta && mayPassTurn(side)) {
    const int reduction = 2 + depth / 4;
    noteKey(ply + 1, record->hashKey, ply + 1);
    const int32_t value = -search(1 - side, depth - 1 - reduction, -beta, -beta + 1, ply + 1, false, ply + 1);
    if (stopped) return 0;
    if (value >= beta) return value >= MateBound ? beta : value;
  }

  const uint32_t verdictsBefore = verdicts;
  const int32_t alphaBefore = alpha;
  int32_t best = -InfiniteScore;
  Move bestMove;
  bool permitted = false;
  int searched = 0, triedCount = 0;
  Move tried[MaxTriedQuiets];
  MovePicker picker(*record, memory, side, ply, tableMove, false);
  Move m;
  while (picker.next(m)) {
    const bool quiet = picker.lastWasQuiet();
    const bool killer = quiet && memory.isKiller(ply, m);
    bool givesCheck = false;
    const Trial trial = tryMove(side, m, ply, lastNull, true, givesCheck);
    if (trial == Trial::Prohibited) continue;
    permitted = true;
    if (trial == Trial::Suicidal) continue;
    int32_t value;
    if (trial == Trial::TookGeneral) {
      value = WinScore - ply;
    } else if (trial == Trial::Draw) {
      value = 0;
      lines[ply + 1].length = 0;
    } else {
      const int childDepth = depth - 1;
      if (searched == 0) {
        value = -search(1 - side, childDepth, -beta, -alpha, ply + 1, givesCheck, lastNull);
      } else {
        int reduction = 0;
        if (depth >= 3 && quiet && !killer && !inCheck && !givesCheck && searched >= 3) {
          reduction = Reductions.plies[std::min(depth, 63)][std::min(searched, 63)] - (pvNode ? 1 : 0);
          reduction = std::clamp(reduction, 0, childDepth - 1);
        }
        value = -search(1 - side, childDepth - reduction, -alpha - 1, -alpha, ply + 1, givesCheck, lastNull);
        if (value > alpha && reduction > 0)
          value = -search(1 - side, childDepth, -alpha - 1, -alpha, ply + 1, givesCheck, lastNull);
        if (value > alpha && value < beta)
          value = -search(1 - side, childDepth, -beta, -alpha, ply + 1, givesCheck, lastNull);
      }
      takeBack(side, m, true);
      ++searched;
    }
    if (stopped) return 0;
    if (value > best) {
      best = value;
      bestMove = m;
      if (value > alpha) {
        alpha = value;
        if (pvNode) setLine(ply, m);
        if (value >= beta) {
          if (quiet && trial == Trial::Made) memory.rememberCutoff(side, ply, depth, m, tried, triedCount);
          break;
        }
      }
    }
    if (quiet && trial == Trial::Made && triedCount < MaxTriedQuiets) tried[triedCount++] = m;
  }
  // Without a move that keeps the general, the side loses it next; without any, it has lost.
  if (best == -InfiniteScore) return permitted ? ply + 1 - WinScore : ply - WinScore;
  // A score that a repetition judgement shaped belongs to this history alone.
  if (verdicts == verdictsBefore) {
    const Bound bound = best >= beta ? LowerBound : best > alphaBefore ? ExactBound : UpperBound;
    if (bound == UpperBound) bestMove.from = bestMove.to = 0;
    table.store(key, depth, ToTable(best, ply), bound, bestMove.from, bestMove.to);
  }
  return best;
}

// Captures until the position is quiet, checks near the horizon answered in full.
int32_t StrongSearch::quiesce(int side, int32_t alpha, int32_t beta, int ply, int qply, bool inCheck) {
  lines[ply].length = 0;
  if (stopped) return 0;
  const int32_t standPat = record->staticScore(side);
  if (ply >= StrongMaxPly) return standPat;
  // A check is answered in full near the horizon, so that a mate there is seen.
  const bool evasions = inCheck && qply < QuiescenceEvasionPlies;
  int32_t best = -InfiniteScore;
  if (!evasions) {
    if (standPat >= beta) return standPat;
    best = standPat;
    alpha = std::max(alpha, standPat);
  }
  bool permitted = false;
  MovePicker picker(*record, memory, side, ply, Move(), !evasions);
  Move m;
  while (picker.next(m)) {
    const uint8_t victim = record->position.squares[m.to];
    // A capture that cannot lift the score to alpha even with a margin is not worth a look.
    if (!evasions && (victim & IndexMask) != GeneralIndex &&
        standPat + record->materialValue[kindOfIndex(victim & IndexMask)] + DeltaMargin <= alpha)
      continue;
    bool givesCheck = false;
    const Trial trial = tryMove(side, m, ply, NoNull, false, givesCheck);
    if (trial == Trial::Prohibited) continue;
    permitted = true;
    if (trial == Trial::Suicidal) continue;
    if (trial == Trial::TookGeneral) return WinScore - ply;
    const int32_t value = -quiesce(1 - side, -beta, -alpha, ply + 1, qply + 1, givesCheck);
    takeBack(side, m, false);
    if (stopped) return 0;
    if (value > best) {
      best = value;
      if (value > alpha) {
        alpha = value;
        if (value >= beta) break;
      }
    }
  }
  if (best == -InfiniteScore) return permitted ? ply + 1 - WinScore : ply - WinScore;
  return best;
}

// What a ceiling keeps back.
int32_t StrongSearch::stopMarginMs() const { return std::max(StopMarginMs, limits.ceilingMs / StopMarginShare); }

// Only a whole iteration gives an answer: one that cannot end before the ceiling is not begun.
bool StrongSearch::startNextIteration(int32_t elapsedMs, int32_t lastIterationMs, int32_t iterationBeforeMs) const {
  if (limits.softMs >= 0 && elapsedMs >= limits.softMs) return false;
  if (limits.ceilingMs < 0) return true;
  const double growth =
      iterationBeforeMs > 0 ? std::clamp(lastIterationMs / static_cast<double>(iterationBeforeMs), 1.5, 4.0) : 2.0;
  return elapsedMs + lastIterationMs * growth < limits.ceilingMs - stopMarginMs();
}

SearchResult StrongSearch::run(GameRecord& r, int side, const StrongLimits& lim, uint8_t& noMoves,
                               const DeepeningHooks& hooks) {
  prepare(r, lim);
  noMoves = 0;
  SearchResult answer;
  if (collectRootMoves(side) == 0) {
    noMoves = 1;
    answer.status = -WinScore;
    return answer;
  }
  PrincipalLine line;
  int32_t score = 0, lastIterationMs = 0, iterationBeforeMs = 0;
  const int maxDepth = std::clamp(limits.maxDepth, 1, StrongMaxDepth);
  for (int depth = 1; depth <= maxDepth; ++depth) {
    const int32_t iterationStart = nowMs() - startMs;
    if (depth > 1 && !startNextIteration(iterationStart, lastIterationMs, iterationBeforeMs)) break;
    record->depthLimit = depth;
    int32_t window = AspirationWindow;
    int32_t alpha = -InfiniteScore, beta = InfiniteScore;
    if (depth >= 4 && std::abs(score) < MateBound) {
      alpha = score - window;
      beta = score + window;
    }
    int32_t value;
    for (;;) {
      value = searchRoot(side, depth, alpha, beta);
      if (stopped) break;
      if (value > alpha && value < beta) break;
      window *= 2;
      if (value <= alpha) alpha = window > FullWindowAfter ? -InfiniteScore : std::max(value - window, -InfiniteScore);
      else beta = window > FullWindowAfter ? InfiniteScore : std::min(value + window, InfiniteScore);
    }
    if (stopped) break;
    score = value;
    completedDepth = depth;
    answer = rootMoves[0].move;
    answer.status = score;
    answer.detail = rootMoves[0].draw ? ReasonRepetition : 0;
    line = lines[0];
    const int32_t elapsed = nowMs() - startMs;
    iterationBeforeMs = lastIterationMs;
    lastIterationMs = elapsed - iterationStart;
    if (hooks.iterationDone) hooks.iterationDone(hooks.context, {depth, answer, &line, nodes, elapsed});
    if (hooks.stopRequested && hooks.stopRequested(hooks.context)) break;
    if (clock && clock->stop.load(std::memory_order_relaxed)) break;
    // On the clock a forced move needs no more thought, nor a won or lost line seen to its end.
    const bool onClock = limits.ceilingMs >= 0 || limits.softMs >= 0;
    if (onClock && (rootCount == 1 || (std::abs(score) >= MateBound && depth > WinScore - std::abs(score) + 2))) break;
  }
  record->depthLimit = completedDepth + 1;
  // Cut short before any iteration ended: the first move in order stands in.
  if (completedDepth == 0) {
    answer = rootMoves[0].move;
    answer.status = 0;
    answer.detail = rootMoves[0].draw ? ReasonRepetition : 0;
  }
  return answer;
}

}  // namespace rq
