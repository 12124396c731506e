#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "rules/notation.h"
#include "rules/perft.h"
#include "tools/commands.h"

namespace rq {

std::unique_ptr<GameRecord> LoadToolRecord(const std::string& fen, int& side) {
  auto record = std::make_unique<GameRecord>();
  std::string error;
  if (!LoadFen(*record, fen, side, error)) {
    std::fprintf(stderr, "ravenquill-tool: bad FEN: %s\n", error.c_str());
    return nullptr;
  }
  return record;
}

bool ParseInt(const char* text, long low, long high, long& out) {
  char* end = nullptr;
  out = std::strtol(text, &end, 10);
  return *text != '\0' && *end == '\0' && out >= low && out <= high;
}

int PerftCommand(int argc, char** argv) {
  bool standard = false, divide = false;
  std::string fen = StartFen;
  int depth = -1;
  for (int i = 0; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--standard") == 0) {
      standard = true;
    } else if (std::strcmp(a, "--divide") == 0) {
      divide = true;
    } else if (std::strcmp(a, "--fen") == 0 && i + 1 < argc) {
      fen = argv[++i];
    } else {
      char* end = nullptr;
      long d = std::strtol(a, &end, 10);
      if (depth >= 0 || *a == '\0' || *end != '\0' || d < 1 || d > 20) {
        std::fprintf(stderr, "usage: ravenquill-tool perft [--standard] [--divide] [--fen \"FEN\"] DEPTH\n");
        return 2;
      }
      depth = static_cast<int>(d);
    }
  }
  if (depth < 0) {
    std::fprintf(stderr, "usage: ravenquill-tool perft [--standard] [--divide] [--fen \"FEN\"] DEPTH\n");
    return 2;
  }
  int side = Red;
  auto record = LoadToolRecord(fen, side);
  if (!record) return 2;
  const PerftRules rules = standard ? PerftRules::Standard : PerftRules::Game;
  const auto start = std::chrono::steady_clock::now();
  uint64_t nodes = 0;
  if (divide) {
    for (const PerftDivision& d : PerftDivide(*record, side, depth, rules)) {
      std::printf("%s %llu\n", d.move.c_str(), static_cast<unsigned long long>(d.nodes));
      nodes += d.nodes;
    }
  } else {
    nodes = Perft(*record, side, depth, rules);
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("nodes %llu\n", static_cast<unsigned long long>(nodes));
  std::printf("time %.0f ms, %.0f nodes/s\n", ms, ms > 0 ? nodes * 1000.0 / ms : 0.0);
  return 0;
}

}  // namespace rq
