#include "editor/control_set.h"

#include <cmath>

#include "editor/edited_instance.h"
#include "editor/gui_control.h"

namespace {

// A value pushed by the plug-in that is this close to what a control shows leaves it alone.
constexpr float kValueTolerance = 0.0001f;

}  // namespace

ControlSet::~ControlSet() {
  for (GuiControl* control : controls) delete control;
}

void ControlSet::add(std::unique_ptr<GuiControl> control) {
  controls.push_back(control.get());
  control.release();
}

GuiControl* ControlSet::hitTest(std::int32_t x, std::int32_t y) const {
  for (GuiControl* control : controls) {
    const std::int32_t left = control->getLeft();
    const std::int32_t top = control->getTop();
    // Strict on every side: the left column and top row are outside the control.
    if (left < x && x < left + control->getWidth() && top < y && y < top + control->getHeight()) return control;
  }
  return nullptr;
}

void ControlSet::routeMove(std::int32_t x, std::int32_t y) {
  GuiControl* hit = hitTest(x, y);
  if (capturedControl != nullptr) capturedControl->onMouseDrag(x, y);
  if (hoverControl != nullptr && hoverControl != hit) {
    hoverControl->onMouseLeave(x, y);
    hoverControl = nullptr;
    return;
  }
  if (hit == nullptr || hit == hoverControl) return;
  if (capturedControl != nullptr && hit != capturedControl) return;
  hit->onMouseEnter(x, y);
  hoverControl = hit;
}

// A press on the background does nothing and takes nothing.
bool ControlSet::routePress(std::int32_t x, std::int32_t y) {
  GuiControl* hit = hitTest(x, y);
  if (hit == nullptr) return false;
  hit->onMouseDown(GuiControl::kLeftButton, x, y);
  capturedControl = hit;
  return true;
}

bool ControlSet::routeRelease(std::int32_t x, std::int32_t y) {
  GuiControl* hit = hitTest(x, y);
  if (hit != nullptr && (capturedControl == nullptr || capturedControl == hit)) {
    hit->onClick(GuiControl::kLeftButton, x, y);
  }
  return endDrag(x, y);
}

void ControlSet::routeWheel(std::int32_t x, std::int32_t y, std::int32_t direction) {
  if (GuiControl* hit = hitTest(x, y)) hit->onWheel(direction);
}

bool ControlSet::endDrag(std::int32_t x, std::int32_t y) {
  if (capturedControl == nullptr) return false;
  // Cleared first: the release may report to the host, which may call back.
  GuiControl* releasing = capturedControl;
  capturedControl = nullptr;
  releasing->onMouseRelease(x, y);
  return true;
}

void ControlSet::parameterChanged(std::int32_t index, float newValue) {
  for (GuiControl* control : controls) {
    if (control->getParameterIndex() != index) continue;
    if (std::fabs(control->getValue() - newValue) > kValueTolerance) control->setValue(newValue, false);
  }
}

void ControlSet::refreshAll(EditedInstance& instance) {
  for (GuiControl* control : controls) control->setValue(instance.getParameter(control->getParameterIndex()), false);
}

void ControlSet::drawDirty(ControlCanvas& canvas, PixelColor outline, PixelColor fill) {
  for (GuiControl* control : controls) control->paintIfDirty(canvas, outline, fill);
}

void ControlSet::drawAll(ControlCanvas& canvas, PixelColor outline, PixelColor fill) {
  for (GuiControl* control : controls) {
    control->setDirty();
    control->paintIfDirty(canvas, outline, fill);
  }
}
