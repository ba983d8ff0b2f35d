// The OpenGL back end of the drawing layer: TGL2DDriver (immediate-mode OpenGL 1.1 on the
// context of the platform's GL graphics driver) and TGLImageFrame (textures), with the back
// end's module state. Private to draw/. Depends on draw/draw.h and platform/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/draw.h"

// State of the back end, shared by every context (only one is current at a time).
struct gl2d_state_type {
  std::array<uint8_t, 4> color{0, 0, 0, 0};  // red, green, blue, alpha last given to GL
  int blend = 0;                             // last blend mode applied; 0 = none yet
  unsigned bound_texture = 0;                // name bound to GL_TEXTURE_2D
  bool texturing = false;                    // GL_TEXTURE_2D enabled
  float ix = 0, iy = 0, jx = 0, jy = 0;      // matrix of the last SetTransform
  std::vector<unsigned> dead_textures;       // names waiting for deletion, all of dead_seq
  int dead_seq = 0;                          // GraphicsSeq the dead names belong to
  int blend_changes = 0;                     // times SetBlend reached GL (the cache skips repeats)
};

// Never destroyed: frames released during process exit still queue their names safely.
extern gl2d_state_type& gl2d_state;

// Puts the back end's state back to its start values (the dead list is dropped). For tests.
void ResetGL2D();

class TGLImageFrame : public TImageFrame {
 public:
  ~TGLImageFrame() override;
  void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
            float sw, float sh) override;

  // A texture of power-of-two size holding the pixmap at its top-left, its last column and row
  // repeated once outwards; scaled down first when the GL limit is smaller than the picture.
  // nullptr for a nullptr or empty pixmap. Throws TRuntimeException "Unable to calculate tex
  // size" when GL accepts not even a 1 x 1 texture.
  static std::shared_ptr<TGLImageFrame> CreateFromPixmap(std::shared_ptr<TPixmap> pixmap,
                                                         int flags);

  float u0 = 0, v0 = 0;          // always 0
  float u1 = 0, v1 = 0;          // picture size in texture coordinates
  float uscale = 0, vscale = 0;  // 1 / texture size
  unsigned name = 0;
  int seq = 0;  // GraphicsSeq when made
};

class TGL2DDriver : public T2DDriver {
 public:
  std::string ToString() const { return "OpenGL"; }
  static std::shared_ptr<TGL2DDriver> Create();
  // Puts the current GL context into the known 2D state for the graphics' size.
  void ResetGLContext(T2DGraphics& graphics);

  std::vector<TGraphicsMode> GraphicsModes() override;
  std::shared_ptr<TGraphics> AttachGraphics(void* handle, int flags) override;
  std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                            int flags) override;
  void SetGraphics(std::shared_ptr<TGraphics> graphics) override;
  void Flip(int sync) override;

  std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                     int flags) override;
  void SetBlend(int mode) override;
  void SetAlpha(float alpha) override;
  void SetColor(int r, int g, int b) override;
  void SetClsColor(int r, int g, int b) override;
  void SetViewport(int x, int y, int w, int h) override;
  void SetTransform(float ix, float iy, float jx, float jy) override;
  void SetLineWidth(float width) override;
  void Cls() override;
  void Plot(float x, float y) override;
  void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawPoly(const std::vector<float>& xy, float handle_x, float handle_y, float origin_x,
                float origin_y) override;
  void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int x, int y) override;
  std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int w, int h) override;
  void SetResolution(float width, float height) override;
};

// Texture binding through the state cache (texturing on) and texturing off.
void BindTexture(unsigned name);
void DisableTexturing();
