#include "dib_image.h"

#include <fstream>
#include <iterator>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;

std::uint32_t read32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
}

}  // namespace

bool parseDib(const std::uint8_t* data, std::size_t size, DibImage& image) {
  if (data == nullptr || size < kInfoHeaderSize) return false;
  const std::uint32_t headerSize = read32(data);
  const auto width = static_cast<std::int32_t>(read32(data + 4));
  const auto rawHeight = static_cast<std::int32_t>(read32(data + 8));
  const int bits = read16(data + 14);
  const std::uint32_t compression = read32(data + 16);
  const std::uint32_t coloursUsed = read32(data + 32);
  if (headerSize < kInfoHeaderSize || width <= 0 || rawHeight == 0 || compression != kUncompressed) return false;
  if (bits != 8 && bits != 24) return false;
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;

  std::size_t offset = headerSize;
  image = DibImage();
  image.width = width;
  image.height = height;
  image.bitsPerPixel = bits;
  if (bits == 8) {
    const std::uint32_t count = coloursUsed != 0 ? coloursUsed : 256;
    if (count > 256 || offset + count * 4 > size) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* entry = data + offset + i * 4;  // blue, green, red, reserved
      image.palette.push_back(rgb(entry[2], entry[1], entry[0]));
    }
    offset += count * 4;
  }
  const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) & ~static_cast<std::size_t>(3);
  if (offset + stride * height > size) return false;
  image.pixels.resize(static_cast<std::size_t>(width) * height);
  if (bits == 8) image.indices.resize(image.pixels.size());
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data + offset + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * width + x;
      if (bits == 8) {
        const std::uint8_t index = row[x];
        if (index >= image.palette.size()) return false;
        image.indices[at] = index;
        image.pixels[at] = image.palette[index];
      } else {
        const std::uint8_t* p = row + x * 3;  // blue, green, red
        image.pixels[at] = rgb(p[2], p[1], p[0]);
      }
    }
  }
  return true;
}

bool readBmpFile(const std::string& path, DibImage& image) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const std::uint32_t pixelOffset = read32(bytes.data() + 10);
  if (pixelOffset > bytes.size()) return false;
  // The file header's pixel offset must agree with the DIB's own layout.
  if (!parseDib(bytes.data() + kFileHeaderSize, bytes.size() - kFileHeaderSize, image)) return false;
  const std::size_t expectedOffset = kFileHeaderSize + read32(bytes.data() + kFileHeaderSize) + image.palette.size() * 4;
  return pixelOffset == expectedOffset;
}
