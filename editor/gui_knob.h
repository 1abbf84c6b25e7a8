// A rotary knob drawn from a strip of frames through a round mask, turned by dragging
// the mouse vertically (up for more). A drag is one gesture, from press to release.
#pragma once

#include "editor/gui_control.h"

class GuiKnob : public GuiControl {
 public:
  // A knob starts in the middle of its range.
  static constexpr float kInitialValue = 0.5f;
  // Value change per pixel of vertical drag: 200 pixels cover the whole range.
  static constexpr float kDragStep = 0.005f;
  // Drag steps that change the value by less than a thousandth are not applied.
  static constexpr float kStepResolution = 1000.0f;
  // Frame row before anything was marked for drawing: no real row.
  static constexpr std::int32_t kNoFrameRow = -1000;

  GuiKnob(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, float snapRadius,
          float snapValue, BitmapId frameStrip, BitmapId maskBitmap, std::int32_t frameHeight,
          std::int32_t frameCount);

  void onMouseDown(std::int32_t button, std::int32_t x, std::int32_t y) override;
  void onMouseRelease(std::int32_t x, std::int32_t y) override;
  void onMouseDrag(std::int32_t x, std::int32_t y) override;
  void draw(ControlCanvas& canvas, PixelColor outline, PixelColor fill) override;
  // Clamps to 0..1; an unchanged value is neither reported nor redrawn.
  void setValue(float newValue, bool notify) override;
  float getValue() override;

  // Pixel row, in the strip, of the frame that shows `shown`.
  std::int32_t frameRowFor(float shown) const;

 private:
  std::int32_t anchorY;
  float snapRadius;
  float snapValue;
  std::atomic<std::int32_t> cachedFrameOffset;
  std::int32_t frameCount;
  std::int32_t frameHeight;
  BitmapId frameStrip;
  BitmapId maskBitmap;
  bool reportOnRelease;
};
