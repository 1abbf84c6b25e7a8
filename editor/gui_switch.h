// A two-state switch: a click flips it between 0 and 1. Values up to 0.5 show the
// upper image of its bitmap, values above 0.5 the lower one.
#pragma once

#include "editor/gui_control.h"

class GuiSwitch : public GuiControl {
 public:
  static constexpr std::int32_t kWidth = 25;
  static constexpr std::int32_t kHeight = 17;
  // First pixel row of the second state image in the bitmap.
  static constexpr std::int32_t kStateOffset = 17;
  // Values above this show the second state; a click leaves exactly this value alone.
  static constexpr float kThreshold = 0.5f;
  static constexpr float kOff = 0.0f;
  static constexpr float kOn = 1.0f;

  GuiSwitch(std::int32_t left, std::int32_t top, BitmapId switchBitmap);

  void onMouseDown(std::int32_t button, std::int32_t x, std::int32_t y) override;
  void onClick(std::int32_t button, std::int32_t x, std::int32_t y) override;
  void onMouseEnter(std::int32_t x, std::int32_t y) override;
  void onMouseLeave(std::int32_t x, std::int32_t y) override;
  void onMouseRelease(std::int32_t x, std::int32_t y) override;
  void draw(ControlCanvas& canvas, PixelColor outline, PixelColor fill) override;
  // Stores any value as it comes and marks the switch for drawing.
  void setValue(float newValue, bool notify) override;
  float getValue() override;

 private:
  BitmapId switchBitmap;
  std::int32_t stateOffset;
};
