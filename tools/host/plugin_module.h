// Loads a VST 2.4 module (a .so on Linux, a DLL on Windows) and creates instances
// through its exported entry point, as a host does: only the binary interface is used.
#pragma once

#include <memory>
#include <string>

#include "shell/vst_abi.h"

class PluginModule {
 public:
  using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback host);

  // Loads the module and finds its entry point ("VSTPluginMain", else "main").
  // Null with a reason in `error` when either fails.
  static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Calls the entry point; null when the module refuses the host.
  AEffect* instantiate(audioMasterCallback host) const;
  // Looks up any exported symbol (null when absent).
  void* symbol(const char* name) const;
  EntryPoint entryPoint() const { return entry; }
  const std::string& path() const { return modulePath; }

 private:
  PluginModule(void* handle, EntryPoint entry, std::string path);

  void* handle;
  EntryPoint entry;
  std::string modulePath;
};
