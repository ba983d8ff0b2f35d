// The parts of the asset generator, each writing one group of files below the runtime folder.
// Depends on canvas.h. Every writer throws TRuntimeException when a file cannot be written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/jigsaw/jigsaw.h"

// The fonts the pictures are lettered in; loaded from the runtime folder's fonts/.
struct asset_fonts {
  text_face large;  // Tahoma 22, as the game's banners
  text_face small;  // Tahoma 14, as the game's notices
  std::string tahoma_path;  // for other sizes (the title lettering)
};

// ---- Widgets shared by the pictures -------------------------------------------------------------

struct button_style {
  colour top, bottom;  // face gradient
  colour border, text;
};
extern const button_style yes_style, no_style, blue_style, grey_style;

// The page look of every dialog: a dark blue gradient with a light inner border, square corners
// (the pictures are drawn unmasked, so rounded corners would show as black).
colour PageColour();
void Panel(canvas& target, float x, float y, float w, float h);
// A bevelled button filling the rectangle (whole pixels), its label centred.
void Button(canvas& target, float x, float y, float w, float h, float radius,
            const button_style& style, text_face& face, const std::string& label);

// ---- Procedural texture -------------------------------------------------------------------------

// Smooth value noise in 0..1 with features about one unit apart.
float Noise(float x, float y, uint32_t seed);
// Sum of octaves of Noise, in 0..1.
float Fractal(float x, float y, int octaves, uint32_t seed);

// ---- Scenery shared by the library's pictures ----------------------------------------------------

// Fills everything below a fractal ridge (base_y plus up to amplitude of noise at the given
// horizontal scale) with a gradient from top (at the ridge) to bottom (at the picture's foot).
void Hills(canvas& target, float base_y, float amplitude, float scale, uint32_t seed, colour top,
           colour bottom);
// A sky: a gradient from top (at the picture's top) to bottom (at the horizon) with clouds.
void Sky(canvas& target, float horizon, colour top, colour bottom, float cover, uint32_t seed);
// Soft clouds over the rows above horizon: white where fractal noise passes the threshold.
void Clouds(canvas& target, float horizon, float cover, uint32_t seed);
// A broad-leaved tree with its trunk foot at (x, y), about height tall.
void Tree(canvas& target, float x, float y, float height, colour leaves, seeded_random& random);
// A pine tree with its foot at (x, y).
void Pine(canvas& target, float x, float y, float height, colour needles);
// Mirrors the rows above `horizon` into the rows below it, darkened and rippled (water).
void Reflect(canvas& target, int horizon, colour water, float ripple, uint32_t seed);
// Darker and lighter specks over the whole picture, so that even plain areas have detail.
void Grain(canvas& target, float strength, uint32_t seed);

// ---- The library's pictures, each painted at the given size -------------------------------------

canvas PaintTitle(int w, int h, asset_fonts& fonts);
canvas PaintMeadow(int w, int h);
canvas PaintHarbour(int w, int h);
canvas PaintBalloons(int w, int h);
canvas PaintAutumn(int w, int h);
canvas PaintMountains(int w, int h);
canvas PaintTulips(int w, int h);
canvas PaintQuilt(int w, int h);
canvas PaintMosaic(int w, int h);
canvas PaintMandala(int w, int h);
canvas PaintReef(int w, int h);
canvas PaintCity(int w, int h);
canvas PaintFruit(int w, int h);
canvas PaintMixer(int w, int h);

// ---- Files --------------------------------------------------------------------------------------

// The bytes as a whole file.
void SaveBytes(const std::vector<uint8_t>& bytes, const std::string& path);
// Writes an RGB pixmap as a 24-bit BMP: 54-byte header, rows bottom-up padded to 4 bytes.
void SaveBMP(const std::shared_ptr<TPixmap>& pixmap, const std::string& path);
// SavePNGPixmap at level 9 (assets are written once and loaded often).
void SavePNG(const std::shared_ptr<TPixmap>& pixmap, const std::string& path);

// images/: pointer, probe, swatch, the confirmation pictures, box view, arrows, cross.
void WriteScreenPictures(const std::string& images, asset_fonts& fonts);
// images/prefer.png and the four yes/no buttons.
void WritePreferencePictures(const std::string& images, asset_fonts& fonts);
// images/help0.png .. help4.png.
void WriteHelpPages(const std::string& images, asset_fonts& fonts);
// images/flash/1/1.png .. 7.png.
void WriteFlashFrames(const std::string& images);

// sounds/click.wav and sounds/magic.wav (16-bit mono PCM).
void WriteSoundEffects(const std::string& sounds);
// sounds/music.ogg (Ogg Vorbis).
void WriteMusic(const std::string& sounds);
// Mono 16-bit samples as a WAV file.
void SaveWAV(const std::vector<int16_t>& samples, int rate, const std::string& path);

// The desktop icon as hicolor/<n>x<n>/apps/tesselka.png below icons, in the theme's sizes.
void WriteIcons(const std::string& icons);

// jigsaws/: the procedural pictures cut into the built-in library.
void WriteLibrary(const std::string& jigsaws, asset_fonts& fonts);
