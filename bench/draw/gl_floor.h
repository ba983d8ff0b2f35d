// The floor of the frame benchmark: the same textured quads drawn with bare OpenGL calls.
// Depends on nothing of the project.
#pragma once

#include <vector>

// One quad as the drawing layer would send it: texture name, texture-coordinate extent and
// the four transformed corners.
struct floor_quad_type {
  unsigned texture = 0;
  float u1 = 0, v1 = 0;
  float x[4] = {}, y[4] = {};
};

// Puts GL into the state the drawing layer uses for masked images (alpha test, texturing).
void FloorBegin();
// Clears and draws the quads, one bind and one glBegin/glEnd each, then waits for GL.
void FloorFrame(const std::vector<floor_quad_type>& quads);
