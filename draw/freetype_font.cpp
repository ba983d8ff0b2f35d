// TrueType fonts rasterised by FreeType 2 into PF_A8 glyph pixmaps, and their loader.
// Depends on draw/freetype_font.h, draw/state.h (the shared library), files/files.h, FreeType.
#include "draw/freetype_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

#include "draw/state.h"
#include "files/files.h"

namespace {

// The one FreeType library of the run, or nullptr when FreeType cannot start.
std::shared_ptr<FT_LibraryRec_> FreeTypeLibrary() {
  auto& library = draw_state.fonts.freetype;
  if (!library) {
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0) return nullptr;
    library.reset(raw, [](FT_Library lib) { FT_Done_FreeType(lib); });
  }
  return library;
}

bool IsStreamAddress(const std::string& source) {
  return source.find("::", 1) != std::string::npos;
}

std::vector<unsigned char> ReadWholeStream(const std::string& source) {
  std::vector<unsigned char> bytes;
  const auto stream = ReadFile(source);
  if (!stream) return bytes;
  unsigned char chunk[16384];
  for (;;) {
    const int64_t got = stream->Read(chunk, sizeof chunk);
    if (got <= 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  CloseStream(stream);
  return bytes;
}

// Coverage of a one-bit bitmap row, most significant bit first.
void ExpandMonoRow(const unsigned char* bits, unsigned char* out, int width) {
  for (int x = 0; x < width; ++x) out[x] = (bits[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
}

}  // namespace

FreeTypeFaceHandle::FreeTypeFaceHandle(std::shared_ptr<FT_LibraryRec_> library, FT_FaceRec_* face)
    : library_(std::move(library)), face_(face) {}

FreeTypeFaceHandle::~FreeTypeFaceHandle() {
  if (face_) FT_Done_Face(face_);
}

FreeTypeFaceHandle::FreeTypeFaceHandle(FreeTypeFaceHandle&& other) noexcept
    : library_(std::move(other.library_)), face_(other.face_) {
  other.face_ = nullptr;
}

void TFreeTypeGlyph::GetRect(int& x, int& y, int& w, int& h) {
  x = _x;
  y = _y;
  w = _w;
  h = _h;
}

TFreeTypeFont::TFreeTypeFont(FreeTypeFaceHandle face, std::vector<unsigned char> buffer)
    : _buf(std::move(buffer)), _ft_face(std::move(face)) {}

int TFreeTypeFont::CharToGlyph(int code_point) {
  if (code_point < 0) return -1;
  const FT_UInt index = FT_Get_Char_Index(_ft_face.get(), static_cast<FT_ULong>(code_point));
  const int n = static_cast<int>(index) - 1;
  return n < CountGlyphs() ? n : -1;
}

std::shared_ptr<TGlyph> TFreeTypeFont::LoadGlyph(int index) {
  auto& cached = _glyphs.at(static_cast<size_t>(index));
  if (cached) return cached;
  // Stored before rasterising, so that a glyph that fails is not tried again.
  cached = std::make_shared<TFreeTypeGlyph>();
  TFreeTypeGlyph& glyph = *cached;
  FT_Face face = _ft_face.get();
  if (FT_Load_Glyph(face, static_cast<FT_UInt>(index + 1), FT_LOAD_RENDER) != 0) return cached;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph._x = slot->bitmap_left;
  glyph._y = _ascend - slot->bitmap_top;
  glyph._w = static_cast<int>(bitmap.width);
  glyph._h = static_cast<int>(bitmap.rows);
  glyph._advance = static_cast<float>(slot->advance.x >> 6);
  if (bitmap.width == 0 || bitmap.rows == 0) return cached;

  const bool grey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
  if (!grey && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
    // A colour or LCD bitmap: keep the metrics, draw nothing.
    glyph._w = glyph._h = 0;
    return cached;
  }
  auto picture = TPixmap::Create(glyph._w, glyph._h, PF_A8, 4);
  for (int row = 0; row < glyph._h; ++row) {
    const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    unsigned char* dst = picture->PixelPtr(0, row);
    if (grey) {
      std::memcpy(dst, src, static_cast<size_t>(glyph._w));
    } else {
      ExpandMonoRow(src, dst, glyph._w);
    }
  }
  if (_style & SmoothFont) {
    // One transparent pixel around the glyph, so filtering fades its edges out.
    glyph._x -= 1;
    glyph._y -= 1;
    glyph._w += 2;
    glyph._h += 2;
    auto padded = TPixmap::Create(glyph._w, glyph._h, PF_A8, 4);
    padded->ClearPixels(0);
    padded->Paste(picture, 1, 1);
    picture = std::move(padded);
  }
  glyph._pixmap = std::move(picture);
  return cached;
}

namespace {

// A file cut short or damaged can still open as a face whose glyphs then fail or come out
// empty, so every text would draw blank: each visible ASCII character the face maps must render
// with some ink, and a face with a Unicode map must map at least one.
bool RendersText(FT_Face face) {
  bool mapped = false;
  for (FT_ULong c = 0x21; c < 0x7F; ++c) {
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0) continue;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0) return false;
    if (face->glyph->bitmap.width == 0 || face->glyph->bitmap.rows == 0) return false;
    mapped = true;
  }
  return mapped || !face->charmap || face->charmap->encoding != FT_ENCODING_UNICODE;
}

// Sets the pixel size, stepping down until the face accepts one, and fills the font's metrics.
// None when the face cannot render text.
std::shared_ptr<TFreeTypeFont> FontFromFace(FreeTypeFaceHandle face,
                                            std::vector<unsigned char> buffer, int size,
                                            int style) {
  FT_Face raw = face.get();
  while (size > 0 && FT_Set_Pixel_Sizes(raw, 0, static_cast<FT_UInt>(size)) != 0) --size;
  if (size <= 0 || !RendersText(raw)) return nullptr;
  // The vector's heap block does not move with it, so the face keeps reading valid memory.
  auto font = std::make_shared<TFreeTypeFont>(std::move(face), std::move(buffer));
  const FT_Size_Metrics& metrics = raw->size->metrics;
  font->_style = style;
  font->_height = static_cast<int>(metrics.height >> 6);
  font->_ascend = static_cast<int>(metrics.ascender >> 6);
  font->_descend = static_cast<int>(metrics.descender >> 6);
  font->_glyphs.resize(static_cast<size_t>(raw->num_glyphs > 0 ? raw->num_glyphs : 0));
  return font;
}

}  // namespace

std::shared_ptr<TFreeTypeFont> TFreeTypeFont::LoadFromMemory(std::vector<unsigned char> bytes,
                                                             int size, int style) {
  auto library = FreeTypeLibrary();
  if (!library || bytes.empty()) return nullptr;
  FT_Face raw = nullptr;
  if (FT_New_Memory_Face(library.get(), bytes.data(), static_cast<FT_Long>(bytes.size()), 0,
                         &raw) != 0) {
    return nullptr;
  }
  return FontFromFace(FreeTypeFaceHandle(std::move(library), raw), std::move(bytes), size, style);
}

std::shared_ptr<TFreeTypeFont> TFreeTypeFont::Load(const std::string& source, int size,
                                                   int style) {
  if (IsStreamAddress(source)) return LoadFromMemory(ReadWholeStream(source), size, style);
  auto library = FreeTypeLibrary();
  // FreeType opens the path itself: a named pipe there would block it.
  if (!library || FileType(source) != FILETYPE_FILE) return nullptr;
  FT_Face raw = nullptr;
  if (FT_New_Face(library.get(), source.c_str(), 0, &raw) != 0) return nullptr;
  return FontFromFace(FreeTypeFaceHandle(std::move(library), raw), {}, size, style);
}

std::shared_ptr<TFont> TFreeTypeFontLoader::LoadFont(const std::string& source, int size,
                                                     int style) {
  if (source.empty()) return nullptr;
  return TFreeTypeFont::Load(source, size, style);
}
