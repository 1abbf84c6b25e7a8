// The module's exported entry points: GetPluginFactory everywhere, InitDll and ExitDll on
// Windows (with the load notification that gives the editor its module handle), and
// ModuleEntry and ModuleExit on Linux, which hosts require there.
#include <atomic>

#include "shell/module_handle.h"
#include "vst3/plugin_factory.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#define QUINDLE_EXPORT
#else
#define QUINDLE_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// Hosts may enter and exit more than once; the module needs nothing set up, so the count
// only tells an exit without an entry.
std::atomic<int> entries{0};

bool enter() {
  entries.fetch_add(1, std::memory_order_relaxed);
  return true;
}

bool leave() {
  int current = entries.load(std::memory_order_relaxed);
  while (current > 0) {
    if (entries.compare_exchange_weak(current, current - 1, std::memory_order_relaxed)) return true;
  }
  return false;
}

}  // namespace

#ifdef _WIN32
// Called by the system's loader, on the loading thread, at every attach and detach.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  moduleHandle = instance;
  return TRUE;
}
#endif

extern "C" {

// Host's UI thread, after loading the module and at any time after: the factory with a
// reference for the caller to release.
QUINDLE_EXPORT vst3::IPluginFactory* PLUGIN_API GetPluginFactory() {
  vst3::IPluginFactory3& factory = quindle_vst3::pluginFactory();
  factory.addRef();
  return &factory;
}

#ifdef _WIN32
// Host's UI thread, right after loading and before unloading.
QUINDLE_EXPORT bool InitDll() { return enter(); }
QUINDLE_EXPORT bool ExitDll() { return leave(); }
#else
// Host's UI thread, right after dlopen (with its handle) and before dlclose.
QUINDLE_EXPORT bool ModuleEntry(void* /*sharedLibraryHandle*/) { return enter(); }
QUINDLE_EXPORT bool ModuleExit() { return leave(); }
#endif

}  // extern "C"
