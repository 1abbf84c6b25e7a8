// The CLAP binary interface: the preset-load extension, through which a host loads a
// preset it found by preset discovery (see clap_preset_discovery.h).
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

// The stable id and the older draft id; a plug-in answers both with the same table.
inline constexpr char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
inline constexpr char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";

struct clap_plugin_preset_load_t {
  // Host, main thread: loads the preset `load_key` at `location` of kind `location_kind`
  // (a CLAP_PRESET_DISCOVERY_LOCATION_* value); reports through clap_host_preset_load_t.
  bool(CLAP_ABI* from_location)(const clap_plugin_t* plugin, uint32_t location_kind, const char* location,
                                const char* load_key);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_preset_load_t, 4, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_preset_load_t, from_location, 0);

struct clap_host_preset_load_t {
  // Plug-in, main thread: loading failed; `os_error` is the system's error number or 0.
  void(CLAP_ABI* on_error)(const clap_host_t* host, uint32_t location_kind, const char* location,
                           const char* load_key, int32_t os_error, const char* message);
  // Plug-in, main thread: the preset is loaded.
  void(CLAP_ABI* loaded)(const clap_host_t* host, uint32_t location_kind, const char* location,
                         const char* load_key);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_preset_load_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_preset_load_t, on_error, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_preset_load_t, loaded, 1);
