// A control of the editor window: a rectangle of client pixels bound to one plug-in
// parameter. It draws itself from the module's bitmaps, takes the mouse events its editor
// routes to it, and reports the changes the user makes to the plug-in instance. Nothing
// here depends on a window system: both window back-ends use these controls as they are.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/control_canvas.h"

class EditorBase;

class GuiControl {
 public:
  // Button argument of onMouseDown and onClick: the editors route the left one only.
  static constexpr std::int32_t kLeftButton = 0;

  GuiControl(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, float initialValue);
  virtual ~GuiControl();
  GuiControl(const GuiControl&) = delete;
  GuiControl& operator=(const GuiControl&) = delete;

  // Mouse events, routed by the editor on the window's thread.
  virtual void onMouseDown(std::int32_t button, std::int32_t x, std::int32_t y);
  virtual void onClick(std::int32_t button, std::int32_t x, std::int32_t y);
  virtual void onMouseEnter(std::int32_t x, std::int32_t y);
  virtual void onMouseLeave(std::int32_t x, std::int32_t y);
  virtual void onMouseRelease(std::int32_t x, std::int32_t y);
  virtual void onMouseDrag(std::int32_t x, std::int32_t y);
  virtual void onWheel(std::int32_t direction);
  // Draws the control at its place; window's thread only.
  virtual void draw(ControlCanvas& canvas, PixelColor outline, PixelColor fill);
  // Any thread with notify false (values pushed by the plug-in); the window's thread
  // with notify true (the user's changes, reported to the instance).
  virtual void setValue(float newValue, bool notify) = 0;
  virtual float getValue() = 0;

  // Window's thread: draws the control if it is marked. The mark is taken before drawing,
  // so a value pushed by another thread meanwhile marks it again for the next redraw.
  void paintIfDirty(ControlCanvas& canvas, PixelColor outline, PixelColor fill);

  // Set by the creator once, before the editor is opened.
  void bind(EditorBase* owner, std::int32_t parameter, bool reportAsAutomation);

  std::int32_t getLeft() const { return left; }
  std::int32_t getTop() const { return top; }
  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }
  PixelRect getRect() const { return {left, top, width, height}; }
  std::int32_t getParameterIndex() const { return parameterIndex; }
  bool isDirty() const { return dirty.load(std::memory_order_relaxed); }
  void setDirty() { dirty.store(true, std::memory_order_relaxed); }
  bool isHovered() const { return hover; }
  bool isPressed() const { return pressed; }

 protected:
  // Tells the instance about a value the user chose: as automation (the host hears of
  // it) or as a plain parameter change.
  void reportValue(float reported);
  // The user takes hold of the control and lets it go: hosts that record gestures hear of
  // both, around the reports in between.
  void beginGesture();
  void endGesture();

  std::int32_t left;
  std::int32_t top;
  std::int32_t width;
  std::int32_t height;
  // Written by the window's thread and by whichever thread sets parameters.
  std::atomic<float> value;
  std::int32_t parameterIndex;
  EditorBase* ownerEditor;
  bool automate;
  std::atomic<bool> dirty;
  bool hover;
  bool pressed;
  bool roundBackdrop;
  bool backdropVisible;
};
