// Plays in the working folder as a player would, on the scripted desktop, so that tests can
// run it as another user or on a full disk: starts the game, makes the moves and new games
// the arguments give, quits, and prints what the game said.
//   rq_play_in_folder [--answer save|quit]... [--choose FILE]... [--play "h2e2 h9g7" | --new-game]...
// Output: "started N" (the game number at the start), then "told TITLE: TEXT" for every
// message box and "chooser TITLE: NAME" for every file chooser, newlines in texts as "\n".
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/new_game.h"
#include "game_support.h"

int main(int argc, char** argv) {
  using namespace rq;
  test::FakePlatform platform;
  platform.loadableCursorFiles.insert("arrowcop.cur");
  std::vector<std::string> steps;  // moves to play, or "" for a new game
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "";
    const bool save = std::strcmp(value, "save") == 0;
    if (arg == "--answer") platform.answers.push_back(save ? MessageAnswer::SaveElsewhere : MessageAnswer::Quit);
    else if (arg == "--choose") platform.chosenFiles.push_back(value);
    else if (arg == "--play") steps.push_back(value);
    else if (arg == "--new-game") steps.push_back("");
    else {
      std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
      return 2;
    }
    if (arg != "--new-game") ++i;
  }
  auto app = std::make_unique<GameApplication>(platform);
  const int32_t started = app->gameNumber;
  for (const std::string& step : steps) {
    if (step.empty()) test::Locked(*app, [&](GuardedGame&) { return StartNewGame(*app); });
    else if (!test::PlayMoves(*app, step)) {
      std::fprintf(stderr, "a move of \"%s\" is not permitted\n", step.c_str());
      return 2;
    }
  }
  app.reset();
  std::printf("started %d\n", started);
  for (const test::RecordedMessage& m : platform.Messages())
    std::printf("told %s: %s\n", m.title.c_str(), test::OneLine(m.text).c_str());
  for (const std::string& c : platform.Choosers()) std::printf("chooser %s\n", c.c_str());
  return 0;
}
