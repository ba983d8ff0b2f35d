/* A libjpeg decoder over a pull callback. libjpeg reports errors by calling error_exit, which
   must not return: it longjmps to the setjmp of the shim function that made the call, so
   only C frames are skipped. Depends on libjpeg. */
#include "files/jpeg_shim.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>

#include <jerror.h>
#include <jpeglib.h>

enum { kChunk = 4096, kMaxScans = 1000 };

struct tk_jpeg {
  struct jpeg_decompress_struct cinfo; /* first, so that a cinfo pointer is a tk_jpeg pointer */
  struct jpeg_error_mgr error;
  struct jpeg_source_mgr source;
  struct jpeg_progress_mgr progress;
  jmp_buf jump;
  void* user;
  tk_jpeg_pull pull;
  int created;
  int started; /* some data has arrived */
  JOCTET buffer[kChunk];
};

static void ErrorExit(j_common_ptr cinfo) { longjmp(((struct tk_jpeg*)cinfo)->jump, 1); }

static void OutputMessage(j_common_ptr cinfo) { (void)cinfo; }

static void InitSource(j_decompress_ptr cinfo) { (void)cinfo; }

static void TermSource(j_decompress_ptr cinfo) { (void)cinfo; }

static boolean FillInputBuffer(j_decompress_ptr cinfo) {
  struct tk_jpeg* jpeg = (struct tk_jpeg*)cinfo;
  size_t n = jpeg->pull(jpeg->user, jpeg->buffer, kChunk);
  if (n == 0) {
    if (!jpeg->started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    /* Truncated data: warn and end the image so that what arrived still decodes. */
    WARNMS(cinfo, JWRN_JPEG_EOF);
    jpeg->buffer[0] = (JOCTET)0xFF;
    jpeg->buffer[1] = (JOCTET)JPEG_EOI;
    n = 2;
  }
  jpeg->started = 1;
  jpeg->source.next_input_byte = jpeg->buffer;
  jpeg->source.bytes_in_buffer = n;
  return TRUE;
}

static void SkipInputData(j_decompress_ptr cinfo, long count) {
  struct jpeg_source_mgr* source = cinfo->src;
  if (count <= 0) return;
  while ((size_t)count > source->bytes_in_buffer) {
    count -= (long)source->bytes_in_buffer;
    FillInputBuffer(cinfo);
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= (size_t)count;
}

enum { kMaxWorkingMemory = 64 * 1024 * 1024 };

/* A damaged progressive file can hold endless scans; each costs a pass over the image. */
static void Progress(j_common_ptr cinfo) {
  if (((j_decompress_ptr)cinfo)->input_scan_number > kMaxScans) ERREXIT(cinfo, JERR_BAD_SCAN_SCRIPT);
}

/* jpeg_create_decompress can fail (out of memory), so it runs under its own setjmp. */
static int Create(struct tk_jpeg* jpeg) {
  if (setjmp(jpeg->jump)) return 0;
  jpeg_create_decompress(&jpeg->cinfo);
  jpeg->created = 1;
  /* A progressive file keeps (cleared) coefficients for its whole picture; a few bytes can
     declare 8192 x 8192. Beyond this bound libjpeg would need a backing store, which it does not
     have, so such a file fails instead of taking hundreds of megabytes. */
  jpeg->cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
  return 1;
}

struct tk_jpeg* tk_jpeg_open(void* user, tk_jpeg_pull pull) {
  struct tk_jpeg* jpeg = (struct tk_jpeg*)calloc(1, sizeof(struct tk_jpeg));
  if (!jpeg) return NULL;
  jpeg->user = user;
  jpeg->pull = pull;
  jpeg->cinfo.err = jpeg_std_error(&jpeg->error);
  jpeg->error.error_exit = ErrorExit;
  jpeg->error.output_message = OutputMessage;
  if (!Create(jpeg)) {
    tk_jpeg_close(jpeg);
    return NULL;
  }
  jpeg->source.init_source = InitSource;
  jpeg->source.fill_input_buffer = FillInputBuffer;
  jpeg->source.skip_input_data = SkipInputData;
  jpeg->source.resync_to_restart = jpeg_resync_to_restart;
  jpeg->source.term_source = TermSource;
  jpeg->cinfo.src = &jpeg->source;
  jpeg->progress.progress_monitor = Progress;
  jpeg->cinfo.progress = &jpeg->progress;
  return jpeg;
}

int tk_jpeg_read_header(struct tk_jpeg* jpeg, unsigned* width, unsigned* height, int* components) {
  if (setjmp(jpeg->jump)) return 0;
  jpeg_read_header(&jpeg->cinfo, TRUE);
  jpeg_calc_output_dimensions(&jpeg->cinfo);
  *width = jpeg->cinfo.output_width;
  *height = jpeg->cinfo.output_height;
  *components = jpeg->cinfo.output_components;
  return 1;
}

int tk_jpeg_read_pixels(struct tk_jpeg* jpeg, unsigned char* pixels, size_t stride) {
  if (setjmp(jpeg->jump)) return 0;
  jpeg_start_decompress(&jpeg->cinfo);
  while (jpeg->cinfo.output_scanline < jpeg->cinfo.output_height) {
    JSAMPROW row = pixels + (size_t)jpeg->cinfo.output_scanline * stride;
    jpeg_read_scanlines(&jpeg->cinfo, &row, 1);
  }
  jpeg_finish_decompress(&jpeg->cinfo);
  return 1;
}

void tk_jpeg_close(struct tk_jpeg* jpeg) {
  if (!jpeg) return;
  if (jpeg->created) jpeg_destroy_decompress(&jpeg->cinfo);
  free(jpeg);
}
