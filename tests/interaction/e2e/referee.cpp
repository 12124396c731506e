// The end-to-end tests' setter: writes the game of the given moves from the opening, red
// first, as the program would have saved it; the program's loader replays them by the rules.
//   referee play FILE MOVE...
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "game/game_file.h"
#include "rules/notation.h"

int main(int argc, char** argv) {
  if (argc < 3 || std::string(argv[1]) != "play") {
    std::fprintf(stderr, "usage: referee play FILE MOVE...\n");
    return 2;
  }
  auto record = std::make_unique<rq::GameRecord>();
  auto data = std::make_unique<rq::GameFileData>();
  const int count = argc - 3;
  for (int i = 0; i < count; ++i) {
    int from = 0, to = 0;
    if (!rq::ParseMove(argv[i + 3], from, to)) {
      std::fprintf(stderr, "referee: bad move %s\n", argv[i + 3]);
      return 2;
    }
    rq::Move m{static_cast<uint8_t>(from), static_cast<uint8_t>(to)};
    record->makeMove(i % 2 == 0 ? rq::Red : rq::Green, m);
    record->recordMove(m);
    const bool red = (m.captured & rq::RedBit) != 0;
    int32_t& eaten = red ? data->eatenRedCount : data->eatenGreenCount;
    if (m.captured && eaten < rq::MaxEatenCount) (red ? data->eatenRed : data->eatenGreen)[eaten++] = m.captured;
  }
  data->savedAt = rq::FormatSavedAt(std::time(nullptr));
  data->usersTurn = count % 2 == 0;
  data->board = record->position;
  data->recordedMoves = data->moveCount = record->moveCount;
  std::copy(record->history, record->history + rq::HistoryCapacity, data->history);
  std::ofstream(argv[2], std::ios::binary) << rq::FormatGameFile(*data);
  return 0;
}
