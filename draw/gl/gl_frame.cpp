// The recorded frame: drawing operations kept with their state until Flip, which presents
// only a frame that differs from the one on screen and draws a starting run of operations
// shared with recent frames from a kept copy of the picture. Depends on draw/gl/gl2d.h.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "draw/gl/gl2d.h"

namespace {

// Only clear colour and scissor act on a clear; only the rest on a shape. Equal operations
// then compare equal whatever the unused part of the state held.
gl_draw_state RelevantState(gl_shape shape) {
  gl_draw_state state = gl2d_state.wanted;
  if (shape == gl_shape::clear) {
    gl_draw_state clear;
    clear.clear = state.clear;
    clear.scissor = state.scissor;
    clear.scissor_box = state.scissor_box;
    return clear;
  }
  state.clear = {};
  return state;
}

gl_command& Record(gl_shape shape, uint64_t serial, unsigned name, const gl_vertex* vertices, size_t count) {
  auto& frame = gl2d_state.frame;
  gl_command command;
  command.shape = shape;
  command.state = RelevantState(shape);
  command.texture = serial;
  command.texture_name = name;
  command.first = static_cast<uint32_t>(frame.vertices.size());
  command.count = static_cast<uint32_t>(count);
  frame.vertices.insert(frame.vertices.end(), vertices, vertices + count);
  frame.commands.push_back(command);
  return frame.commands.back();
}

// The quad lies wholly outside the picture or the scissor box (with a pixel to spare).
bool OutsidePicture(const std::array<gl_vertex, 4>& quad) {
  const gl_draw_state& state = gl2d_state.wanted;
  const float ow = state.ortho_width, oh = state.ortho_height;
  const auto width = static_cast<float>(GraphicsWidth()), height = static_cast<float>(GraphicsHeight());
  if (ow <= 0 || oh <= 0 || width <= 0 || height <= 0) return false;
  float x0 = 0, y0 = 0, x1 = ow, y1 = oh;
  if (state.scissor) {  // GL window pixels, y up
    const auto& box = state.scissor_box;
    x0 = std::max(x0, static_cast<float>(box[0]) * ow / width);
    x1 = std::min(x1, static_cast<float>(box[0] + box[2]) * ow / width);
    y0 = std::max(y0, (height - static_cast<float>(box[1] + box[3])) * oh / height);
    y1 = std::min(y1, (height - static_cast<float>(box[1])) * oh / height);
  }
  const float spare_x = ow / width, spare_y = oh / height;
  const auto [left, right] = std::minmax({quad[0].x, quad[1].x, quad[2].x, quad[3].x});
  const auto [top, bottom] = std::minmax({quad[0].y, quad[1].y, quad[2].y, quad[3].y});
  return right < x0 - spare_x || left > x1 + spare_x || bottom < y0 - spare_y || top > y1 + spare_y;
}

// The quad covers fewer picture pixels than its source rectangle has texels along an edge.
bool DrawnSmaller(const std::array<gl_vertex, 4>& quad, float source_w, float source_h) {
  const gl_draw_state& state = gl2d_state.wanted;
  if (state.ortho_width <= 0 || state.ortho_height <= 0) return false;
  const float px = static_cast<float>(GraphicsWidth()) / state.ortho_width;
  const float py = static_cast<float>(GraphicsHeight()) / state.ortho_height;
  const auto length = [px, py](const gl_vertex& a, const gl_vertex& b) {
    return std::hypot((b.x - a.x) * px, (b.y - a.y) * py);
  };
  constexpr float kOneToOne = 0.999f;
  return length(quad[0], quad[1]) < source_w * kOneToOne || length(quad[0], quad[3]) < source_h * kOneToOne;
}

GLenum Mode(gl_shape shape) {
  switch (shape) {
    case gl_shape::points: return GL_POINTS;
    case gl_shape::lines: return GL_LINES;
    case gl_shape::quads: return GL_QUADS;
    default: return GL_POLYGON;
  }
}

void RunCommand(const gl_frame& frame, const gl_command& command) {
  ApplyState(command.state);
  if (command.shape == gl_shape::clear) {
    glClear(GL_COLOR_BUFFER_BIT);
    return;
  }
  DisableTexturing();
  glBegin(Mode(command.shape));
  for (uint32_t i = command.first; i < command.first + command.count; ++i) glVertex2f(frame.vertices[i].x, frame.vertices[i].y);
  glEnd();
}

// b continues a's run of textured quads: same texture, sampling and state, vertices following.
bool Continues(const gl_command& a, const gl_command& b) {
  return b.shape == gl_shape::quads && b.texture != 0 && b.texture_name == a.texture_name &&
         b.sampling == a.sampling && b.first == a.first + a.count && b.state == a.state;
}

// Textured quads run from one vertex array: a run of them on one atlas page is one draw call.
void RunTexturedQuads(const gl_frame& frame, const gl_command& first, uint32_t count) {
  ApplyState(first.state);
  BindTexture(first.texture_name);
  SelectSampling(first);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(gl_vertex), &frame.vertices[0].x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(gl_vertex), &frame.vertices[0].u);
  glDrawArrays(GL_QUADS, static_cast<GLint>(first.first), static_cast<GLsizei>(count));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  ++gl2d_state.batches;
}

