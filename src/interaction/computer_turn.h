// Texts and timing of the computer's move and the end of the game.
#pragma once

#include <cstdint>

#include "platform/texts.h"

namespace rq {

constexpr int32_t ComputerMoveAnimationMs = 500;

constexpr const char* GameEndedTitle = N_("Game has ended");
constexpr const char* UserWonText = N_("You won.\nPress 'New game' for a new game.");
constexpr const char* ComputerWonText = N_("I won.\nPress 'New game' for a new game.");
constexpr const char* DrawText = N_("It's a draw.\nPress 'New game' for a new game.");

}  // namespace rq
