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

/* A silent decoder pulling its input in chunks of up to 4096 bytes. Data that ends before the
   image does is completed with an end-of-image marker. NULL when out of memory. */
struct tk_jpeg* tk_jpeg_open(void* user, tk_jpeg_pull pull);
/* Reads a complete header; gives the output size and component count (1 grey, 3 RGB, or
   another count the caller may refuse). 1 on success, 0 on a decoding error. */
int tk_jpeg_read_header(struct tk_jpeg* jpeg, unsigned* width, unsigned* height, int* components);
/* Decodes every scanline into pixels, rows stride bytes apart, and finishes. 1 on success,
   0 on a decoding error. */
int tk_jpeg_read_pixels(struct tk_jpeg* jpeg, unsigned char* pixels, size_t stride);
/* Releases everything; NULL is accepted. */
void tk_jpeg_close(struct tk_jpeg* jpeg);

#ifdef __cplusplus
}
#endif
