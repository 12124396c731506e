// The game's scene drawn without a display: an OpenGL 1.x context by EGL on Mesa's
// software renderer, a game application in a scratch folder with the repository's
// textures, and its pictures as PNG files. The frame bench and the reference-picture
// tests draw through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/game_application.h"

namespace rq {

// 8-bit RGB, top row first, as PNG stores it.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// Writes `p` as an RGB PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const Picture& p);
// Reads an RGB PNG of the kind WritePng writes; false for anything else.
bool ReadPng(const std::string& path, Picture& p);

struct OffscreenGl {
  void* display = nullptr;
  void* surface = nullptr;
  void* context = nullptr;
  int width = 0;
  int height = 0;
  std::string error;

  // Creates a width-by-height pbuffer and makes its context current; false with
  // `error` set when no such context can be had.
  bool Open(int w, int h);
  void Close();
  OffscreenGl() = default;
  ~OffscreenGl() { Close(); }
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  // The whole surface as it stands.
  Picture ReadBack() const;
};

class OffscreenScene {
 public:
  // A side-by-side square window on `platform`; false with `why` set when the machine
  // cannot draw offscreen or the textures cannot be read.
  bool Open(Platform& platform, int side, std::string& why);
  // Ends the application and the context, and removes the scratch folder.
  void Close();
  ~OffscreenScene() { Close(); }
  // A new application at the opening position, nothing of the last one kept.
  GameApplication& Restart();
  // The scene's elements drawn as a frame draws them, read back.
  Picture Render();

  OffscreenGl gl;
  std::unique_ptr<GameApplication> app;

 private:
  Platform* platform_ = nullptr;
  int side_ = 0;
  std::string scratch_, previousDir_;
};

}  // namespace rq
