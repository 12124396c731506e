// ravenquill-tool search and bench: the game's own search from the command line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "player/search.h"
#include "player/strong_search.h"
#include "rules/notation.h"
#include "tools/commands.h"

namespace rq {
namespace {

void PrintIteration(void*, const IterationReport& r) {
  std::printf("depth %d score %d nodes %llu time %d ms pv %s\n", r.depth, r.result.status,
              static_cast<unsigned long long>(r.nodes), r.elapsedMs, FormatLine(*r.line).c_str());
  std::fflush(stdout);
}

int SearchUsage() {
  std::fprintf(stderr,
               "usage: ravenquill-tool search [--fen \"FEN\"] [--depth D | --level L | --movetime MS] [--strong] "
               "[--seed S]\n");
  return 2;
}

// Positions of the bench: openings, sharp middlegames and sparse endings.
const char* const BenchPositions[] = {
    StartFen,
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR b - - 1 1",
    "r1bakabnr/9/1cn4c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1N2/9/RNBAKAB1R w - - 2 2",
    "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 w - - 0 1",
    "1cbak4/9/n2a5/2p1p3p/5cp2/2n2N3/6PCP/3AB4/2C6/3A1K1N1 w - - 0 1",
    "r2akab1r/9/1cn1b1nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R w - - 0 1",
    "2bakab2/9/2n1c1n2/p1p1p3p/6p2/2P6/P3P1P1P/2N1C1N2/4A4/2B1KAB2 b - - 0 1",
    "3akab2/9/4b4/p3p1p1p/2p6/6P2/P1P1P3P/4C4/4A4/2BAK1B2 w - - 0 1",
    "r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R b - - 0 1",
    "2bakabr1/9/1cn3n2/p1p1p3p/6p2/2P3P2/P3P3P/1CN1C1N2/8c/R1BAKAB2 w - - 0 1",
    "rnbakab1r/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1N2/9/RNBAKAB1R w - - 2 2",
    "r3kab2/4a4/2n1b1n2/p1p1p1c1p/9/2P3p2/P3P3P/2N1C1N2/4A4/1RBAK1B2 w - - 0 1",
    "r1ba1a3/4kn3/2n1b4/pNp1p1p1p/4c4/6P2/P1P2R2P/1CcC5/9/2BAKAB2 b - - 0 1",
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1",
    "r1bakabr1/9/1cn3nc1/p1p1p1p1p/9/2P3P2/P3P3P/1CN1C1N2/9/R1BAKAB1R w - - 0 1",
    "5a3/3k5/3aR4/9/5r3/5n3/9/3A1A3/5K3/2BC2B2 w - - 0 1",
    "CRN1k1b2/3ca4/4ba3/9/2nr5/9/9/4B4/4A4/4KA3 w - - 0 1",
    "4ka3/4a4/9/9/4N4/p8/9/4C3c/7n1/2BK5 w - - 0 1",
    "3ak4/9/4b4/9/9/9/9/4B4/4A4/R2AK4 w - - 0 1",
    "2bak4/4a4/4b4/p1N1p3p/9/2P6/P3r3P/4B4/4A4/3AK1B2 w - - 0 1",
};

}  // namespace

int SearchCommand(int argc, char** argv) {
  std::string fen = StartFen;
  long depth = -1, level = 1, moveTime = -1, seed = static_cast<long>(std::time(nullptr) & 0x7fffffff);
  bool strong = false;
  for (int i = 0; i < argc; ++i) {
    const char* a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(a, "--fen") == 0 && hasValue) fen = argv[++i];
    else if (std::strcmp(a, "--depth") == 0 && hasValue) { if (!ParseInt(argv[++i], 1, 98, depth)) return SearchUsage(); }
    else if (std::strcmp(a, "--level") == 0 && hasValue) { if (!ParseInt(argv[++i], 0, LastStrongLevel, level)) return SearchUsage(); }
    else if (std::strcmp(a, "--movetime") == 0 && hasValue) { if (!ParseInt(argv[++i], 1, 1 << 30, moveTime)) return SearchUsage(); }
    else if (std::strcmp(a, "--strong") == 0) strong = true;
    else if (std::strcmp(a, "--seed") == 0 && hasValue) { if (!ParseInt(argv[++i], 0, 0x7fffffff, seed)) return SearchUsage(); }
    else return SearchUsage();
  }
  int side = Red;
  auto record = LoadToolRecord(fen, side);
  if (!record) return 2;
  record->seedRandom(static_cast<uint32_t>(seed));
  DeepeningHooks hooks;
  hooks.iterationDone = PrintIteration;
  uint8_t noMoves = 0;
  SearchResult result;
  if (strong || moveTime > 0 || StrongLevelCeilingMs(static_cast<int32_t>(level)) >= 0) {
    StrongLimits limits;
    if (depth > 0) limits.maxDepth = static_cast<int32_t>(std::min<long>(depth, StrongMaxDepth));
    else limits.ceilingMs = static_cast<int32_t>(moveTime > 0 ? moveTime : StrongLevelCeilingMs(static_cast<int32_t>(level)));
    // The table is the search's own and lives as long as the process.
    auto search = std::make_unique<StrongSearch>();
    result = search->run(*record, side, limits, noMoves, hooks);
  } else {
    DeepeningLimits limits;
    if (depth > 0) {
      limits.maxDepth = static_cast<int32_t>(depth);
      limits.firstTimedDepth = MaxSearchPly;
    } else {
      DifficultyLimits(static_cast<int32_t>(level), limits.thinkSeconds, limits.firstTimedDepth);
    }
    result = IterativeDeepening(*record, side, limits, noMoves, hooks);
  }
  if (noMoves || !IsBoardMove(result)) std::printf("bestmove none\n");
  else std::printf("bestmove %s score %d\n", FormatMove(result).c_str(), result.status);
  return 0;
}

