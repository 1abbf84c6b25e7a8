// The generic window editor on Windows: the shared window class "VelkorGui", the child
// window inside the host's window, painting with GDI and the redraw of the controls whose
// value or state changed. The controls and their mouse routing are the ControlSet that
// the X11 editor uses too; this class turns window messages into its calls.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "editor/control_set.h"
#include "editor/editor_base.h"
#include "editor/win32_api.h"

class GuiControl;

class WindowEditor : public EditorBase {
 public:
  static constexpr const char* kClassName = "VelkorGui";
  // Colours handed to every control draw, and the window fill without a background.
  static constexpr PixelColor kOutlineColor = kEditorOutlineColor;
  static constexpr PixelColor kBackdropColor = kEditorBackdropColor;
  static constexpr PixelColor kFillColor = kEditorFillColor;
  // Posted to the window by a thread other than its own that wants the dirty controls
  // drawn: GDI work on the shared bitmaps stays on the window's thread.
  static constexpr UINT kRedrawMessage = WM_APP + 1;

  // Any host thread (the instance's construction): registers the class when needed.
  WindowEditor(EditedInstance* owner, std::int32_t width, std::int32_t height);
  // Any host thread (effClose): deletes the controls, destroys a window still open and
  // unregisters the class when the last editor goes.
  ~WindowEditor() override;

  // effEditGetRect, UI thread: the rectangle stays valid for the editor's life.
  bool getRect(ERect** rect) override;
  // effEditOpen, UI thread: creates and shows the child window in `parent`. An editor
  // already open closes its old window first. False, and still closed, when the window
  // cannot be created.
  bool open(void* parent) override;
  // effEditClose, UI thread: destroys the window.
  void close() override;

  // Any thread: the instance's value for `index` changed (setParameter).
  void parameterChanged(VstInt32 index, float value) override;
  // Any thread: every control takes its parameter's value (program change, chunk load).
  void refreshAllControls() override;
  // Any thread: draws the dirty controls at once on the window's thread; from any other
  // thread asks the window's thread to do so. Nothing while closed.
  void redrawDirty() override;

  // First control in list order that strictly contains (x, y), or null.
  GuiControl* hitTest(std::int32_t x, std::int32_t y) const;

  HWND getWindow() const { return window.load(std::memory_order_relaxed); }
  std::size_t getControlCount() const { return controls.size(); }
  GuiControl* getControl(std::size_t position) const { return controls.at(position); }
  GuiControl* getHoverControl() const { return controls.hover(); }
  GuiControl* getCapturedControl() const { return controls.captured(); }
  // The bitmap a control names; null when the derived editor has none by that number.
  virtual HBITMAP bitmapFor(BitmapId id) const;
  // Live window editors in the process: the reference count of the class registration.
  static std::int32_t getInstanceCount();

 protected:
  // Appends a control to the list; the editor owns it from then on.
  void addControl(std::unique_ptr<GuiControl> control);
  ControlSet& controlSet() { return controls; }
  void setBackground(HBITMAP bitmap);
  HINSTANCE getModuleInstance() const { return moduleInstance; }

 private:
  static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void routeMove(std::int32_t x, std::int32_t y);
  void routePress(std::int32_t x, std::int32_t y);
  void routeRelease(std::int32_t x, std::int32_t y);
  void routeWheel(WPARAM wParam, LPARAM lParam);
  void endLostCapture();
  void paintWindow();
  void drawDirtyControls();
  void requestRedraw();
  bool onWindowThread() const;

  ERect editorRect;
  RECT clientRect;
  // Read by other threads to decide whether and where to post a redraw.
  std::atomic<HWND> window;
  PixelColor outlineColor;
  PixelColor backdropColor;
  PixelColor fillColor;
  std::int32_t width;
  std::int32_t height;
  HBITMAP backgroundBitmap;
  // The controls in creation order, with the hover and the control that holds the capture.
  ControlSet controls;
  bool hasBackground;
  HINSTANCE moduleInstance;
  // The thread that created the window, recorded at open.
  std::atomic<DWORD> windowThreadId;
  // A redraw message is on its way; further requests wait for it.
  std::atomic<bool> redrawPosted;
};
