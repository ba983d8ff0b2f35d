/* A libjpeg decoder over a pull callback. libjpeg reports errors by calling error_exit, which
   must not return: it longjmps to the setjmp of the shim function that made the call, so
   only C frames are skipped. Depends on libjpeg. */
#include "files/jpeg_shim.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
  tk_jpeg_stop stop;
  void* stop_user;
  int created;
  int started; /* some data has arrived */
  int truncated; /* the data ended before the image did */
  int last_error; /* libjpeg's code of the error that ended the last call */
  JOCTET buffer[kChunk];
};

static void ErrorExit(j_common_ptr cinfo) {
  ((struct tk_jpeg*)cinfo)->last_error = cinfo->err->msg_code;
  longjmp(((struct tk_jpeg*)cinfo)->jump, 1);
}

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
    jpeg->truncated = 1;
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

/* A damaged progressive file can hold endless scans; each costs a pass over the image. */
static void Progress(j_common_ptr cinfo) {
  struct tk_jpeg* jpeg = (struct tk_jpeg*)cinfo;
  if (jpeg->cinfo.input_scan_number > kMaxScans) ERREXIT(cinfo, JERR_BAD_SCAN_SCRIPT);
  if (jpeg->stop && jpeg->stop(jpeg->stop_user)) ERREXIT(cinfo, JERR_INPUT_EOF);
}

/* jpeg_create_decompress can fail (out of memory), so it runs under its own setjmp. */
static int Create(struct tk_jpeg* jpeg, long max_memory) {
  if (setjmp(jpeg->jump)) return 0;
  jpeg_create_decompress(&jpeg->cinfo);
  jpeg->created = 1;
  /* A progressive file keeps (cleared) coefficients for its whole picture; a few bytes can
     declare 8192 x 8192. Beyond this bound libjpeg would need a backing store, which it does not
     have, so such a file fails instead of taking more. */
  jpeg->cinfo.mem->max_memory_to_use = max_memory;
  jpeg_save_markers(&jpeg->cinfo, JPEG_APP0 + 1, 0xFFFF);
  return 1;
}

struct tk_jpeg* tk_jpeg_open(void* user, tk_jpeg_pull pull, long max_memory) {
  struct tk_jpeg* jpeg = (struct tk_jpeg*)calloc(1, sizeof(struct tk_jpeg));
  if (!jpeg) return NULL;
  jpeg->user = user;
  jpeg->pull = pull;
  jpeg->cinfo.err = jpeg_std_error(&jpeg->error);
  jpeg->error.error_exit = ErrorExit;
  jpeg->error.output_message = OutputMessage;
  if (!Create(jpeg, max_memory)) {
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

void tk_jpeg_set_stop(struct tk_jpeg* jpeg, tk_jpeg_stop stop, void* user) {
  jpeg->stop = stop;
  jpeg->stop_user = user;
}

void tk_jpeg_scale(struct tk_jpeg* jpeg, unsigned denom, unsigned* width, unsigned* height) {
  jpeg->cinfo.scale_num = 1;
  jpeg->cinfo.scale_denom = denom;
  jpeg_calc_output_dimensions(&jpeg->cinfo); /* cannot fail once the header was read */
  *width = jpeg->cinfo.output_width;
  *height = jpeg->cinfo.output_height;
}

const unsigned char* tk_jpeg_exif(struct tk_jpeg* jpeg, size_t* length) {
  jpeg_saved_marker_ptr marker;
  for (marker = jpeg->cinfo.marker_list; marker; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1 || marker->data_length < 6 ||
        memcmp(marker->data, "Exif\0\0", 6) != 0)
      continue;
    *length = marker->data_length - 6;
    return marker->data + 6;
  }
  return NULL;
}

int tk_jpeg_inverted_cmyk(struct tk_jpeg* jpeg) { return jpeg->cinfo.saw_Adobe_marker ? 1 : 0; }

int tk_jpeg_truncated(struct tk_jpeg* jpeg) { return jpeg->truncated; }

int tk_jpeg_out_of_memory(struct tk_jpeg* jpeg) {
  return jpeg->last_error == JERR_OUT_OF_MEMORY || jpeg->last_error == JERR_NO_BACKING_STORE;
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
