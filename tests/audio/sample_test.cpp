// Sample blocks: the format table, ownership, copies and conversion between formats.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/audio.h"

namespace {

std::vector<uint8_t> Bytes(const TAudioSample& sample) {
  return {sample.samples, sample.samples + sample.capacity};
}

std::shared_ptr<TAudioSample> SampleOf(int format, const std::vector<uint8_t>& bytes) {
  auto sample = TAudioSample::Create(static_cast<int>(bytes.size()) / SampleFormatBytes(format), 22050, format);
  std::memcpy(sample->samples, bytes.data(), bytes.size());
  return sample;
}

TEST(AudioSample, FormatTable) {
  const int bytes[] = {0, 1, 2, 2, 2, 4, 4, 0};
  const int channels[] = {0, 1, 1, 1, 2, 2, 2, 0};
  for (int format = 0; format <= 7; ++format) {
    EXPECT_EQ(SampleFormatBytes(format), bytes[format]) << format;
    EXPECT_EQ(SampleFormatChannels(format), channels[format]) << format;
  }
}

TEST(AudioSample, CreateCopyAndStatic) {
  auto sample = TAudioSample::Create(3, 8000, SF_STEREO16LE);
  EXPECT_EQ(sample->length, 3);
  EXPECT_EQ(sample->hertz, 8000);
  EXPECT_EQ(sample->capacity, 12);
  EXPECT_EQ(Bytes(*sample), std::vector<uint8_t>(12, 0));

  sample->samples[5] = 9;
  auto copy = sample->Copy();
  sample->samples[5] = 1;
  EXPECT_EQ(copy->samples[5], 9);
  EXPECT_NE(copy->samples, sample->samples);

  uint8_t memory[4] = {1, 2, 3, 4};
  auto wrapped = TAudioSample::CreateStatic(memory, 2, 11025, SF_MONO16BE);
  EXPECT_EQ(wrapped->samples, memory);
  EXPECT_EQ(wrapped->capacity, 4);
  auto owned = wrapped->Copy();
  memory[0] = 7;
  EXPECT_EQ(owned->samples[0], 1);
  EXPECT_EQ(wrapped->samples[0], 7);
}

// One frame through each conversion; values chosen so that byte order, the 8-bit bias and the
// mono average all show.
TEST(AudioSample, ConvertBetweenFormats) {
  struct conversion {
    int from;
    std::vector<uint8_t> in;
    int to;
    std::vector<uint8_t> out;
  };
  const conversion cases[] = {
      {SF_MONO16LE, {0x34, 0x12}, SF_MONO16BE, {0x12, 0x34}},
      {SF_STEREO16BE, {0x12, 0x34, 0xff, 0xfe}, SF_STEREO16LE, {0x34, 0x12, 0xfe, 0xff}},
      {SF_MONO8, {0x80}, SF_MONO16LE, {0x00, 0x00}},
      {SF_MONO8, {0xff}, SF_MONO16LE, {0x00, 0x7f}},
      {SF_MONO8, {0x00}, SF_MONO16BE, {0x80, 0x00}},
      {SF_MONO16LE, {0xff, 0x7f}, SF_MONO8, {0xff}},
      {SF_MONO16LE, {0x00, 0x80}, SF_MONO8, {0x00}},
      {SF_MONO16LE, {0x00, 0x01}, SF_MONO8, {0x81}},
      {SF_MONO16LE, {0x34, 0x12}, SF_STEREO16LE, {0x34, 0x12, 0x34, 0x12}},
      {SF_MONO8, {0x90}, SF_STEREO8, {0x90, 0x90}},
      // (1000 + 3000) / 2 and (-1000 + -3001) / 2 rounded toward zero.
      {SF_STEREO16LE, {0xe8, 0x03, 0xb8, 0x0b}, SF_MONO16LE, {0xd0, 0x07}},
      {SF_STEREO16LE, {0x18, 0xfc, 0x47, 0xf4}, SF_MONO16LE, {0x30, 0xf8}},
      {SF_STEREO8, {0x70, 0x90}, SF_MONO8, {0x80}},
      {SF_STEREO8, {0x00, 0xff}, SF_STEREO16BE, {0x80, 0x00, 0x7f, 0x00}},
  };
  for (const auto& c : cases) {
    auto converted = SampleOf(c.from, c.in)->Convert(c.to);
    EXPECT_EQ(converted->format, c.to);
    EXPECT_EQ(converted->length, 1);
    EXPECT_EQ(converted->hertz, 22050);
    EXPECT_EQ(Bytes(*converted), c.out) << c.from << " -> " << c.to;
  }
}

TEST(AudioSample, ConvertKeepsEveryFrame) {
  auto sample = SampleOf(SF_MONO16LE, {1, 0, 2, 0, 3, 0});
  auto stereo = sample->Convert(SF_STEREO16BE);
  EXPECT_EQ(Bytes(*stereo), (std::vector<uint8_t>{0, 1, 0, 1, 0, 2, 0, 2, 0, 3, 0, 3}));
  EXPECT_EQ(Bytes(*stereo->Convert(SF_MONO16LE)), Bytes(*sample));
}

}  // namespace
