#include "editor/gui_knob.h"

#include <cmath>

namespace {

// Clamps to 0..1; a value that is not a number becomes 0, so the frame is always real.
float clampUnit(float v) {
  if (!(v >= 0.0f)) return 0.0f;
  if (v > 1.0f) return 1.0f;
  return v;
}

// The value in thousandths, truncated toward zero: drag steps below this resolution
// leave the knob where it is.
std::int32_t thousandths(float v) { return static_cast<std::int32_t>(v * GuiKnob::kStepResolution); }

}  // namespace

GuiKnob::GuiKnob(std::int32_t knobLeft, std::int32_t knobTop, std::int32_t knobWidth, std::int32_t knobHeight,
                 float detentRadius, float detentValue, BitmapId strip, BitmapId mask, std::int32_t stripFrameHeight,
                 std::int32_t stripFrameCount)
    : GuiControl(knobLeft, knobTop, knobWidth, knobHeight, kInitialValue),
      anchorY(0),
      snapRadius(detentRadius),
      snapValue(detentValue),
      cachedFrameOffset(kNoFrameRow),
      frameCount(stripFrameCount),
      frameHeight(stripFrameHeight),
      frameStrip(strip),
      maskBitmap(mask),
      reportOnRelease(false) {
  roundBackdrop = true;
}

std::int32_t GuiKnob::frameRowFor(float shown) const {
  // Frame k shows the values from k/(frames-1) up to the next frame's; the last frame
  // only the maximum itself.
  const auto frame = static_cast<std::int32_t>(static_cast<float>(frameCount - 1) * shown);
  return frame * frameHeight;
}

// Window's thread: the button went down on the knob; the drag starts here.
void GuiKnob::onMouseDown(std::int32_t, std::int32_t, std::int32_t y) {
  pressed = true;
  anchorY = y;
  beginGesture();
}

// Window's thread, each move while the knob holds the capture. Every step starts from
// the current value, so movement past either end of the range is lost.
void GuiKnob::onMouseDrag(std::int32_t, std::int32_t y) {
  const float current = value.load(std::memory_order_relaxed);
  float candidate = clampUnit(current - static_cast<float>(y - anchorY) * kDragStep);
  if (snapRadius > std::fabs(candidate - snapValue)) {
    candidate = snapValue;
  } else {
    anchorY = y;
  }
  if (thousandths(candidate) != thousandths(current)) setValue(candidate, !reportOnRelease);
}

// Window's thread: the drag ends; the knob is drawn once more.
void GuiKnob::onMouseRelease(std::int32_t, std::int32_t) {
  if (reportOnRelease) reportValue(value.load(std::memory_order_relaxed));
  endGesture();
  pressed = false;
  setDirty();
}

void GuiKnob::setValue(float newValue, bool notify) {
  const float clamped = clampUnit(newValue);
  if (clamped == value.load(std::memory_order_relaxed)) return;
  value.store(clamped, std::memory_order_relaxed);
  if (notify) reportValue(clamped);
  // Only a change of the frame shown needs a redraw.
  const std::int32_t row = frameRowFor(clamped);
  if (row != cachedFrameOffset.load(std::memory_order_relaxed)) {
    setDirty();
    cachedFrameOffset.store(row, std::memory_order_relaxed);
  }
}

float GuiKnob::getValue() { return value.load(std::memory_order_relaxed); }

// The mask blackens the knob's disc and keeps its surroundings; the frame, knob on
// black, is then ORed into the disc. The knob thus redraws in place over the background.
void GuiKnob::draw(ControlCanvas& canvas, PixelColor, PixelColor) {
  const PixelRect place = getRect();
  canvas.blit(maskBitmap, 0, place, RASTER_AND);
  canvas.blit(frameStrip, frameRowFor(value.load(std::memory_order_relaxed)), place, RASTER_OR);
}