// Total nodes of the fixed positions at a fixed depth and seed: the search's signature.
uint64_t BenchNodes(int depth, bool print) {
  auto record = std::make_unique<GameRecord>();
  uint64_t total = 0;
  int number = 0;
  for (const char* fen : BenchPositions) {
    int side = Red;
    std::string error;
    if (!LoadFen(*record, fen, side, error)) continue;
    record->seedRandom(1);
    DeepeningLimits limits;
    limits.maxDepth = depth;
    limits.firstTimedDepth = MaxSearchPly;
    uint8_t noMoves = 0;
    IterativeDeepening(*record, side, limits, noMoves);
    total += record->searchNodes;
    if (print) {
      std::printf("position %2d: nodes %llu\n", ++number, static_cast<unsigned long long>(record->searchNodes));
      std::fflush(stdout);
    }
  }
  return total;
}

// The strong search on every bench position from an empty table; prints a line per position
// when asked, and answers the node total and the longest wait for an answer.
uint64_t RunStrongBench(const StrongLimits& limits, bool print, double& longestMs) {
  auto record = std::make_unique<GameRecord>();
  auto search = std::make_unique<StrongSearch>();
  uint64_t total = 0;
  int number = 0;
  longestMs = 0.0;
  for (const char* fen : BenchPositions) {
    int side = Red;
    std::string error;
    if (!LoadFen(*record, fen, side, error)) continue;
    search->forget();
    uint8_t noMoves = 0;
    const auto start = std::chrono::steady_clock::now();
    search->run(*record, side, limits, noMoves);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    longestMs = std::max(longestMs, ms);
    total += search->nodes;
    if (print) {
      std::printf("position %2d: depth %d nodes %llu time %.0f ms\n", ++number, search->completedDepth,
                  static_cast<unsigned long long>(search->nodes), ms);
      std::fflush(stdout);
    }
  }
  return total;
}

uint64_t StrongBenchNodes(int depth, bool print) {
  StrongLimits limits;
  limits.maxDepth = depth;
  double longestMs = 0.0;
  return RunStrongBench(limits, print, longestMs);
}

int BenchUsage() {
  std::fprintf(stderr, "usage: ravenquill-tool bench [DEPTH] | bench --strong [DEPTH | --movetime MS]\n");
  return 2;
}

int BenchCommand(int argc, char** argv) {
  const bool strong = argc > 0 && std::strcmp(argv[0], "--strong") == 0;
  if (strong) --argc, ++argv;
  long depth = strong ? DefaultStrongBenchDepth : DefaultBenchDepth, moveTime = -1;
  if (strong && argc == 2 && std::strcmp(argv[0], "--movetime") == 0) {
    if (!ParseInt(argv[1], 1, 1 << 30, moveTime)) return BenchUsage();
  } else if (argc > 1 || (argc == 1 && !ParseInt(argv[0], 1, 20, depth))) {
    return BenchUsage();
  }
  const auto start = std::chrono::steady_clock::now();
  uint64_t nodes = 0;
  double longestMs = 0.0;
  if (strong) {
    StrongLimits limits;
    if (moveTime > 0) limits.ceilingMs = static_cast<int32_t>(moveTime);
    else limits.maxDepth = static_cast<int32_t>(depth);
    nodes = RunStrongBench(limits, true, longestMs);
  } else {
    nodes = BenchNodes(static_cast<int>(depth), true);
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("Total time (ms): %.0f\n", ms);
  std::printf("Nodes searched: %llu\n", static_cast<unsigned long long>(nodes));
  std::printf("Nodes/second: %.0f\n", ms > 0 ? nodes * 1000.0 / ms : 0.0);
  if (moveTime > 0) std::printf("Longest answer (ms): %.1f of a ceiling of %ld\n", longestMs, moveTime);
  return 0;
}

}  // namespace rq
