// Writing the generated pictures and sounds: BMP, PNG and WAV files through the project's
// streams and PNG writer. Depends on assetgen.h and files/files.h.
#include <vector>

#include "files/files.h"
#include "tools/assetgen/assetgen.h"

void SaveBytes(const std::vector<uint8_t>& bytes, const std::string& path) {
  auto stream = WriteFile(path);
  bool ok = stream && stream->Write(bytes.data(), int64_t(bytes.size())) == int64_t(bytes.size());
  if (stream) {
    stream->Flush();
    auto file = std::dynamic_pointer_cast<TCStream>(stream);
    ok = ok && !(file && file->Failed());
    CloseStream(stream);
  }
  if (!ok) throw TRuntimeException("cannot write " + path);
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) { Put16(out, v), Put16(out, v >> 16); }

}  // namespace

void SaveBMP(const std::shared_ptr<TPixmap>& pixmap, const std::string& path) {
  auto rgb = pixmap->format == PF_RGB888 ? pixmap : ConvertPixmap(pixmap, PF_RGB888);
  uint32_t row = (uint32_t(rgb->width) * 3 + 3) & ~3u;
  uint32_t data = row * uint32_t(rgb->height);
  std::vector<uint8_t> out;
  out.push_back('B'), out.push_back('M');
  Put32(out, 54 + data);  // file size
  Put32(out, 0);          // reserved
  Put32(out, 54);         // pixel data offset
  Put32(out, 40);         // information header size
  Put32(out, uint32_t(rgb->width));
  Put32(out, uint32_t(rgb->height));  // positive: bottom row first
  Put16(out, 1);                      // planes
  Put16(out, 24);                     // bits per pixel
  Put32(out, 0);                      // no compression
  Put32(out, data);
  Put32(out, 2835), Put32(out, 2835);  // 72 dpi
  Put32(out, 0), Put32(out, 0);        // no palette
  for (int y = rgb->height - 1; y >= 0; --y) {
    const uint8_t* p = rgb->PixelPtr(0, y);
    for (int x = 0; x < rgb->width; ++x) out.push_back(p[3 * x + 2]), out.push_back(p[3 * x + 1]), out.push_back(p[3 * x]);
    for (uint32_t pad = uint32_t(rgb->width) * 3; pad < row; ++pad) out.push_back(0);
  }
  SaveBytes(out, path);
}

void SavePNG(const std::shared_ptr<TPixmap>& pixmap, const std::string& path) {
  if (!SavePNGPixmap(pixmap, path, 9)) throw TRuntimeException("cannot write " + path);
}

void SaveWAV(const std::vector<int16_t>& samples, int rate, const std::string& path) {
  uint32_t data = uint32_t(samples.size()) * 2;
  std::vector<uint8_t> out;
  for (char c : std::string("RIFF")) out.push_back(uint8_t(c));
  Put32(out, 36 + data);
  for (char c : std::string("WAVEfmt ")) out.push_back(uint8_t(c));
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, uint32_t(rate));
  Put32(out, uint32_t(rate) * 2);  // bytes per second
  Put16(out, 2);                   // bytes per frame
  Put16(out, 16);
  for (char c : std::string("data")) out.push_back(uint8_t(c));
  Put32(out, data);
  for (int16_t s : samples) Put16(out, uint16_t(s));
  SaveBytes(out, path);
}
