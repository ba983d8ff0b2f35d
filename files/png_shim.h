/* Private to files/: the libpng calls that can fail, each behind its own setjmp in C, so that
   libpng's error longjmp never crosses a C++ frame. Depends on libpng. */
#pragma once

#include <png.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Byte movers supplied by the caller. They must not throw; a short count is an error that
   abandons the image. */
struct tk_png_io {
  void* user;
  size_t (*pull)(void* user, unsigned char* data, size_t length);
  size_t (*push)(void* user, const unsigned char* data, size_t length);
  void (*flush)(void* user);
};

/* Silent reader / writer over io, which must outlive it; the reader has already consumed the
   8 signature bytes and refuses images over max_side pixels on a side. NULL when out of memory.
   Free with png_destroy_read_struct / png_destroy_write_struct. */
png_structp tk_png_create_read(struct tk_png_io* io, png_uint_32 max_side);
png_structp tk_png_create_write(struct tk_png_io* io);

/* Reads the header and sets up 16-to-8-bit stripping, expansion to 8-bit grey, RGB or with
   alpha, and interlace handling; 1 on success, 0 on a libpng error. */
int tk_png_read_header(png_structp png, png_infop info);
/* Reads every row into rows; 1 on success, 0 on a libpng error. */
int tk_png_read_rows(png_structp png, png_bytepp rows);
/* Writes a whole 8-bit image from rows (bgr: the rows hold blue-green-red order); 1 on
   success, 0 on a libpng error. */
int tk_png_write(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                 int colour_type, int bgr, int level, png_bytepp rows);

#ifdef __cplusplus
}
#endif
