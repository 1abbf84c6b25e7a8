#include "tools/host/wav_writer.h"

#include "tools/host/byte_order.h"

namespace wav {
namespace {

constexpr std::uint32_t kPcmFormatChunkSize = 16;
// The extended format chunk of non-PCM data: 16 bytes and an extension size of 0.
constexpr std::uint32_t kExtendedFormatChunkSize = 18;
constexpr std::uint32_t kFactChunkSize = 4;
constexpr std::uint32_t kChunkHeaderSize = 8;
constexpr std::uint32_t kWaveIdSize = 4;  // "WAVE"
constexpr std::uint16_t kBitsPerByte = 8;

constexpr std::size_t kIdSize = 4;

void appendId(std::vector<std::uint8_t>& out, const char* id) {
  for (std::size_t i = 0; i < kIdSize; ++i) out.push_back(static_cast<std::uint8_t>(id[i]));
}

std::uint32_t headerSize(SampleFormat format) {
  return format == SampleFormat::kFloat32
             ? kChunkHeaderSize + kWaveIdSize + kChunkHeaderSize + kExtendedFormatChunkSize + kChunkHeaderSize +
                   kFactChunkSize + kChunkHeaderSize
             : kChunkHeaderSize + kWaveIdSize + kChunkHeaderSize + kPcmFormatChunkSize + kChunkHeaderSize;
}

}  // namespace

std::uint16_t bytesPerSample(SampleFormat format) { return format == SampleFormat::kFloat32 ? 4 : 2; }

bool fits(SampleFormat format, std::uint16_t channels, std::uint64_t frames) {
  const std::uint64_t frameBytes = static_cast<std::uint64_t>(bytesPerSample(format)) * channels;
  return frameBytes != 0 && frames <= (kMaxRiffSize - headerSize(format)) / frameBytes;
}

std::vector<std::uint8_t> header(SampleFormat format, std::uint32_t sampleRate, std::uint16_t channels,
                                 std::uint32_t frames) {
  const bool isFloat = format == SampleFormat::kFloat32;
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(bytesPerSample(format) * channels);
  const std::uint32_t dataSize = frames * blockAlign;
  std::vector<std::uint8_t> out;
  appendId(out, "RIFF");
  byteorder::appendLittleEndian32(out, headerSize(format) - kChunkHeaderSize + dataSize);
  appendId(out, "WAVE");
  appendId(out, "fmt ");
  byteorder::appendLittleEndian32(out, isFloat ? kExtendedFormatChunkSize : kPcmFormatChunkSize);
  byteorder::appendLittleEndian16(out, isFloat ? kFormatTagIeeeFloat : kFormatTagPcm);
  byteorder::appendLittleEndian16(out, channels);
  byteorder::appendLittleEndian32(out, sampleRate);
  byteorder::appendLittleEndian32(out, sampleRate * blockAlign);
  byteorder::appendLittleEndian16(out, blockAlign);
  byteorder::appendLittleEndian16(out, static_cast<std::uint16_t>(bytesPerSample(format) * kBitsPerByte));
  if (isFloat) {
    byteorder::appendLittleEndian16(out, 0);  // no format extension
    appendId(out, "fact");
    byteorder::appendLittleEndian32(out, kFactChunkSize);
    byteorder::appendLittleEndian32(out, frames);
  }
  appendId(out, "data");
  byteorder::appendLittleEndian32(out, dataSize);
  return out;
}

std::int16_t toPcm16(float sample) {
  if (!(sample == sample)) return 0;
  if (sample > 1.0f) sample = 1.0f;
  if (sample < -1.0f) sample = -1.0f;
  // The product of a float and 32767 is exact in double precision, and so is adding one
  // half: truncating then rounds halves away from zero with no rounding-mode dependence.
  const double scaled = static_cast<double>(sample) * static_cast<double>(kPcm16FullScale);
  return static_cast<std::int16_t>(scaled >= 0.0 ? scaled + 0.5 : scaled - 0.5);
}

void appendFrames(SampleFormat format, const float* const* channels, std::uint16_t channelCount,
                  std::size_t frames, std::vector<std::uint8_t>& out) {
  out.reserve(out.size() + frames * channelCount * bytesPerSample(format));
  for (std::size_t i = 0; i < frames; ++i) {
    for (std::uint16_t c = 0; c < channelCount; ++c) {
      if (format == SampleFormat::kFloat32) {
        byteorder::appendLittleEndian32(out, byteorder::floatBits(channels[c][i]));
      } else {
        byteorder::appendLittleEndian16(out, static_cast<std::uint16_t>(toPcm16(channels[c][i])));
      }
    }
  }
}

FileWriter::~FileWriter() { abandon(); }

bool FileWriter::open(const std::string& path, SampleFormat format, std::uint32_t sampleRate,
                      std::uint16_t channels, std::string& error) {
  abandon();
  file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot create " + path;
    return false;
  }
  filePath = path;
  sampleFormat = format;
  rate = sampleRate;
  channelCount = channels;
  framesWritten = 0;
  const std::vector<std::uint8_t> placeholder = header(format, sampleRate, channels, 0);
  if (std::fwrite(placeholder.data(), 1, placeholder.size(), file) != placeholder.size()) {
    error = "cannot write " + path;
    abandon();
    return false;
  }
  return true;
}

bool FileWriter::write(const float* const* channels, std::size_t frames, std::string& error) {
  if (file == nullptr) {
    error = "no WAV file open";
    return false;
  }
  if (!fits(sampleFormat, channelCount, framesWritten + frames)) {
    error = filePath + ": the output would exceed the 4 GiB a WAV file can hold";
    abandon();
    return false;
  }
  buffer.clear();
  appendFrames(sampleFormat, channels, channelCount, frames, buffer);
  if (!buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) {
    error = "cannot write " + filePath;
    abandon();
    return false;
  }
  framesWritten += frames;
  return true;
}

bool FileWriter::finish(std::string& error) {
  if (file == nullptr) {
    error = "no WAV file open";
    return false;
  }
  const std::vector<std::uint8_t> complete =
      header(sampleFormat, rate, channelCount, static_cast<std::uint32_t>(framesWritten));
  const bool written = std::fseek(file, 0, SEEK_SET) == 0 &&
                       std::fwrite(complete.data(), 1, complete.size(), file) == complete.size();
  const bool closed = std::fclose(file) == 0;
  file = nullptr;
  if (!written || !closed) {
    error = "cannot write " + filePath;
    std::remove(filePath.c_str());
    return false;
  }
  return true;
}

void FileWriter::abandon() {
  if (file == nullptr) return;
  std::fclose(file);
  file = nullptr;
  std::remove(filePath.c_str());
}

}  // namespace wav
