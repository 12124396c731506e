#include "offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace rq::test {

namespace {

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

void OffscreenGl::ReadBack() {
  glFinish();
  frame.width = width;
  frame.height = height;
  frame.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels.data());
}

Rgb Frame::At(int x, int y) const {
  x = std::clamp(x, 0, width - 1);
  y = std::clamp(y, 0, height - 1);
  const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2]};
}

}  // namespace rq::test
