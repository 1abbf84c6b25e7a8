#include "x11_display.h"

#include <dirent.h>
#include <xcb/res.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>

#include "editor/x11_pixel_format.h"

namespace editor_test {

namespace {

constexpr std::uint8_t kLeftButton = 1;
constexpr std::uint8_t kAbsoluteMotion = 0;

}  // namespace

TestDisplay& TestDisplay::get() {
  static TestDisplay display;
  return display;
}

TestDisplay::TestDisplay() {
  connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    xcb_disconnect(connection);
    connection = nullptr;
    return;
  }
  screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

xcb_window_t TestDisplay::createWindow() {
  const xcb_window_t window = xcb_generate_id(connection);
  // Override-redirect: no window manager moves it (there is none under Xvfb anyway).
  const std::uint32_t values[] = {0x404040, 1};
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, kHostLeft, kHostTop, kHostWidth,
                    kHostHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
  xcb_map_window(connection, window);
  sync();
  return window;
}

xcb_window_t TestDisplay::createAlphaWindow() {
  constexpr std::uint8_t kAlphaDepth = 32;
  xcb_visualid_t visual = 0;
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem != 0; xcb_depth_next(&d)) {
    if (d.data->depth != kAlphaDepth) continue;
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem != 0; xcb_visualtype_next(&v)) {
      if (v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) visual = v.data->visual_id;
    }
  }
  if (visual == 0) return 0;
  const xcb_colormap_t colormap = xcb_generate_id(connection);
  xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
  const xcb_window_t window = xcb_generate_id(connection);
  // Another visual than the root's needs its own border and colour map.
  const std::uint32_t values[] = {0, 0, 1, colormap};
  xcb_create_window(connection, kAlphaDepth, window, screen->root, kHostLeft, kHostTop, kHostWidth, kHostHeight, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
  xcb_free_colormap(connection, colormap);
  xcb_map_window(connection, window);
  sync();
  return window;
}

xcb_window_t TestDisplay::hostWindow() {
  if (host == 0) host = createWindow();
  return host;
}

void TestDisplay::destroyWindow(xcb_window_t window) {
  xcb_destroy_window(connection, window);
  sync();
}

std::vector<xcb_window_t> TestDisplay::childrenOf(xcb_window_t parent) {
  std::vector<xcb_window_t> children;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
  if (tree == nullptr) return children;
  const xcb_window_t* list = xcb_query_tree_children(tree);
  children.assign(list, list + xcb_query_tree_children_length(tree));
  std::free(tree);
  return children;
}

xcb_rectangle_t TestDisplay::geometryOf(xcb_window_t window) {
  xcb_get_geometry_reply_t* reply = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
  if (reply == nullptr) return xcb_rectangle_t{0, 0, 0, 0};
  const xcb_rectangle_t place = {reply->x, reply->y, reply->width, reply->height};
  std::free(reply);
  return place;
}

void TestDisplay::sync() {
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void TestDisplay::fake(std::uint8_t type, std::uint8_t detail, int rootX, int rootY) {
  xcb_test_fake_input(connection, type, detail, XCB_CURRENT_TIME, screen->root, static_cast<std::int16_t>(rootX),
                      static_cast<std::int16_t>(rootY), 0);
  sync();
}

void TestDisplay::pointerTo(int x, int y) { fake(XCB_MOTION_NOTIFY, kAbsoluteMotion, kHostLeft + x, kHostTop + y); }

void TestDisplay::press() {
  fake(XCB_BUTTON_PRESS, kLeftButton, 0, 0);
  held = true;
}

void TestDisplay::release() {
  fake(XCB_BUTTON_RELEASE, kLeftButton, 0, 0);
  held = false;
}

void TestDisplay::releaseIfHeld() {
  if (held) release();
}

Pixels TestDisplay::capture(xcb_window_t window) {
  PixelImage image;
  if (!readWindowPixels(connection, screen, window, kWidth, kHeight, image)) {
    return Pixels(static_cast<std::size_t>(kWidth) * kHeight, 0);
  }
  return image.pixels;
}

void TestDisplay::overpaint(xcb_window_t window, int left, int top, int width, int height) {
  const xcb_gcontext_t context = xcb_generate_id(connection);
  X11PixelFormat format;
  format.describe(xcb_get_setup(connection), screen, screen->root_visual);
  const std::uint32_t values[] = {format.pixelOf(kOverpaint), 0};
  xcb_create_gc(connection, context, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
  const xcb_rectangle_t area = {static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                                static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)};
  xcb_poly_fill_rectangle(connection, window, context, 1, &area);
  xcb_free_gc(connection, context);
  sync();
}

void TestDisplay::expose(xcb_window_t window) {
  xcb_clear_area(connection, 1, window, 0, 0, 0, 0);
  sync();
}

std::vector<std::uint32_t> TestDisplay::clients() {
  std::vector<std::uint32_t> bases;
  xcb_res_query_clients_reply_t* reply = xcb_res_query_clients_reply(connection, xcb_res_query_clients(connection), nullptr);
  if (reply == nullptr) return bases;
  for (xcb_res_client_iterator_t i = xcb_res_query_clients_clients_iterator(reply); i.rem != 0; xcb_res_client_next(&i)) {
    bases.push_back(i.data->resource_base);
  }
  std::free(reply);
  return bases;
}

int TestDisplay::resourcesOf(std::uint32_t clientBase) {
  xcb_res_query_client_resources_reply_t* reply = xcb_res_query_client_resources_reply(
      connection, xcb_res_query_client_resources(connection, clientBase), nullptr);
  if (reply == nullptr) return -1;
  int total = 0;
  for (xcb_res_type_iterator_t i = xcb_res_query_client_resources_types_iterator(reply); i.rem != 0;
       xcb_res_type_next(&i)) {
    total += static_cast<int>(i.data->count);
  }
  std::free(reply);
  return total;
}

std::uint32_t TestDisplay::newClient(const std::vector<std::uint32_t>& before, const std::vector<std::uint32_t>& after) {
  for (std::uint32_t client : after) {
    bool known = false;
    for (std::uint32_t old : before) known = known || old == client;
    if (!known) return client;
  }
  return 0;
}

int openDescriptors() {
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return -1;
  int count = 0;
  while (const dirent* entry = readdir(folder)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(folder);
  return count - 1;  // the folder's own descriptor
}

}  // namespace editor_test
