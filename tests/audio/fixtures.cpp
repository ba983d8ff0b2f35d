// Sound files made in the tests. Depends on vorbisenc and the C++ library.
#include "tests/audio/fixtures.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

std::string Le16(int value) {
  return {static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff)};
}

std::string Le32(uint32_t value) { return Le16(static_cast<int>(value & 0xffff)) + Le16(static_cast<int>(value >> 16)); }

namespace {

std::string Chunk(const std::string& id, const std::string& body, int64_t size) {
  std::string out = id + Le32(static_cast<uint32_t>(size)) + body;
  if (body.size() % 2) out += '\0';
  return out;
}

}  // namespace

std::string WavBytes(const wav_spec& spec) {
  const int block = spec.channels * spec.bits / 8;
  std::string fmt = Le16(spec.tag) + Le16(spec.channels) + Le32(static_cast<uint32_t>(spec.hertz)) +
                    Le32(static_cast<uint32_t>(spec.hertz * block)) + Le16(block) + Le16(spec.bits) + spec.fmt_extra;
  std::string body = "WAVE" + Chunk("fmt ", fmt, static_cast<int64_t>(fmt.size()));
  for (const auto& [id, chunk] : spec.chunks) body += Chunk(id, chunk, static_cast<int64_t>(chunk.size()));
  body += "data" + Le32(static_cast<uint32_t>(spec.data_size >= 0 ? spec.data_size : spec.data.size())) + spec.data;
  return "RIFF" + Le32(static_cast<uint32_t>(body.size())) + body;
}

std::string OggBytes(int channels, int hertz, int frames) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, hertz, 0.1f) != 0) throw std::runtime_error("vorbis_encode_init_vbr");
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  std::string out;
  ogg_page page;
  auto append = [&] { out.append(reinterpret_cast<char*>(page.header), page.header_len).append(reinterpret_cast<char*>(page.body), page.body_len); };
  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  while (ogg_stream_flush(&stream, &page)) append();

  auto drain = [&] {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) append();
      }
    }
  };
  for (int done = 0; done < frames;) {
    const int n = std::min(1024, frames - done);
    float** buffer = vorbis_analysis_buffer(&dsp, n);
    for (int i = 0; i < n; ++i) {
      const float value = 0.5f * std::sin(2 * 3.14159265f * 440 * static_cast<float>(done + i) / static_cast<float>(hertz));
      for (int c = 0; c < channels; ++c) buffer[c][i] = value;
    }
    vorbis_analysis_wrote(&dsp, n);
    drain();
    done += n;
  }
  vorbis_analysis_wrote(&dsp, 0);
  drain();
  while (ogg_stream_flush(&stream, &page)) append();

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}
