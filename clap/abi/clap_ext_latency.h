// The CLAP binary interface: the latency extension. A plug-in without latency need not
// offer it.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_LATENCY[] = "clap.latency";

struct clap_plugin_latency_t {
  // Host, main thread, while activating or active: the latency in frames.
  uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_latency_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_latency_t, get, 0);

struct clap_host_latency_t {
  // Plug-in, main thread, only inside activate.
  void(CLAP_ABI* changed)(const clap_host_t* host);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_latency_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_latency_t, changed, 0);
