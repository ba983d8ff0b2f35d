// The pixmap loader chain (module state) and LoadPixmap, which tries it on a file or stream.
// Depends on files/files.h and files/header_peek.h.
#include "files/files.h"
#include "files/header_peek.h"

namespace {

files_state StartState() {
  files_state state;
  // Created BMP, JPEG, PNG, TGA, each at the head: tried TGA, PNG, JPEG, BMP.
  const std::shared_ptr<TPixmapLoader> created[] = {
      std::make_shared<TPixmapLoaderBMP>(), std::make_shared<TPixmapLoaderJPG>(),
      std::make_shared<TPixmapLoaderPNG>(), std::make_shared<TPixmapLoaderTGA>()};
  for (const auto& loader : created) {
    loader->_succ = state.loaders;
    state.loaders = loader;
  }
  return state;
}

// Closes what LoadPixmap opened on every way out, exceptions included.
struct stream_closer {
  const std::shared_ptr<TStream>& stream;
  ~stream_closer() { stream->Close(); }
};

std::shared_ptr<TPixmap> RunChain(const std::shared_ptr<TStream>& stream) {
  stream_closer closer{stream};
  const int64_t start = stream->Pos();
  if (start == -1) return nullptr;
  for (auto loader = files.loaders; loader; loader = loader->_succ) {
    stream->Seek(start);
    try {
      if (auto pixmap = loader->LoadPixmap(stream)) return pixmap;
    } catch (const TStreamException&) {
      // Data shorter than its headers promise: this loader declines.
    }
  }
  return nullptr;
}

}  // namespace

files_state files = StartState();

void ResetFiles() { files = StartState(); }

void AddPixmapLoader(std::shared_ptr<TPixmapLoader> loader) {
  loader->_succ = files.loaders;
  files.loaders = std::move(loader);
}

std::shared_ptr<TPixmap> LoadPixmap(const std::string& path) {
  const auto stream = OpenStream(path, true, false);
  return stream ? RunChain(stream) : nullptr;
}

std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) {
  const auto view = OpenStream(stream, true, false);
  return view ? RunChain(view) : nullptr;
}

bool ReadPixmapSize(TStream& stream, int32_t& width, int32_t& height) {
  const int64_t start = stream.Pos();
  bool found = false;
  for (auto peek : {PeekTGASize, PeekPNGSize, PeekJPEGSize, PeekBMPSize}) {
    stream.Seek(start);
    try {
      found = peek(stream, width, height);
    } catch (const TStreamException&) {
      // Shorter than this format's header.
    }
    if (found) break;
  }
  stream.Seek(start);
  return found;
}

bool ReadPixmapSize(const std::string& path, int32_t& width, int32_t& height) {
  const auto stream = OpenStream(path, true, false);
  if (!stream) return false;
  stream_closer closer{stream};
  return ReadPixmapSize(*stream, width, height);
}

std::shared_ptr<TPixmap> TPixmapLoaderPNG::LoadPixmap(const std::shared_ptr<TStream>& stream) {
  return LoadPNGPixmap(stream);
}

std::shared_ptr<TPixmap> TPixmapLoaderJPG::LoadPixmap(const std::shared_ptr<TStream>& stream) {
  return LoadJPEGPixmap(stream);
}
