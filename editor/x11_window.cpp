#include "editor/x11_window.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Response type 0 is an error; the top bit marks events sent by another client.
constexpr std::uint8_t kErrorResponse = 0;
constexpr std::uint8_t kSentEventBit = 0x80;
// Bytes of a PutImage request before its data; the server counts requests in words.
constexpr std::size_t kPutImageHeader = 24;
constexpr std::size_t kBytesPerRequestUnit = 4;
constexpr std::uint32_t kEvents = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                  XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                  XCB_EVENT_MASK_STRUCTURE_NOTIFY;

const xcb_screen_t* screenWithRoot(const xcb_setup_t* setup, xcb_window_t root) {
  for (xcb_screen_iterator_t s = xcb_setup_roots_iterator(setup); s.rem != 0; xcb_screen_next(&s)) {
    if (s.data->root == root) return s.data;
  }
  return nullptr;
}

}  // namespace

X11Window::~X11Window() { destroy(); }

void X11Window::fail() {
  xcb_disconnect(connection);
  connection = nullptr;
  window = 0;
  context = 0;
}

bool X11Window::create(xcb_window_t parent, std::int32_t width, std::int32_t height) {
  destroy();
  connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    fail();
    return false;
  }
  // The parent must be a window of this display; its root tells the screen.
  xcb_generic_error_t* error = nullptr;
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, parent), &error);
  const xcb_screen_t* screen = geometry != nullptr ? screenWithRoot(xcb_get_setup(connection), geometry->root) : nullptr;
  std::free(geometry);
  std::free(error);
  if (screen == nullptr || !format.describe(xcb_get_setup(connection), screen, screen->root_visual)) {
    fail();
    return false;
  }

  // The screen's own visual and colour map whatever the parent uses; no background, so
  // that only the editor's drawing shows.
  window = xcb_generate_id(connection);
  const std::uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, kEvents, screen->default_colormap};
  const xcb_void_cookie_t created = xcb_create_window_checked(
      connection, format.depth(), window, parent, 0, 0, static_cast<std::uint16_t>(width),
      static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
  error = xcb_request_check(connection, created);
  if (error != nullptr) {
    std::free(error);
    fail();
    return false;
  }
  context = xcb_generate_id(connection);
  const std::uint32_t noExposures[] = {0};
  xcb_create_gc(connection, context, window, XCB_GC_GRAPHICS_EXPOSURES, noExposures);
  // Asked before the window is mapped: the answer may take a round trip, and events
  // read meanwhile would sit in the queue without the descriptor showing them.
  largestRequest = static_cast<std::size_t>(xcb_get_maximum_request_length(connection)) * kBytesPerRequestUnit;
  xcb_map_window(connection, window);
  xcb_flush(connection);
  windowWidth = width;
  windowHeight = height;
  gone = false;
  return true;
}

void X11Window::destroy() {
  if (connection == nullptr) return;
  // A parent destroyed just before takes the window along: the notice is read first, so
  // that the window is not destroyed twice.
  synchronize();
  while (xcb_generic_event_t* event = nextEvent()) std::free(event);
  if (!gone) {
    xcb_free_gc(connection, context);
    std::free(xcb_request_check(connection, xcb_destroy_window_checked(connection, window)));
  }
  fail();
  gone = false;
}

int X11Window::descriptor() const { return connection != nullptr ? xcb_get_file_descriptor(connection) : -1; }

xcb_generic_event_t* X11Window::nextEvent() {
  if (connection == nullptr) return nullptr;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
    const std::uint8_t type = event->response_type & static_cast<std::uint8_t>(~kSentEventBit);
    if (type == kErrorResponse) {
      // Drawing that raced with the parent's destruction fails on the window that is gone
      // (its notice came first); anything else is a fault.
      const auto* error = reinterpret_cast<xcb_generic_error_t*>(event);
      if (!gone || error->resource_id != window) ++errors;
    } else if (type == XCB_DESTROY_NOTIFY && reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == window) {
      gone = true;
    } else {
      return event;
    }
    std::free(event);
  }
  if (xcb_connection_has_error(connection) != 0) gone = true;
  return nullptr;
}

void X11Window::put(const PixelImage& frame, const PixelRect& area) {
  if (connection == nullptr || gone) return;
  const std::int32_t left = std::max(area.left, 0);
  const std::int32_t top = std::max(area.top, 0);
  const std::int32_t right = std::min({area.left + area.width, windowWidth, frame.width});
  const std::int32_t bottom = std::min({area.top + area.height, windowHeight, frame.height});
  if (right <= left || bottom <= top) return;
  // As many rows per request as the server takes.
  const std::size_t stride = format.rowBytes(right - left);
  const std::size_t room = largestRequest > kPutImageHeader + stride ? largestRequest - kPutImageHeader : stride;
  const auto rowsPerRequest = static_cast<std::int32_t>(std::max<std::size_t>(1, room / stride));
  for (std::int32_t y = top; y < bottom; y += rowsPerRequest) {
    const PixelRect band = {left, y, right - left, std::min(rowsPerRequest, bottom - y)};
    format.pack(frame, band, packed);
    xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, context, static_cast<std::uint16_t>(band.width),
                  static_cast<std::uint16_t>(band.height), static_cast<std::int16_t>(band.left),
                  static_cast<std::int16_t>(band.top), 0, format.depth(), static_cast<std::uint32_t>(packed.size()),
                  packed.data());
  }
}

void X11Window::flush() {
  if (connection != nullptr) xcb_flush(connection);
}

void X11Window::synchronize() {
  if (connection == nullptr) return;
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}
