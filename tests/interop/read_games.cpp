// The interop tests' reader: every game of a file read as the game opens it, one line each,
// "complete FEN" or "stopped FEN" with the FEN of the position reached (board and side).
//   read_games FILE
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "game/game_reader.h"
#include "rules/notation.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: read_games FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::vector<rq::GameSource> games;
  std::string error;
  if (!rq::ReadGames(bytes.str(), games, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  auto data = std::make_unique<rq::GameFileData>();
  auto record = std::make_unique<rq::GameRecord>();
  for (const rq::GameSource& game : games) {
    rq::ReplayOutcome outcome;
    if (!rq::ReplaySource(game, rq::Red, *data, outcome)) {
      std::printf("refused %s\n", outcome.error.c_str());
      continue;
    }
    rq::LoadIntoRecord(*data, *record);
    const int side = (record->startSide + data->moveCount) % 2;
    const std::string fen = rq::WriteFen(data->board.squares, side);
    std::printf("%s %s\n", outcome.complete ? "complete" : "stopped", fen.substr(0, fen.find(" - ")).c_str());
  }
  return 0;
}
