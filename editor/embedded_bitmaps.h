// The module's bitmaps compiled into the Linux builds, as the bytes of their .bmp files,
// numbered as on Windows (editor_layout.h). The table is generated from the resource
// script by cmake/EmbedBitmaps.cmake.
#pragma once

#include <cstddef>
#include <cstdint>

#include "editor/control_canvas.h"

struct EmbeddedBitmap {
  BitmapId id;
  const std::uint8_t* bytes;
  std::size_t size;
};

extern const EmbeddedBitmap kEmbeddedBitmaps[];
extern const std::size_t kEmbeddedBitmapCount;
