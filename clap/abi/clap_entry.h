// The CLAP binary interface: the module's entry record, the plug-in factory and the
// descriptor of a plug-in.
#pragma once

#include "clap/abi/clap_types.h"

struct clap_plugin_t;
struct clap_host_t;

// The module's one export, a data symbol named "clap_entry" with C linkage (see
// CLAP_EXPORT). The host takes the symbol's address and reads this record.
struct clap_plugin_entry_t {
  clap_version_t clap_version;
  // Host, any thread, once before anything else and never concurrently with another call
  // into the module; `plugin_path` is the .clap file itself (UTF-8). Quick, no UI. Hosts
  // may call init/deinit more than once: count, and work on the first init and the last
  // deinit. After false the host calls nothing else, not even deinit.
  bool(CLAP_ABI* init)(const char* plugin_path);
  // Host, undoing init; afterwards only init may be called again.
  void(CLAP_ABI* deinit)(void);
  // Host, any thread (thread-safe): a factory table, or null for an unknown id.
  const void*(CLAP_ABI* get_factory)(const char* factory_id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_entry_t, 24, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_entry_t, clap_version, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_entry_t, init, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_entry_t, deinit, 16, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_entry_t, get_factory, 20, 32);

namespace clapabi {
// The name hosts look the entry record up by (dlsym, GetProcAddress).
inline constexpr char kEntrySymbol[] = "clap_entry";
}  // namespace clapabi

// Valid until deinit. Only `id` and `name` are mandatory; prefer "" to null for the rest.
struct clap_plugin_descriptor_t {
  clap_version_t clap_version;  // the version written against; major 0 is refused
  const char* id;               // unique, never changes, reverse-domain style
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;  // best as MAJOR(.MINOR(.REVISION))
  const char* description;
  const char* const* features;  // ends with a null pointer
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_descriptor_t, 48, 88);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, clap_version, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, id, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, name, 16, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, vendor, 20, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, url, 24, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, manual_url, 28, 48);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, support_url, 32, 56);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, version, 36, 64);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, description, 40, 72);
QUINDLE_CLAP_CHECK_FIELD(clap_plugin_descriptor_t, features, 44, 80);

// Standard features; vendor-specific ones are written "namespace:feature".
inline constexpr char CLAP_PLUGIN_FEATURE_INSTRUMENT[] = "instrument";
inline constexpr char CLAP_PLUGIN_FEATURE_AUDIO_EFFECT[] = "audio-effect";
inline constexpr char CLAP_PLUGIN_FEATURE_NOTE_EFFECT[] = "note-effect";
inline constexpr char CLAP_PLUGIN_FEATURE_ANALYZER[] = "analyzer";
inline constexpr char CLAP_PLUGIN_FEATURE_SYNTHESIZER[] = "synthesizer";
inline constexpr char CLAP_PLUGIN_FEATURE_MONO[] = "mono";
inline constexpr char CLAP_PLUGIN_FEATURE_STEREO[] = "stereo";

inline constexpr char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

// Every function is thread-safe.
struct clap_plugin_factory_t {
  // Host, any thread: how many plug-ins the module holds.
  uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory_t* factory);
  // Host, any thread: the descriptor at `index`, or null.
  const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(const clap_plugin_factory_t* factory,
                                                                    uint32_t index);
  // Host, any thread: a new instance of the plug-in `plugin_id`, or null for an unknown
  // id. The instance keeps `host` (valid until destroy) but calls none of its functions
  // before clap_plugin_t::init.
  const clap_plugin_t*(CLAP_ABI* create_plugin)(const clap_plugin_factory_t* factory, const clap_host_t* host,
                                                 const char* plugin_id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_factory_t, 12, 24);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_factory_t, get_plugin_count, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_factory_t, get_plugin_descriptor, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_factory_t, create_plugin, 2);
