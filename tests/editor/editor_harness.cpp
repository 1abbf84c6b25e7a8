#include "editor_harness.h"

namespace editor_test {

namespace {

constexpr VstIntPtr kHostVersion = 2400;
constexpr const char* kHostClassName = "QuindleTestHost";
constexpr int kHostWidth = 800;
constexpr int kHostHeight = 100;
// The knob mask, strip, background and switch resources.
constexpr int kMaskId = 101;
constexpr int kBackgroundId = 102;
constexpr int kSwitchId = 103;
constexpr int kStripId = 104;
// Upper bound on the objects the room probe creates: far above any process quota.
constexpr int kProbeLimit = 200000;

std::mutex callLock;
std::vector<AutomateCall> calls;

bool loadResource(HMODULE module, int id, DibImage& image) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  return bytes != nullptr && parseDib(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found), image);
}

LPARAM pointAt(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(x)), static_cast<WORD>(static_cast<std::int16_t>(y)));
}

}  // namespace

VstIntPtr VSTCALLBACK recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
  if (opcode == audioMasterVersion) return kHostVersion;
  if (opcode == audioMasterAutomate && effect != nullptr) {
    const float held = effect->getParameter(effect, index);
    std::lock_guard<std::mutex> guard(callLock);
    calls.push_back({index, opt, held});
  }
  return 0;
}

std::vector<AutomateCall> automateCalls() {
  std::lock_guard<std::mutex> guard(callLock);
  return calls;
}

void clearAutomateCalls() {
  std::lock_guard<std::mutex> guard(callLock);
  calls.clear();
}

Artwork loadArtwork(HMODULE module) {
  Artwork art;
  art.complete = loadResource(module, kMaskId, art.mask) && loadResource(module, kBackgroundId, art.background) &&
                 loadResource(module, kSwitchId, art.switches) && loadResource(module, kStripId, art.strip);
  return art;
}

Pixels captureWindow(HWND window) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDc);
  HBITMAP target = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, target);
  BitBlt(memory, 0, 0, kWidth, kHeight, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  Pixels pixels(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + kWidth * kHeight);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteObject(target);
  DeleteDC(memory);
  ReleaseDC(window, windowDc);
  return pixels;
}

void overpaint(HWND window, int left, int top, int width, int height) {
  HDC dc = GetDC(window);
  HBRUSH brush = CreateSolidBrush(RGB(kOverpaint >> 16, (kOverpaint >> 8) & 0xFF, kOverpaint & 0xFF));
  const RECT area = {left, top, left + width, top + height};
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

LRESULT sendMouse(HWND window, UINT message, int x, int y) { return SendMessageA(window, message, 0, pointAt(x, y)); }

void press(HWND window, int x, int y) { sendMouse(window, WM_LBUTTONDOWN, x, y); }
void moveTo(HWND window, int x, int y) { sendMouse(window, WM_MOUSEMOVE, x, y); }
void release(HWND window, int x, int y) { sendMouse(window, WM_LBUTTONUP, x, y); }

void click(HWND window, int x, int y) {
  press(window, x, y);
  release(window, x, y);
}

GdiCount countGdiObjects() {
  GdiCount count = {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), 0};
  std::vector<HBRUSH> brushes;
  brushes.reserve(kProbeLimit);
  while (static_cast<int>(brushes.size()) < kProbeLimit) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    if (brush == nullptr) break;
    brushes.push_back(brush);
  }
  for (HBRUSH brush : brushes) DeleteObject(brush);
  count.room = static_cast<int>(brushes.size());
  return count;
}

namespace {

LRESULT CALLBACK hostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HWND hostWindow() {
  static HWND window = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = hostProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClassName;
    RegisterClassA(&windowClass);
    HWND created = CreateWindowExA(0, kHostClassName, "Quindle test host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                   kHostLeft, kHostTop, kHostWidth, kHostHeight, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(created);
    pumpMessages();
    return created;
  }();
  return window;
}

HWND createPlainChild() {
  return CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, hostWindow(), nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

}  // namespace editor_test
