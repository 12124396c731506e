// ravenquill-tool random: games of random moves as an archive file on standard output,
// for checking what reads and writes games (the exporter, other programs) on many of them.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>

#include "game/game_file.h"
#include "tools/commands.h"

namespace rq {
namespace {

constexpr long DefaultRandomPlies = 400;

// The command line random takes.
int RandomUsage() {
  std::fprintf(stderr, "usage: ravenquill-tool random [--seed S] [--plies P] [--careless PERCENT] GAMES\n");
  return 2;
}

// How a random game stood after one ply.
enum class RandomPly { Played, GeneralTaken, Drawn, NoMove };

// Plays one ply for `side`: the general when it can be taken, else a random permitted move that
// keeps its own general safe, or any permitted move when there is none or when the side is
// careless this time.
RandomPly PlayRandomPly(GameRecord& record, int side, bool careless, std::mt19937& random) {
  Move moves[PiecesPerSide * MoveSlotCapacity];
  int count = 0;
  int safe = 0;
  Move takesGeneral;
  const bool generalTaken = record.forEachMove(side, [&](Move& m) {
    if (!record.permitsMove(m)) return false;
    const bool tookGeneral = record.makeMove(side, m);
    const bool keepsSafe = !record.isGeneralAttackedFast(side);
    record.unmakeMove(side, m);
    if (tookGeneral) {
      takesGeneral = m;
      return true;
    }
    // Safe moves gather at the front.
    moves[count++] = m;
    if (keepsSafe) std::swap(moves[safe++], moves[count - 1]);
    return false;
  });
  if (generalTaken) {
    record.makeMove(side, takesGeneral);
    record.recordMove(takesGeneral);
    return RandomPly::GeneralTaken;
  }
  if (count == 0) return RandomPly::NoMove;
  const int choices = careless || safe == 0 ? count : safe;
  Move m = moves[std::uniform_int_distribution<int>(0, choices - 1)(random)];
  int32_t reason = 0, detail = 0;
  const bool drawn = !record.validateMove(m, reason, detail);
  record.makeMove(side, m);
  record.recordMove(m);
  return drawn ? RandomPly::Drawn : RandomPly::Played;
}

// One game from the opening position, red first, as the game would have stored it.
void PlayRandomGame(GameRecord& record, GameFileData& data, long plies, long careless, std::mt19937& random) {
  record.newGame();
  data.gameEnded = false;
  for (long ply = 0; ply < plies && record.moveCount < HistoryCapacity && !data.gameEnded; ++ply) {
    const int side = ply % 2 == 0 ? Red : Green;
    const bool carelessNow = std::uniform_int_distribution<long>(0, 99)(random) < careless;
    data.gameEnded = PlayRandomPly(record, side, carelessNow, random) != RandomPly::Played;
  }
  data.usersTurn = record.moveCount % 2 == 0;
  data.board = record.position;
  data.recordedMoves = data.moveCount = record.moveCount;
  std::memcpy(data.history, record.history, sizeof data.history);
  EatenFromHistory(data);
}

}  // namespace

int RandomCommand(int argc, char** argv) {
  long seed = 1, plies = DefaultRandomPlies, careless = 0, games = -1;
  for (int i = 0; i < argc; ++i) {
    const char* a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(a, "--seed") == 0 && hasValue) { if (!ParseInt(argv[++i], 0, 0x7fffffff, seed)) return RandomUsage(); }
    else if (std::strcmp(a, "--plies") == 0 && hasValue) { if (!ParseInt(argv[++i], 1, HistoryCapacity, plies)) return RandomUsage(); }
    else if (std::strcmp(a, "--careless") == 0 && hasValue) { if (!ParseInt(argv[++i], 0, 100, careless)) return RandomUsage(); }
    else if (games < 0 && ParseInt(a, 1, 100000, games)) continue;
    else return RandomUsage();
  }
  if (games < 0) return RandomUsage();
  std::mt19937 random(static_cast<uint32_t>(seed));
  auto record = std::make_unique<GameRecord>();
  auto data = std::make_unique<GameFileData>();
  data->savedAt = FormatSavedAt(std::time(nullptr));
  for (long game = 1; game <= games; ++game) {
    data->gameNumber = static_cast<int32_t>(game);
    PlayRandomGame(*record, *data, plies, careless, random);
    const std::string text = FormatGameFile(*data);
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace rq
