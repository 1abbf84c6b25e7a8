// A picture held in memory as 0xRRGGBB values, top row first: a decoded bitmap of the
// module, or the X11 editor's copy of what its window shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/control_canvas.h"

struct PixelImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<PixelColor> pixels;

  PixelImage() = default;
  PixelImage(std::int32_t w, std::int32_t h, PixelColor fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  PixelColor at(std::int32_t x, std::int32_t y) const { return pixels[index(x, y)]; }
  PixelColor& at(std::int32_t x, std::int32_t y) { return pixels[index(x, y)]; }
  bool empty() const { return pixels.empty(); }

 private:
  std::size_t index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }
};
