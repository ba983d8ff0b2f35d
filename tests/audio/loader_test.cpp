// The loader chain: WAV headers and chunks, Ogg Vorbis made with vorbisenc, damaged and
// hostile files, stream positions and read errors.
#include <gtest/gtest.h>

#include "files/files.h"
#include "platform/audio.h"
#include "tests/audio/byte_stream.h"
#include "tests/audio/fixtures.h"
#include "tests/support/support.h"

namespace {

std::shared_ptr<TAudioSample> Load(const std::string& bytes) {
  return LoadAudioSample(std::make_shared<TByteStream>(bytes));
}

// Frames of a loaded sample, -1 for none.
int Frames(const std::shared_ptr<TAudioSample>& sample) { return sample ? sample->length : -1; }

std::string Ramp(int bytes) {
  std::string data;
  for (int i = 0; i < bytes; ++i) data += static_cast<char>(i * 7);
  return data;
}

TEST(WavLoader, FormatFromBitsAndChannels) {
  struct header {
    int bits, channels, format;
  };
  const header cases[] = {{8, 1, SF_MONO8}, {8, 2, SF_STEREO8}, {16, 1, SF_MONO16LE}, {16, 2, SF_STEREO16LE},
                          {24, 2, 0},       {32, 1, 0},         {16, 3, 0},          {8, 0, 0}};
  for (const auto& c : cases) {
    wav_spec spec{.channels = c.channels, .hertz = 8000, .bits = c.bits, .data = Ramp(48)};
    auto sample = Load(WavBytes(spec));
    if (c.format == 0) {
      EXPECT_EQ(sample, nullptr) << c.bits << " bits, " << c.channels << " channels";
      continue;
    }
    ASSERT_NE(sample, nullptr) << c.bits << " bits, " << c.channels << " channels";
    EXPECT_EQ(sample->format, c.format);
    EXPECT_EQ(sample->hertz, 8000);
    EXPECT_EQ(sample->length, 48 / SampleFormatBytes(c.format));
    EXPECT_EQ(std::string(sample->samples, sample->samples + sample->capacity), Ramp(48));
  }
}

TEST(WavLoader, SecondOfCdAudio) {
  auto sample = Load(WavBytes({.data = std::string(176400, '\1')}));
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->format, SF_STEREO16LE);
  EXPECT_EQ(sample->length, 44100);
  EXPECT_EQ(sample->hertz, 44100);
}

TEST(WavLoader, SkipsChunksBeforeData) {
  // A LIST chunk, an odd-sized chunk with its pad byte, and extra fmt bytes.
  wav_spec spec{.fmt_extra = Le16(0),
                .chunks = {{"LIST", "INFOISFT" + Le32(5) + "tk\0\0\0"}, {"odd ", "abc"}},
                .data = Ramp(16)};
  auto sample = Load(WavBytes(spec));
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->length, 4);
  EXPECT_EQ(std::string(sample->samples, sample->samples + 16), Ramp(16));
}

TEST(WavLoader, RefusesWhatIsNotPlainPcm) {
  const std::string cases[] = {
      WavBytes({.tag = 3, .bits = 32, .data = Ramp(32)}),      // floating point
      WavBytes({.tag = 3, .data = Ramp(32)}),                  // tag 3 whatever the bits say
      WavBytes({.hertz = 0, .data = Ramp(32)}),                // no rate
      "RIFX" + WavBytes({.data = Ramp(32)}).substr(4),         // big-endian RIFF
      "",
      "RIFF",
      std::string(200, '\0'),
      Ramp(300),
  };
  for (const auto& bytes : cases) {
    EXPECT_EQ(Load(bytes), nullptr) << testing::PrintToString(bytes.substr(0, 16));
  }
}

// Every prefix of a good file is a damaged one: the data must be there in full.
TEST(WavLoader, TruncatedFilesGiveNone) {
  const std::string whole = WavBytes({.chunks = {{"LIST", "INFO"}}, .data = Ramp(40)});
  ASSERT_NE(Load(whole), nullptr);
  for (size_t n = 0; n < whole.size(); ++n) {
    EXPECT_NO_THROW(EXPECT_EQ(Load(whole.substr(0, n)), nullptr) << n);
  }
}

