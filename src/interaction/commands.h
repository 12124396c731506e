// The game's commands, reached from the command menu and the letter keys.
#pragma once

#include <cstdint>
#include <string>

#include "platform/language.h"

namespace rq {

struct GameApplication;

// Virtual-key codes of the command letters (the same with or without Shift) and of F1.
constexpr int32_t KeyHint = 'H';
constexpr int32_t KeyNewGame = 'N';
constexpr int32_t KeySettings = 'S';
constexpr int32_t KeyRedo = 'Y';
constexpr int32_t KeyUndo = 'Z';
constexpr int32_t KeyMoveList = 'M';
// F1, the desktop's key for help.
constexpr int32_t KeyHelp = 0x70;

// Takes back the user's last move and the computer's answer.
void UndoCommand(GameApplication& app);

// Replays the two plies that undo took back.
void RedoCommand(GameApplication& app);

// Asks unless the game has ended, then leaves the game for a new one.
void NewGameCommand(GameApplication& app);

// Runs the settings dialog and applies what the user confirmed.
void SettingsCommand(GameApplication& app);

// Opens the help page in the desktop's browser.
void HelpCommand(GameApplication& app);

// The file URL under `directory` of the help page for the settings' `helpLanguage` (0 the
// page of the interface `language`, 1 the Finnish, 2 the Chinese); the bare directory for
// any other value.
std::string HelpPageUrl(const std::string& directory, int32_t helpLanguage, Language language);

}  // namespace rq
