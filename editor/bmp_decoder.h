// Reads the module's bitmaps from the bytes of their .bmp files: uncompressed 8-bit
// palette and 24-bit pictures, stored bottom-up or top-down, the two formats the artwork
// uses. The Linux builds carry the files compiled in and decode them here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "editor/pixel_image.h"

// False, `image` untouched, for anything else or anything cut short.
bool decodeBmp(const std::uint8_t* data, std::size_t size, PixelImage& image);