void Run(const gl_frame& frame, size_t from, size_t to) {
  for (size_t i = from; i < to;) {
    const gl_command& command = frame.commands[i];
    if (command.shape != gl_shape::quads || command.texture == 0) {
      RunCommand(frame, command);
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < to && Continues(frame.commands[end - 1], frame.commands[end])) ++end;
    const gl_command& last = frame.commands[end - 1];
    RunTexturedQuads(frame, command, last.first + last.count - command.first);
    i = end;
  }
}

// How many operations a and b share from their start, vertices included.
size_t SharedStart(const gl_frame& a, const gl_frame& b) {
  const size_t n = std::min(a.commands.size(), b.commands.size());
  for (size_t i = 0; i < n; ++i) {
    const gl_command& c = a.commands[i];
    if (!(c == b.commands[i])) return i;
    if (!std::equal(a.vertices.begin() + c.first, a.vertices.begin() + c.first + c.count,
                    b.vertices.begin() + c.first)) {
      return i;
    }
  }
  return n;
}

// A frame that starts by clearing the whole picture does not depend on what the buffer held.
bool StartsWithFullClear(const gl_frame& frame) {
  return !frame.commands.empty() && frame.commands[0].shape == gl_shape::clear &&
         !frame.commands[0].state.scissor;
}

// The copy pays when the operations it replaces cover at least half the picture again
// beyond the clear (one full-picture quad replaces them).
bool WorthKeeping(const gl_frame& frame, size_t count, int width, int height) {
  double area = 0;
  for (size_t i = 1; i < count; ++i) {
    const gl_command& c = frame.commands[i];
    if (c.shape == gl_shape::clear || c.count == 0) continue;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    VertexBounds(frame, c, x0, y0, x1, y1);
    area += static_cast<double>(x1 - x0) * (y1 - y0);
  }
  return area * 2 >= static_cast<double>(width) * height;
}

// Copies between the picture and the kept copy; blitting (faster) where framebuffers exist.
// Blits obey the scissor box, so it is switched off first.
void BlitKept(bool to_kept) {
  const auto& kept = gl2d_state.kept;
  gl_draw_state whole = gl2d_state.applied;
  whole.scissor = false;
  whole.scissor_box = {};
  ApplyState(whole);
  const unsigned picture = PictureFramebuffer();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, to_kept ? picture : kept.framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to_kept ? kept.framebuffer : picture);
  glBlitFramebuffer(0, 0, kept.width, kept.height, 0, 0, kept.width, kept.height, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, picture);
}

// Copies the picture as drawn by the first `count` operations of the frame.
void Keep(const gl_frame& frame, size_t count, int width, int height) {
  auto& kept = gl2d_state.kept;
  const int seq = GraphicsSeq();
  if (kept.seq != seq) kept.texture = kept.framebuffer = 0;  // the old names died with their context
  if (kept.texture == 0) {
    glGenTextures(1, &kept.texture);
    kept.tex_width = kept.tex_height = 0;
  }
  BindTexture(kept.texture);
  if (kept.tex_width < width || kept.tex_height < height) {
    kept.tex_width = PowerOfTwoAtLeast(width);
    kept.tex_height = PowerOfTwoAtLeast(height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kept.tex_width, kept.tex_height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    if (kept.framebuffer == 0 && FramebuffersAvailable()) glGenFramebuffers(1, &kept.framebuffer);
    if (kept.framebuffer != 0) {
      glBindFramebuffer(GL_FRAMEBUFFER, kept.framebuffer);
      glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, kept.texture, 0);
      if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteFramebuffers(1, &kept.framebuffer);
        kept.framebuffer = 0;
      }
      glBindFramebuffer(GL_FRAMEBUFFER, PictureFramebuffer());
    }
  }
  kept.seq = seq;
  kept.width = width;
  kept.height = height;
  if (kept.framebuffer != 0) {
    BlitKept(true);
  } else {
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
  }
  const gl_command& last = frame.commands[count - 1];
  kept.prefix.commands.assign(frame.commands.begin(), frame.commands.begin() + static_cast<long>(count));
  kept.prefix.vertices.assign(frame.vertices.begin(), frame.vertices.begin() + last.first + last.count);
}

