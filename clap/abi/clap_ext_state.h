// The CLAP binary interface: the state extension. The bytes are the plug-in's own format.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_stream.h"

inline constexpr char CLAP_EXT_STATE[] = "clap.state";

struct clap_plugin_state_t {
  // Host, main thread, possibly while the audio thread processes: writes the whole state
  // to `stream` (repeatably: save, load, save gives the same bytes).
  bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
  // Host, main thread, possibly while the audio thread processes: reads a state from
  // `stream`, which may hand it over in pieces; get_value reports it once this returns.
  bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_state_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_state_t, save, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_state_t, load, 1);

struct clap_host_state_t {
  // Plug-in, main thread: the state changed other than through a parameter.
  void(CLAP_ABI* mark_dirty)(const clap_host_t* host);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_state_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_state_t, mark_dirty, 0);
