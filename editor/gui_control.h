// A control of the editor window: a rectangle of client pixels bound to one plug-in
// parameter. It draws itself from bitmaps, takes the mouse events the window editor
// routes to it, and reports the changes the user makes to the plug-in instance.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/win32_api.h"
#include "shell/vst_abi.h"

class WindowEditor;

class GuiControl {
 public:
  // Button argument of onMouseDown and onClick: the window editor routes the left one only.
  static constexpr std::int32_t kLeftButton = 0;

  GuiControl(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, float initialValue);
  virtual ~GuiControl();
  GuiControl(const GuiControl&) = delete;
  GuiControl& operator=(const GuiControl&) = delete;

  // Mouse events, routed by the window editor on the window's thread.
  virtual void onMouseDown(std::int32_t button, std::int32_t x, std::int32_t y);
  virtual void onClick(std::int32_t button, std::int32_t x, std::int32_t y);
  virtual void onMouseEnter(std::int32_t x, std::int32_t y);
  virtual void onMouseLeave(std::int32_t x, std::int32_t y);
  virtual void onMouseRelease(std::int32_t x, std::int32_t y);
  virtual void onMouseDrag(std::int32_t x, std::int32_t y);
  virtual void onWheel(std::int32_t direction);
  // Draws the control into `dc` at its place; window's thread only (it selects the
  // shared bitmaps into a memory DC).
  virtual void draw(HDC dc, COLORREF outline, COLORREF fill);
  // Any thread with notify false (values pushed by the plug-in); the window's thread
  // with notify true (the user's changes, reported to the instance).
  virtual void setValue(float newValue, bool notify) = 0;
  virtual float getValue() = 0;

  // Window's thread: draws the control if it is marked, then clears the mark.
  void paintIfDirty(HDC dc, COLORREF outline, COLORREF fill);

  // Window's thread: the user takes hold of the control (press) and lets it go (the end
  // of the press, however it ends). Controls that report as automation tell the instance,
  // so that hosts recording gestures see the changes in between as one.
  void beginGesture();
  void endGesture();

  // Set by the creator once, before the editor is opened.
  void bind(WindowEditor* owner, VstInt32 parameter, bool reportAsAutomation);

  std::int32_t getLeft() const { return left; }
  std::int32_t getTop() const { return top; }
  std::int32_t getWidth() const { return width; }
  std::int32_t getHeight() const { return height; }
  VstInt32 getParameterIndex() const { return parameterIndex; }
  bool isDirty() const { return dirty.load(std::memory_order_relaxed); }
  void setDirty() { dirty.store(true, std::memory_order_relaxed); }
  bool isHovered() const { return hover; }
  bool isPressed() const { return pressed; }

 protected:
  // Tells the instance about a value the user chose: as automation (the host hears of
  // it) or as a plain parameter change.
  void reportValue(float reported);

  std::int32_t left;
  std::int32_t top;
  std::int32_t width;
  std::int32_t height;
  // Written by the window's thread and by whichever thread sets parameters.
  std::atomic<float> value;
  VstInt32 parameterIndex;
  WindowEditor* ownerEditor;
  bool automate;
  std::atomic<bool> dirty;
  bool hover;
  bool pressed;
  bool roundBackdrop;
  bool backdropVisible;
};
