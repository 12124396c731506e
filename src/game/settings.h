// The settings file "Settings_<name>.rqs1": one line "Key = number" for each setting.
#pragma once

#include <string>

#include "platform/platform.h"
#include "player/guarded_game.h"

namespace rq {

struct GameApplication;

std::string SettingsFileName(const char* computerName);

// The file's lines, in the order of the settings table; a keyed setting at its default
// has none.
std::string FormatSettings(const SettingsValues& values);

// Scans the fixed lines in order into `values`, then the keyed lines by their keys. The
// first fixed line that is missing or does not parse ends the reading, so it and every
// later line keep what `values` held. A flag is true exactly when it reads 1. False when
// the file cannot be opened.
bool ReadSettingsFile(const std::string& path, SettingsValues& values);

// Replaces the file as a whole (see ReplaceFileContents); false when it could not.
bool WriteSettingsFile(const std::string& path, const SettingsValues& values);

// Sets the search and the limits of `level` under the game lock; a level outside
// 0..LastStrongLevel plays as 1 (the level itself is kept, and written back at shut-down).
void ApplyDifficulty(GuardedGame& game, int32_t level);

// Start-up: reads the file over the defaults the constructor set, then applies the difficulty.
void ReadSettings(GameApplication& app);

// Shut-down, once: writes the file whole; a failure is not reported to the user.
bool WriteSettings(GameApplication& app);

// Hands the difficulty level to the search under the game lock.
void ApplyDifficulty(GameApplication& app);

// Speaks the language that the settings choose, or the desktop's: every later text, the
// record window's rows (and the window, when open) and, from the next frame, the pictures.
void ApplyLanguage(GameApplication& app);

}  // namespace rq
