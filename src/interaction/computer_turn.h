// Texts and timing of the computer's move and the end of the game, and the questions
// asked before a game is left or given up.
#pragma once

#include <cstdint>

namespace rq {

constexpr int32_t ComputerMoveAnimationMs = 500;

constexpr const char* GameEndedTitle = "Game has ended";
constexpr const char* UserWonText = "You won.\nPress 'New game' for a new game.";
constexpr const char* ComputerWonText = "I won.\nPress 'New game' for a new game.";
constexpr const char* DrawText = "It's a draw.\nPress 'New game' for a new game.";

constexpr const char* NewGameQuestionTitle = "New game?";
constexpr const char* NewGameQuestion = "Do you want to quit this game and start a new one?";
// Added to the question unless a red player's new game gives red again.
constexpr const char* NewGameGivesRedText = "\n\nIn the new game you play red.";
constexpr const char* NewGameGivesGreenText = "\n\nIn the new game you play green.";

constexpr const char* ResignTitle = "Resign?";
constexpr const char* ResignQuestion = "Do you want to resign this game?";

}  // namespace rq
