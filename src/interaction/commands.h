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
constexpr int32_t KeyResign = 'R';
constexpr int32_t KeyTurnBoard = 'F';
// F1, the desktop's key for help.
constexpr int32_t KeyHelp = 0x70;

// The letters that act with Ctrl held: open, paste, copy.
constexpr int32_t KeyOpen = 'O';
constexpr int32_t KeyPaste = 'V';
constexpr int32_t KeyCopy = 'C';

// Whether the key acts with Ctrl held.
constexpr bool IsControlKey(int32_t key) { return key == KeyOpen || key == KeyPaste || key == KeyCopy; }

// A letter pressed with Ctrl.
void OnControlKey(GameApplication& app, int32_t key);

// Whether undo has a move of the player's to take back; the lock is held.
bool UndoAvailable(const GameApplication& app);

// Takes back the user's last move and the computer's answer.
void UndoCommand(GameApplication& app);

// Replays the two plies that undo took back.
void RedoCommand(GameApplication& app);

// Asks unless the game has ended, then leaves the game for a new one.
void NewGameCommand(GameApplication& app);

// Asks, then ends the game as lost for the player; only on the player's turn of a game
// that goes on.
void ResignCommand(GameApplication& app);

// Turns the board round for a look from the other side; who plays what stays.
void TurnBoardCommand(GameApplication& app);

// Runs the settings dialog and applies what the user confirmed.
void SettingsCommand(GameApplication& app);

// Opens the help page in the desktop's browser.
void HelpCommand(GameApplication& app);

// The file URL under `directory` of the help page for the settings' `helpLanguage` (0 the
// page of the interface `language`, 1 the Finnish, 2 the Chinese); the bare directory for
// any other value.
std::string HelpPageUrl(const std::string& directory, int32_t helpLanguage, Language language);

}  // namespace rq
