// The CLAP binary interface: preset discovery. The module's preset-discovery factory
// creates providers; the host's indexer asks a provider where its presets are
// (declare_location) and then what each location holds (get_metadata, answered preset
// by preset through a metadata receiver). The host loads one with preset-load.
//
// Signatures marked (unverified) follow the records' field order and the interface's
// conventions but were not exercised against a host here.
#pragma once

#include "clap/abi/clap_types.h"

// The stable id and the older draft id; a module answers both with the same factory.
inline constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID[] = "clap.preset-discovery-factory/2";
inline constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] = "clap.preset-discovery-factory/draft-2";

// Location kinds: a file or folder to crawl (matched by a declared file extension), or
// presets built into the plug-in (location null).
inline constexpr uint32_t CLAP_PRESET_DISCOVERY_LOCATION_FILE = 0;
inline constexpr uint32_t CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN = 1;

// Location and preset flags.
inline constexpr uint32_t CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT = 1;

// Which plug-in a preset is for: abi "clap" and the descriptor's id.
struct clap_universal_plugin_id_t {
  const char* abi;
  const char* id;
};
QUINDLE_CLAP_CHECK_SIZE(clap_universal_plugin_id_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_universal_plugin_id_t, abi, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_universal_plugin_id_t, id, 1);

struct clap_preset_discovery_location_t {
  uint32_t flags;
  const char* name;
  uint32_t kind;
  const char* location;  // null for CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_location_t, 16, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_location_t, flags, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_location_t, name, 4, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_location_t, kind, 8, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_location_t, location, 12, 24);

struct clap_preset_discovery_filetype_t {
  const char* name;
  const char* description;
  const char* file_extension;
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_filetype_t, 12, 24);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_filetype_t, name, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_filetype_t, description, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_filetype_t, file_extension, 2);

// A sound pack record; not declared here, handled only by pointer.
struct clap_preset_discovery_soundpack_t;

// Owned by the host. Every function: provider, on the thread of the call it is in.
struct clap_preset_discovery_metadata_receiver_t {
  void* receiver_data;  // the host's
  // (unverified) Reading the location failed.
  void(CLAP_ABI* on_error)(const clap_preset_discovery_metadata_receiver_t* receiver, int32_t os_error,
                           const char* message);
  // Starts preset `name`, loaded later by `load_key` (for example "0".."7" for built-in
  // programs); the calls below describe it. (unverified: the bool result)
  bool(CLAP_ABI* begin_preset)(const clap_preset_discovery_metadata_receiver_t* receiver, const char* name,
                               const char* load_key);
  // The plug-in the preset is for.
  void(CLAP_ABI* add_plugin_id)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                const clap_universal_plugin_id_t* plugin_id);
  // (unverified)
  void(CLAP_ABI* set_soundpack_id)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                   const char* soundpack_id);
  // (unverified) CLAP_PRESET_DISCOVERY_IS_* flags.
  void(CLAP_ABI* set_flags)(const clap_preset_discovery_metadata_receiver_t* receiver, uint32_t flags);
  // (unverified)
  void(CLAP_ABI* add_creator)(const clap_preset_discovery_metadata_receiver_t* receiver, const char* creator);
  // (unverified)
  void(CLAP_ABI* set_description)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                  const char* description);
  // (unverified) Either may be CLAP_TIMESTAMP_UNKNOWN.
  void(CLAP_ABI* set_timestamps)(const clap_preset_discovery_metadata_receiver_t* receiver,
                                 clap_timestamp creation_time, clap_timestamp modification_time);
  // A feature string, as in the plug-in descriptor.
  void(CLAP_ABI* add_feature)(const clap_preset_discovery_metadata_receiver_t* receiver, const char* feature);
  // (unverified)
  void(CLAP_ABI* add_extra_info)(const clap_preset_discovery_metadata_receiver_t* receiver, const char* key,
                                 const char* value);
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_metadata_receiver_t, 44, 88);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, receiver_data, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, on_error, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, begin_preset, 2);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, add_plugin_id, 3);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, set_soundpack_id, 4);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, set_flags, 5);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, add_creator, 6);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, set_description, 7);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, set_timestamps, 8);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, add_feature, 9);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_metadata_receiver_t, add_extra_info, 10);

