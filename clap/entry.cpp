// The module's one export, the entry record "clap_entry", with the plug-in factory it
// hands out, and on Windows the load notification that keeps the module handle the
// editor loads its bitmaps through.
#include <cstdint>
#include <cstring>
#include <mutex>

#include "clap/abi/clap.h"
#include "clap/clap_instance.h"
#include "clap/plugin_descriptor.h"
#include "shell/module_handle.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Called by the system's loader, on the loading thread, at every attach and detach.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  moduleHandle = instance;
  return TRUE;
}
#endif

namespace {

constexpr std::uint32_t kPluginCount = 1;

// Entry init and deinit may come more than once; they are counted, never concurrent
// with each other, but guarded against hosts that break that rule.
std::mutex entryLock;
std::int32_t initCount = 0;

bool initialised() {
  std::lock_guard<std::mutex> guard(entryLock);
  return initCount > 0;
}

// Host, any thread.
uint32_t CLAP_ABI factoryPluginCount(const clap_plugin_factory_t*) { return kPluginCount; }

// Host, any thread.
const clap_plugin_descriptor_t* CLAP_ABI factoryDescriptor(const clap_plugin_factory_t*, uint32_t index) {
  return index < kPluginCount ? &quindleclap::kDescriptor : nullptr;
}

// Host, any thread: a new instance, or null for another id, a host without a record or
// of a development version, or without memory. The host is not called yet.
const clap_plugin_t* CLAP_ABI factoryCreate(const clap_plugin_factory_t*, const clap_host_t* host,
                                            const char* pluginId) {
  if (host == nullptr || pluginId == nullptr || std::strcmp(pluginId, quindleclap::kPluginId) != 0) return nullptr;
  if (!clapabi::versionIsCompatible(host->clap_version) || !initialised()) return nullptr;
  ClapInstance* instance = ClapInstance::create(host);
  return instance != nullptr ? instance->record() : nullptr;
}

const clap_plugin_factory_t kFactory = {factoryPluginCount, factoryDescriptor, factoryCreate};

// Host, once before anything else: nothing to prepare beyond the count (every table is
// built at load or by the first instance).
bool CLAP_ABI entryInit(const char* /*pluginPath*/) {
  std::lock_guard<std::mutex> guard(entryLock);
  ++initCount;
  return true;
}

// Host, after the last instance: undoes one init.
void CLAP_ABI entryDeinit() {
  std::lock_guard<std::mutex> guard(entryLock);
  if (initCount > 0) --initCount;
}

// Host, any thread, between init and deinit.
const void* CLAP_ABI entryFactory(const char* factoryId) {
  if (factoryId == nullptr || std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) != 0 || !initialised()) return nullptr;
  return &kFactory;
}

}  // namespace

extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION, entryInit, entryDeinit, entryFactory};
