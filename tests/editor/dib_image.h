// Reads the editor's bitmaps the way a picture viewer would, without any GDI: from a
// .bmp file, or from the bytes of a BITMAP resource (a DIB without the file header).
// Only what the artwork uses is read: uncompressed 8-bit palette and 24-bit images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DibImage {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<std::uint32_t> palette;  // 0xRRGGBB, 8-bit images only
  std::vector<std::uint8_t> indices;   // palette index per pixel, 8-bit images only, top row first
  std::vector<std::uint32_t> pixels;   // 0xRRGGBB per pixel, top row first

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Parses a DIB that starts with its BITMAPINFOHEADER; false for anything else.
bool parseDib(const std::uint8_t* data, std::size_t size, DibImage& image);
// Reads a .bmp file (file header, then the DIB); false when it cannot be read or parsed.
bool readBmpFile(const std::string& path, DibImage& image);
