#include "offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "render/backdrop.h"
#include "render/scene.h"
#include "render/textures.h"

// Mesa's software renderer (22.x) frees a context without the stage it made for feedback
// mode, in which the kept backdrop records its drawing: a fixed half megabyte per context,
// not ours to free. LeakSanitizer builds read this; others ignore it.
extern "C" const char* __lsan_default_suppressions() { return "leak:swrast_dri.so\n"; }

namespace rq {

namespace {

void PutBig32(std::vector<uint8_t>& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Big32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void PutChunk(std::vector<uint8_t>& b, const char* type, const std::vector<uint8_t>& data) {
  PutBig32(b, static_cast<uint32_t>(data.size()));
  const size_t start = b.size();
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), data.begin(), data.end());
  PutBig32(b, static_cast<uint32_t>(crc32(0, &b[start], static_cast<uInt>(b.size() - start))));
}

const uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};

// The surfaceless Mesa platform needs no X server; the default display is the fallback.
EGLDisplay OpenDisplay() {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay != nullptr) {
    EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
  }
  EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
  return EGL_NO_DISPLAY;
}

}  // namespace

// Unfiltered rows (filter type 0): the pictures are few and small enough.
bool WritePng(const std::string& path, const Picture& p) {
  std::vector<uint8_t> raw;
  const size_t row = static_cast<size_t>(p.width) * 3;
  for (int y = 0; y < p.height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), p.rgb.begin() + y * row, p.rgb.begin() + (y + 1) * row);
  }
  uLongf packedSize = compressBound(raw.size());
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), raw.size(), 9) != Z_OK) return false;
  packed.resize(packedSize);
  std::vector<uint8_t> header, file(kSignature, kSignature + 8);
  PutBig32(header, p.width);
  PutBig32(header, p.height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", packed);
  PutChunk(file, "IEND", {});
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && written;
}

bool ReadPng(const std::string& path, Picture& p) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::vector<uint8_t> file;
  uint8_t buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) file.insert(file.end(), buffer, buffer + n);
  std::fclose(f);
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return false;
  std::vector<uint8_t> packed;
  bool rgb8 = false;
  for (size_t at = 8; at + 12 <= file.size();) {
    const uint32_t length = Big32(&file[at]);
    if (at + 12 + length > file.size()) return false;
    const uint8_t* data = &file[at + 8];
    if (std::memcmp(&file[at + 4], "IHDR", 4) == 0 && length == 13) {
      p.width = static_cast<int>(Big32(data));
      p.height = static_cast<int>(Big32(data + 4));
      rgb8 = data[8] == 8 && data[9] == 2 && data[12] == 0;
    } else if (std::memcmp(&file[at + 4], "IDAT", 4) == 0) {
      packed.insert(packed.end(), data, data + length);
    }
    at += 12 + length;
  }
  const size_t row = static_cast<size_t>(p.width) * 3;
  if (!rgb8 || p.width <= 0 || p.height <= 0 || p.width > 8192 || p.height > 8192) return false;
  std::vector<uint8_t> raw((row + 1) * p.height);
  uLongf rawSize = raw.size();
  if (uncompress(raw.data(), &rawSize, packed.data(), packed.size()) != Z_OK || rawSize != raw.size()) return false;
  p.rgb.clear();
  for (int y = 0; y < p.height; ++y) {
    if (raw[y * (row + 1)] != 0) return false;  // only what WritePng writes
    p.rgb.insert(p.rgb.end(), raw.begin() + y * (row + 1) + 1, raw.begin() + (y + 1) * (row + 1));
  }
  return true;
}

bool OffscreenGl::Open(int w, int h) {
  EGLDisplay d = OpenDisplay();
  if (d == EGL_NO_DISPLAY) {
    error = "no EGL display";
    return false;
  }
  display = d;
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8,
                                  EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                  EGL_DEPTH_SIZE, 16, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_NONE};
  EGLConfig config;
  EGLint count = 0;
  if (!eglChooseConfig(d, configAttribs, &config, 1, &count) || count < 1) {
    error = "no EGL config for desktop OpenGL pbuffers";
    return false;
  }
  const EGLint surfaceAttribs[] = {EGL_WIDTH, w, EGL_HEIGHT, h, EGL_NONE};
  EGLSurface s = eglCreatePbufferSurface(d, config, surfaceAttribs);
  if (s == EGL_NO_SURFACE) {
    error = "no pbuffer";
    return false;
  }
  surface = s;
  eglBindAPI(EGL_OPENGL_API);
  EGLContext c = eglCreateContext(d, config, EGL_NO_CONTEXT, nullptr);
  if (c == EGL_NO_CONTEXT) {
    error = "no OpenGL context";
    return false;
  }
  context = c;
  if (!eglMakeCurrent(d, s, s, c)) {
    error = "context cannot be made current";
    return false;
  }
  width = w;
  height = h;
  return true;
}

// The display stays initialised: other contexts of the process may still use it.
void OffscreenGl::Close() {
  if (display == nullptr) return;
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context != nullptr) eglDestroyContext(display, context);
  if (surface != nullptr) eglDestroySurface(display, surface);
  display = surface = context = nullptr;
}

// GL reads bottom row first; the picture is turned the right way up.
Picture OffscreenGl::ReadBack() const {
  glFinish();
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  Picture p{width, height, {}};
  p.rgb.reserve(static_cast<size_t>(width) * height * 3);
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* px = &rgba[(static_cast<size_t>(y) * width + x) * 4];
      p.rgb.insert(p.rgb.end(), px, px + 3);
    }
  return p;
}

bool OffscreenScene::Open(Platform& platform, int side, std::string& why) {
  if (!gl.Open(side, side)) {
    why = "offscreen GL: " + gl.error;
    return false;
  }
  char dir[] = "/tmp/rq-offscreen-XXXXXX";
  if (mkdtemp(dir) == nullptr) {
    why = "no scratch folder";
    return false;
  }
  scratch_ = dir;
  std::error_code ec;
  std::filesystem::create_directory_symlink(RQ_REPO_ROOT "/Textures", scratch_ + "/Textures", ec);
  previousDir_ = std::filesystem::current_path(ec).string();
  std::filesystem::current_path(scratch_, ec);
  platform_ = &platform;
  side_ = side;
  Textures().BuildTextureParamList();
  if (!Textures().LoadAllTextures()) {
    why = "the textures in " RQ_REPO_ROOT "/Textures cannot be read";
    return false;
  }
  glViewport(0, 0, side, side);
  glClearColor(0, 0, 0, 0.5f);
  glEnable(GL_DEPTH_TEST);
  Restart();
  return true;
}

void OffscreenScene::Close() {
  ForgetBackdrop();  // its texture goes with the context
  app.reset();
  std::error_code ec;
  if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, ec);
  if (!scratch_.empty()) std::filesystem::remove_all(scratch_, ec);
  scratch_.clear();
  gl.Close();
}

// The last application saves its game and settings; they go before the next one reads them.
GameApplication& OffscreenScene::Restart() {
  app.reset();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(scratch_, ec))
    if (entry.path().filename() != "Textures") std::filesystem::remove_all(entry.path(), ec);
  app = std::make_unique<GameApplication>(*platform_);
  app->clientWidth = app->clientHeight = side_;
  app->viewScale = side_ / 1024.0;
  return *app;
}

Picture OffscreenScene::Render() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawSceneElements(*app);
  return gl.ReadBack();
}

}  // namespace rq
