#include "game/settings.h"

#include <cstdio>

#include "game/game_application.h"
#include "game/safe_file.h"
#include "player/search.h"

namespace rq {

namespace {

// The keys in file order, each with its scanning format (the newline matches any run
// of white space, so blank lines and CR LF endings read alike).
struct SettingLine {
  const char* writeFormat;
  const char* scanFormat;
};

constexpr SettingLine Lines[8] = {
    {"HintAtStartup = %d\n", " HintAtStartup = %d\n"},
    {"HighlightMove = %d\n", " HighlightMove = %d\n"},
    {"ShowMoves = %d\n", " ShowMoves = %d\n"},
    {"ShowIllegalMoves = %d\n", " ShowIllegalMoves = %d\n"},
    {"ExplainIllegalMoves = %d\n", " ExplainIllegalMoves = %d\n"},
    {"AutoHideMenu = %d\n", " AutoHideMenu = %d\n"},
    {"DifficultyLevel = %d\n", " DifficultyLevel = %d\n"},
    {"HelpLanguage = %d\n", " HelpLanguage = %d\n"},
};

// The settings as the eight numbers of the file, in its order.
void toNumbers(const SettingsValues& v, int32_t numbers[8]) {
  numbers[0] = v.hintAtStartup ? 1 : 0;
  numbers[1] = v.highlightMove ? 1 : 0;
  numbers[2] = v.showMoves ? 1 : 0;
  numbers[3] = v.showIllegalMoves ? 1 : 0;
  numbers[4] = v.explainIllegalMoves ? 1 : 0;
  numbers[5] = v.autoHideMenu ? 1 : 0;
  numbers[6] = v.difficultyLevel;
  numbers[7] = v.helpLanguage;
}

// Stores line `i`'s number into its field.
void storeNumber(SettingsValues& v, int i, int number) {
  bool* flags[6] = {&v.hintAtStartup,    &v.highlightMove,       &v.showMoves,
                    &v.showIllegalMoves, &v.explainIllegalMoves, &v.autoHideMenu};
  if (i < 6) *flags[i] = number == 1;
  else if (i == 6) v.difficultyLevel = number;
  else v.helpLanguage = number;
}

}  // namespace

std::string SettingsFileName(const char* computerName) {
  return std::string("Settings_") + computerName + ".rqs1";
}

std::string FormatSettings(const SettingsValues& values) {
  int32_t numbers[8];
  toNumbers(values, numbers);
  std::string text;
  char line[64];
  for (int i = 0; i < 8; ++i) {
    const int n = std::snprintf(line, sizeof line, Lines[i].writeFormat, numbers[i]);
    if (n > 0) text.append(line, static_cast<size_t>(n));
  }
  return text;
}

bool ReadSettingsFile(const std::string& path, SettingsValues& values) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return false;
  for (int i = 0; i < 8; ++i) {
    int number = 0;
    if (std::fscanf(file, Lines[i].scanFormat, &number) != 1) break;
    storeNumber(values, i, number);
  }
  std::fclose(file);
  return true;
}

bool WriteSettingsFile(const std::string& path, const SettingsValues& values) {
  return ReplaceFileContents(path, FormatSettings(values));
}

void ApplyDifficulty(GuardedGame& game, int32_t level) {
  GameLockGuard hold(game);
  DifficultyLimits(level, game.thinkSeconds, game.firstTimedDepth);
}

void ReadSettings(GameApplication& app) {
  SettingsValues values = CurrentSettings(app);
  ReadSettingsFile(SettingsFileName(app.computerName), values);
  SetSettings(app, values);
  ApplyDifficulty(app);
}

bool WriteSettings(GameApplication& app) {
  return WriteSettingsFile(SettingsFileName(app.computerName), CurrentSettings(app));
}

void ApplyDifficulty(GameApplication& app) { ApplyDifficulty(app.game, app.difficultyLevel); }

SettingsValues CurrentSettings(const GameApplication& app) {
  SettingsValues v;
  v.hintAtStartup = app.hintAtStartup;
  v.highlightMove = app.highlightMove;
  v.showMoves = app.showMoves;
  v.showIllegalMoves = app.showIllegalMoves;
  v.explainIllegalMoves = app.explainIllegalMoves;
  v.autoHideMenu = app.autoHideMenu;
  v.difficultyLevel = app.difficultyLevel;
  v.helpLanguage = app.helpLanguage;
  return v;
}

void SetSettings(GameApplication& app, const SettingsValues& v) {
  app.hintAtStartup = v.hintAtStartup;
  app.highlightMove = v.highlightMove;
  app.showMoves = v.showMoves;
  app.showIllegalMoves = v.showIllegalMoves;
  app.explainIllegalMoves = v.explainIllegalMoves;
  app.autoHideMenu = v.autoHideMenu;
  app.difficultyLevel = v.difficultyLevel;
  app.helpLanguage = v.helpLanguage;
}

}  // namespace rq
