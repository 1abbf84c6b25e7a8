// The module's exported entry point (VSTPluginMain, exported a second time as `main`)
// and, on Windows, its load notification.
#include "shell/module_handle.h"
#include "shell/synth_plugin.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#ifdef _WIN32
// Called by the system's loader, on the loading thread, at every attach and detach.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  moduleHandle = instance;
  return TRUE;
}
#define QUINDLE_EXPORT
#else
#define QUINDLE_EXPORT __attribute__((visibility("default")))
#endif

// Called by the host, on any of its threads, once for every instance it wants.
extern "C" QUINDLE_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host) {
  if (host == nullptr) return nullptr;
  if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  SynthPlugin* plugin = createSynthPlugin(host);
  return plugin != nullptr ? plugin->getAEffect() : nullptr;
}
