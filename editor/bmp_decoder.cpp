#include "editor/bmp_decoder.h"

#include <utility>

namespace {

// File header: 'B', 'M', file size, two reserved words, offset of the pixel rows.
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kPixelOffsetAt = 10;
// The info header that follows (BITMAPINFOHEADER or a later, longer one).
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kWidthAt = kFileHeaderBytes + 4;
constexpr std::size_t kHeightAt = kFileHeaderBytes + 8;
constexpr std::size_t kBitCountAt = kFileHeaderBytes + 14;
constexpr std::size_t kCompressionAt = kFileHeaderBytes + 16;
constexpr std::size_t kPaletteUsedAt = kFileHeaderBytes + 32;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kPaletteBits = 8;
constexpr std::uint32_t kTrueColourBits = 24;
constexpr std::uint32_t kFullPalette = 256;
constexpr std::size_t kPaletteEntryBytes = 4;  // blue, green, red, unused
// Beyond any picture of ours: refuses sizes whose arithmetic could overflow.
constexpr std::int32_t kLargestSide = 1 << 15;

std::uint32_t little32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t little16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8; }

PixelColor fromBgr(const std::uint8_t* bgr) {
  return static_cast<PixelColor>(bgr[2]) << 16 | static_cast<PixelColor>(bgr[1]) << 8 | bgr[0];
}

}  // namespace

bool decodeBmp(const std::uint8_t* data, std::size_t size, PixelImage& image) {
  if (data == nullptr || size < kFileHeaderBytes + kInfoHeaderBytes || data[0] != 'B' || data[1] != 'M') return false;
  const std::uint32_t infoBytes = little32(data + kFileHeaderBytes);
  const auto width = static_cast<std::int32_t>(little32(data + kWidthAt));
  const auto storedHeight = static_cast<std::int32_t>(little32(data + kHeightAt));
  const std::uint32_t bits = little16(data + kBitCountAt);
  if (infoBytes < kInfoHeaderBytes || little32(data + kCompressionAt) != kUncompressed) return false;
  if (bits != kPaletteBits && bits != kTrueColourBits) return false;
  // A negative height marks rows stored top row first.
  const bool bottomUp = storedHeight > 0;
  const std::int32_t height = bottomUp ? storedHeight : -storedHeight;
  if (width <= 0 || width > kLargestSide || height <= 0 || height > kLargestSide) return false;

  PixelColor palette[kFullPalette] = {};
  std::uint32_t paletteSize = 0;
  if (bits == kPaletteBits) {
    const std::uint32_t used = little32(data + kPaletteUsedAt);
    paletteSize = used == 0 ? kFullPalette : used;
    const std::size_t paletteAt = kFileHeaderBytes + infoBytes;
    if (paletteSize > kFullPalette || paletteAt > size || (size - paletteAt) / kPaletteEntryBytes < paletteSize) {
      return false;
    }
    for (std::uint32_t i = 0; i < paletteSize; ++i) palette[i] = fromBgr(data + paletteAt + i * kPaletteEntryBytes);
  }

  // Rows are padded to whole 32-bit words.
  const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) & ~static_cast<std::size_t>(3);
  const std::size_t rowsAt = little32(data + kPixelOffsetAt);
  if (rowsAt > size || (size - rowsAt) / stride < static_cast<std::size_t>(height)) return false;

  PixelImage decoded(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t stored = bottomUp ? height - 1 - y : y;
    const std::uint8_t* row = data + rowsAt + stride * static_cast<std::size_t>(stored);
    for (std::int32_t x = 0; x < width; ++x) {
      if (bits == kPaletteBits) {
        if (row[x] >= paletteSize) return false;
        decoded.at(x, y) = palette[row[x]];
      } else {
        decoded.at(x, y) = fromBgr(row + static_cast<std::size_t>(x) * 3);
      }
    }
  }
  image = std::move(decoded);
  return true;
}
