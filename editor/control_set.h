// The ordered controls of an editor window and the mouse routing between them, the same
// for every window back-end: hit testing, hover, the control that holds the pointer
// during a drag, values pushed in by the plug-in and the drawing of marked controls. The
// back-end turns its window system's events into these calls and grabs or releases the
// pointer as the answers say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/control_canvas.h"

class EditedInstance;
class GuiControl;

class ControlSet {
 public:
  ControlSet() = default;
  // Deletes the controls in list order.
  ~ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Construction only: the list never changes once the editor exists.
  void add(std::unique_ptr<GuiControl> control);

  std::size_t size() const { return controls.size(); }
  GuiControl* at(std::size_t position) const { return controls[position]; }
  GuiControl* hover() const { return hoverControl; }
  GuiControl* captured() const { return capturedControl; }

  // First control in list order that strictly contains (x, y), or null.
  GuiControl* hitTest(std::int32_t x, std::int32_t y) const;

  // Pointer events in window coordinates, window's thread. A move goes to the control
  // that holds the pointer, then moves the hover: leaving one control and entering
  // another take two moves, and during a drag no control but the captured one is entered.
  void routeMove(std::int32_t x, std::int32_t y);
  // The left button went down: true when a control took the pointer (grab it).
  bool routePress(std::int32_t x, std::int32_t y);
  // The left button came up: a click for the control under it unless another one holds
  // the pointer; true when a drag ended (let the pointer go).
  bool routeRelease(std::int32_t x, std::int32_t y);
  // direction +1 (away from the user) or -1.
  void routeWheel(std::int32_t x, std::int32_t y, std::int32_t direction);
  // The drag ends without its button release: the pointer was taken away, or the window
  // closes. True when there was one.
  bool endDrag(std::int32_t x, std::int32_t y);

  // Any thread: the instance's value for `index` changed; controls within the tolerance
  // of it keep theirs.
  void parameterChanged(std::int32_t index, float value);
  // Any thread: every control takes its parameter's value from `instance`.
  void refreshAll(EditedInstance& instance);

  // Window's thread: draws the marked controls.
  void drawDirty(ControlCanvas& canvas, PixelColor outline, PixelColor fill);
  // Window's thread: draws every control (the window was exposed).
  void drawAll(ControlCanvas& canvas, PixelColor outline, PixelColor fill);

 private:
  std::vector<GuiControl*> controls;
  GuiControl* hoverControl = nullptr;
  GuiControl* capturedControl = nullptr;
};
