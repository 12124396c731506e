// The last save, at shut-down: a game that cannot be saved is not lost without a word.
#pragma once

namespace rq {

struct GameApplication;

// Saves the game in progress. Where that fails and moves would be lost, the player is told
// why and may save the game elsewhere, in the same layout, or quit without saving.
void SaveGameAtExit(GameApplication& app);

}  // namespace rq
