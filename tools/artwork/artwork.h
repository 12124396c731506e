// The game's pictures, each drawn by one function of this generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "text.h"

namespace rq::art {

struct Fonts {
  Font cjk;        // piece characters and the river
  Font sansBold;   // banner and menu labels
  Font serifBold;  // the title on the board
};

// Board geometry in scene units (y upward): square centres.
constexpr float kOriginX = 152, kOriginY = 884, kPitch = 90;
inline float SquareX(int column) { return kOriginX + kPitch * column; }
inline float SquareY(int row) { return kOriginY - kPitch * row; }

// Piece inks, shared by the atlas and the window icon.
constexpr Rgba kRedInk = Rgb8(176, 26, 22);
constexpr Rgba kGreenInk = Rgb8(22, 102, 50);

Canvas DrawBoard(const Fonts& fonts);
Canvas DrawPieces(const Fonts& fonts);
Canvas DrawCrystalBall();
Canvas DrawMenu(const Fonts& fonts);

// A piece disc of radius 38.5 * scale centred on (cx, cy).
void DrawPieceDisc(Canvas& c, const Fonts& fonts, float cx, float cy, char32_t glyph, Rgba ink,
                   float scale);

// Windows cursor (.cur) and window icon (.bmp) files, as bytes.
std::vector<uint8_t> MakeCursorFile();
std::vector<uint8_t> MakeIconBmp(const Fonts& fonts);

}  // namespace rq::art
