// The backdrop kept as a texture. Whether it changed is told by its own drawing: the
// backdrop steps run first in GL's feedback mode, which returns what they would draw
// (every vertex in window coordinates with its colour and texture coordinate, and the
// images bound) without drawing it. While that record matches the kept copy's, the copy
// is laid back. So whatever alters the backdrop (a move, the drag, the window's size, a
// later way of drawing the board) alters the record, and no one has to tell the cache.
#include "render/backdrop.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "render/scene_steps.h"

namespace rq {

namespace {

// Floats of one record; the busiest backdrop of a game (32 pieces and their shadows, both
// arrows, a ring) takes about 5,500. A longer one is never kept, only drawn.
constexpr GLsizei kRecordCapacity = 32768;

// What the backdrop steps send to GL, as feedback mode returns it.
struct DrawingRecord {
  GLfloat values[kRecordCapacity];
  GLint count = -1;  // -1: none, or too long

  // An empty record matches nothing: the board picture is always in a real one.
  bool Matches(const DrawingRecord& other) const {
    return count > 0 && count == other.count &&
           std::memcmp(values, other.values, sizeof(GLfloat) * count) == 0;
  }
  void CopyFrom(const DrawingRecord& other) {
    count = other.count;
    if (count > 0) std::memcpy(values, other.values, sizeof(GLfloat) * count);
  }
};

struct BackdropCache {
  GLuint texture = 0;
  GLsizei side = 0;        // the texture's, a power of two as GL 1.1 wants
  DrawingRecord kept;      // what the texture holds
  DrawingRecord previous;  // the backdrop of the frame before
  DrawingRecord current;   // this frame's
  DrawingRecord again;     // this frame's, recorded once more after drawing
  bool laidBack = false;   // the last frame's backdrop came from the copy
};

BackdropCache cache;

// Steps 4 to 6 of the frame.
void DrawBackdropSteps(GameApplication& app) {
  DrawBoardPicture(app);
  DrawCapturedPieces(app);
  DrawBoardPieces(app);
}

// The steps in feedback mode: GL records what they would draw, and draws nothing.
void Record(GameApplication& app, DrawingRecord& record) {
  glFeedbackBuffer(kRecordCapacity, GL_3D_COLOR_TEXTURE, record.values);
  glRenderMode(GL_FEEDBACK);
  DrawBackdropSteps(app);
  record.count = glRenderMode(GL_RENDER);  // -1 when it did not fit
}

GLsizei PowerOfTwoAtLeast(GLint n) {
  GLsizei side = 1;
  while (side < n) side *= 2;
  return side;
}

// Copies the viewport's pixels into the texture; false when they cannot be kept.
bool Keep(const GLint viewport[4]) {
  const GLsizei side = PowerOfTwoAtLeast(std::max(viewport[2], viewport[3]));
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  if (side > largest) return false;
  glGetError();  // only the copy's own error counts below
  glPushAttrib(GL_TEXTURE_BIT);
  if (cache.texture == 0) glGenTextures(1, &cache.texture);
  glBindTexture(GL_TEXTURE_2D, cache.texture);
  if (cache.side != side) {
    // Nearest texels laid one to one on the pixels they came from give them back unchanged.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    cache.side = side;
  }
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, viewport[0], viewport[1], viewport[2], viewport[3]);
  glPopAttrib();
  return glGetError() == GL_NO_ERROR;
}

// Lays the kept copy over the viewport, texel on pixel, and leaves GL as the steps leave it.
void LayBack(const GLint viewport[4]) {
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, cache.texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const GLfloat s = static_cast<GLfloat>(viewport[2]) / cache.side;
  const GLfloat t = static_cast<GLfloat>(viewport[3]) / cache.side;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(-1, -1);
  glTexCoord2f(s, 0);
  glVertex2f(1, -1);
  glTexCoord2f(s, t);
  glVertex2f(1, 1);
  glTexCoord2f(0, t);
  glVertex2f(-1, 1);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

}  // namespace

void DrawBackdrop(GameApplication& app) {
  Record(app, cache.current);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  cache.laidBack = cache.current.Matches(cache.kept);
  if (cache.laidBack) {
    LayBack(viewport);
  } else {
    DrawBackdropSteps(app);
    // Kept once the same backdrop came twice running, and only when it still comes out the
    // same after drawing: one that moves by itself (the hint's ring, the blinking generals)
    // is neither copied on every frame nor caught half-way through a change.
    if (cache.current.Matches(cache.previous)) {
      Record(app, cache.again);
      cache.kept.count = -1;
      if (cache.again.Matches(cache.current) && Keep(viewport)) cache.kept.CopyFrom(cache.current);
    }
  }
  cache.previous.CopyFrom(cache.current);
}

bool BackdropWasKept() { return cache.laidBack; }

void ForgetBackdrop() {
  if (cache.texture != 0) glDeleteTextures(1, &cache.texture);
  cache.texture = 0;
  cache.side = 0;
  cache.kept.count = cache.previous.count = -1;
}

}  // namespace rq
