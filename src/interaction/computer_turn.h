// Texts and timing of the computer's move and the end of the game, and the questions
// asked before a game is left or given up.
#pragma once

#include <cstdint>

#include "platform/texts.h"

namespace rq {

constexpr int32_t ComputerMoveAnimationMs = 500;

constexpr const char* GameEndedTitle = N_("Game has ended");
constexpr const char* UserWonText = N_("You won.\nPress 'New game' for a new game.");
constexpr const char* ComputerWonText = N_("I won.\nPress 'New game' for a new game.");
constexpr const char* DrawText = N_("It's a draw.\nPress 'New game' for a new game.");

constexpr const char* NewGameQuestionTitle = N_("New game?");
constexpr const char* NewGameQuestion = N_("Do you want to quit this game and start a new one?");
// The question again, naming the side, unless a red player's new game gives red again:
// whole texts, so that each language words them its own way.
constexpr const char* NewGameAsRedQuestion =
    N_("Do you want to quit this game and start a new one?\n\nIn the new game you play red.");
constexpr const char* NewGameAsGreenQuestion =
    N_("Do you want to quit this game and start a new one?\n\nIn the new game you play green.");

constexpr const char* ResignTitle = N_("Resign?");
constexpr const char* ResignQuestion = N_("Do you want to resign this game?");

}  // namespace rq
