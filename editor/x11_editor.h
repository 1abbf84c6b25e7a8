// The synthesiser's editor on Linux: the same window as on Windows (the background with
// its three panels, two switches and eleven knobs from the same bitmaps, compiled into
// the module) as an X11 child of the host's window. It starts no thread: the host's idle
// call, or its run loop through the event pump, hands it the window's events.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "editor/control_set.h"
#include "editor/editor_base.h"
#include "editor/editor_event_pump.h"
#include "editor/pixel_image.h"
#include "editor/x11_window.h"

class GuiControl;

class X11Editor : public EditorBase, public EditorEventPump {
 public:
  // Any host thread (the instance's construction): the controls are made from the layout
  // (the first editor of the process decodes the bitmaps); no display is needed until
  // open. Throws std::bad_alloc when storage runs out.
  explicit X11Editor(EditedInstance* owner);
  // Any host thread, not while the UI thread is inside the editor: closes a window still open.
  ~X11Editor() override;

  // effEditGetRect and the other formats' size questions, UI thread: valid for the
  // editor's life.
  bool getRect(ERect** rect) override;
  // effEditOpen (the pointer holds the host's X11 window id), LV2 instantiation, UI
  // thread: opens the window inside `parent`. An editor already open closes its old
  // window first. False, and still closed, when there is no display, the id is not a
  // window, or the window cannot be made.
  bool open(void* parent) override;
  // effEditClose, LV2 cleanup, UI thread. A drag under way ends here.
  void close() override;
  // effEditIdle, LV2 idle, UI thread: handles the pending events and draws what changed.
  void idle() override;

  // Any thread: as the Win32 editor. Drawn at once on the UI thread; values set on any
  // other thread are drawn at the next idle, event or timer call.
  void parameterChanged(VstInt32 index, float value) override;
  void refreshAllControls() override;
  void redrawDirty() override;

  EditorEventPump* eventPump() override { return this; }
  int pumpDescriptor() const override;
  void pumpEvents() override;
  void pumpTimer() override;

  // The window inside the host's (0 while closed), and what a test looks at.
  std::uint32_t getWindow() const { return window.isCreated() ? window.id() : 0; }
  bool isWindowGone() const { return window.isGone(); }
  unsigned getErrorCount() const { return window.errorCount(); }
  // UI thread: waits for the server to answer, so that the events of everything done so
  // far (by any client) are pending; for tests and tools that must see them now.
  void synchronize() { window.synchronize(); }
  std::size_t getControlCount() const { return controls.size(); }
  GuiControl* getControl(std::size_t position) const { return controls.at(position); }
  GuiControl* getHoverControl() const { return controls.hover(); }
  GuiControl* getCapturedControl() const { return controls.captured(); }
  GuiControl* hitTest(std::int32_t x, std::int32_t y) const { return controls.hitTest(x, y); }

 private:
  void handleEvent(const xcb_generic_event_t* event);
  void paintWindow();
  void drawDirtyControls();
  bool onWindowThread() const;

  ERect editorRect;
  ControlSet controls;
  // What the window shows, composed here and sent to the server.
  PixelImage frame;
  X11Window window;
  // Read by other threads to decide whether they may draw (never: they leave it to the UI thread).
  std::atomic<bool> windowOpen;
  std::atomic<std::thread::id> windowThread;
};
