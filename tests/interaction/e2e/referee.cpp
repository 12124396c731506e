// The end-to-end tests' player: reads the game the program saved and names red's next
// move, found by the game's own search, or says that there is nothing to play.
//   referee choose FILE DEPTH  ->  "move b2e2", "wait" (the computer is to move) or "ended"
#include <cstdio>
#include <cstdlib>
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

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "choose") return Choose(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr, "usage: referee choose FILE DEPTH\n");
  return 2;
}
