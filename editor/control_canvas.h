// What a control draws on: the window's pixels, wherever they are kept. A control says
// which of the module's bitmaps goes where and with which raster operation; each window
// back-end carries that out (GDI on Windows, an in-memory frame put to an X11 window).
#pragma once

#include <cstdint>

// A colour as 0xRRGGBB.
using PixelColor = std::uint32_t;
// A bitmap of the module, named by its resource number (editor_layout.h).
using BitmapId = int;

// The colours of the window editors: the outline and fill of a control's backdrop, and the
// window fill when the background picture is missing.
constexpr PixelColor kEditorOutlineColor = 0x000000;
constexpr PixelColor kEditorBackdropColor = 0xFAFAFA;
constexpr PixelColor kEditorFillColor = 0x969696;

// How the source pixels combine with the target's, bit by bit as GDI's SRCCOPY, SRCAND
// and SRCPAINT: a knob's mask ANDed in blackens its disc, its frame ORed in draws the knob.
enum RasterOp { RASTER_COPY, RASTER_AND, RASTER_OR };

struct PixelRect {
  std::int32_t left;
  std::int32_t top;
  std::int32_t width;
  std::int32_t height;
};

class ControlCanvas {
 public:
  virtual ~ControlCanvas() = default;
  // Combines the bitmap's pixels from column 0, row `sourceTop` onward into `target`.
  // An unknown bitmap draws nothing.
  virtual void blit(BitmapId bitmap, std::int32_t sourceTop, const PixelRect& target, RasterOp op) = 0;
  virtual void fillRectangle(const PixelRect& area, PixelColor fill) = 0;
  // An ellipse inside `bounds`, filled with `fill` and outlined one pixel wide.
  virtual void fillEllipse(const PixelRect& bounds, PixelColor outline, PixelColor fill) = 0;
};
