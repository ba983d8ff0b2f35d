// The OpenGL back end of the drawing layer: TGL2DDriver (OpenGL 1.1 on the context of the
// platform's GL graphics driver) and TGLImageFrame (textures, or places on shared atlas pages),
// with the back end's module state. Private to draw/. Depends on draw/draw.h and platform/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/draw.h"

class TGLImageFrame;
struct gl_atlas_page;

// The part of the back end's state that decides what a drawing operation puts on the picture.
// Every recorded operation carries a copy; GL receives it only when the operation runs.
struct gl_draw_state {
  int blend = 0;                                 // blend mode; 0 = none chosen yet
  std::array<uint8_t, 4> color{0, 0, 0, 0};      // red, green, blue, alpha
  std::array<uint8_t, 3> clear{0, 0, 0};         // clear colour
  float line_width = 1;
  bool scissor = false;                          // scissor box (GL window coordinates) on
  std::array<int, 4> scissor_box{0, 0, 0, 0};
  float ortho_width = 0, ortho_height = 0;       // projection: 0..width x 0..height, y down
  bool operator==(const gl_draw_state&) const = default;
};

enum class gl_shape : uint8_t { clear, points, lines, quads, polygon };

// How a textured operation samples: its own texture; an atlas page as its own texture would
// (level 0); or the page's premultiplied reduced levels, when drawn smaller.
enum class gl_sampling : uint8_t { own, exact, reduced };

// The blend mode of reduced atlas drawing: premultiplied source over the picture.
constexpr int kPremultipliedBlend = -1;

struct gl_vertex {
  float x = 0, y = 0, u = 0, v = 0;  // picture position, texture coordinates
  bool operator==(const gl_vertex&) const = default;
};

// One drawing operation as recorded: its shape, vertices, texture and state.
struct gl_command {
  gl_shape shape = gl_shape::clear;
  gl_draw_state state;
  uint64_t texture = 0;  // serial of the image frame, 0 untextured
  unsigned texture_name = 0;
  gl_sampling sampling = gl_sampling::own;
  uint32_t first = 0, count = 0;  // range of the frame's vertices
  bool operator==(const gl_command&) const = default;
};

// The drawing of one frame, recorded between two Flips. Textures of operations that have not
// run yet are kept alive here.
struct gl_frame {
  std::vector<gl_command> commands;
  std::vector<gl_vertex> vertices;
  std::vector<std::shared_ptr<TGLImageFrame>> textures;
  size_t run = 0;       // commands already run (a read or a pixmap drawn directly forced them)
  bool forced = false;  // the picture was read or written outside the record: present it
  void Clear();
};

// A copy of the picture after the first `commands` operations of an earlier frame, drawn back
// in one quad when a frame starts with the same operations (the table beneath a carried group).
struct gl_reuse_state {
  unsigned texture = 0;
  unsigned framebuffer = 0;     // on the texture, for copies by blitting; 0 where GL has none
  int seq = 0;                  // GraphicsSeq of the texture; it belongs to that context
  int width = 0, height = 0;    // picture size copied
  int tex_width = 0, tex_height = 0;
  gl_frame prefix;              // the operations it holds (no textures kept)
  size_t last_split = 0;        // where the previous frame first differed from the one before
  int reused = 0;               // frames drawn from it
};

// The laid-out picture drawn off screen when the window's pixels do not match its size (full
// screen in the desktop's mode, a resized window), then scaled into the window with black bars.
struct gl_target_state {
  unsigned framebuffer = 0, texture = 0;
  int seq = 0, width = 0, height = 0;
  int filter = 0;  // the texture's scaling filter now
  bool offscreen = false;  // the framebuffer is bound for drawing now
};

