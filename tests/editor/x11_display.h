// The test's own side of the X display (Xvfb): host windows for the editor to open in,
// the pointer moved and its button pressed through XTest as a user's hand would, the
// windows' pixels read back, and the server's count of each client's resources.
#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "editor_picture.h"

namespace editor_test {

// Where host windows sit on the screen: far enough from the edges that a drag can leave
// the window by 300 pixels upward and 400 downward.
constexpr int kHostLeft = 200;
constexpr int kHostTop = 400;
constexpr int kHostWidth = 800;
constexpr int kHostHeight = 100;

class TestDisplay {
 public:
  // One connection for the test program, opened on first use.
  static TestDisplay& get();

  bool ok() const { return connection != nullptr; }
  xcb_connection_t* xcb() { return connection; }
  // A mapped top-level window at (kHostLeft, kHostTop), made once and kept.
  xcb_window_t hostWindow();
  // A further mapped top-level window at the same place, for a test to destroy.
  xcb_window_t createWindow();
  // The same with a 32-bit visual (red, green, blue and alpha), as compositing hosts use;
  // 0 when the screen has none.
  xcb_window_t createAlphaWindow();
  void destroyWindow(xcb_window_t window);
  std::vector<xcb_window_t> childrenOf(xcb_window_t parent);
  // Where a window sits in its parent and its size; all zero when it is no window.
  xcb_rectangle_t geometryOf(xcb_window_t window);
  // The server has handled everything this connection sent.
  void sync();

  // The pointer to (x, y) of a host window at (kHostLeft, kHostTop); the left button.
  void pointerTo(int x, int y);
  void press();
  void release();
  void releaseIfHeld();

  // The window's kWidth x kHeight pixels as the screen shows them.
  Pixels capture(xcb_window_t window);
  // Paints a rectangle of someone's window with kOverpaint, then asks the server to
  // expose the whole window again (as when a covering window goes away).
  void overpaint(xcb_window_t window, int left, int top, int width, int height);
  void expose(xcb_window_t window);

  // X-Resource: the clients connected now (their resource id bases), and the resources
  // one of them holds (windows, graphics contexts, pixmaps, ...).
  std::vector<std::uint32_t> clients();
  int resourcesOf(std::uint32_t clientBase);
  // The client in `after` that is not in `before` (one that connected since), or 0.
  static std::uint32_t newClient(const std::vector<std::uint32_t>& before, const std::vector<std::uint32_t>& after);

 private:
  TestDisplay();
  void fake(std::uint8_t type, std::uint8_t detail, int rootX, int rootY);

  xcb_connection_t* connection = nullptr;
  xcb_screen_t* screen = nullptr;
  xcb_window_t host = 0;
  bool held = false;
};

// Open file descriptors of this process: a display connection left open shows here.
int openDescriptors();

// A window id in a pointer, as hosts hand an X11 parent window to a plug-in (effEditOpen,
// IPlugView::attached, LV2's ui:parent).
inline void* windowPointer(xcb_window_t window) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }

// How long a host's loop may take to bring a change to the screen or to the host: rounds
// of a sync with the server, one turn of the loop (an idle call, a timer, a descriptor
// ready) and a short pause, until `done` holds or the rounds run out.
constexpr int kTurnRounds = 100;
constexpr auto kTurnPause = std::chrono::milliseconds(5);
template <typename Turn, typename Done>
bool turnUntil(Turn turn, Done done) {
  for (int round = 0; round < kTurnRounds; ++round) {
    TestDisplay::get().sync();
    turn();
    if (done()) return true;
    std::this_thread::sleep_for(kTurnPause);
  }
  return false;
}

}  // namespace editor_test
