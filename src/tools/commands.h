// Sub-commands of ravenquill-tool; each returns the process exit code (2 for bad usage).
#pragma once

#include <cstdint>

namespace rq {

constexpr int DefaultBenchDepth = 7;

int PerftCommand(int argc, char** argv);
int SearchCommand(int argc, char** argv);
int BenchCommand(int argc, char** argv);
int ExportCommand(int argc, char** argv);

// Total nodes the bench searches at `depth`; prints each position's count when asked.
uint64_t BenchNodes(int depth, bool print);

}  // namespace rq
