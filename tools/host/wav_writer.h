// Writes interleaved WAV files: IEEE float 32-bit (format tag 3, with the 'fact' chunk
// that non-PCM files carry) or 16-bit PCM (format tag 1). The file is streamed block by
// block and its sizes are filled in when it is finished; a file that is never finished is
// removed, so a failed render leaves no half-written output behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wav {

enum class SampleFormat { kFloat32, kPcm16 };

constexpr std::uint16_t kFormatTagPcm = 1;
constexpr std::uint16_t kFormatTagIeeeFloat = 3;
// The largest sample a 16-bit file holds; -1.0 maps to its negative, so both signs scale
// alike and a full-scale sine stays symmetric.
constexpr float kPcm16FullScale = 32767.0f;
// RIFF counts its sizes in 32 bits.
constexpr std::uint64_t kMaxRiffSize = 0xFFFFFFFFull;

std::uint16_t bytesPerSample(SampleFormat format);

// The header for `frames` frames of `channels` channels; the data follow it directly.
std::vector<std::uint8_t> header(SampleFormat format, std::uint32_t sampleRate, std::uint16_t channels,
                                 std::uint32_t frames);

// Whether `frames` frames still fit in a RIFF file's 32-bit sizes.
bool fits(SampleFormat format, std::uint16_t channels, std::uint64_t frames);

// A sample in 16 bits: clamped to -1..1, scaled by kPcm16FullScale and rounded to the
// nearest integer, halves away from zero; NaN becomes 0.
std::int16_t toPcm16(float sample);

// Appends `frames` interleaved frames taken from `channels` separate arrays.
void appendFrames(SampleFormat format, const float* const* channels, std::uint16_t channelCount,
                  std::size_t frames, std::vector<std::uint8_t>& out);

class FileWriter {
 public:
  FileWriter() = default;
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool open(const std::string& path, SampleFormat format, std::uint32_t sampleRate, std::uint16_t channels,
            std::string& error);
  bool write(const float* const* channels, std::size_t frames, std::string& error);
  // Fills in the sizes and closes the file.
  bool finish(std::string& error);

 private:
  void abandon();

  std::FILE* file = nullptr;
  std::string filePath;
  SampleFormat sampleFormat = SampleFormat::kFloat32;
  std::uint32_t rate = 0;
  std::uint16_t channelCount = 0;
  std::uint64_t framesWritten = 0;
  std::vector<std::uint8_t> buffer;
};

}  // namespace wav
