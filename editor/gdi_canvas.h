// The controls' canvas on Windows: a device context of the editor window, drawn on with
// BitBlt from the editor's bitmaps, brushes and pens made for each draw and released at
// once.
#pragma once

#include "editor/control_canvas.h"
#include "editor/win32_api.h"

class WindowEditor;

class GdiCanvas : public ControlCanvas {
 public:
  // `bitmaps` names the bitmap handles; window's thread only.
  GdiCanvas(HDC target, const WindowEditor& bitmaps) : dc(target), source(bitmaps) {}

  void blit(BitmapId bitmap, std::int32_t sourceTop, const PixelRect& target, RasterOp op) override;
  void fillRectangle(const PixelRect& area, PixelColor fill) override;
  void fillEllipse(const PixelRect& bounds, PixelColor outline, PixelColor fill) override;

  static COLORREF toColorRef(PixelColor color);

 private:
  HDC dc;
  const WindowEditor& source;
};
