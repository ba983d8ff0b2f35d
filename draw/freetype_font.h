// TrueType fonts rasterised by FreeType 2 into PF_A8 glyph pixmaps, and their loader.
// Needs no window or GL context. Depends on draw/draw.h and FreeType.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "draw/draw.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;

// Owns one FreeType face; frees it (and keeps the library alive until then).
class FreeTypeFaceHandle {
 public:
  FreeTypeFaceHandle(std::shared_ptr<FT_LibraryRec_> library, FT_FaceRec_* face);
  ~FreeTypeFaceHandle();
  FreeTypeFaceHandle(FreeTypeFaceHandle&& other) noexcept;
  FreeTypeFaceHandle& operator=(FreeTypeFaceHandle&&) = delete;
  FreeTypeFaceHandle(const FreeTypeFaceHandle&) = delete;
  FreeTypeFaceHandle& operator=(const FreeTypeFaceHandle&) = delete;
  FT_FaceRec_* get() const { return face_; }

 private:
  std::shared_ptr<FT_LibraryRec_> library_;
  FT_FaceRec_* face_;
};

class TFreeTypeGlyph : public TGlyph {
 public:
  std::shared_ptr<TPixmap> Pixels() override { return _pixmap; }
  float Advance() override { return _advance; }
  void GetRect(int& x, int& y, int& w, int& h) override;

  std::shared_ptr<TPixmap> _pixmap;  // PF_A8, nullptr for glyphs without pixels
  float _advance = 0;
  int _x = 0, _y = 0, _w = 0, _h = 0;
};

class TFreeTypeFont : public TFont {
 public:
  TFreeTypeFont(FreeTypeFaceHandle face, std::vector<unsigned char> buffer);

  int Style() override { return _style; }
  int Height() override { return _height; }
  int CountGlyphs() override { return static_cast<int>(_glyphs.size()); }
  // FreeType's glyph index minus 1, so -1 for a character the face lacks.
  int CharToGlyph(int code_point) override;
  std::shared_ptr<TGlyph> LoadGlyph(int index) override;

  // A font at the pixel size, stepped down until the face accepts one; nullptr when the
  // source cannot be opened as a face or no size down to 1 is accepted. A source holding
  // "::" after its first character is read as a stream into memory.
  static std::shared_ptr<TFreeTypeFont> Load(const std::string& source, int size, int style);
  // The same from the bytes of a font file, which the font keeps; nullptr for no bytes.
  static std::shared_ptr<TFreeTypeFont> LoadFromMemory(std::vector<unsigned char> bytes, int size,
                                                       int style);

  // Declared before the face: the face reads the buffer and must be freed first.
  std::vector<unsigned char> _buf;  // the font file when the face was opened from memory
  FreeTypeFaceHandle _ft_face;
  int _style = 0;
  int _height = 0;   // pixels
  int _ascend = 0;   // pixels
  int _descend = 0;  // pixels, negative below the baseline
  std::vector<std::shared_ptr<TFreeTypeGlyph>> _glyphs;
};

class TFreeTypeFontLoader : public TFontLoader {
 public:
  // Only a non-empty text is a source this loader reads.
  std::shared_ptr<TFont> LoadFont(const std::string& source, int size, int style) override;
};
