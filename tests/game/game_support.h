// The golden game and its file, reading a file as the program does, and the application on the fake desktop.
#pragma once

#include "game/current_game.h"
#include "game/game_application.h"
#include "game/game_file.h"
#include "game/settings.h"
#include "interaction/captured_pieces.h"
#include "player/search.h"
#include "support/fake_platform.h"
#include "support/processes.h"
#include "support/record_helpers.h"
#include "support/scratch.h"

namespace rq::test {

inline std::time_t GoldenClock() { return 1709388309; }  // Sat Mar  2 14:05:09 2024 UTC
// Red's cannon takes a horse, the chariot takes it back, then a quiet move each; its file written by hand.
inline const char* const GoldenMoves = "h2h9 i9h9 b2e2 b9c7";
inline const char* const GoldenFile =
    "VRDF05\nGame #: 1 (saved Sat Mar  2 14:05:09 2024)\nGame ended: 0\nUser's turn: 1\n"
    "Board value: 15\nBoard extra value: 18\n"
    "38 00 46 44 48 45 47 39 00\n"
    "00 00 00 00 00 00 00 00 00\n"
    "00 42 40 00 00 00 00 43 00\n"
    "33 00 34 00 35 00 36 00 37\n"
    "00 00 00 00 00 00 00 00 00\n"
    "00 00 00 00 00 00 00 00 00\n"
    "65 00 66 00 67 00 68 00 69\n"
    "00 00 00 00 74 00 00 00 00\n"
    "00 00 00 00 00 00 00 00 00\n"
    "70 72 78 76 80 77 79 73 71\n"
    "Recorded moves: 4\nNext move: 4\n"
    "70 --> 07 x41 054 056 058 060 062 081 089 082 088 064 007 084 086 083 087 085 "
    "027 029 031 033 035 000 008 001 135 019 025 003 005 002 006 004 \n"
    "08 --> 07 x75 054 056 058 060 062 081 089 082 088 064 135 084 086 083 087 085 "
    "027 029 031 033 035 000 007 001 135 019 025 003 005 002 006 004 \n"
    "64 --> 67 -   054 056 058 060 062 081 089 082 088 067 135 084 086 083 087 085 "
    "027 029 031 033 035 000 007 001 135 019 025 003 005 002 006 004 \n"
    "01 --> 20 -   054 056 058 060 062 081 089 082 088 067 135 084 086 083 087 085 "
    "027 029 031 033 035 000 007 020 135 019 025 003 005 002 006 004 \n"
    "Eaten red pieces: 1\n75\nEaten green pieces: 1\n41\n\n\n";

// The file form of `record`; the eaten lists follow its captures.
inline std::unique_ptr<GameFileData> DataOf(const GameRecord& record, int32_t gameNumber = 1, bool ended = false,
                                            bool usersTurn = true) {
  auto data = std::make_unique<GameFileData>();
  data->gameNumber = gameNumber;
  data->gameEnded = ended;
  data->usersTurn = usersTurn;
  data->savedAt = "Sat Mar  2 14:05:09 2024";
  data->board = record.position;
  data->recordedMoves = record.recordedMoves;
  data->moveCount = record.moveCount;
  std::memcpy(data->history, record.history, sizeof data->history);
  for (int i = 0; i < record.moveCount; ++i) {
    const uint8_t taken = record.history[i].captured;
    if (taken & GreenBit) data->eatenGreen[data->eatenGreenCount++] = taken;
    else if (taken != 0) data->eatenRed[data->eatenRedCount++] = taken;
  }
  return data;
}

// A file read and checked, and how much of the text that took.
struct GameReading {
  std::unique_ptr<GameFileData> data = std::make_unique<GameFileData>();
  GameFileError error;
  size_t consumed = 0;
  bool ok = false;
};

// Reads and checks `text` from an exact-size copy, so that a read past its end shows.
inline GameReading ReadGameText(const std::string& text) {
  GameReading r;
  const auto bytes = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(bytes.get(), text.data(), text.size());
  r.ok = ParseGameFile(bytes.get(), text.size(), r.consumed, *r.data, r.error) && CheckGameFile(*r.data, r.error);
  return r;
}

// Whether the child ended, within a minute, with status 0.
inline bool ExitedWell(pid_t child) {
  const int s = child > 0 ? WaitFor(child, 60s) : -1;
  return s != -1 && WIFEXITED(s) && WEXITSTATUS(s) == 0;
}

// A text on one line, its newlines written "\n".
inline std::string OneLine(std::string text) {
  for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\\n");
  return text;
}

// Reads the shared state under the lock.
template <typename F>
auto Locked(GameApplication& app, F read) {
  return UnderGameLock(app.game, [&] { return read(app.game); });
}

// Moves ("h2h9 i9h9") made, shown and their taken pieces listed, as the interaction does, the turn
// passing to the other side than the mover; false at one not permitted.
inline bool PlayMoves(GameApplication& app, const std::string& line) {
  std::istringstream moves(line);
  return Locked(app, [&](GuardedGame& g) {
    for (std::string text; moves >> text;) {
      Move m = MoveOf(text);
      const uint8_t piece = g.record.position.squares[m.from];
      int32_t reason = 0, detail = 0;
      if (piece == 0 || !g.record.validateMove(m, reason, detail)) return false;
      g.record.makeMove(sideOfCode(piece), m);
      g.record.recordMove(m);
      app.savedBoard = g.record.position;
      g.usersTurn = sideOfCode(piece) != g.playerSide();
      AddEatenPiece(app, m);
    }
    return true;
  });
}

// Waits for the worker's answer and plays it, as the per-frame step would.
inline bool PlayAnswer(GameApplication& app) {
  const auto answered = [](GuardedGame& g) { return !g.searchRequested && !g.searching && !g.usersTurn; };
  if (!WaitUntil([&] { return Locked(app, answered); }, 5s)) return false;
  const Move m = Locked(app, [](GuardedGame& g) { return g.bestMove; });
  return IsBoardMove(m) && PlayMoves(app, FormatMove(m));
}

// Everything of a game a shut-down and a start must carry over, as text.
inline std::string StateText(const GameRecord& r, int32_t number, const BoardPosition& shown, int32_t red, int32_t green,
                             bool usersTurnFree) {
  std::ostringstream state;
  state << FormatGameFile(*DataOf(r, number));
  state << std::string_view(reinterpret_cast<const char*>(r.pieceSquare), sizeof r.pieceSquare);
  state << std::string_view(reinterpret_cast<const char*>(shown.squares), BoardSquares);
  state << r.endPly << " " << red << " " << green;
  return state.str() + (usersTurnFree ? " user to move" : "");
}

// The same of the application's game, or of a fresh game numbered `number`.
inline std::string GameState(GameApplication& app) {
  return Locked(app, [&](GuardedGame& g) {
    const bool usersTurnFree = g.usersTurn && !g.gameEnded && !g.searchRequested;
    return StateText(g.record, app.gameNumber, app.savedBoard, app.eatenRedCount, app.eatenGreenCount, usersTurnFree);
  });
}
inline std::string FreshState(int32_t number) {
  const auto r = std::make_unique<GameRecord>();
  return StateText(*r, number, r->position, 0, 0, true);
}

class GameAppTest : public ::testing::Test {
 protected:
  // The saving times read as in the golden file.
  GameAppTest() {
    platform.loadableCursorFiles.insert("arrowcop.cur");
    setenv("TZ", "UTC", 1);
    tzset();
  }
  // The settings file the next start reads; the computer answers at once.
  void PrepareSettings(bool hint) {
    WriteFile(SettingsFileName("TESTBOX"), FormatSettings({hint, true, true, true, true, true, 0, 0}));
  }
  GameApplication& Start() {
    app = std::make_unique<GameApplication>(platform);
    app->wallClock = GoldenClock;
    return *app;
  }
  void Stop() { app.reset(); }
  std::string Told() const {  // the message boxes shown, as "title: text", one a line
    std::string told;
    for (const RecordedMessage& m : platform.Messages()) told += (told.empty() ? "" : "\n") + m.title + ": " + m.text;
    return told;
  }
  std::string CurrentFile() const { return ReadFile(CurrentGameFileName("TESTBOX")); }

  ScratchDirectory dir;
  FakePlatform platform;
  std::unique_ptr<GameApplication> app;
};

}  // namespace rq::test
