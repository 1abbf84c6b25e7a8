// The editor window's procedure: mouse routing to the controls, hit testing, and the
// messages that paint or redraw. Runs on the thread that created the window.
#include <cstdint>

#include "editor/gui_control.h"
#include "editor/window_editor.h"

namespace {

// The pointer position of a mouse message: two signed 16-bit halves, so a captured
// drag left of or above the window arrives as negative coordinates.
std::int32_t pointerX(LPARAM lParam) { return static_cast<std::int16_t>(LOWORD(lParam)); }
std::int32_t pointerY(LPARAM lParam) { return static_cast<std::int16_t>(HIWORD(lParam)); }

// Wheel direction handed to a control: away from the user, or toward.
constexpr std::int32_t kWheelAway = 1;
constexpr std::int32_t kWheelToward = -1;

}  // namespace

// The system, on the window's thread, for every message of a "VelkorGui" window.
LRESULT CALLBACK WindowEditor::windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* editor = reinterpret_cast<WindowEditor*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (editor == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  return editor->handleMessage(message, wParam, lParam);
}

LRESULT WindowEditor::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND self = window.load(std::memory_order_relaxed);
  switch (message) {
    case WM_PAINT:
      paintWindow();
      return 0;
    case WM_MOUSEACTIVATE:
      SetFocus(self);
      return 0;
    case WM_MOUSEMOVE:
      routeMove(pointerX(lParam), pointerY(lParam));
      drawDirtyControls();
      return 0;
    case WM_LBUTTONDOWN:
      routePress(pointerX(lParam), pointerY(lParam));
      drawDirtyControls();
      return 0;
    case WM_LBUTTONUP:
      routeRelease(pointerX(lParam), pointerY(lParam));
      drawDirtyControls();
      return 0;
    case WM_MOUSEWHEEL:
      routeWheel(wParam, lParam);
      drawDirtyControls();
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse in the middle of a drag: the release will never
      // come here, so the drag ends now.
      if (reinterpret_cast<HWND>(lParam) != self) endLostCapture();
      return DefWindowProcA(self, message, wParam, lParam);
    case kRedrawMessage:
      redrawPosted.store(false, std::memory_order_relaxed);
      drawDirtyControls();
      return 0;
    default:
      return DefWindowProcA(self, message, wParam, lParam);
  }
}

GuiControl* WindowEditor::hitTest(std::int32_t x, std::int32_t y) const { return controls.hitTest(x, y); }

void WindowEditor::routeMove(std::int32_t x, std::int32_t y) { controls.routeMove(x, y); }

// A press on a control gives it the capture.
void WindowEditor::routePress(std::int32_t x, std::int32_t y) {
  if (controls.routePress(x, y)) SetCapture(window.load(std::memory_order_relaxed));
}

void WindowEditor::routeRelease(std::int32_t x, std::int32_t y) {
  if (controls.routeRelease(x, y)) ReleaseCapture();
}

// The wheel message carries screen coordinates.
void WindowEditor::routeWheel(WPARAM wParam, LPARAM lParam) {
  POINT point = {pointerX(lParam), pointerY(lParam)};
  ScreenToClient(window.load(std::memory_order_relaxed), &point);
  const auto delta = static_cast<std::int16_t>(HIWORD(wParam));
  if (delta == 0) return;
  controls.routeWheel(point.x, point.y, delta > 0 ? kWheelAway : kWheelToward);
}

void WindowEditor::endLostCapture() {
  if (controls.captured() == nullptr) return;
  POINT point = {0, 0};
  GetCursorPos(&point);
  ScreenToClient(window.load(std::memory_order_relaxed), &point);
  controls.endDrag(point.x, point.y);
  drawDirtyControls();
}
