// Private to files/: an owner of a libjpeg shim decoder and the pull callback over a TStream
// that both JPEG readers use. Depends on files/files.h and files/jpeg_shim.h.
#pragma once

#include <memory>

#include "files/files.h"
#include "files/jpeg_shim.h"

struct jpeg_closer {
  void operator()(tk_jpeg* jpeg) const { tk_jpeg_close(jpeg); }
};
using jpeg_handle = std::unique_ptr<tk_jpeg, jpeg_closer>;

// Reads up to length bytes of the TStream at user; 0 at its end. Never throws: libjpeg must not
// see an exception, so the data simply ends there.
inline size_t PullFromStream(void* user, unsigned char* data, size_t length) {
  try {
    const int64_t n = static_cast<TStream*>(user)->Read(data, static_cast<int64_t>(length));
    return n > 0 ? static_cast<size_t>(n) : 0;
  } catch (...) {
    return 0;
  }
}
