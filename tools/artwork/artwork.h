// The game's pictures, each drawn by one function of this generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "labels.h"
#include "text.h"

namespace rq::art {

struct Fonts {
  Font cjk;        // piece characters and the river
  Font sansBold;   // banner and menu labels in the Latin scripts
  Font serifBold;  // the title on the board
  Font sansCjkSimplified, sansCjkTraditional;  // banner and menu labels in Chinese
};

// Board geometry in scene units (y upward): square centres.
constexpr float kOriginX = 152, kOriginY = 884, kPitch = 90;
inline float SquareX(int column) { return kOriginX + kPitch * column; }
inline float SquareY(int row) { return kOriginY - kPitch * row; }

// Piece inks, shared by the atlas and the window icon.
constexpr Rgba kRedInk = Rgb8(176, 26, 22);
constexpr Rgba kGreenInk = Rgb8(22, 102, 50);

Canvas DrawBoard(const Fonts& fonts);
// The pieces' atlas with the banners, and the menu with its labels, in `words`.
Canvas DrawPieces(const Fonts& fonts, const Words& words);
Canvas DrawCrystalBall();
Canvas DrawMenu(const Fonts& fonts, const Words& words);

// The piece disc's wood: the turned edge from inside out, the face from the centre out,
// the dark outline and the light lip below the cut character.
constexpr Rgba kEdgeLight = Rgb8(222, 178, 118);
constexpr Rgba kEdgeDark = Rgb8(150, 98, 52);
constexpr Rgba kFaceLight = Rgb8(246, 226, 186);
constexpr Rgba kFaceDark = Rgb8(232, 204, 156);
constexpr Rgba kDiscOutline = Rgb8(92, 54, 26, 0.8f);
constexpr Rgba kGlyphLip = Rgb8(255, 250, 235, 0.55f);

// A piece disc drawn at `scale`: the radii of its rim, face, outline and inked ring, the
// half widths of outline and ring, and its character's size and emboldening.
struct DiscGeometry {
  float radius, face, outline, ring, outlineHalf, ringHalf, glyphSize, embolden;
};
DiscGeometry PieceDiscGeometry(float scale);

// A piece disc of radius 38.5 * scale centred on (cx, cy).
void DrawPieceDisc(Canvas& c, const Fonts& fonts, float cx, float cy, char32_t glyph, Rgba ink,
                   float scale);

// Windows cursor (.cur) and window icon (.bmp) files, as bytes.
std::vector<uint8_t> MakeCursorFile();
std::vector<uint8_t> MakeIconBmp(const Fonts& fonts);

// The desktop's icon: the window icon's picture at `size` pixels square, and as SVG.
Canvas DrawIcon(const Fonts& fonts, int size);
std::string MakeIconSvg(const Fonts& fonts);

// An 8-bit RGBA PNG file of the canvas; empty if compression fails.
std::vector<uint8_t> EncodePng(const Canvas& c);

}  // namespace rq::art
