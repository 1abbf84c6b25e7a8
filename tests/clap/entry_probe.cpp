// A module holding nothing but an entry record and an empty plug-in factory: it shows
// that CLAP_EXPORT on an extern const record yields the data symbol hosts look up, and
// that nothing unmarked leaves the module.
#include <cstring>

#include "clap/abi/clap_entry.h"

namespace {

bool initialised = false;

// Host, any thread.
uint32_t CLAP_ABI pluginCount(const clap_plugin_factory_t* /*factory*/) { return 0; }

// Host, any thread.
const clap_plugin_descriptor_t* CLAP_ABI pluginDescriptor(const clap_plugin_factory_t* /*factory*/,
                                                          uint32_t /*index*/) {
  return nullptr;
}

// Host, any thread.
const clap_plugin_t* CLAP_ABI createPlugin(const clap_plugin_factory_t* /*factory*/, const clap_host_t* /*host*/,
                                           const char* /*plugin_id*/) {
  return nullptr;
}

const clap_plugin_factory_t factory = {pluginCount, pluginDescriptor, createPlugin};

// Host, once before anything else.
bool CLAP_ABI init(const char* pluginPath) {
  initialised = pluginPath != nullptr && pluginPath[0] != '\0';
  return initialised;
}

// Host, last.
void CLAP_ABI deinit() { initialised = false; }

// Host, any thread, between init and deinit.
const void* CLAP_ABI getFactory(const char* id) {
  if (!initialised || id == nullptr || std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) != 0) return nullptr;
  return &factory;
}

}  // namespace

extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION, init, deinit, getFactory};

// External but unmarked: must not be found from outside.
extern "C" const int clap_entry_unmarked = 1;
