// The settings file "Settings_<name>.rqs1": eight lines "Key = number".
#pragma once

#include <string>

#include "platform/platform.h"
#include "player/guarded_game.h"

namespace rq {

struct GameApplication;

std::string SettingsFileName(const char* computerName);

// The eight lines, in file order.
std::string FormatSettings(const SettingsValues& values);

// Scans the lines in order into `values`. The first line that is missing or does not
// parse ends the reading, so it and every later line keep what `values` held. A flag is
// true exactly when it reads 1. False when the file cannot be opened.
bool ReadSettingsFile(const std::string& path, SettingsValues& values);

// Replaces the file as a whole (see ReplaceFileContents); false when it could not.
bool WriteSettingsFile(const std::string& path, const SettingsValues& values);

// Sets the search limits of `level` under the game lock; a level outside 0..4 plays as 1
// (the level itself is kept, and written back at shut-down).
void ApplyDifficulty(GuardedGame& game, int32_t level);

// The application's eight settings, and setting them; nothing is written to the file.
SettingsValues CurrentSettings(const GameApplication& app);
void SetSettings(GameApplication& app, const SettingsValues& values);

// Start-up: reads the file over the defaults the constructor set, then applies the difficulty.
void ReadSettings(GameApplication& app);

// Shut-down, once: writes the file whole; a failure is not reported to the user.
bool WriteSettings(GameApplication& app);

// Hands app.difficultyLevel to the search under the game lock.
void ApplyDifficulty(GameApplication& app);

}  // namespace rq
