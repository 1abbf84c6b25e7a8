// The CLAP plug-in's identity: the descriptor hosts list it by. The id is stored in every
// song that uses the plug-in: never change it.
#pragma once

#include "clap/abi/clap_entry.h"

namespace quindleclap {

constexpr const char* kPluginId = "com.velkor.quindle";
// The name of the module file in every build.
constexpr const char* kModuleFileName = "Quindle.clap";

// Valid for the module's whole life.
extern const clap_plugin_descriptor_t kDescriptor;

}  // namespace quindleclap
