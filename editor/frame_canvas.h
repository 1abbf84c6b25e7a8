// The controls' canvas where the window system draws nothing itself (X11): the pixels
// are composed in a frame in memory with the raster rules of the Windows editor (copy,
// AND, OR, bit by bit), and the canvas remembers the rectangle it changed so that only
// that part is sent to the window.
#pragma once

#include "editor/control_canvas.h"
#include "editor/pixel_image.h"

class FrameCanvas : public ControlCanvas {
 public:
  // Where the canvas finds a bitmap by its number; null for none.
  using BitmapLookup = const PixelImage* (*)(BitmapId id);

  FrameCanvas(PixelImage& target, BitmapLookup bitmaps) : frame(target), lookup(bitmaps), changed{0, 0, 0, 0} {}

  // Pixels outside the frame or the bitmap are left out.
  void blit(BitmapId bitmap, std::int32_t sourceTop, const PixelRect& target, RasterOp op) override;
  void fillRectangle(const PixelRect& area, PixelColor fill) override;
  void fillEllipse(const PixelRect& bounds, PixelColor outline, PixelColor fill) override;

  // The smallest rectangle holding every pixel drawn so far; width 0 when none.
  const PixelRect& changedArea() const { return changed; }

 private:
  // `area` cut to the frame; false when nothing of it is left.
  bool clip(PixelRect& area) const;
  void markChanged(const PixelRect& area);

  PixelImage& frame;
  BitmapLookup lookup;
  PixelRect changed;
};
