// The texture table: the game's four images, read once at start-up and sent to GL
// on their first bind, and the display list of texture parameters.
#pragma once

#include <cstdint>
#include <string>

#include "render/tga.h"

namespace rq {

constexpr int kTextureSlots = 100;

// The images by number; 0 is never used.
enum TextureNumber : int {
  kBoardTexture = 1,
  kPiecesTexture = 2,
  kCrystalBallTexture = 3,
  kMenuTexture = 4,
};

struct TextureSlot {
  bool loaded = false;
  char fileName[256] = {};
  uint32_t glName = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t components = 0;
  bool mipmapped = false;
  TgaImage image;  // pixels R, G, B (, A), kept for the life of the process
};

struct TextureTable {
  TextureSlot slots[kTextureSlots];
  bool uploaded[kTextureSlots] = {};
  uint32_t paramList = 0;
  uint32_t emptyTexture = 0;  // fully transparent, stands in for an image that never loaded
  std::string language;       // the interface language whose images are loaded

  // Compiles the display list of environment and sampling parameters.
  void BuildTextureParamList();
  // Reads one image into slot `number`; true when it was read completely.
  bool LoadTgaTexture(const char* fileName, int number, bool mipmapped);
  // Loads the four images, each from the folder of the interface language `language`
  // (Textures/LANG/, "" for English) where that has it, else from Textures/; the result of
  // the last load.
  bool LoadAllTextures(const std::string& dataDir = {}, const std::string& language = {});
  // Loads the images anew when `language` is not the one they were loaded for.
  void FollowLanguage(const std::string& dataDir, const std::string& language);
  // Binds texture `number`, sending its pixels to GL on first use.
  void BindTexture(int number);
  // Switches texturing on and replays the parameter list.
  void SetTexturing() const;
};

// The one table, in static storage like the rest of the drawing state.
TextureTable& Textures();

}  // namespace rq
