// ravenquill-tool: perft, search, bench, export and random games from the command line.
#include <cstdio>
#include <cstring>

#include "tools/commands.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: ravenquill-tool perft [--standard] [--divide] [--fen \"FEN\"] DEPTH\n"
               "       ravenquill-tool search [--fen \"FEN\"] [--depth D | --level L | --movetime MS] [--strong] "
               "[--seed S]\n"
               "       ravenquill-tool bench [DEPTH] | bench --strong [DEPTH | --movetime MS]\n"
               "       ravenquill-tool export [--wxf] FILE...\n"
               "       ravenquill-tool random [--seed S] [--plies P] [--careless PERCENT] GAMES\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  if (std::strcmp(argv[1], "perft") == 0) return rq::PerftCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "search") == 0) return rq::SearchCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "bench") == 0) return rq::BenchCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "export") == 0) return rq::ExportCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "random") == 0) return rq::RandomCommand(argc - 2, argv + 2);
  std::fprintf(stderr, "ravenquill-tool: unknown command '%s'\n", argv[1]);
  return usage();
}
