// A small test host for the editor: a real top-level window, a real plug-in instance
// that opens its editor in it, a host callback that records what the plug-in reports,
// window messages sent as the system would send them, and the window's pixels read
// back and compared with pictures composed from the module's own bitmaps.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "editor/win32_api.h"
#include "editor_picture.h"
#include "shell/vst_abi.h"

namespace editor_test {

// Well away from where Xvfb keeps its pointer (the screen's middle), so no real pointer
// motion reaches the window while a test sends its own messages.
constexpr int kHostLeft = 8;
constexpr int kHostTop = 8;

// ---- what the plug-in tells the host

struct AutomateCall {
  VstInt32 index;
  float value;
  float heldByInstance;  // the instance's value for index at the moment of the call
};

// The host callback given to every instance: answers the version question and records
// audioMasterAutomate calls.
VstIntPtr VSTCALLBACK recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt);
std::vector<AutomateCall> automateCalls();
void clearAutomateCalls();

// ---- pixels

// The four bitmaps as stored in `module`'s resources.
Artwork loadArtwork(HMODULE module);

// The window's client pixels as they are now (no painting is triggered).
Pixels captureWindow(HWND window);
// Fills a rectangle of the window with a colour no bitmap uses (kOverpaint), so a redraw shows.
void overpaint(HWND window, int left, int top, int width, int height);

// ---- messages

void pumpMessages();
LRESULT sendMouse(HWND window, UINT message, int x, int y);
void press(HWND window, int x, int y);
void moveTo(HWND window, int x, int y);
void release(HWND window, int x, int y);
void click(HWND window, int x, int y);

// ---- GDI objects

// Live GDI objects of the process, counted two ways: the system's count (zero where it
// is not kept, as under wine), and the room left before object creation fails, which
// falls by one for every object left behind.
struct GdiCount {
  DWORD reported;
  int room;
};
GdiCount countGdiObjects();

// ---- the host window and an instance with its editor

// A visible top-level window of the test host, made once per program and kept to its
// end: without a window manager (Xvfb) wine waits two seconds for every top-level
// window it takes down, so tests open and close editors inside this one.
HWND hostWindow();
// A plain child window of the host window, for tests that need a window of their own.
HWND createPlainChild();

}  // namespace editor_test
