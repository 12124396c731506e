// The command menu along the right edge, with its fades and the pressed item.
#include <GL/gl.h>

#include "game/game_application.h"
#include "interaction/command_menu.h"
#include "render/draw.h"
#include "render/scene_steps.h"
#include "render/textures.h"

namespace rq {

namespace {

struct Band {
  int32_t item;
  double y;  // bottom of the band, scene units
  double h;
};

// The pressed band of each menu item; item 4 has none.
constexpr Band kBands[] = {
    {0, 745, 129}, {1, 640, 99}, {2, 482, 158}, {5, 267, 215}, {3, 92, 155},
};

// The pressed band of `item`; null for item 4 and anything else without one.
const Band* BandOf(int32_t item) {
  for (const Band& b : kBands)
    if (b.item == item) return &b;
  return nullptr;
}

}  // namespace

// The panel at the right edge with its fades, and the held item pressed.
void DrawCommandMenu(GameApplication& app) {
  if (app.editor.active) return;  // the editor's tray stands where the menu fades in
  if (!app.settings.autoHideMenu) app.menuVisible = true;
  const double alpha = MenuOpacity(app, app.platform->ElapsedMilliseconds());
  if (alpha <= 0.0) return;  // faded out, or never shown

  Textures().SetTexturing();
  Textures().BindTexture(kMenuTexture);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4d(1, 1, 1, alpha);
  glPushMatrix();
  glScaled(app.viewScale, app.viewScale, 1);
  DrawTexturedRect(912, 0, 144, 0, 112, 1024, 256, 1024);
  if (app.menuHover && app.buttonDown) {
    if (const Band* band = BandOf(app.hoveredMenuItem))
      DrawTexturedRect(912, band->y, 16, 1024 - band->y, 112, band->h, 256, 1024);
  }
  glDisable(GL_BLEND);
  glPopMatrix();
}

}  // namespace rq
