/* Private to files/: a libjpeg (interface 62) decoder whose error exits longjmp only within C
   frames. Depends on libjpeg. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Supplies up to length bytes, 0 at the end of the data; must not throw. */
typedef size_t (*tk_jpeg_pull)(void* user, unsigned char* data, size_t length);

struct tk_jpeg;

/* Asked between scanlines and scans; nonzero abandons the decoding as an error. */
typedef int (*tk_jpeg_stop)(void* user);

/* A silent decoder pulling its input in chunks of up to 4096 bytes, whose working memory
   (above all the coefficients a progressive file keeps for its whole picture) stays within
   max_memory bytes. Data that ends before the image does is completed with an end-of-image
   marker. NULL when out of memory. */
struct tk_jpeg* tk_jpeg_open(void* user, tk_jpeg_pull pull, long max_memory);
/* Decoding is abandoned as soon as stop(user) returns nonzero. */
void tk_jpeg_set_stop(struct tk_jpeg* jpeg, tk_jpeg_stop stop, void* user);
/* Reads a complete header, keeping the APP1 (Exif) segments; gives the output size and
   component count (1 grey, 3 RGB, 4 CMYK, or another count the caller may refuse). 1 on
   success, 0 on a decoding error. */
int tk_jpeg_read_header(struct tk_jpeg* jpeg, unsigned* width, unsigned* height, int* components);
/* Asks for the picture at 1/denom of its size (denom 1, 2, 4 or 8, through libjpeg's scaled
   inverse DCT) and gives the output size that results. */
void tk_jpeg_scale(struct tk_jpeg* jpeg, unsigned denom, unsigned* width, unsigned* height);
/* The TIFF data of the first Exif APP1 segment (after "Exif\0\0"), or NULL; valid until
   tk_jpeg_close. */
const unsigned char* tk_jpeg_exif(struct tk_jpeg* jpeg, size_t* length);
/* 1 when 4-component output holds inverted CMYK (written by Adobe software), 0 when plain. */
int tk_jpeg_inverted_cmyk(struct tk_jpeg* jpeg);
/* 1 when the data ended before the image did (the rest was decoded as if blank). */
int tk_jpeg_truncated(struct tk_jpeg* jpeg);
/* 1 when the last failure was a want of working memory beyond max_memory. */
int tk_jpeg_out_of_memory(struct tk_jpeg* jpeg);
/* Decodes every scanline into pixels, rows stride bytes apart, and finishes. 1 on success,
   0 on a decoding error. */
int tk_jpeg_read_pixels(struct tk_jpeg* jpeg, unsigned char* pixels, size_t stride);
/* Releases everything; NULL is accepted. */
void tk_jpeg_close(struct tk_jpeg* jpeg);

#ifdef __cplusplus
}
#endif