// State of the back end, shared by every context (only one is current at a time).
struct gl2d_state_type {
  gl_draw_state wanted;                  // what the setters asked for: the next operation's state
  gl_draw_state applied;                 // what GL holds; meaningless until applied_known
  bool applied_known = false;
  unsigned bound_texture = 0;            // name bound to GL_TEXTURE_2D
  bool texturing = false;                // GL_TEXTURE_2D enabled
  float ix = 0, iy = 0, jx = 0, jy = 0;  // matrix of the last SetTransform
  std::vector<unsigned> dead_textures;   // names waiting for deletion, all of dead_seq
  int dead_seq = 0;                      // GraphicsSeq the dead names belong to
  int blend_changes = 0;                 // times the blend mode asked for changed (repeats skipped)
  int batches = 0;                       // textured runs sent to GL since the start, for tests

  gl_frame frame;       // drawing since the last Flip
  gl_frame shown;       // the last frame presented (no textures kept)
  int shown_seq = 0;    // GraphicsSeq it was presented under; 0 = nothing shown
  bool reuse = true;    // SetFrameReuse
  int presented = 0;    // frames presented since the start
  int partial = 0;      // of them, drawn and presented only where they changed
  // The picture operations draw into still holds the frame on show, so a frame can be drawn
  // only where it differs: the off-screen picture always, the window's back buffer only after
  // presenting it in parts (a swap leaves it undefined).
  bool picture_holds_shown = false;
  std::optional<std::array<int, 4>> clip;  // scissor box forced on every operation, while set
  gl_reuse_state kept;
  gl_target_state target;
  // Atlas pages of the current GraphicsSeq; a page lives while a frame placed on it does.
  std::vector<std::weak_ptr<gl_atlas_page>> atlas;
  int atlas_seq = 0;
};

// Never destroyed: frames released during process exit still queue their names safely.
extern gl2d_state_type& gl2d_state;

// Puts the back end's state back to its start values (the dead list is dropped). For tests.
void ResetGL2D();

class TGLImageFrame : public TImageFrame, public std::enable_shared_from_this<TGLImageFrame> {
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

  // A place on a shared atlas page for a small FilteredImage picture without MipmappedImage
  // (the pieces): drawn 1:1 it samples as its own texture would, so many of them draw in one
  // run, and drawn smaller it samples the page's reduced levels. nullptr when the picture does
  // not suit a page.
  static std::shared_ptr<TGLImageFrame> CreateOnAtlas(const std::shared_ptr<TPixmap>& pixmap, int flags);

  float u0 = 0, v0 = 0;          // the picture's top-left in texture coordinates (0 on its own)
  float u1 = 0, v1 = 0;          // the picture's bottom-right in texture coordinates
  float uscale = 0, vscale = 0;  // 1 / texture size
  unsigned name = 0;
  int seq = 0;          // GraphicsSeq when made
  uint64_t serial = 0;  // never reused: tells recorded frames apart where names repeat
  std::shared_ptr<gl_atlas_page> page;  // the atlas page holding it, or nullptr: its own texture
  int cell = -1;                        // its cell on the page
};

// ---- Atlas pages (gl_atlas.cpp) ----

// A page texture shared by small pictures, each in a cell of its own whose margin repeats the
// picture's edge (so nothing of a neighbour is ever sampled), cells aligned so that the page's
// reduced levels never mix two cells.
struct gl_atlas_cell {
  int x = 0, y = 0, w = 0, h = 0;
  bool used = false;
};
struct gl_atlas_shelf {
  int y = 0, h = 0, next_x = 0;
};
struct gl_atlas_page {
  unsigned name = 0;
  int seq = 0;
  int size = 0;
  int next_y = 0;
  std::vector<gl_atlas_shelf> shelves;
  std::vector<gl_atlas_cell> cells;
  gl_sampling min_filter = gl_sampling::exact;  // the sampling GL's filter and base level are set to
  ~gl_atlas_page();
};
// Sets the page texture bound now to sample as the operation asks (no call when it does).
void SelectSampling(const gl_command& command);
// The next serial for a texture or atlas frame.
uint64_t NextFrameSerial();

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
  // The drawing state follows the current context's new size; the next frame is presented whole.
  void Resized() override;

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
// The picture position of (px, py) under the matrix of the last SetTransform, moved by
// (tx, ty) and offset on both axes, with texture coordinates (u, v).
gl_vertex Transformed(float px, float py, float tx, float ty, float offset, float u = 0, float v = 0);
// The smallest power of two at least n (1 for n <= 1).
int PowerOfTwoAtLeast(int n);
// Queues a texture name of GraphicsSeq seq for deletion (a name of an older context is dropped).
void QueueDeadTexture(unsigned name, int seq);
// Generates a texture name and deletes the names queued under the current GraphicsSeq first.
unsigned GenTexture();
// Switches GL to blend mode `mode` (no cache).
void ApplyBlend(int mode);
// The projection 0..width x 0..height with y downwards.
void SetOrtho(double width, double height);

