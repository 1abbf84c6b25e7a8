// quindle-host screenshot MODULE OUT.png: opens the module's editor in a window of the
// host's own, lets it paint, and saves what the window shows as a PNG picture. The
// shared options (--preset, --program, --set) choose the values the editor shows.
// VST 2.4 modules only. Windows builds open a Win32 window; Linux builds an X11 window on
// $DISPLAY, into which the editor embeds as into any Linux host's, driven by effEditIdle.
#include <string>

#include "tools/host/verb_support.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

#include "editor/x11_pixel_format.h"
#endif

#include <cstdint>
#include <vector>

#include "tools/host/png_file.h"

namespace verbs {
namespace {

constexpr const char* kVerb = "screenshot";
constexpr std::size_t kModuleAndPicture = 2;
// Where the frame window sits on the screen: away from the corner a pointer rests in.
constexpr int kFrameLeft = 16;
constexpr int kFrameTop = 16;
// Rounds of event handling, with a pause between, while the editor paints.
constexpr int kPaintRounds = 10;
constexpr int kPaintPauseMs = 10;
constexpr std::size_t kBytesPerPngPixel = 3;

#if defined(_WIN32)

constexpr const char* kFrameClassName = "QuindleHostScreenshot";
constexpr int kBytesPerCapturedPixel = 4;

LRESULT CALLBACK frameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;  // the editor covers the whole frame
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A plain top-level window with the editor's client size, for the editor's child window.
class Frame {
 public:
  Frame(int width, int height) {
    WNDCLASSA windowClass = {};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kFrameClassName, &windowClass)) {
      windowClass.lpfnWndProc = frameProcedure;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = kFrameClassName;
      RegisterClassA(&windowClass);
    }
    window = CreateWindowExA(0, kFrameClassName, "Quindle", WS_POPUP | WS_VISIBLE, kFrameLeft, kFrameTop, width,
                             height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~Frame() {
    if (window != nullptr) DestroyWindow(window);
  }
  bool ok() const { return window != nullptr; }
  void* parent() const { return window; }

  void letItPaint(PluginInstance&) {
    for (int round = 0; round < kPaintRounds; ++round) {
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      Sleep(kPaintPauseMs);
    }
  }

  // The frame's pixels, editor included, as RGB bytes top row first.
  std::vector<std::uint8_t> capture(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP target = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint8_t> rgb;
    if (target != nullptr) {
      HGDIOBJ previous = SelectObject(memory, target);
      BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
      GdiFlush();
      const auto* pixels = static_cast<const std::uint8_t*>(bits);  // blue, green, red, unused
      rgb.reserve(static_cast<std::size_t>(width) * height * kBytesPerPngPixel);
      for (int i = 0; i < width * height; ++i) {
        const std::uint8_t* p = pixels + static_cast<std::size_t>(i) * kBytesPerCapturedPixel;
        rgb.push_back(p[2]);
        rgb.push_back(p[1]);
        rgb.push_back(p[0]);
      }
      SelectObject(memory, previous);
      DeleteObject(target);
    }
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    return rgb;
  }

 private:
  HWND window = nullptr;
};

#else

// A busy machine may take longer to bring the editor's first picture to the screen: the
// rounds go on until the picture is there and steady, up to this many.
constexpr int kMostPaintRounds = 300;

// A plain top-level X11 window with the editor's size on the display in $DISPLAY, on a
// connection of the host's own (the editor opens its own, as in any Linux host).
class Frame {
 public:
  Frame(int width, int height) : frameWidth(width), frameHeight(height) {
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) return;
    screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window = xcb_generate_id(connection);
    // Override-redirect: placed where asked, whatever window manager runs.
    const std::uint32_t values[] = {screen->black_pixel, 1};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, kFrameLeft, kFrameTop,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT,
                      values);
    xcb_map_window(connection, window);
    sync();
  }
  ~Frame() {
    if (connection != nullptr) xcb_disconnect(connection);
  }
  bool ok() const { return connection != nullptr && xcb_connection_has_error(connection) == 0; }
  void* parent() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }

  // The editor paints when the server exposes its window; idle calls hand it the events.
  // Until it has, the frame shows its own black background.
  void letItPaint(PluginInstance& instance) {
    std::vector<std::uint8_t> previous;
    for (int round = 0; round < kMostPaintRounds; ++round) {
      sync();
      instance.dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(kPaintPauseMs));
      std::vector<std::uint8_t> now = capture(frameWidth, frameHeight);
      const bool painted = std::any_of(now.begin(), now.end(), [](std::uint8_t byte) { return byte != 0; });
      if (round + 1 >= kPaintRounds && painted && now == previous) return;
      previous = std::move(now);
    }
  }

  // The frame's pixels, editor included, as RGB bytes top row first.
  std::vector<std::uint8_t> capture(int width, int height) {
    std::vector<std::uint8_t> rgb;
    PixelImage image;
    if (readWindowPixels(connection, screen, window, width, height, image)) {
      rgb.reserve(image.pixels.size() * kBytesPerPngPixel);
      for (PixelColor pixel : image.pixels) {
        rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<std::uint8_t>(pixel));
      }
    }
    return rgb;
  }

 private:
  void sync() { std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr)); }

  int frameWidth;
  int frameHeight;
  xcb_connection_t* connection = nullptr;
  xcb_screen_t* screen = nullptr;
  xcb_window_t window = 0;
};

#endif

int takeScreenshot(PluginInstance& instance, const std::string& picturePath) {
  if ((instance.effect().flags & effFlagsHasEditor) == 0) return failure(kVerb, "the module has no editor");
  ERect* rect = nullptr;
  if (instance.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
    return failure(kVerb, "the editor gives no size");
  }
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return failure(kVerb, "the editor's size is empty");
  Frame frame(width, height);
  if (!frame.ok()) return failure(kVerb, "cannot create a window (is there a display?)");
  if (instance.dispatch(effEditOpen, 0, 0, frame.parent()) == 0) return failure(kVerb, "the editor did not open");
  frame.letItPaint(instance);
  const std::vector<std::uint8_t> rgb = frame.capture(width, height);
  instance.dispatch(effEditClose);
  std::string error;
  if (!pngfile::write(picturePath, width, height, rgb, error)) return failure(kVerb, error);
  return kSuccess;
}

}  // namespace

int screenshot(const Arguments& arguments) {
  CommandLine line;
  HostSession session;
  const int prepared = openPrepared(kVerb, arguments, {}, kModuleAndPicture, line, session, Formats::kVst2Only);
  if (prepared != kSuccess) return prepared;
  return takeScreenshot(*session.plugin->vst2Instance(), line.positionals()[1]);
}

}  // namespace verbs
