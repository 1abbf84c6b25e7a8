#include "editor/gdi_canvas.h"

#include "editor/window_editor.h"

namespace {

// The pen that outlines a round backdrop.
constexpr int kBackdropPenWidth = 1;

DWORD rasterCode(RasterOp op) {
  switch (op) {
    case RASTER_AND: return SRCAND;
    case RASTER_OR: return SRCPAINT;
    default: return SRCCOPY;
  }
}

}  // namespace

COLORREF GdiCanvas::toColorRef(PixelColor color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

// The bitmap is selected into a memory DC of its own for the one BitBlt.
void GdiCanvas::blit(BitmapId bitmap, std::int32_t sourceTop, const PixelRect& target, RasterOp op) {
  HBITMAP handle = source.bitmapFor(bitmap);
  if (handle == nullptr) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, handle);
  BitBlt(dc, target.left, target.top, target.width, target.height, memory, 0, sourceTop, rasterCode(op));
  SelectObject(memory, previous);
  DeleteDC(memory);
}

void GdiCanvas::fillRectangle(const PixelRect& area, PixelColor fill) {
  HBRUSH brush = CreateSolidBrush(toColorRef(fill));
  const RECT bounds = {area.left, area.top, area.left + area.width, area.top + area.height};
  FillRect(dc, &bounds, brush);
  DeleteObject(brush);
}

void GdiCanvas::fillEllipse(const PixelRect& bounds, PixelColor outline, PixelColor fill) {
  HBRUSH brush = CreateSolidBrush(toColorRef(fill));
  HPEN pen = CreatePen(PS_SOLID, kBackdropPenWidth, toColorRef(outline));
  HGDIOBJ previousPen = SelectObject(dc, pen);
  HGDIOBJ previousBrush = SelectObject(dc, brush);
  Ellipse(dc, bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height);
  SelectObject(dc, previousBrush);
  SelectObject(dc, previousPen);
  DeleteObject(pen);
  DeleteObject(brush);
}
