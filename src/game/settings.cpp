#include "game/settings.h"

#include <cstdio>

#include "game/game_application.h"
#include "game/move_record.h"
#include "game/safe_file.h"
#include "player/search.h"

namespace rq {

std::string SettingsFileName(const char* computerName) {
  return std::string("Settings_") + computerName + ".rqs1";
}

std::string FormatSettings(const SettingsValues& values) {
  std::string text;
  for (const SettingRow& row : SettingRows) {
    const int32_t value = row.get(values);
    if (row.line == SettingLine::Keyed && value == row.initial) continue;
    text += std::string(row.key) + " = " + std::to_string(value) + "\n";
  }
  return text;
}

namespace {

// The keyed lines after the fixed ones, in any order; a setting without its line, or with
// a value out of range, has its default, and an unknown key is passed over.
void ReadKeyedLines(std::FILE* file, SettingsValues& values) {
  for (const SettingRow& row : SettingRows)
    if (row.line == SettingLine::Keyed) row.set(values, row.initial);
  char key[64];
  int number = 0;
  while (std::fscanf(file, " %63[A-Za-z] = %d", key, &number) == 2) {
    for (const SettingRow& row : SettingRows) {
      if (row.line != SettingLine::Keyed || std::string(key) != row.key) continue;
      row.set(values, number >= row.lowest && number <= row.highest ? number : row.initial);
    }
  }
}

}  // namespace

// Each fixed line is scanned as " Key = %d\n": the spaces and the newline match any run of
// white space, so blank lines and CR LF endings read alike.
bool ReadSettingsFile(const std::string& path, SettingsValues& values) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return false;
  bool fixedRead = true;
  for (const SettingRow& row : SettingRows) {
    if (row.line != SettingLine::Fixed) continue;
    const std::string format = std::string(" ") + row.key + " = %d\n";
    int number = 0;
    fixedRead = std::fscanf(file, format.c_str(), &number) == 1;
    if (!fixedRead) break;
    row.set(values, number);
  }
  if (fixedRead) ReadKeyedLines(file, values);
  std::fclose(file);
  return true;
}

bool WriteSettingsFile(const std::string& path, const SettingsValues& values) {
  return ReplaceFileContents(path, FormatSettings(values));
}

void ApplyDifficulty(GuardedGame& game, int32_t level) {
  GameLockGuard hold(game);
  DifficultyLimits(level, game.thinkSeconds, game.firstTimedDepth);
  game.ceilingMs = StrongLevelCeilingMs(level);
}

void ReadSettings(GameApplication& app) {
  ReadSettingsFile(SettingsFileName(app.computerName), app.settings);
  ApplyDifficulty(app);
}

bool WriteSettings(GameApplication& app) {
  return WriteSettingsFile(SettingsFileName(app.computerName), app.settings);
}

void ApplyDifficulty(GameApplication& app) { ApplyDifficulty(app.game, app.settings.difficultyLevel); }

void ApplyLanguage(GameApplication& app) {
  const Language language = ChosenLanguage(app.settings.interfaceLanguage, SystemLanguage());
  UseLanguage(language);
  if (language == app.language) return;
  app.language = language;
  PublishMoveRecord(app);
  // The open window takes its labels when it is made.
  if (app.moveRecord.open) {
    ToggleMoveRecord(app);
    ToggleMoveRecord(app);
  }
}

}  // namespace rq
