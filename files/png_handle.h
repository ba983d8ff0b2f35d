// Private to files/: a move-only owner of a libpng reader or writer and its info record.
// Depends on files/png_shim.h and libpng.
#pragma once

#include <utility>

#include "files/png_shim.h"

class png_handle {
 public:
  enum kind_type { reader, writer };
  // Takes png (nullptr when its creation failed) and gives it an info record.
  png_handle(png_structp png, kind_type kind)
      : png_(png), info_(png ? png_create_info_struct(png) : nullptr), kind_(kind) {}
  png_handle(png_handle&& other) noexcept
      : png_(std::exchange(other.png_, nullptr)), info_(std::exchange(other.info_, nullptr)),
        kind_(other.kind_) {}
  png_handle(const png_handle&) = delete;
  png_handle& operator=(const png_handle&) = delete;
  png_handle& operator=(png_handle&&) = delete;
  ~png_handle() {
    if (!png_) return;
    if (kind_ == reader) {
      png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    } else {
      png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
    }
  }
  png_structp png() const { return png_; }
  // nullptr when the reader or writer or its info record could not be made.
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
  kind_type kind_;
};
