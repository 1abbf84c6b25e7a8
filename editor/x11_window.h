// The X11 editor's child window inside the host's window, on a display connection of its
// own (Xlib and xcb connections must not be shared between threads, and the host's is
// the host's). Every request that can fail on a host's bad window id is checked, so an
// error reaches this class and never the host's error handler; the connection, and with
// it every server resource the window used, ends with the window.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

#include "editor/pixel_image.h"
#include "editor/x11_pixel_format.h"

class X11Window {
 public:
  X11Window() = default;
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  // UI thread: connects to the display named by DISPLAY, checks that `parent` is a window
  // there, creates a child of `width` x `height` at its top-left corner and maps it.
  // False, with nothing left behind, when any step fails.
  bool create(xcb_window_t parent, std::int32_t width, std::int32_t height);
  // UI thread: destroys the window (unless its parent took it along) and disconnects.
  void destroy();

  bool isCreated() const { return connection != nullptr; }
  // The window was destroyed with its parent, or the connection broke: nothing more is
  // drawn; destroy still has to be called.
  bool isGone() const { return gone; }
  xcb_window_t id() const { return window; }
  // The connection's file descriptor, -1 while there is none.
  int descriptor() const;

  // UI thread: the next pending event (free it with free), or null when none is left.
  // Never blocks. Errors and the window's own destruction are taken out of the stream.
  xcb_generic_event_t* nextEvent();
  // UI thread: sends `area` of `frame` (window coordinates) to the window.
  void put(const PixelImage& frame, const PixelRect& area);
  void flush();
  // UI thread: waits until the server has handled every request sent so far, so that
  // the events it generated before are queued (closing; tests).
  void synchronize();
  // Errors the server reported, over every window this object made, for requests nobody
  // checked: none, unless something is wrong.
  unsigned errorCount() const { return errors; }

 private:
  void fail();

  xcb_connection_t* connection = nullptr;
  xcb_window_t window = 0;
  xcb_gcontext_t context = 0;
  X11PixelFormat format;
  std::int32_t windowWidth = 0;
  std::int32_t windowHeight = 0;
  std::size_t largestRequest = 0;
  bool gone = false;
  unsigned errors = 0;
  std::vector<std::uint8_t> packed;
};