// The kept picture, texel for texel (rows come bottom-up from the framebuffer).
void DrawKept() {
  const auto& kept = gl2d_state.kept;
  if (kept.framebuffer != 0) {
    BlitKept(false);
    return;
  }
  ApplyState(PictureCopyState(kept.width, kept.height));
  const auto w = static_cast<float>(kept.width), h = static_cast<float>(kept.height);
  DrawPictureTexture(kept.texture, 0, 0, w, h, w / static_cast<float>(kept.tex_width),
                     h / static_cast<float>(kept.tex_height));
}

// Runs a whole frame that starts with a full clear, from the kept picture where it still
// holds the frame's start. A new copy is taken where two frames in a row first differed from
// the one before at the same operation: what changes there is likely to change again.
void RunReusing(const gl_frame& frame) {
  auto& kept = gl2d_state.kept;
  const int width = GraphicsWidth(), height = GraphicsHeight();
  const size_t size = frame.commands.size();
  const size_t held = kept.prefix.commands.size();
  if (kept.texture != 0 && kept.seq == GraphicsSeq() && kept.width == width && kept.height == height &&
      held > 0 && held <= size && SharedStart(frame, kept.prefix) == held) {
    DrawKept();
    ++kept.reused;
    Run(frame, held, size);
    return;
  }
  const auto& s = gl2d_state;
  const size_t split = s.shown_seq == GraphicsSeq() ? SharedStart(frame, s.shown) : 0;
  const bool steady = split == kept.last_split;
  kept.last_split = split;
  if (steady && split > 1 && split < size && WorthKeeping(frame, split, width, height)) {
    Run(frame, 0, split);
    Keep(frame, split, width, height);
    Run(frame, split, size);
    return;
  }
  Run(frame, 0, size);
}

// The kept picture's operations start the frame: it can stand for them.
bool KeptStarts(const gl_frame& frame) {
  const auto& kept = gl2d_state.kept;
  const size_t held = kept.prefix.commands.size();
  return kept.texture != 0 && kept.seq == GraphicsSeq() && kept.width == GraphicsWidth() &&
         kept.height == GraphicsHeight() && held > 0 && held <= frame.commands.size() &&
         SharedStart(frame, kept.prefix) == held;
}

// Draws the frame only inside the rectangles, over a picture that holds the frame on show,
// from the kept picture. Each rectangle then holds exactly what drawing the whole frame puts
// there, and outside them both frames are the same. Without a kept picture for its start the
// frame is drawn whole, which keeps one where frames go on sharing it.
void DrawInside(const gl_frame& frame, const std::vector<gl_rect>& rects) {
  auto& s = gl2d_state;
  if (!KeptStarts(frame)) {
    RunReusing(frame);
    return;
  }
  const int height = GraphicsHeight();
  for (const gl_rect& r : rects) {
    s.clip = std::array<int, 4>{r.x0, height - r.y1, r.x1 - r.x0, r.y1 - r.y0};
    DrawKept();
    Run(frame, s.kept.prefix.commands.size(), frame.commands.size());
  }
  s.clip.reset();
}

// Presents a frame that follows the one on show with changes a few rectangles hold: drawn
// only there when the picture still holds the frame on show, and presented only there where
// the platform can. False (nothing done) when that is not possible or not worth it.
bool PresentChanged(gl_frame& frame, int sync) {
  auto& s = gl2d_state;
  if (!s.reuse || frame.run != 0 || frame.forced || s.shown_seq != GraphicsSeq() || !StartsWithFullClear(frame))
    return false;
  const int width = GraphicsWidth(), height = GraphicsHeight();
  const size_t split = SharedStart(frame, s.shown);
  std::vector<gl_rect> rects;
  if (split == 0 || !ChangedRects(frame, s.shown, split, width, height, rects)) return false;
  double area = 0;
  for (const gl_rect& r : rects) area += static_cast<double>(r.x1 - r.x0) * (r.y1 - r.y0);
  if (area * 2 > static_cast<double>(width) * height) return false;
  const bool in_window = PictureFramebuffer() == 0;
  const bool in_parts = in_window && CanFlipRegions();
  const bool draw_inside = s.picture_holds_shown;
  if (!draw_inside && !in_parts) return false;
  if (draw_inside) {
    DrawInside(frame, rects);
  } else {
    RunReusing(frame);
  }
  if (in_parts) {
    std::vector<std::array<int, 4>> regions;
    for (const gl_rect& r : rects) regions.push_back({r.x0, height - r.y1, r.x1 - r.x0, r.y1 - r.y0});
    if (FlipRegions(regions)) {
      s.picture_holds_shown = true;
    } else {
      ShowPicture(sync);
    }
  } else {
    ShowPicture(sync);
  }
  ++s.partial;
  return true;
}

}  // namespace

