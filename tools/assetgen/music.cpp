// The music: a gentle tune in C major (melody, broken chords and bass over eighteen bars, about
// 45 seconds), synthesised and encoded as Ogg Vorbis. Depends on assetgen.h and vorbisenc.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/assetgen/assetgen.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int rate = 44100;
constexpr double beat = 0.6;  // seconds: 100 beats a minute
constexpr int beats_per_bar = 4;

double Frequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Adds one note: harmonics with their levels, an exponential decay, a short attack.
void Note(std::vector<double>& out, double start, double length, int midi, double level,
          double decay, std::initializer_list<double> harmonics) {
  double f = Frequency(midi);
  int first = int(start * rate), last = std::min(int(out.size()), int((start + length) * rate));
  for (int i = first; i < last; ++i) {
    double t = double(i - first) / rate;
    double envelope = std::min(1.0, t / 0.006) * std::exp(-t * decay);
    double release = std::min(1.0, (last - i) / (rate * 0.03));  // no click at the cut
    double v = 0;
    int k = 1;
    for (double h : harmonics) v += h * std::sin(2 * pi * f * k++ * t);
    out[size_t(i)] += v * envelope * release * level;
  }
}

struct chord {
  int root;       // MIDI note of the bass
  int tones[3];   // MIDI notes of the broken chord
};

std::vector<double> Compose() {
  const chord C{36, {60, 64, 67}}, Am{45, {57, 60, 64}}, F{41, {57, 60, 65}}, G{43, {59, 62, 67}},
      Em{40, {59, 64, 67}}, Dm{38, {57, 62, 65}};
  const chord bars[] = {C, Am, F, G, C, Em, F, G, Am, F, C, G, C, Am, Dm, G, F, C};
  constexpr int bar_count = sizeof bars / sizeof bars[0];
  const int scale[] = {72, 74, 76, 79, 81, 84};  // C major pentatonic for the melody
  double bar_length = beat * beats_per_bar;
  std::vector<double> out(size_t((bar_count * bar_length + 3.0) * rate), 0.0);

  seeded_random random(1975);
  // Rhythms of one bar in eighths (1 = a note starts, 0 = the previous one goes on).
  const int rhythms[][8] = {{1, 0, 1, 1, 1, 0, 1, 0}, {1, 0, 0, 1, 1, 0, 1, 1},
                            {1, 1, 1, 0, 1, 0, 0, 0}, {1, 0, 1, 0, 1, 1, 1, 0}};
  int motif[8] = {};
  for (int& m : motif) m = random.Int(0, 5);
  int position = 2;
  for (int b = 0; b < bar_count; ++b) {
    double bar_start = b * bar_length;
    const chord& c = bars[b];
    // Bass on beats 1 and 3, broken chord on every beat.
    Note(out, bar_start, bar_length / 2, c.root, 0.35, 1.3, {1.0, 0.25});
    Note(out, bar_start + bar_length / 2, bar_length / 2, c.root + (b % 2 ? 7 : 0), 0.30, 1.5, {1.0, 0.25});
    for (int k = 0; k < beats_per_bar; ++k) {
      int tone = c.tones[(k == 3) ? 1 : k];
      Note(out, bar_start + k * beat, beat * 1.5, tone, 0.16, 2.2, {1.0, 0.35, 0.12});
    }
    if (b == bar_count - 1) {  // the end: a long tonic over the last chord
      Note(out, bar_start, bar_length + 1.5, 72, 0.42, 0.9, {1.0, 0.3, 0.1});
      break;
    }
    const int* rhythm = rhythms[(b / 2) % 4];
    for (int e = 0; e < 8; ++e) {
      if (!rhythm[e]) continue;
      int length = 1;
      while (e + length < 8 && !rhythm[e + length]) ++length;
      // Every fourth bar repeats the opening motif; the others wander by small steps and lean
      // on the chord's tones on the strong eighths.
      if (b % 4 == 0) position = motif[e];
      else position = std::clamp(position + random.Int(-2, 2), 0, 5);
      int midi = scale[position];
      if (e % 4 == 0) {
        int best = midi;
        for (int t : c.tones)
          for (int octave = 12; octave <= 24; octave += 12)
            if (std::abs(t + octave - midi) < std::abs(best - midi) || best == midi) best = t + octave;
        midi = best;
      }
      Note(out, bar_start + e * beat / 2, length * beat / 2 + 0.25, midi, 0.30, 2.6, {1.0, 0.3, 0.1, 0.05});
    }
  }
  // A soft room: two feedback echoes.
  for (int delay : {int(rate * 0.29), int(rate * 0.43)})
    for (size_t i = size_t(delay); i < out.size(); ++i) out[i] += out[i - size_t(delay)] * 0.22;
  double top = 1e-9;
  for (double v : out) top = std::max(top, std::abs(v));
  for (size_t i = 0; i < out.size(); ++i) {
    double fade_out = std::min(1.0, double(out.size() - i) / (rate * 2.5));
    out[i] = out[i] / top * 0.7 * fade_out;
  }
  return out;
}

// The encoder's state, released on every path.
struct vorbis_encoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool started = false;

  vorbis_encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~vorbis_encoder() {
    if (started) {
      ogg_stream_clear(&stream);
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
  vorbis_encoder(const vorbis_encoder&) = delete;
  vorbis_encoder& operator=(const vorbis_encoder&) = delete;
};

std::vector<uint8_t> EncodeOgg(const std::vector<double>& signal) {
  vorbis_encoder e;
  if (vorbis_encode_init_vbr(&e.info, 1, rate, 0.4f) != 0)
    throw TRuntimeException("the Vorbis encoder refused its settings");
  vorbis_comment_add_tag(&e.comment, "TITLE", "Tesselka");
  vorbis_analysis_init(&e.dsp, &e.info);
  vorbis_block_init(&e.dsp, &e.block);
  ogg_stream_init(&e.stream, 1975);  // a fixed serial number keeps the file reproducible
  e.started = true;

  std::vector<uint8_t> bytes;
  auto take = [&](const ogg_page& page) {
    bytes.insert(bytes.end(), page.header, page.header + page.header_len);
    bytes.insert(bytes.end(), page.body, page.body + page.body_len);
  };
  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&e.stream, &header);
  ogg_stream_packetin(&e.stream, &header_comment);
  ogg_stream_packetin(&e.stream, &header_code);
  ogg_page page;
  while (ogg_stream_flush(&e.stream, &page)) take(page);

  constexpr size_t chunk = 1024;
  bool ended = false;
  for (size_t at = 0; !ended;) {
    size_t n = std::min(chunk, signal.size() - at);
    if (n == 0) {
      vorbis_analysis_wrote(&e.dsp, 0);  // end of stream
    } else {
      float** buffer = vorbis_analysis_buffer(&e.dsp, int(n));
      for (size_t i = 0; i < n; ++i) buffer[0][i] = float(signal[at + i]);
      vorbis_analysis_wrote(&e.dsp, int(n));
      at += n;
    }
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
      vorbis_analysis(&e.block, nullptr);
      vorbis_bitrate_addblock(&e.block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&e.dsp, &packet)) {
        ogg_stream_packetin(&e.stream, &packet);
        while (ogg_stream_pageout(&e.stream, &page)) {
          take(page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
  }
  return bytes;
}

}  // namespace

void WriteMusic(const std::string& sounds) { SaveBytes(EncodeOgg(Compose()), sounds + "/music.ogg"); }