// Owned by the host. Every function: provider, inside its init.
struct clap_preset_discovery_indexer_t {
  clap_version_t clap_version;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  void* indexer_data;  // the host's
  // (unverified) A preset file type the provider reads.
  bool(CLAP_ABI* declare_filetype)(const clap_preset_discovery_indexer_t* indexer,
                                   const clap_preset_discovery_filetype_t* filetype);
  // A place presets are found. (unverified: the bool result)
  bool(CLAP_ABI* declare_location)(const clap_preset_discovery_indexer_t* indexer,
                                   const clap_preset_discovery_location_t* location);
  // (unverified)
  bool(CLAP_ABI* declare_soundpack)(const clap_preset_discovery_indexer_t* indexer,
                                    const clap_preset_discovery_soundpack_t* soundpack);
  // (unverified) The indexer's extension `id`, or null.
  const void*(CLAP_ABI* get_extension)(const clap_preset_discovery_indexer_t* indexer, const char* id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_indexer_t, 48, 88);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, clap_version, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, name, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, vendor, 16, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, url, 20, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, version, 24, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, indexer_data, 28, 48);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, declare_filetype, 32, 56);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, declare_location, 36, 64);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, declare_soundpack, 40, 72);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_indexer_t, get_extension, 44, 80);

struct clap_preset_discovery_provider_descriptor_t {
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_provider_descriptor_t, 24, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_provider_descriptor_t, clap_version, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_provider_descriptor_t, id, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_provider_descriptor_t, name, 16, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_preset_discovery_provider_descriptor_t, vendor, 20, 32);

// Created and owned by the module.
struct clap_preset_discovery_provider_t {
  const clap_preset_discovery_provider_descriptor_t* desc;
  void* provider_data;  // the module's
  // Host, after create: declares the provider's file types and locations to the indexer.
  // (unverified: the signature)
  bool(CLAP_ABI* init)(const clap_preset_discovery_provider_t* provider);
  // Host, last. (unverified: the signature)
  void(CLAP_ABI* destroy)(const clap_preset_discovery_provider_t* provider);
  // Host: describes every preset at `location` through `receiver`. (unverified: the
  // signature)
  bool(CLAP_ABI* get_metadata)(const clap_preset_discovery_provider_t* provider, uint32_t location_kind,
                               const char* location, const clap_preset_discovery_metadata_receiver_t* receiver);
  // Host: the provider's extension `id`, or null. (unverified: the signature)
  const void*(CLAP_ABI* get_extension)(const clap_preset_discovery_provider_t* provider, const char* id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_provider_t, 24, 48);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_provider_t, desc, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_provider_t, provider_data, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_provider_t, init, 2);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_provider_t, destroy, 3);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_provider_t, get_metadata, 4);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_provider_t, get_extension, 5);

// Returned by clap_plugin_entry_t::get_factory for the ids above. Every function is
// thread-safe.
struct clap_preset_discovery_factory_t {
  // Host, any thread: the number of providers.
  uint32_t(CLAP_ABI* count)(const clap_preset_discovery_factory_t* factory);
  // Host, any thread: the descriptor of provider `index`, or null.
  const clap_preset_discovery_provider_descriptor_t*(CLAP_ABI* get_descriptor)(
      const clap_preset_discovery_factory_t* factory, uint32_t index);
  // Host, any thread: a new provider `provider_id` reporting to `indexer`, or null.
  const clap_preset_discovery_provider_t*(CLAP_ABI* create)(const clap_preset_discovery_factory_t* factory,
                                                            const clap_preset_discovery_indexer_t* indexer,
                                                            const char* provider_id);
};
QUINDLE_CLAP_CHECK_SIZE(clap_preset_discovery_factory_t, 12, 24);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_factory_t, count, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_factory_t, get_descriptor, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_preset_discovery_factory_t, create, 2);
