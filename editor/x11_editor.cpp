// Life of the X11 editor: its window, painting into the in-memory frame, and the
// translation of X events into the controls' routing.
#include "editor/x11_editor.h"

#include <cstdlib>
#include <new>

#include "editor/edited_instance.h"
#include "editor/editor_layout.h"
#include "editor/frame_canvas.h"
#include "editor/gui_control.h"
#include "editor/layout_controls.h"
#include "editor/module_bitmaps.h"

namespace {

// Pointer buttons as X numbers them: the left one, and the wheel's two directions.
constexpr xcb_button_t kLeftButton = 1;
constexpr xcb_button_t kWheelAwayButton = 4;
constexpr xcb_button_t kWheelTowardButton = 5;
constexpr std::int32_t kWheelAway = 1;
constexpr std::int32_t kWheelToward = -1;
// The largest X resource id: anything larger in the host's pointer is no window.
constexpr std::uintptr_t kLargestWindowId = 0xFFFFFFFFu;

std::uint8_t eventType(const xcb_generic_event_t* event) { return event->response_type & 0x7F; }

}  // namespace

X11Editor::X11Editor(EditedInstance* owner)
    : EditorBase(owner),
      editorRect{0, 0, static_cast<std::int16_t>(editor_layout::kHeight), static_cast<std::int16_t>(editor_layout::kWidth)},
      frame(editor_layout::kWidth, editor_layout::kHeight, kEditorFillColor),
      windowOpen(false),
      windowThread(std::thread::id()) {
  // A bitmap that cannot be decoded leaves out the controls drawn from it.
  editor_layout::addControls(controls, this,
                             {moduleBitmap(editor_layout::kSwitchId) != nullptr,
                              moduleBitmap(editor_layout::kKnobStripId) != nullptr,
                              moduleBitmap(editor_layout::kKnobMaskId) != nullptr});
}

X11Editor::~X11Editor() { close(); }

bool X11Editor::getRect(ERect** rect) {
  if (rect == nullptr) return false;
  *rect = &editorRect;
  return true;
}

bool X11Editor::open(void* parent) {
  close();
  const auto parentId = reinterpret_cast<std::uintptr_t>(parent);
  if (parentId == 0 || parentId > kLargestWindowId) return false;
  if (!window.create(static_cast<xcb_window_t>(parentId), editorRect.right, editorRect.bottom)) return false;
  parentWindow = parent;
  windowThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
  windowOpen.store(true, std::memory_order_release);
  // The window is drawn when the server exposes it.
  return true;
}

void X11Editor::close() {
  if (window.isCreated()) {
    windowOpen.store(false, std::memory_order_release);
    // A drag cut short by the close ends here, with its gesture.
    controls.endDrag(0, 0);
    window.destroy();
  }
  parentWindow = nullptr;
}

void X11Editor::idle() { pumpEvents(); }

int X11Editor::pumpDescriptor() const { return window.isCreated() ? window.descriptor() : kNoDescriptor; }

void X11Editor::pumpEvents() {
  if (!window.isCreated()) return;
  while (xcb_generic_event_t* event = window.nextEvent()) {
    handleEvent(event);
    std::free(event);
  }
  drawDirtyControls();
}

void X11Editor::pumpTimer() { pumpEvents(); }

void X11Editor::parameterChanged(VstInt32 index, float newValue) { controls.parameterChanged(index, newValue); }

void X11Editor::refreshAllControls() {
  if (EditedInstance* instance = getEffect()) controls.refreshAll(*instance);
}

bool X11Editor::onWindowThread() const {
  return std::this_thread::get_id() == windowThread.load(std::memory_order_relaxed);
}

void X11Editor::redrawDirty() {
  if (!windowOpen.load(std::memory_order_acquire) || !onWindowThread()) return;
  drawDirtyControls();
}

// UI thread only.
void X11Editor::drawDirtyControls() {
  if (!window.isCreated() || window.isGone()) return;
  FrameCanvas canvas(frame, moduleBitmap);
  controls.drawDirty(canvas, kEditorOutlineColor, kEditorBackdropColor);
  if (canvas.changedArea().width > 0) {
    window.put(frame, canvas.changedArea());
    window.flush();
  }
}

// The window was exposed: the background, then every control over it.
void X11Editor::paintWindow() {
  if (window.isGone()) return;
  FrameCanvas canvas(frame, moduleBitmap);
  const PixelImage* background = moduleBitmap(editor_layout::kBackgroundId);
  if (background != nullptr) {
    canvas.blit(editor_layout::kBackgroundId, 0, {0, 0, background->width, background->height}, RASTER_COPY);
  } else {
    canvas.fillRectangle({0, 0, frame.width, frame.height}, kEditorFillColor);
  }
  controls.drawAll(canvas, kEditorOutlineColor, kEditorBackdropColor);
  window.put(frame, {0, 0, frame.width, frame.height});
  window.flush();
}

// Pointer events carry window coordinates as signed 16-bit numbers: while the left button
// is held the window keeps the pointer (the server's implicit grab), and a drag beyond the
// window's left or top edge arrives as negative coordinates.
void X11Editor::handleEvent(const xcb_generic_event_t* event) {
  switch (eventType(event)) {
    case XCB_EXPOSE:
      // The last of a series of exposed rectangles repaints the whole window.
      if (reinterpret_cast<const xcb_expose_event_t*>(event)->count == 0) paintWindow();
      return;
    case XCB_BUTTON_PRESS: {
      const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event);
      if (press->detail == kLeftButton) controls.routePress(press->event_x, press->event_y);
      if (press->detail == kWheelAwayButton) controls.routeWheel(press->event_x, press->event_y, kWheelAway);
      if (press->detail == kWheelTowardButton) controls.routeWheel(press->event_x, press->event_y, kWheelToward);
      break;
    }
    case XCB_BUTTON_RELEASE: {
      const auto* release = reinterpret_cast<const xcb_button_release_event_t*>(event);
      if (release->detail == kLeftButton) controls.routeRelease(release->event_x, release->event_y);
      break;
    }
    case XCB_MOTION_NOTIFY: {
      const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
      // The button came up while the window could not keep the pointer (it was hidden, so
      // the server let the pointer go): the drag ended then.
      if ((motion->state & XCB_BUTTON_MASK_1) == 0) controls.endDrag(motion->event_x, motion->event_y);
      controls.routeMove(motion->event_x, motion->event_y);
      break;
    }
    default:
      return;
  }
  // As on Windows, every handled pointer event ends with the redraw of what it changed.
  drawDirtyControls();
}

// Called by the instance's construction, on whichever host thread creates it.
EditorBase* createPluginEditor(EditedInstance* owner) {
  try {
    return new X11Editor(owner);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