TEST(WavLoader, HostileSizesAreRefusedWithoutAllocating) {
  EXPECT_EQ(Load(WavBytes({.data = Ramp(64), .data_size = 0xfffffff0})), nullptr);
  EXPECT_EQ(Load(WavBytes({.data = Ramp(64), .data_size = 0x7ffffffc})), nullptr);
  EXPECT_EQ(Load(WavBytes({.chunks = {{"junk", ""}}, .data = Ramp(64)}).replace(40, 4, Le32(0xfffffff0))), nullptr);
}

// A data size that is not a whole number of frames keeps the whole frames only.
TEST(WavLoader, PartialFrameIsLeftOut) {
  auto sample = Load(WavBytes({.data = Ramp(10)}));
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->length, 2);
  EXPECT_EQ(sample->capacity, 8);
}

TEST(OggLoader, DecodesFramesAndChannels) {
  struct stream_case {
    int channels, hertz, frames, format;
  };
  for (const auto& c : {stream_case{1, 22050, 10000, SF_MONO16LE}, stream_case{2, 44100, 30000, SF_STEREO16LE}}) {
    auto sample = Load(OggBytes(c.channels, c.hertz, c.frames));
    ASSERT_NE(sample, nullptr) << c.channels;
    EXPECT_EQ(sample->format, c.format);
    EXPECT_EQ(sample->hertz, c.hertz);
    EXPECT_EQ(sample->length, c.frames);
    // The tone was encoded at half amplitude; lossy coding keeps it near that.
    int peak = 0;
    const auto* values = reinterpret_cast<const int16_t*>(sample->samples);
    for (int i = 0; i < sample->length * c.channels; ++i) peak = std::max(peak, std::abs(int{values[i]}));
    EXPECT_GT(peak, 14000);
    EXPECT_LT(peak, 20000);
  }
}

TEST(OggLoader, DamagedStreamsNeverThrow) {
  const std::string whole = OggBytes(2, 8000, 4000);
  ASSERT_NE(Load(whole), nullptr);
  // Cut inside the headers there is nothing to decode.
  for (size_t n : {size_t{0}, size_t{4}, size_t{30}, size_t{100}}) EXPECT_EQ(Load(whole.substr(0, n)), nullptr) << n;
  for (size_t n = 0; n < whole.size(); n += 97) {
    EXPECT_NO_THROW(Load(whole.substr(0, n)));
    std::string flipped = whole;
    flipped[n] = static_cast<char>(flipped[n] ^ 0x5a);
    EXPECT_NO_THROW(Load(flipped));
  }
}

TEST(LoadAudioSample, FilesAndStreams) {
  temp_folder dir;
  const std::string wav = WavBytes({.channels = 1, .bits = 8, .data = Ramp(100)});
  const std::string ogg = OggBytes(1, 11025, 2000);
  EXPECT_EQ(Frames(LoadAudioSample(dir.Write("a.wav", wav))), 100);
  EXPECT_EQ(Frames(LoadAudioSample(dir.Write("named.wav", ogg))), 2000);  // the content decides
  EXPECT_EQ(LoadAudioSample(dir / "missing.wav"), nullptr);
  EXPECT_EQ(LoadAudioSample(dir / ""), nullptr);  // a folder
  EXPECT_EQ(LoadAudioSample(std::shared_ptr<TStream>()), nullptr);

  // A stream is read from where it stands and stays open.
  auto stream = ReadFile(dir.Write("b.bin", "prefix" + ogg));
  ASSERT_NE(stream, nullptr);
  stream->SkipBytes(6);
  EXPECT_EQ(Frames(LoadAudioSample(stream)), 2000);
  EXPECT_EQ(stream->Seek(0), 0);
  EXPECT_EQ(stream->ReadString(6), "prefix");
  CloseStream(stream);
}

// A stream that raises on every read, as a failing device would.
class TFailingStream : public TByteStream {
 public:
  using TByteStream::TByteStream;
  int64_t Read(void*, int64_t) override { throw TStreamReadException(); }
};

TEST(LoadAudioSample, ReadErrorsGiveNone) {
  EXPECT_EQ(LoadAudioSample(std::make_shared<TFailingStream>(WavBytes({.data = Ramp(8)}))), nullptr);
  EXPECT_EQ(LoadAudioSample(std::make_shared<TFailingStream>(OggBytes(1, 8000, 100))), nullptr);
}

}  // namespace
