// The end-to-end tests' player: reads the game the program saved and names red's next
// move, found by the game's own search, or says that there is nothing to play.
//   referee choose FILE DEPTH  ->  "move b2e2", "wait" (the computer is to move) or "ended"
//   referee play FILE MOVE...  ->  writes the game of those moves from the opening, red first
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game/game_file.h"
#include "player/search.h"
#include "rules/notation.h"

namespace {

// Taking the general ends the game at once, whatever the search would rather do.
bool GeneralCapture(rq::GameRecord& record, rq::Move& found) {
  for (int index = 1; index <= rq::PiecesPerSide; ++index) {
    if (!record.onBoard(rq::Red, index)) continue;
    record.generateCaptures(rq::Red, index, 0);
    const rq::MoveSlot& slot = record.moveSlots[0];
    for (int i = 0; i < slot.count(); ++i) {
      rq::Move m = slot.cells[i];
      if (record.position.squares[m.to] != (rq::GreenBit | rq::GeneralIndex)) continue;
      int32_t reason = 0, detail = 0;
      if (record.validateMove(m, reason, detail)) {
        found = m;
        return true;
      }
    }
  }
  return false;
}

// A missing file is the opening position, as for the program.
int Choose(const char* path, int depth) {
  auto record = std::make_unique<rq::GameRecord>();
  record->seedRandom(7);
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::stringstream text;
    text << in.rdbuf();
    const std::string bytes = text.str();
    auto data = std::make_unique<rq::GameFileData>();
    size_t consumed = 0;
    rq::GameFileError error;
    if (!rq::ParseGameFile(bytes.data(), bytes.size(), consumed, *data, error)) {
      std::fprintf(stderr, "referee: %s line %d: %s\n", path, error.line, error.message.c_str());
      return 2;
    }
    if (data->gameEnded) return std::puts("ended"), 0;
    if (!data->usersTurn) return std::puts("wait"), 0;
    rq::LoadIntoRecord(*data, *record);
  }
  rq::Move move;
  if (!GeneralCapture(*record, move)) {
    rq::DeepeningLimits limits;
    limits.maxDepth = depth;
    limits.firstTimedDepth = rq::MaxSearchPly;
    uint8_t noMoves = 0;
    move = rq::IterativeDeepening(*record, rq::Red, limits, noMoves);
    if (noMoves || !rq::IsBoardMove(move)) return std::puts("none"), 0;
  }
  std::printf("move %s\n", rq::FormatMove(move).c_str());
  return 0;
}

// Saves the game of `moves` from the opening; the program's loader replays them by the rules.
int Play(const char* path, int count, char** moves) {
  auto record = std::make_unique<rq::GameRecord>();
  auto data = std::make_unique<rq::GameFileData>();
  for (int i = 0; i < count; ++i) {
    int from = 0, to = 0;
    if (!rq::ParseMove(moves[i], from, to)) return std::fprintf(stderr, "referee: bad move %s\n", moves[i]), 2;
    rq::Move m;
    m.from = static_cast<uint8_t>(from);
    m.to = static_cast<uint8_t>(to);
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
  std::ofstream(path, std::ios::binary) << rq::FormatGameFile(*data);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "choose") return Choose(argv[2], std::atoi(argv[3]));
  if (argc >= 3 && std::string(argv[1]) == "play") return Play(argv[2], argc - 3, argv + 3);
  std::fprintf(stderr, "usage: referee choose FILE DEPTH | referee play FILE MOVE...\n");
  return 2;
}
