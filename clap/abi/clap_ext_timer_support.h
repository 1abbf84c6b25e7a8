// The CLAP binary interface: the timer-support extension. The host owns the main
// thread's event loop; a plug-in without a thread of its own asks it for periodic calls
// (~30 Hz must work; hosts may lengthen short periods). The plug-in's callback table is
// answered under the same id.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

struct clap_host_timer_support_t {
  // Plug-in, main thread: call on_timer every `period_ms`; the timer's id into `timer_id`.
  bool(CLAP_ABI* register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
  // Plug-in, main thread.
  bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_timer_support_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_timer_support_t, register_timer, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_timer_support_t, unregister_timer, 1);

struct clap_plugin_timer_support_t {
  // Host, main thread: timer `timer_id` is due.
  void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_timer_support_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_timer_support_t, on_timer, 0);
