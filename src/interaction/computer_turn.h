// Texts and timing of the computer's move and the end of the game.
#pragma once

#include <cstdint>

namespace rq {

constexpr int32_t ComputerMoveAnimationMs = 500;

constexpr const char* GameEndedTitle = "Game has ended";
constexpr const char* UserWonText = "You won.\nPress 'New game' for a new game.";
constexpr const char* ComputerWonText = "I won.\nPress 'New game' for a new game.";
constexpr const char* DrawText = "It's a draw.\nPress 'New game' for a new game.";

}  // namespace rq
