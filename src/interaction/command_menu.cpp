#include "interaction/command_menu.h"

#include <algorithm>

#include "game/game_application.h"
#include "interaction/board_input.h"
#include "interaction/board_picking.h"
#include "interaction/commands.h"

namespace rq {

namespace {

constexpr double MenuColumnLeft = 941.0;
constexpr double MenuColumnRight = 1015.0;
constexpr double MenuCentreX = 978.0;
constexpr double RoundButtonRadius = 37.0;
constexpr double CapsuleEndRadius = 34.0;

// Whether `p` lies strictly within `radius` of (cx, cy).
bool Within(ScenePoint p, double cx, double cy, double radius) {
  const double dx = p.x - cx;
  const double dy = p.y - cy;
  return dx * dx + dy * dy < radius * radius;
}

// The width of the capsule of new game and settings.
bool InMenuColumn(ScenePoint p) { return p.x > MenuColumnLeft && p.x < MenuColumnRight; }

// Upper half of the capsule: a rectangle under a rounded top.
bool InNewGame(ScenePoint p) {
  if (!InMenuColumn(p)) return false;
  return (p.y >= 434.0 && p.y < 541.0) || (p.y > 405.0 && p.y < 434.0 && Within(p, MenuCentreX, 439.0, CapsuleEndRadius));
}

// Lower half of the capsule: a rectangle over a rounded bottom.
bool InSettings(ScenePoint p) {
  if (!InMenuColumn(p)) return false;
  return (p.y > 546.0 && p.y <= 653.0) || (p.y > 653.0 && p.y < 681.0 && Within(p, MenuCentreX, 648.0, CapsuleEndRadius));
}

// The strip at the right edge whose entry reveals the menu.
bool InRevealStrip(ScenePoint p) { return p.x > 915.0 && p.y > 163.0 && p.y < 920.0; }

}  // namespace

// Tests in the order new game, settings, help, undo, redo; undo and redo only when possible.
bool MenuItemAtPoint(GameApplication& app, int32_t x, int32_t y, int32_t& item) {
  app.hoveredMenuItem = -1;
  const ScenePoint p = PointerToScene(app, x, y);
  int32_t found = -1;
  if (InNewGame(p)) {
    found = MenuNewGame;
  } else if (InSettings(p)) {
    found = MenuSettings;
  } else if (Within(p, MenuCentreX, 851.0, RoundButtonRadius)) {
    found = MenuHelp;
  } else if (Within(p, MenuCentreX, 235.0, RoundButtonRadius)) {
    if (UnderGameLock(app.game, [&] { return UndoAvailable(app); })) found = MenuUndo;
  } else if (Within(p, MenuCentreX, 321.0, RoundButtonRadius)) {
    if (UnderGameLock(app.game, [&] { return app.game.record.canRedo(); })) found = MenuRedo;
  }
  if (found < 0) return false;
  item = found;
  app.hoveredMenuItem = found;
  return true;
}

// The fade-out starts where the fade-in stood at the hiding, so that leaving the strip
// mid-fade shows no flash; the stamps of a fresh start, both 0, mean hidden.
int32_t MenuFadeOutLeft(const GameApplication& app, int32_t now) {
  const int32_t until = app.menuVisible ? now : app.menuHiddenAt;
  const int32_t fadedIn = std::clamp(until - app.menuShownAt, 0, MenuFadeInMs);
  const int32_t left = fadedIn * MenuFadeOutMs / MenuFadeInMs;
  if (app.menuVisible) return left;
  return std::clamp(left - (now - app.menuHiddenAt), 0, MenuFadeOutMs);
}

// The drawing's alpha for the menu.
double MenuOpacity(const GameApplication& app, int32_t now) {
  if (!app.settings.autoHideMenu) return 1.0;
  return static_cast<double>(MenuFadeOutLeft(app, now)) / MenuFadeOutMs;
}

// A reveal during the fade-out starts the fade-in from the opacity on screen.
void UpdateMenuHover(GameApplication& app) {
  const bool inStrip = InRevealStrip(PointerToScene(app, app.pointerX, app.pointerY));
  if (inStrip && !app.menuVisible) {
    const int32_t now = app.platform->ElapsedMilliseconds();
    app.menuShownAt = now - MenuFadeOutLeft(app, now) * MenuFadeInMs / MenuFadeOutMs;
    app.menuVisible = true;
  }
  int32_t item = -1;
  if (MenuItemAtPoint(app, app.pointerX, app.pointerY, item)) {
    SetAppCursor(app, app.copyCursor);
    app.menuHover = true;
  } else {
    SetAppCursor(app, app.arrowCursor);
    app.menuHover = false;
    app.candidatesShown = false;
  }
  if (!inStrip && app.menuVisible) {
    app.menuHiddenAt = app.platform->ElapsedMilliseconds();
    app.menuVisible = false;
  }
}

// Item 4 has no region, so a click there finds nothing.
void MenuClick(GameApplication& app, int32_t x, int32_t y) {
  int32_t item = -1;
  if (!MenuItemAtPoint(app, x, y, item)) {
    app.menuHover = false;
    return;
  }
  app.menuHover = true;
  switch (item) {
    case MenuUndo: UndoCommand(app); break;
    case MenuRedo: RedoCommand(app); break;
    case MenuNewGame: NewGameCommand(app); break;
    case MenuHelp: HelpCommand(app); break;
    case MenuSettings: SettingsCommand(app); break;
    default: break;
  }
}

}  // namespace rq
