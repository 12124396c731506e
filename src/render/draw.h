// The drawing primitive and the small pieces of set-up that every scene step shares.
#pragma once

#include <cstdint>

#include "game/board_view.h"

namespace rq {

struct GameApplication;

// One textured axis-aligned rectangle at (x, y) of w by h, sampling the block at
// (srcX, srcY) of a texture addressed as texW by texH units (srcY counted so that
// t runs from (texH - srcY) / texH upward).
void DrawTexturedRect(double x, double y, double srcX, double srcY, double w, double h,
                      double texW, double texH);

// Opens a scene step: texturing with `texture`, alpha blending, and the model-view
// matrix pushed and scaled into scene units. CloseStep pops it.
void OpenStep(const GameApplication& app, int texture);
void CloseStep();

// Moves from scene space into the board frame, whose origin lies 64 units left of and
// below the top-left point of the picture, (boardOriginX - 64, boardOriginY - 64).
void EnterBoardFrame(const GameApplication& app);

// Centre of `square` in the board frame, as the board lies now (board_view.h).
Point BoardFrameCentre(const GameApplication& app, int square);

// Sprite sizes and sources in the pieces atlas (512 by 512 units).
constexpr double kAtlasSize = 512;
constexpr double kPieceSize = 80;
constexpr double kShadowSrcX = 280, kShadowSrcY = -24;
constexpr double kMarkerSrcX = 435, kMarkerSrcY = 472, kMarkerSize = 43;
// The round marker's centre within its sprite, from the lower-left corner: the dot is not
// in the middle of its block, which shows when it is drawn large.
constexpr double kMarkerCentreX = 19.5, kMarkerCentreY = 21.5;

// The sprite of piece `code` with its lower-left corner at (x, y), 80 by 80.
void DrawPieceSprite(const GameApplication& app, int32_t code, double x, double y);
// The shadow and the round marker, lower-left corner at (x, y).
void DrawShadowSprite(double x, double y);
void DrawMarkerSprite(double x, double y);

// (ElapsedMilliseconds mod period), never negative.
int32_t ClockPhase(int32_t now, int32_t period);

}  // namespace rq
