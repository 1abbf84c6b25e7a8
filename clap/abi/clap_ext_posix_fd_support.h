// The CLAP binary interface: the posix-fd-support extension. The host's main-thread
// event loop watches file descriptors for the plug-in (an X11 editor registers its
// Display's connection). The plug-in's callback table is answered under the same id.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";

// What to watch for, and what happened.
inline constexpr uint32_t CLAP_POSIX_FD_READ = 1;
inline constexpr uint32_t CLAP_POSIX_FD_WRITE = 2;
inline constexpr uint32_t CLAP_POSIX_FD_ERROR = 4;

struct clap_host_posix_fd_support_t {
  // Plug-in, main thread: watch `fd` for `flags`.
  bool(CLAP_ABI* register_fd)(const clap_host_t* host, int fd, uint32_t flags);
  // Plug-in, main thread: watch `fd` for `flags` instead.
  bool(CLAP_ABI* modify_fd)(const clap_host_t* host, int fd, uint32_t flags);
  // Plug-in, main thread.
  bool(CLAP_ABI* unregister_fd)(const clap_host_t* host, int fd);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_posix_fd_support_t, 12, 24);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_posix_fd_support_t, register_fd, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_posix_fd_support_t, modify_fd, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_posix_fd_support_t, unregister_fd, 2);

struct clap_plugin_posix_fd_support_t {
  // Host, main thread, level-triggered: `fd` is ready as `flags` say.
  void(CLAP_ABI* on_fd)(const clap_plugin_t* plugin, int fd, uint32_t flags);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_posix_fd_support_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_posix_fd_support_t, on_fd, 0);
