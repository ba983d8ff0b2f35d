// A read-only TStream over bytes in memory, for the audio tests and the fuzz target.
// Depends on files/files.h.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "files/files.h"

class TByteStream : public TStream {
 public:
  explicit TByteStream(std::string bytes) : bytes_(std::move(bytes)) {}

  int64_t Pos() override { return pos_; }
  int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }
  int64_t Seek(int64_t pos) override {
    pos_ = std::clamp<int64_t>(pos, 0, Size());
    return pos_;
  }
  int64_t Read(void* buffer, int64_t count) override {
    const int64_t n = std::clamp<int64_t>(Size() - pos_, 0, count);
    std::memcpy(buffer, bytes_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
  }

 private:
  std::string bytes_;
  int64_t pos_ = 0;
};
