#include "editor/frame_canvas.h"

#include <algorithm>

namespace {

PixelColor combine(PixelColor target, PixelColor source, RasterOp op) {
  switch (op) {
    case RASTER_AND: return target & source;
    case RASTER_OR: return target | source;
    default: return source;
  }
}

}  // namespace

bool FrameCanvas::clip(PixelRect& area) const {
  const std::int32_t right = std::min(area.left + area.width, frame.width);
  const std::int32_t bottom = std::min(area.top + area.height, frame.height);
  area.left = std::max(area.left, 0);
  area.top = std::max(area.top, 0);
  area.width = right - area.left;
  area.height = bottom - area.top;
  return area.width > 0 && area.height > 0;
}

void FrameCanvas::markChanged(const PixelRect& area) {
  if (changed.width == 0) {
    changed = area;
    return;
  }
  const std::int32_t right = std::max(changed.left + changed.width, area.left + area.width);
  const std::int32_t bottom = std::max(changed.top + changed.height, area.top + area.height);
  changed.left = std::min(changed.left, area.left);
  changed.top = std::min(changed.top, area.top);
  changed.width = right - changed.left;
  changed.height = bottom - changed.top;
}

void FrameCanvas::blit(BitmapId bitmap, std::int32_t sourceTop, const PixelRect& target, RasterOp op) {
  const PixelImage* source = lookup != nullptr ? lookup(bitmap) : nullptr;
  if (source == nullptr || sourceTop < 0) return;
  // The part of the target the bitmap covers, from its column 0 and row sourceTop.
  PixelRect area = {target.left, target.top, std::min(target.width, source->width),
                    std::min(target.height, source->height - sourceTop)};
  const std::int32_t shiftX = -target.left;
  const std::int32_t shiftY = sourceTop - target.top;
  if (!clip(area)) return;
  for (std::int32_t y = area.top; y < area.top + area.height; ++y) {
    for (std::int32_t x = area.left; x < area.left + area.width; ++x) {
      frame.at(x, y) = combine(frame.at(x, y), source->at(x + shiftX, y + shiftY), op);
    }
  }
  markChanged(area);
}

void FrameCanvas::fillRectangle(const PixelRect& target, PixelColor fill) {
  PixelRect area = target;
  if (!clip(area)) return;
  for (std::int32_t y = area.top; y < area.top + area.height; ++y) {
    for (std::int32_t x = area.left; x < area.left + area.width; ++x) frame.at(x, y) = fill;
  }
  markChanged(area);
}

// A pixel belongs to the ellipse when its centre lies inside; to the outline when it
// does, but would not inside the ellipse one pixel smaller on every side.
void FrameCanvas::fillEllipse(const PixelRect& bounds, PixelColor outline, PixelColor fill) {
  PixelRect area = bounds;
  if (bounds.width <= 0 || bounds.height <= 0 || !clip(area)) return;
  const double centreX = bounds.left + bounds.width / 2.0;
  const double centreY = bounds.top + bounds.height / 2.0;
  const double radiusX = bounds.width / 2.0;
  const double radiusY = bounds.height / 2.0;
  auto inside = [&](double x, double y, double shrink) {
    const double rx = radiusX - shrink;
    const double ry = radiusY - shrink;
    if (rx <= 0.0 || ry <= 0.0) return false;
    const double dx = (x - centreX) / rx;
    const double dy = (y - centreY) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
  for (std::int32_t y = area.top; y < area.top + area.height; ++y) {
    for (std::int32_t x = area.left; x < area.left + area.width; ++x) {
      const double px = x + 0.5;
      const double py = y + 0.5;
      if (!inside(px, py, 0.0)) continue;
      frame.at(x, y) = inside(px, py, 1.0) ? fill : outline;
    }
  }
  markChanged(area);
}
