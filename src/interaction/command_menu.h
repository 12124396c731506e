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

// The menu's fades, whole: in over 250 ms (0.004 of full opacity per millisecond), out
// over 500 ms (0.002 per millisecond); after a full fade-out nothing is drawn.
constexpr int32_t MenuFadeInMs = 250;
constexpr int32_t MenuFadeOutMs = 500;

// The menu's opacity at `now` as the milliseconds of fade-out it would take to vanish:
// MenuFadeOutMs when opaque, 0 when gone.
int32_t MenuFadeOutLeft(const GameApplication& app, int32_t now);

// The menu's opacity at `now`, 0 to 1; always 1 without auto-hiding.
double MenuOpacity(const GameApplication& app, int32_t now);

// The active item under client pixel (x, y); sets hoveredMenuItem (-1 on a miss).
bool MenuItemAtPoint(GameApplication& app, int32_t x, int32_t y, int32_t& item);

// Reveals or hides the menu for the pointer's place and chooses the cursor.
void UpdateMenuHover(GameApplication& app);

// Runs the command of the item under (x, y); the caller holds the game lock.
void MenuClick(GameApplication& app, int32_t x, int32_t y);

}  // namespace rq
