// The CLAP binary interface: the params extension. Values are the plug-in's plain values
// in [min_value, max_value], never normalised by the interface; ids and ranges never
// change once published.
#pragma once

#include "clap/abi/clap_events.h"
#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_PARAMS[] = "clap.params";

// Parameter flags.
inline constexpr uint32_t CLAP_PARAM_IS_STEPPED = 1;  // integer values; a double converts by truncation
inline constexpr uint32_t CLAP_PARAM_IS_PERIODIC = 2;
inline constexpr uint32_t CLAP_PARAM_IS_HIDDEN = 4;
inline constexpr uint32_t CLAP_PARAM_IS_READONLY = 8;
inline constexpr uint32_t CLAP_PARAM_IS_BYPASS = 16;  // implies stepped
inline constexpr uint32_t CLAP_PARAM_IS_AUTOMATABLE = 32;
inline constexpr uint32_t CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 64;
inline constexpr uint32_t CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 128;
inline constexpr uint32_t CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 256;
inline constexpr uint32_t CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 512;
inline constexpr uint32_t CLAP_PARAM_IS_MODULATABLE = 1024;
inline constexpr uint32_t CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 2048;
inline constexpr uint32_t CLAP_PARAM_IS_MODULATABLE_PER_KEY = 4096;
inline constexpr uint32_t CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 8192;
inline constexpr uint32_t CLAP_PARAM_IS_MODULATABLE_PER_PORT = 16384;
inline constexpr uint32_t CLAP_PARAM_REQUIRES_PROCESS = 32768;  // changes go through process while active
inline constexpr uint32_t CLAP_PARAM_IS_ENUM = 65536;  // requires stepped; every step has a non-empty text

struct clap_param_info_t {
  clap_id id;  // stable for ever; never CLAP_INVALID_ID
  uint32_t flags;
  void* cookie;  // echoed in events, or null
  char name[CLAP_NAME_SIZE];
  char module[CLAP_PATH_SIZE];  // group path with '/' separators, may be empty
  double min_value;             // finite
  double max_value;             // finite
  double default_value;         // within [min_value, max_value]
};
QUINDLE_CLAP_CHECK_SIZE(clap_param_info_t, 1320, 1320);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, id, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, flags, 4, 4);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, cookie, 8, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, name, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, module, 268, 272);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, min_value, 1296, 1296);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, max_value, 1304, 1304);
QUINDLE_CLAP_CHECK_FIELD(clap_param_info_t, default_value, 1312, 1312);

struct clap_plugin_params_t {
  // Host, main thread: the number of parameters.
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);
  // Host, main thread: fills `info` for the parameter at `index`; false for a bad index.
  bool(CLAP_ABI* get_info)(const clap_plugin_t* plugin, uint32_t index, clap_param_info_t* info);
  // Host, main thread: the current value of parameter `id`, including one just loaded.
  bool(CLAP_ABI* get_value)(const clap_plugin_t* plugin, clap_id id, double* value);
  // Host, main thread: `value` as display text into `text`, at most capacity - 1 bytes
  // and a terminator.
  bool(CLAP_ABI* value_to_text)(const clap_plugin_t* plugin, clap_id id, double value, char* text,
                                uint32_t capacity);
  // Host, main thread: display text back to a value.
  bool(CLAP_ABI* text_to_value)(const clap_plugin_t* plugin, clap_id id, const char* text, double* value);
  // Host, audio thread when active, else main thread; never during process. Applies `in`
  // as process would and pushes pending changes (at time 0) to `out`.
  void(CLAP_ABI* flush)(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_params_t, 24, 48);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_params_t, count, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_params_t, get_info, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_params_t, get_value, 2);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_params_t, value_to_text, 3);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_params_t, text_to_value, 4);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_params_t, flush, 5);

// What to rescan (CLAP_PARAM_RESCAN_ALL only while deactivated).
inline constexpr uint32_t CLAP_PARAM_RESCAN_VALUES = 1;
inline constexpr uint32_t CLAP_PARAM_RESCAN_TEXT = 2;
inline constexpr uint32_t CLAP_PARAM_RESCAN_INFO = 4;
inline constexpr uint32_t CLAP_PARAM_RESCAN_ALL = 8;

// What to clear.
inline constexpr uint32_t CLAP_PARAM_CLEAR_ALL = 1;
inline constexpr uint32_t CLAP_PARAM_CLEAR_AUTOMATIONS = 2;
inline constexpr uint32_t CLAP_PARAM_CLEAR_MODULATIONS = 4;

struct clap_host_params_t {
  // Plug-in, main thread: values, texts or infos changed as `flags` say.
  void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
  // Plug-in, main thread: forget what `flags` say about parameter `id`.
  void(CLAP_ABI* clear)(const clap_host_t* host, clap_id id, uint32_t flags);
  // Plug-in, any thread but the audio thread: please call flush (or process) soon, so
  // that the plug-in can hand out pending changes.
  void(CLAP_ABI* request_flush)(const clap_host_t* host);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_params_t, 12, 24);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_params_t, rescan, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_params_t, clear, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_params_t, request_flush, 2);
