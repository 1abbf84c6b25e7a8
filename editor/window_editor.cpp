// Life of the window editor: the shared class registration, the child window, painting
// and the redraw of changed controls, and the values pushed in by the plug-in.
#include "editor/window_editor.h"

#include <mutex>
#include <utility>

#include "editor/edited_instance.h"
#include "editor/gdi_canvas.h"
#include "editor/gui_control.h"
#include "shell/module_handle.h"

namespace {

// Live window editors in the process; the class is registered while it is above zero.
std::int32_t editorInstanceCount = 0;

// Instances may be created and destroyed on several host threads: counting and
// (un)registering the class are done under one lock. Never taken on the audio path.
std::mutex& classRegistrationLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

WindowEditor::WindowEditor(EditedInstance* owner, std::int32_t editorWidth, std::int32_t editorHeight)
    : EditorBase(owner),
      editorRect{0, 0, static_cast<std::int16_t>(editorHeight), static_cast<std::int16_t>(editorWidth)},
      clientRect{0, 0, editorWidth, editorHeight},
      window(nullptr),
      outlineColor(kOutlineColor),
      backdropColor(kBackdropColor),
      fillColor(kFillColor),
      width(editorWidth),
      height(editorHeight),
      backgroundBitmap(nullptr),
      hasBackground(false),
      moduleInstance(static_cast<HINSTANCE>(moduleHandle)),
      windowThreadId(0),
      redrawPosted(false) {
  std::lock_guard<std::mutex> guard(classRegistrationLock());
  WNDCLASSA existing;
  if (!GetClassInfoA(moduleInstance, kClassName, &existing)) {
    // No double-click style, no redraw on resize, no background brush: only WM_PAINT draws.
    WNDCLASSA windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = moduleInstance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
  }
  ++editorInstanceCount;
}

// The controls are deleted with the control set, after the class is released.
WindowEditor::~WindowEditor() {
  // The window goes first, so no message can reach a control being deleted.
  close();
  std::lock_guard<std::mutex> guard(classRegistrationLock());
  --editorInstanceCount;
  if (editorInstanceCount < 1) UnregisterClassA(kClassName, moduleInstance);
}

std::int32_t WindowEditor::getInstanceCount() {
  std::lock_guard<std::mutex> guard(classRegistrationLock());
  return editorInstanceCount;
}

void WindowEditor::addControl(std::unique_ptr<GuiControl> control) { controls.add(std::move(control)); }

HBITMAP WindowEditor::bitmapFor(BitmapId) const { return nullptr; }

void WindowEditor::setBackground(HBITMAP bitmap) {
  backgroundBitmap = bitmap;
  hasBackground = bitmap != nullptr;
}

bool WindowEditor::getRect(ERect** rect) {
  if (rect == nullptr) return false;
  *rect = &editorRect;
  return true;
}

bool WindowEditor::open(void* parent) {
  if (window.load(std::memory_order_relaxed) != nullptr) close();
  parentWindow = parent;
  HWND created = CreateWindowExA(0, kClassName, "", WS_CHILD, 0, 0, width, height, static_cast<HWND>(parent),
                                 nullptr, moduleInstance, nullptr);
  if (created == nullptr) {
    parentWindow = nullptr;
    return false;
  }
  windowThreadId.store(GetCurrentThreadId(), std::memory_order_relaxed);
  redrawPosted.store(false, std::memory_order_relaxed);
  // Messages sent during creation found no editor and went to the default procedure.
  SetWindowLongPtrA(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  window.store(created, std::memory_order_relaxed);
  ShowWindow(created, SW_SHOW);
  return true;
}

void WindowEditor::close() {
  HWND closing = window.exchange(nullptr, std::memory_order_relaxed);
  if (closing != nullptr) {
    // Detach first: the messages sent while the window is destroyed go to the default
    // procedure. A drag cut short by the close ends here, so that no later move of the
    // pointer, button up, can carry it on in a window opened again.
    SetWindowLongPtrA(closing, GWLP_USERDATA, 0);
    controls.endDrag(0, 0);
    DestroyWindow(closing);
  }
  parentWindow = nullptr;
}

void WindowEditor::parameterChanged(VstInt32 index, float newValue) { controls.parameterChanged(index, newValue); }

void WindowEditor::refreshAllControls() {
  EditedInstance* instance = getEffect();
  if (instance == nullptr) return;
  controls.refreshAll(*instance);
  // A chunk load is followed by no redraw of its own: let the window catch up.
  requestRedraw();
}

bool WindowEditor::onWindowThread() const {
  return GetCurrentThreadId() == windowThreadId.load(std::memory_order_relaxed);
}

void WindowEditor::redrawDirty() {
  if (window.load(std::memory_order_relaxed) == nullptr) return;
  if (onWindowThread()) {
    drawDirtyControls();
  } else {
    requestRedraw();
  }
}

void WindowEditor::requestRedraw() {
  HWND target = window.load(std::memory_order_relaxed);
  if (target == nullptr) return;
  // One message at a time: automation arriving faster than the window redraws is
  // gathered into the next redraw rather than flooding the queue.
  if (redrawPosted.exchange(true, std::memory_order_relaxed)) return;
  if (!PostMessageA(target, kRedrawMessage, 0, 0)) redrawPosted.store(false, std::memory_order_relaxed);
}

// Window's thread only.
void WindowEditor::drawDirtyControls() {
  HWND target = window.load(std::memory_order_relaxed);
  if (target == nullptr || !isOpen()) return;
  HDC dc = GetDC(target);
  GdiCanvas canvas(dc, *this);
  controls.drawDirty(canvas, outlineColor, backdropColor);
  ReleaseDC(target, dc);
}

// WM_PAINT, window's thread: the background, then every control over it.
void WindowEditor::paintWindow() {
  HWND target = window.load(std::memory_order_relaxed);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(target, &paint);
  if (hasBackground) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, backgroundBitmap);
    BITMAP size = {};
    GetObjectA(backgroundBitmap, sizeof(size), &size);
    BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
  } else {
    HBRUSH brush = CreateSolidBrush(GdiCanvas::toColorRef(fillColor));
    FillRect(dc, &clientRect, brush);
    DeleteObject(brush);
  }
  GdiCanvas canvas(dc, *this);
  controls.drawAll(canvas, outlineColor, backdropColor);
  EndPaint(target, &paint);
}
