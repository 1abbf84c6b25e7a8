// The module's four bitmaps decoded, for the editors that compose their window's pixels
// themselves (X11). Decoded once per process, on first use, from the compiled-in files.
#pragma once

#include "editor/pixel_image.h"

// The decoded bitmap with that resource number; null when there is none or its file
// cannot be decoded. Any thread; the pictures live as long as the process.
const PixelImage* moduleBitmap(BitmapId id);
