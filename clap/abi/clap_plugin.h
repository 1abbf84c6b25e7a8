// The CLAP binary interface: the plug-in instance and the host it talks to.
//
// Lifecycle: create_plugin -> init -> (deactivated) <-> activate/deactivate -> destroy;
// while active: start_processing -> process... -> stop_processing, repeatable. "main" is
// one fixed thread (the GUI thread on Windows); "audio" is a role that may move between
// threads but is never held by two at once for an instance.
#pragma once

#include "clap/abi/clap_entry.h"
#include "clap/abi/clap_process.h"
#include "clap/abi/clap_types.h"

// Created and owned by the plug-in.
struct clap_plugin_t {
  const clap_plugin_descriptor_t* desc;
  void* plugin_data;  // the plug-in's own pointer to its instance
  // Host, main thread, once right after creation; host functions usable from here on.
  // False: the host destroys the instance.
  bool(CLAP_ABI* init)(const clap_plugin_t* plugin);
  // Host, main thread, deactivated (the GUI should already be gone; clean it up if not).
  void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
  // Host, main thread, deactivated; may allocate. Every later process has
  // min_frames <= frames_count <= max_frames, within [1, INT32_MAX].
  bool(CLAP_ABI* activate)(const clap_plugin_t* plugin, double sample_rate, uint32_t min_frames,
                           uint32_t max_frames);
  // Host, main thread, active.
  void(CLAP_ABI* deactivate)(const clap_plugin_t* plugin);
  // Host, audio thread, active and not processing.
  bool(CLAP_ABI* start_processing)(const clap_plugin_t* plugin);
  // Host, audio thread, processing.
  void(CLAP_ABI* stop_processing)(const clap_plugin_t* plugin);
  // Host, audio thread, active: silence voices, envelopes and delay lines, keep parameter
  // values; steady_time may jump backwards afterwards.
  void(CLAP_ABI* reset)(const clap_plugin_t* plugin);
  // Host, audio thread, processing: one block.
  clap_process_status(CLAP_ABI* process)(const clap_plugin_t* plugin, const clap_process_t* process);
  // Host, any thread (thread-safe): the extension table `id`, or null.
  const void*(CLAP_ABI* get_extension)(const clap_plugin_t* plugin, const char* id);
  // Host, main thread, some time after the plug-in's request_callback.
  void(CLAP_ABI* on_main_thread)(const clap_plugin_t* plugin);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_t, 48, 96);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, desc, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, plugin_data, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, init, 2);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, destroy, 3);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, activate, 4);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, deactivate, 5);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, start_processing, 6);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, stop_processing, 7);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, reset, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, process, 9);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, get_extension, 10);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_t, on_main_thread, 11);

// Owned by the host; `name` and `version` are mandatory, vendor and url may be empty or
// null. Every function is thread-safe.
struct clap_host_t {
  clap_version_t clap_version;
  void* host_data;  // the host's
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  // Plug-in, any thread, from clap_plugin_t::init on (never in create_plugin): the host
  // extension `id`, or null. A table stays valid until after destroy.
  const void*(CLAP_ABI* get_extension)(const clap_host_t* host, const char* id);
  // Plug-in, any thread: please deactivate and reactivate me.
  void(CLAP_ABI* request_restart)(const clap_host_t* host);
  // Plug-in, any thread: please activate me and start processing.
  void(CLAP_ABI* request_process)(const clap_host_t* host);
  // Plug-in, any thread: please call on_main_thread soon (typically within ~33 ms).
  void(CLAP_ABI* request_callback)(const clap_host_t* host);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_t, 48, 88);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, clap_version, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, host_data, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, name, 16, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, vendor, 20, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, url, 24, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, version, 28, 48);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, get_extension, 32, 56);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, request_restart, 36, 64);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, request_process, 40, 72);
QUINDLE_CLAP_CHECK_FIELD(clap_host_t, request_callback, 44, 80);
