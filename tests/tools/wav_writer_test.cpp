// The WAV writer: header fields of both formats, sample encoding, and the streamed file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "tools/host/byte_order.h"
#include "tools/host/file_bytes.h"
#include "tools/host/wav_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using byteorder::littleEndian16;
using byteorder::littleEndian32;

std::string idAt(const Bytes& bytes, std::size_t offset) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

TEST(WavHeader, FloatFormatWithFactChunk) {
  const Bytes h = wav::header(wav::SampleFormat::kFloat32, 48000, 2, 1000);
  ASSERT_EQ(h.size(), 58u);
  EXPECT_EQ(idAt(h, 0), "RIFF");
  EXPECT_EQ(littleEndian32(&h[4]), 50u + 8000u);
  EXPECT_EQ(idAt(h, 8), "WAVE");
  EXPECT_EQ(idAt(h, 12), "fmt ");
  EXPECT_EQ(littleEndian32(&h[16]), 18u);
  EXPECT_EQ(littleEndian16(&h[20]), wav::kFormatTagIeeeFloat);
  EXPECT_EQ(littleEndian16(&h[22]), 2u);
  EXPECT_EQ(littleEndian32(&h[24]), 48000u);
  EXPECT_EQ(littleEndian32(&h[28]), 48000u * 8u);
  EXPECT_EQ(littleEndian16(&h[32]), 8u);
  EXPECT_EQ(littleEndian16(&h[34]), 32u);
  EXPECT_EQ(littleEndian16(&h[36]), 0u);
  EXPECT_EQ(idAt(h, 38), "fact");
  EXPECT_EQ(littleEndian32(&h[42]), 4u);
  EXPECT_EQ(littleEndian32(&h[46]), 1000u);
  EXPECT_EQ(idAt(h, 50), "data");
  EXPECT_EQ(littleEndian32(&h[54]), 8000u);
}

TEST(WavHeader, Pcm16Format) {
  const Bytes h = wav::header(wav::SampleFormat::kPcm16, 44100, 2, 10);
  ASSERT_EQ(h.size(), 44u);
  EXPECT_EQ(idAt(h, 0), "RIFF");
  EXPECT_EQ(littleEndian32(&h[4]), 36u + 40u);
  EXPECT_EQ(littleEndian32(&h[16]), 16u);
  EXPECT_EQ(littleEndian16(&h[20]), wav::kFormatTagPcm);
  EXPECT_EQ(littleEndian16(&h[22]), 2u);
  EXPECT_EQ(littleEndian32(&h[24]), 44100u);
  EXPECT_EQ(littleEndian32(&h[28]), 44100u * 4u);
  EXPECT_EQ(littleEndian16(&h[32]), 4u);
  EXPECT_EQ(littleEndian16(&h[34]), 16u);
  EXPECT_EQ(idAt(h, 36), "data");
  EXPECT_EQ(littleEndian32(&h[40]), 40u);
}

