// The floors of the frame benchmarks: the same textured quads drawn with bare OpenGL calls, one
// bind and glBegin each, or all from one texture in one vertex array. This is the one place
// outside draw/gl/ that calls OpenGL: a floor must bypass the layer.
#include "bench/draw/gl_floor.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

void FloorBegin() {
  glDisable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GEQUAL, 0.5f);
  glEnable(GL_TEXTURE_2D);
  glColor4ub(255, 255, 255, 255);
}

void FloorFrame(const std::vector<floor_quad_type>& quads) {
  glClear(GL_COLOR_BUFFER_BIT);
  for (const auto& q : quads) {
    glBindTexture(GL_TEXTURE_2D, q.texture);
    glBegin(GL_QUADS);
    glTexCoord2f(q.u0, q.v0);
    glVertex2f(q.x[0], q.y[0]);
    glTexCoord2f(q.u1, q.v0);
    glVertex2f(q.x[1], q.y[1]);
    glTexCoord2f(q.u1, q.v1);
    glVertex2f(q.x[2], q.y[2]);
    glTexCoord2f(q.u0, q.v1);
    glVertex2f(q.x[3], q.y[3]);
    glEnd();
  }
  glFinish();
}

unsigned FloorTexture(int size, const std::vector<floor_picture_type>& pictures) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  for (const auto& p : pictures)
    glTexSubImage2D(GL_TEXTURE_2D, 0, p.x, p.y, p.w, p.h, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba);
  glGenerateMipmap(GL_TEXTURE_2D);
  return name;
}

void FloorArrayBegin(unsigned texture, bool reduced) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, reduced ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, reduced ? 1 : 0);
  glColor4ub(255, 255, 255, 255);
  if (reduced) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
  } else {
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GEQUAL, 0.5f);
  }
  glDisable(GL_SCISSOR_TEST);
}

void FloorArrayFrame(const std::vector<floor_vertex_type>& vertices) {
  glClear(GL_COLOR_BUFFER_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(floor_vertex_type), &vertices[0].x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(floor_vertex_type), &vertices[0].u);
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices.size()));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glFinish();
}
