// The command menu at the right edge: its hit regions, its reveal strip and its clicks.
#pragma once

#include <cstdint>

namespace rq {

struct GameApplication;

enum MenuItem : int32_t {
  MenuUndo = 0,
  MenuRedo = 1,
  MenuNewGame = 2,
  MenuHelp = 3,
  MenuUnused = 4,
  MenuSettings = 5,
};

constexpr int32_t MenuFadeMilliseconds = 500;

// The active item under client pixel (x, y); sets hoveredMenuItem (-1 on a miss).
bool MenuItemAtPoint(GameApplication& app, int32_t x, int32_t y, int32_t& item);

// Reveals or hides the menu for the pointer's place and chooses the cursor.
void UpdateMenuHover(GameApplication& app);

// Runs the command of the item under (x, y); the caller holds the game lock.
void MenuClick(GameApplication& app, int32_t x, int32_t y);

}  // namespace rq