// ---- The recorded frame (gl_frame.cpp) ----

// Records one operation with the wanted state; vertices are already transformed.
void RecordShape(gl_shape shape, std::initializer_list<gl_vertex> vertices);
void RecordShape(gl_shape shape, const std::vector<gl_vertex>& vertices);
// A textured quad: not recorded at all when it lies wholly outside the picture or the scissor
// box; on an atlas page drawn smaller than 1:1 with MaskBlend or AlphaBlend it samples the
// page's reduced levels and blends its soft edge, premultiplied (MaskBlend then as if alpha).
void RecordTextured(const std::shared_ptr<TGLImageFrame>& frame, const std::array<gl_vertex, 4>& quad,
                    float source_w, float source_h);
// Puts GL into the state, skipping what it holds already.
void ApplyState(const gl_draw_state& state);
// Runs every recorded operation that has not run yet, for a read of the picture or drawing
// outside the record; the frame will be presented.
void RunRecorded();
// Flip: presents the frame unless it starts with a full clear and repeats the frame on show
// (and the window kept its pixels); draws a starting run of operations it shares with recent
// frames from a kept copy of the picture.
void PresentFrame(int sync);

// ---- Drawing and presenting only what changed (gl_damage.cpp) ----

// A rectangle of picture pixels, y down: x0, y0 inside, x1, y1 just outside.
struct gl_rect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Empty() const { return x1 <= x0 || y1 <= y0; }
  bool operator==(const gl_rect&) const = default;
};
// The box of a recorded operation's vertices (it has at least one).
void VertexBounds(const gl_frame& frame, const gl_command& c, float& x0, float& y0, float& x1, float& y1);
// The pixels that operations from..to of the frame may touch, within width x height.
gl_rect Touched(const gl_frame& frame, size_t from, size_t to, int width, int height);
// The rectangles to draw again when a frame follows the one on show with operations from
// `split` on differing: what those operations covered in either frame, as one rectangle where
// the two overlap. False when the changed operations cannot be bounded (a clear, a scissor).
bool ChangedRects(const gl_frame& frame, const gl_frame& shown, size_t split, int width, int height,
                  std::vector<gl_rect>& rects);

// ---- Where the picture is drawn (gl_present.cpp) ----

// Framebuffer objects can be made in the current context.
bool FramebuffersAvailable();
// The framebuffer operations draw into now (0: the window's).
unsigned PictureFramebuffer();
// Binds what operations draw into: the window's back buffer, or the off-screen picture when
// the window's pixels differ from the picture's size. GL viewport set to the picture.
void BindPicture();
// The state DrawPictureTexture draws under, on a projection of width x height: solid, white,
// no scissor, black clear colour.
gl_draw_state PictureCopyState(int width, int height);
// Copies texels 0..u x 0..v of a texture read back from a framebuffer (bottom row first)
// unchanged onto x0, y0 .. x1, y1 of the picture, upright.
void DrawPictureTexture(unsigned texture, float x0, float y0, float x1, float y1, float u, float v);
// Scales the off-screen picture into the window with black bars (nothing when drawing went
// straight to the window), then swaps.
void ShowPicture(int sync);
// Forgets every GL object of the back end's own (after a context change or a reset).
void ForgetPictureObjects();
