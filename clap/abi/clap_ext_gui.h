// The CLAP binary interface: the gui extension. Embedded editors (a child of the host's
// window) are what every host supports; floating ones are optional.
//
// Usual embedded order: is_api_supported -> create -> set_scale -> can_resize ->
// get_size (or set_size) -> set_parent -> show ... hide/show ... destroy.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_GUI[] = "clap.gui";

// Window APIs. win32 and x11 sizes are physical pixels (the host may call set_scale);
// wayland is floating only.
inline constexpr char CLAP_WINDOW_API_WIN32[] = "win32";
inline constexpr char CLAP_WINDOW_API_X11[] = "x11";
inline constexpr char CLAP_WINDOW_API_COCOA[] = "cocoa";
inline constexpr char CLAP_WINDOW_API_UIKIT[] = "uikit";
inline constexpr char CLAP_WINDOW_API_WAYLAND[] = "wayland";

struct clap_window_t {
  const char* api;  // one of the CLAP_WINDOW_API_* strings
  union {
    void* win32;        // the HWND
    unsigned long x11;  // the X11 Window id
    void* cocoa;
    void* uikit;
    void* ptr;
  };
};
QUINDLE_CLAP_CHECK_SIZE(clap_window_t, 8, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_window_t, api, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_window_t, win32, 4, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_window_t, x11, 4, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_window_t, cocoa, 4, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_window_t, uikit, 4, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_window_t, ptr, 4, 8);
// The one layout difference between the two x86-64 targets: unsigned long is 8 bytes on
// Linux, 4 on Windows (both sizes fit the union, which a pointer makes 8 bytes).
#ifdef _WIN32
static_assert(sizeof(clap_window_t::x11) == 4, "an X11 window id is 4 bytes on Windows");
#else
static_assert(sizeof(clap_window_t::x11) == 8, "an X11 window id is 8 bytes on x86-64 Linux");
#endif

struct clap_gui_resize_hints_t {
  bool can_resize_horizontally;
  bool can_resize_vertically;
  bool preserve_aspect_ratio;
  uint32_t aspect_ratio_width;
  uint32_t aspect_ratio_height;
};
QUINDLE_CLAP_CHECK_SIZE(clap_gui_resize_hints_t, 12, 12);
QUINDLE_CLAP_CHECK_FIELD(clap_gui_resize_hints_t, can_resize_horizontally, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_gui_resize_hints_t, can_resize_vertically, 1, 1);
QUINDLE_CLAP_CHECK_FIELD(clap_gui_resize_hints_t, preserve_aspect_ratio, 2, 2);
QUINDLE_CLAP_CHECK_FIELD(clap_gui_resize_hints_t, aspect_ratio_width, 4, 4);
QUINDLE_CLAP_CHECK_FIELD(clap_gui_resize_hints_t, aspect_ratio_height, 8, 8);

// Every function: host, main thread.
struct clap_plugin_gui_t {
  // Whether an editor for window API `api` (embedded or floating) can be made.
  bool(CLAP_ABI* is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
  // The API the plug-in prefers; stores a pointer to a static API string.
  bool(CLAP_ABI* get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
  // Allocates the editor, not yet visible.
  bool(CLAP_ABI* create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
  // Frees the editor; timers and fds registered for it are unregistered here.
  void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
  // 2.0 is 200 %; false means the scale is ignored.
  bool(CLAP_ABI* set_scale)(const clap_plugin_t* plugin, double scale);
  // After create: the editor's size.
  bool(CLAP_ABI* get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
  // Embedded only.
  bool(CLAP_ABI* can_resize)(const clap_plugin_t* plugin);
  // Embedded only.
  bool(CLAP_ABI* get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
  // Embedded only: rounds a proposed size to one the editor accepts.
  bool(CLAP_ABI* adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
  // Embedded only.
  bool(CLAP_ABI* set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
  // Embedded only: makes the editor a child of `window` (WS_CHILD of the HWND; on X11 a
  // window inside the given one, on the plug-in's own Display connection).
  bool(CLAP_ABI* set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
  // Floating only.
  bool(CLAP_ABI* set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
  // Floating only.
  void(CLAP_ABI* suggest_title)(const clap_plugin_t* plugin, const char* title);
  bool(CLAP_ABI* show)(const clap_plugin_t* plugin);
  // Keeps the editor's resources; redraw timers stop.
  bool(CLAP_ABI* hide)(const clap_plugin_t* plugin);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_gui_t, 60, 120);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, is_api_supported, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, get_preferred_api, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, create, 2);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, destroy, 3);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, set_scale, 4);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, get_size, 5);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, can_resize, 6);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, get_resize_hints, 7);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, adjust_size, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, set_size, 9);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, set_parent, 10);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, set_transient, 11);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, suggest_title, 12);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, show, 13);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_gui_t, hide, 14);

// Every function: plug-in, any thread (thread-safe).
struct clap_host_gui_t {
  // Embedded: get_resize_hints would now answer differently.
  void(CLAP_ABI* resize_hints_changed)(const clap_host_t* host);
  // Embedded: true when the host accepted the size (no set_size follows).
  bool(CLAP_ABI* request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
  bool(CLAP_ABI* request_show)(const clap_host_t* host);
  bool(CLAP_ABI* request_hide)(const clap_host_t* host);
  // The editor's window was closed (and destroyed when `was_destroyed`).
  void(CLAP_ABI* closed)(const clap_host_t* host, bool was_destroyed);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_gui_t, 20, 40);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_gui_t, resize_hints_changed, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_gui_t, request_resize, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_gui_t, request_show, 2);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_gui_t, request_hide, 3);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_gui_t, closed, 4);
