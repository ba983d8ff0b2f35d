/* The libpng calls that can fail, each guarded by its own setjmp. Only C frames lie between a
   setjmp here and libpng's longjmp. Depends on libpng. */
#include "files/png_shim.h"

#include <stdlib.h>

static void Fail(png_structp png, png_const_charp message) {
  (void)message; /* failures are results, never printed */
  png_longjmp(png, 1);
}

static void Warn(png_structp png, png_const_charp message) {
  (void)png;
  (void)message;
}

/* The most libpng itself may take at once. Its largest need, a row of 16384 16-bit RGBA pixels,
   is 128 KiB; the decoded pixels are allocated by the caller, outside this bound. */
#define TK_PNG_MAX_ALLOC (4u * 1024u * 1024u)

static png_voidp BoundedMalloc(png_structp png, png_alloc_size_t size) {
  (void)png;
  return size <= TK_PNG_MAX_ALLOC ? malloc(size) : NULL;
}

static void FreeBlock(png_structp png, png_voidp block) {
  (void)png;
  free(block);
}

static void Pull(png_structp png, png_bytep data, size_t length) {
  struct tk_png_io* io = (struct tk_png_io*)png_get_io_ptr(png);
  if (io->pull(io->user, data, length) != length) png_error(png, "short read");
}

static void Push(png_structp png, png_bytep data, size_t length) {
  struct tk_png_io* io = (struct tk_png_io*)png_get_io_ptr(png);
  if (io->push(io->user, data, length) != length) png_error(png, "short write");
}

static void FlushIo(png_structp png) {
  struct tk_png_io* io = (struct tk_png_io*)png_get_io_ptr(png);
  io->flush(io->user);
}

png_structp tk_png_create_read(struct tk_png_io* io, png_uint_32 max_side) {
  png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, NULL, Fail, Warn, NULL,
                                             BoundedMalloc, FreeBlock);
  if (!png) return NULL;
  png_set_read_fn(png, io, Pull);
  png_set_sig_bytes(png, 8);
  png_set_user_limits(png, max_side, max_side);
  /* Every chunk but IHDR, PLTE, tRNS, IDAT and IEND is skipped unread: libpng would otherwise
     allocate (and clear) the length that a text, calibration or palette chunk declares, and
     treats its own chunk limit as a mere warning. */
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, NULL, -1);
  png_set_chunk_cache_max(png, 1000);
  png_set_chunk_malloc_max(png, TK_PNG_MAX_ALLOC);
  /* The CRC-32 of every IDAT chunk already guards the compressed pixels; zlib's Adler-32 over
     the inflated bytes would check them a second time at nearly a tenth of the decoding cost. */
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  return png;
}

png_structp tk_png_create_write(struct tk_png_io* io) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, Fail, Warn);
  if (!png) return NULL;
  png_set_write_fn(png, io, Push, FlushIo);
  return png;
}

int tk_png_read_header(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return 0;
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_expand(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return 1;
}

int tk_png_read_rows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return 0;
  png_read_image(png, rows);
  return 1;
}

int tk_png_write(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                 int colour_type, int bgr, int level, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return 0;
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, width, height, 8, colour_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  if (bgr) png_set_bgr(png);
  png_write_image(png, rows);
  png_write_end(png, info);
  return 1;
}