TEST(WavSamples, Pcm16ClampsAndRoundsHalvesAwayFromZero) {
  EXPECT_EQ(wav::toPcm16(0.0f), 0);
  EXPECT_EQ(wav::toPcm16(1.0f), 32767);
  EXPECT_EQ(wav::toPcm16(-1.0f), -32767);
  EXPECT_EQ(wav::toPcm16(1.5f), 32767);
  EXPECT_EQ(wav::toPcm16(-7.0f), -32767);
  EXPECT_EQ(wav::toPcm16(std::numeric_limits<float>::infinity()), 32767);
  EXPECT_EQ(wav::toPcm16(-std::numeric_limits<float>::infinity()), -32767);
  EXPECT_EQ(wav::toPcm16(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(wav::toPcm16(0.5f), 16384);    // 16383.5
  EXPECT_EQ(wav::toPcm16(-0.5f), -16384);  // -16383.5
  // Just below a half rounds down: 3.5 / 32767 is not exactly representable.
  const float belowHalf = std::nextafter(3.5f / 32767.0f, 0.0f);
  EXPECT_EQ(wav::toPcm16(belowHalf), static_cast<double>(belowHalf) * 32767.0 < 3.5 ? 3 : 4);
  EXPECT_EQ(wav::toPcm16(1.0f / 32767.0f), 1);
  EXPECT_EQ(wav::toPcm16(0.4f / 32767.0f), 0);
}

TEST(WavSamples, FramesAreInterleavedLittleEndian) {
  const float left[] = {1.0f, -0.5f};
  const float right[] = {0.25f, -1.0f};
  const float* channels[] = {left, right};
  Bytes floats;
  wav::appendFrames(wav::SampleFormat::kFloat32, channels, 2, 2, floats);
  ASSERT_EQ(floats.size(), 16u);
  EXPECT_EQ(littleEndian32(&floats[0]), 0x3F800000u);
  EXPECT_EQ(littleEndian32(&floats[4]), 0x3E800000u);
  EXPECT_EQ(littleEndian32(&floats[8]), 0xBF000000u);
  EXPECT_EQ(littleEndian32(&floats[12]), 0xBF800000u);
  Bytes shorts;
  wav::appendFrames(wav::SampleFormat::kPcm16, channels, 2, 2, shorts);
  ASSERT_EQ(shorts.size(), 8u);
  EXPECT_EQ(littleEndian16(&shorts[0]), 32767u);
  EXPECT_EQ(littleEndian16(&shorts[2]), 8192u);  // 8191.75
  EXPECT_EQ(static_cast<std::int16_t>(littleEndian16(&shorts[4])), -16384);
  EXPECT_EQ(static_cast<std::int16_t>(littleEndian16(&shorts[6])), -32767);
}

TEST(WavSamples, SizesBeyondFourGibibytesDoNotFit) {
  EXPECT_TRUE(wav::fits(wav::SampleFormat::kFloat32, 2, 1000));
  EXPECT_TRUE(wav::fits(wav::SampleFormat::kFloat32, 2, (0xFFFFFFFFull - 58) / 8));
  EXPECT_FALSE(wav::fits(wav::SampleFormat::kFloat32, 2, (0xFFFFFFFFull - 58) / 8 + 1));
  EXPECT_TRUE(wav::fits(wav::SampleFormat::kPcm16, 2, (0xFFFFFFFFull - 44) / 4));
  EXPECT_FALSE(wav::fits(wav::SampleFormat::kPcm16, 2, (0xFFFFFFFFull - 44) / 4 + 1));
}

class WavFile : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(path.c_str()); }
  std::string path = "wav_writer_test_output.wav";
};

TEST_F(WavFile, StreamedBlocksAndTheFinalSizes) {
  std::vector<float> left(300), right(300);
  for (std::size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<float>(i) / 512.0f;
    right[i] = -left[i];
  }
  wav::FileWriter writer;
  std::string error;
  ASSERT_TRUE(writer.open(path, wav::SampleFormat::kFloat32, 96000, 2, error)) << error;
  for (std::size_t start = 0; start < left.size(); start += 128) {
    const float* channels[] = {left.data() + start, right.data() + start};
    ASSERT_TRUE(writer.write(channels, std::min<std::size_t>(128, left.size() - start), error)) << error;
  }
  ASSERT_TRUE(writer.finish(error)) << error;

  Bytes file;
  ASSERT_TRUE(filebytes::read(path, file, error)) << error;
  const Bytes expectedHeader = wav::header(wav::SampleFormat::kFloat32, 96000, 2, 300);
  ASSERT_EQ(file.size(), expectedHeader.size() + 300 * 8);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(expectedHeader.size())), expectedHeader);
  for (std::size_t i = 0; i < 300; ++i) {
    const std::size_t at = expectedHeader.size() + i * 8;
    ASSERT_EQ(littleEndian32(&file[at]), byteorder::floatBits(left[i])) << i;
    ASSERT_EQ(littleEndian32(&file[at + 4]), byteorder::floatBits(right[i])) << i;
  }
}

TEST_F(WavFile, AnUnfinishedFileIsRemoved) {
  {
    wav::FileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, wav::SampleFormat::kPcm16, 44100, 2, error)) << error;
    const float sample = 0.5f;
    const float* channels[] = {&sample, &sample};
    ASSERT_TRUE(writer.write(channels, 1, error)) << error;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  EXPECT_EQ(file, nullptr);
  if (file != nullptr) std::fclose(file);
}

}  // namespace
