// Sub-commands of ravenquill-tool; each returns the process exit code (2 for bad usage).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "rules/game_record.h"

namespace rq {

constexpr int DefaultBenchDepth = 7;
constexpr int DefaultStrongBenchDepth = 10;

int PerftCommand(int argc, char** argv);
int SearchCommand(int argc, char** argv);
int BenchCommand(int argc, char** argv);
int ExportCommand(int argc, char** argv);
int RandomCommand(int argc, char** argv);

// A record set up from `fen`; null, with the reason on stderr, for a bad FEN.
std::unique_ptr<GameRecord> LoadToolRecord(const std::string& fen, int& side);

// A whole decimal number from low to high; false for anything else.
bool ParseInt(const char* text, long low, long high, long& out);

// Total nodes the bench searches at `depth`; prints each position's count when asked.
uint64_t BenchNodes(int depth, bool print);
// The same for the strong search.
uint64_t StrongBenchNodes(int depth, bool print);

}  // namespace rq
