// The floor of the frame benchmark: the same textured quads drawn with bare OpenGL calls.
// Depends on nothing of the project.
#pragma once

#include <vector>

// One quad as the drawing layer would send it: texture name, texture-coordinate rectangle and
// the four transformed corners.
struct floor_quad_type {
  unsigned texture = 0;
  float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
  float x[4] = {}, y[4] = {};
};

// A vertex of the one-array floor: picture position and texture coordinates.
struct floor_vertex_type {
  float x = 0, y = 0, u = 0, v = 0;
};

// Puts GL into the state the drawing layer uses for masked images (alpha test, texturing).
void FloorBegin();
// Clears and draws the quads, one bind and one glBegin/glEnd each, then waits for GL.
void FloorFrame(const std::vector<floor_quad_type>& quads);

// A texture for the one-array floor: size x size RGBA with mipmaps made by GL from the
// pictures pasted at their texel places (x, y).
struct floor_picture_type {
  const void* rgba = nullptr;  // tightly packed rows
  int x = 0, y = 0, w = 0, h = 0;
};
unsigned FloorTexture(int size, const std::vector<floor_picture_type>& pictures);
// The GL state of the one-array floor on that texture: drawn 1:1 like masked images (level 0,
// bilinear, alpha test), or reduced (levels from 1, trilinear, premultiplied blending).
void FloorArrayBegin(unsigned texture, bool reduced);
// Clears and draws the quads (four vertices each, in order) from one vertex array in one call,
// then waits for GL.
void FloorArrayFrame(const std::vector<floor_vertex_type>& vertices);