void gl_frame::Clear() {
  commands.clear();
  vertices.clear();
  textures.clear();
  run = 0;
  forced = false;
}

void ApplyState(const gl_draw_state& wanted) {
  auto& s = gl2d_state;
  gl_draw_state state = wanted;
  if (s.clip) {
    state.scissor = true;
    state.scissor_box = *s.clip;
  }
  const gl_draw_state& had = s.applied;
  const bool known = s.applied_known;
  if (!known || had.blend != state.blend) ApplyBlend(state.blend);
  if (!known || had.color != state.color) glColor4ubv(state.color.data());
  if (!known || had.clear != state.clear) {
    glClearColor(state.clear[0] / 255.0f, state.clear[1] / 255.0f, state.clear[2] / 255.0f, 1.0f);
  }
  if (!known || had.line_width != state.line_width) glLineWidth(state.line_width);
  if (!known || had.scissor != state.scissor || had.scissor_box != state.scissor_box) {
    if (state.scissor) {
      glEnable(GL_SCISSOR_TEST);
      glScissor(state.scissor_box[0], state.scissor_box[1], state.scissor_box[2], state.scissor_box[3]);
    } else {
      glDisable(GL_SCISSOR_TEST);
    }
  }
  if (!known || had.ortho_width != state.ortho_width || had.ortho_height != state.ortho_height) {
    SetOrtho(state.ortho_width, state.ortho_height);
  }
  s.applied = state;
  s.applied_known = true;
}

void RecordShape(gl_shape shape, std::initializer_list<gl_vertex> vertices) {
  Record(shape, 0, 0, vertices.begin(), vertices.size());
}

void RecordShape(gl_shape shape, const std::vector<gl_vertex>& vertices) {
  Record(shape, 0, 0, vertices.data(), vertices.size());
}

void RecordTextured(const std::shared_ptr<TGLImageFrame>& frame, const std::array<gl_vertex, 4>& quad,
                    float source_w, float source_h) {
  if (OutsidePicture(quad)) return;
  const int blend = gl2d_state.wanted.blend;
  const bool reduced = frame->page && (blend == MaskBlend || blend == AlphaBlend) &&
                       DrawnSmaller(quad, source_w, source_h);
  gl_command& command = Record(gl_shape::quads, frame->serial, frame->name, quad.data(), quad.size());
  if (frame->page) command.sampling = reduced ? gl_sampling::reduced : gl_sampling::exact;
  // Reduced edges are soft: blended rather than cut at one half, and premultiplied, so the
  // colour and alpha acting on the texels are too.
  if (reduced) {
    auto& state = command.state;
    state.blend = kPremultipliedBlend;
    for (int k = 0; k < 3; ++k) state.color[k] = static_cast<uint8_t>((state.color[k] * state.color[3] + 127) / 255);
  }
  gl2d_state.frame.textures.push_back(frame);
}

void RunRecorded() {
  auto& frame = gl2d_state.frame;
  BindPicture();
  if (frame.run == frame.commands.size()) return;  // nothing drawn meanwhile
  Run(frame, frame.run, frame.commands.size());
  frame.run = frame.commands.size();
  frame.textures.clear();
  frame.forced = true;
}

void PresentFrame(int sync) {
  auto& s = gl2d_state;
  auto& frame = s.frame;
  const bool exposed = GraphicsExposed();
  const bool repeat = s.reuse && !frame.forced && !exposed && s.shown_seq == GraphicsSeq() &&
                      StartsWithFullClear(frame) && frame.commands.size() == s.shown.commands.size() &&
                      SharedStart(frame, s.shown) == frame.commands.size();
  if (repeat) {
    frame.Clear();
    return;
  }
  BindPicture();
  if (exposed || !PresentChanged(frame, sync)) {
    if (s.reuse && frame.run == 0 && StartsWithFullClear(frame)) {
      RunReusing(frame);
    } else {
      Run(frame, frame.run, frame.commands.size());
    }
    ShowPicture(sync);
  }
  ++s.presented;
  s.shown.commands = std::move(frame.commands);
  s.shown.vertices = std::move(frame.vertices);
  // A frame drawn partly outside its record cannot stand for what is on screen.
  s.shown_seq = frame.forced ? 0 : GraphicsSeq();
  frame.Clear();
}
