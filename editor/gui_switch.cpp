#include "editor/gui_switch.h"

GuiSwitch::GuiSwitch(std::int32_t switchLeft, std::int32_t switchTop, BitmapId bitmap)
    : GuiControl(switchLeft, switchTop, kWidth, kHeight, kOff), switchBitmap(bitmap), stateOffset(kStateOffset) {}

// Window's thread. Pressing, hovering and their ends only cause a redraw: the switch
// looks the same in every one of these states.
void GuiSwitch::onMouseDown(std::int32_t, std::int32_t, std::int32_t) {
  pressed = true;
  setDirty();
}

void GuiSwitch::onMouseRelease(std::int32_t, std::int32_t) {
  pressed = false;
  setDirty();
}

void GuiSwitch::onMouseEnter(std::int32_t, std::int32_t) {
  hover = true;
  setDirty();
}

void GuiSwitch::onMouseLeave(std::int32_t, std::int32_t) {
  hover = false;
  setDirty();
}

// Window's thread: a click flips the switch and reports the new value as one gesture; a
// value of exactly one half belongs to neither state and is left alone.
void GuiSwitch::onClick(std::int32_t, std::int32_t, std::int32_t) {
  const float current = value.load(std::memory_order_relaxed);
  if (current < kThreshold || current > kThreshold) {
    beginGesture();
    setValue(current < kThreshold ? kOn : kOff, true);
    endGesture();
  }
  pressed = false;
  hover = false;
  setDirty();
}

void GuiSwitch::setValue(float newValue, bool notify) {
  value.store(newValue, std::memory_order_relaxed);
  if (notify) reportValue(newValue);
  setDirty();
}

float GuiSwitch::getValue() { return value.load(std::memory_order_relaxed); }

// The state image is opaque: copied straight over whatever is below.
void GuiSwitch::draw(ControlCanvas& canvas, PixelColor, PixelColor) {
  const std::int32_t row = value.load(std::memory_order_relaxed) > kThreshold ? stateOffset : 0;
  canvas.blit(switchBitmap, row, getRect(), RASTER_COPY);
}
