// The CLAP binary interface: the tail extension, asked when process returns
// CLAP_PROCESS_TAIL.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_TAIL[] = "clap.tail";

struct clap_plugin_tail_t {
  // Host, main or audio thread: the tail in frames; INT32_MAX or more means infinite.
  uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_tail_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_tail_t, get, 0);

struct clap_host_tail_t {
  // Plug-in, audio thread.
  void(CLAP_ABI* changed)(const clap_host_t* host);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_tail_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_tail_t, changed, 0);
