// The floor of the frame benchmark: the same textured quads drawn with bare OpenGL calls.
// This is the one place outside draw/gl/ that calls OpenGL: a floor must bypass the layer.
#include "bench/draw/gl_floor.h"

#include <GL/gl.h>

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
    glTexCoord2f(0, 0);
    glVertex2f(q.x[0], q.y[0]);
    glTexCoord2f(q.u1, 0);
    glVertex2f(q.x[1], q.y[1]);
    glTexCoord2f(q.u1, q.v1);
    glVertex2f(q.x[2], q.y[2]);
    glTexCoord2f(0, q.v1);
    glVertex2f(q.x[3], q.y[3]);
    glEnd();
  }
  glFinish();
}
