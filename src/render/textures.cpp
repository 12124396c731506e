#include "render/textures.h"

#include "game/folders.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <filesystem>
#include <utility>

namespace rq {

TextureTable& Textures() {
  static TextureTable table;
  return table;
}

void TextureTable::BuildTextureParamList() {
  paramList = glGenLists(1);
  glNewList(paramList, GL_COMPILE);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glEndList();
}

bool TextureTable::LoadTgaTexture(const char* fileName, int number, bool mipmapped) {
  if (number < 0 || number >= kTextureSlots) return false;
  TgaImage image;
  const bool complete = ReadTgaImage(fileName, image);
  if (image.width == 0) return false;  // never opened: the slot stays as it was

  TextureSlot& slot = slots[number];
  std::snprintf(slot.fileName, sizeof slot.fileName, "%s", fileName);
  slot.height = image.height;
  slot.components = image.components;
  slot.mipmapped = mipmapped;
  slot.loaded = true;
  slot.width = image.width;
  GLuint name = 0;
  if (slot.glName != 0) glDeleteTextures(1, &slot.glName);  // an image loaded anew
  glGenTextures(1, &name);
  slot.glName = name;
  glGetError();
  uploaded[number] = false;
  slot.image = std::move(image);
  return complete;
}

bool TextureTable::LoadAllTextures(const std::string& dataDir, const std::string& languageFolder) {
  static const struct { int number; const char* file; } images[] = {
      {kBoardTexture, "Board.tga"}, {kPiecesTexture, "Pieces.tga"},
      {kCrystalBallTexture, "CrystalBall.tga"}, {kMenuTexture, "UI_UpAndDown.tga"}};
  language = languageFolder;
  bool ok = false;
  for (const auto& image : images) {
    const std::string own = DataPath(dataDir, ("Textures/" + languageFolder + "/" + image.file).c_str());
    std::error_code error;
    const bool translated = !languageFolder.empty() && std::filesystem::is_regular_file(own, error);
    const std::string path = translated ? own : DataPath(dataDir, (std::string("Textures/") + image.file).c_str());
    ok = LoadTgaTexture(path.c_str(), image.number, true);
  }
  return ok;
}

void TextureTable::FollowLanguage(const std::string& dataDir, const std::string& languageFolder) {
  if (languageFolder != language) LoadAllTextures(dataDir, languageFolder);
}

void TextureTable::BindTexture(int number) {
  // Names the image in what feedback mode records, so that a kept picture knows its images.
  glPassThrough(number >= 0 && number < kTextureSlots ? static_cast<GLfloat>(slots[number].glName) : 0);
  if (number < 0 || number >= kTextureSlots || !slots[number].loaded) {
    // A missing image draws nothing rather than a plain white block.
    if (emptyTexture == 0) {
      const GLubyte clear[4] = {0, 0, 0, 0};
      glGenTextures(1, &emptyTexture);
      glBindTexture(GL_TEXTURE_2D, emptyTexture);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear);
    }
    glBindTexture(GL_TEXTURE_2D, emptyTexture);
    return;
  }
  TextureSlot& slot = slots[number];
  glBindTexture(GL_TEXTURE_2D, slot.glName);
  if (uploaded[number]) return;
  uploaded[number] = true;
  const GLenum format = slot.components == 1   ? GL_LUMINANCE
                        : slot.components == 3 ? GL_RGB
                                               : GL_RGBA;
  // Rows are packed tightly; GL's default of 4-byte rows would read past the
  // pixels of an RGB or luminance image whose width is not a multiple of 4.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (slot.mipmapped)
    gluBuild2DMipmaps(GL_TEXTURE_2D, slot.components, slot.width, slot.height, format,
                      GL_UNSIGNED_BYTE, slot.image.pixels.data());
  else
    glTexImage2D(GL_TEXTURE_2D, 0, slot.components, slot.width, slot.height, 0, format,
                 GL_UNSIGNED_BYTE, slot.image.pixels.data());
}

void TextureTable::SetTexturing() const {
  glEnable(GL_TEXTURE_2D);
  glCallList(paramList);
}

}  // namespace rq
