// quindle-host screenshot MODULE OUT.png: opens the module's editor in a window of the
// host's own, lets it paint, and saves what the window shows as a PNG picture. The
// shared options (--preset, --program, --set) choose the values the editor shows.
// VST 2.4 modules and Windows builds only: elsewhere the verb reports that it has no
// window system.
#include <string>

#include "tools/host/verb_support.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <vector>

#include "tools/host/png_file.h"
#endif

namespace verbs {
namespace {

constexpr const char* kVerb = "screenshot";
constexpr std::size_t kModuleAndPicture = 2;

#ifdef _WIN32

constexpr const char* kFrameClassName = "QuindleHostScreenshot";
// Where the frame window sits on the screen: away from the corner a pointer rests in.
constexpr int kFrameLeft = 16;
constexpr int kFrameTop = 16;
// Rounds of message pumping, with a pause between, while the editor paints.
constexpr int kPaintRounds = 10;
constexpr DWORD kPaintPauseMs = 10;
constexpr int kBytesPerCapturedPixel = 4;
constexpr int kBytesPerPngPixel = 3;

LRESULT CALLBACK frameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;  // the editor covers the whole frame
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A plain top-level window with the editor's client size, for the editor's child window.
HWND createFrame(int width, int height) {
  WNDCLASSA windowClass = {};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), kFrameClassName, &windowClass)) {
    windowClass.lpfnWndProc = frameProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kFrameClassName;
    RegisterClassA(&windowClass);
  }
  return CreateWindowExA(0, kFrameClassName, "Quindle", WS_POPUP | WS_VISIBLE, kFrameLeft, kFrameTop, width, height,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void letItPaint(HWND frame) {
  for (int round = 0; round < kPaintRounds; ++round) {
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(kPaintPauseMs);
  }
}

// The frame's pixels, editor included, as RGB bytes top row first.
std::vector<std::uint8_t> capture(HWND frame, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(frame);
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
  ReleaseDC(frame, windowDc);
  return rgb;
}

int takeScreenshot(PluginInstance& instance, const std::string& picturePath) {
  if ((instance.effect().flags & effFlagsHasEditor) == 0) return failure(kVerb, "the module has no editor");
  ERect* rect = nullptr;
  if (instance.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
    return failure(kVerb, "the editor gives no size");
  }
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return failure(kVerb, "the editor's size is empty");
  HWND frame = createFrame(width, height);
  if (frame == nullptr) return failure(kVerb, "cannot create a window (is there a display?)");
  int result = kSuccess;
  if (instance.dispatch(effEditOpen, 0, 0, frame) == 0) {
    result = failure(kVerb, "the editor did not open");
  } else {
    letItPaint(frame);
    const std::vector<std::uint8_t> rgb = capture(frame, width, height);
    instance.dispatch(effEditClose);
    std::string error;
    if (!pngfile::write(picturePath, width, height, rgb, error)) result = failure(kVerb, error);
  }
  DestroyWindow(frame);
  return result;
}

#endif

}  // namespace

int screenshot(const Arguments& arguments) {
  CommandLine line;
  HostSession session;
  const int prepared = openPrepared(kVerb, arguments, {}, kModuleAndPicture, line, session, Formats::kVst2Only);
  if (prepared != kSuccess) return prepared;
#ifdef _WIN32
  return takeScreenshot(*session.plugin->vst2Instance(), line.positionals()[1]);
#else
  return failure(kVerb, "editors are windows of the Windows build: run the Windows quindle-host");
#endif
}

}  // namespace verbs
