#include "tools/host/plugin_module.h"

#include "tools/host/shared_library.h"

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
  void* module = sharedlibrary::open(path, error);
  if (module == nullptr) return nullptr;
  void* entry = sharedlibrary::find(module, "VSTPluginMain");
  if (entry == nullptr) entry = sharedlibrary::find(module, "main");
  if (entry == nullptr) {
    error = path + " exports neither VSTPluginMain nor main";
    sharedlibrary::close(module);
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(new PluginModule(module, reinterpret_cast<EntryPoint>(entry), path));
}

PluginModule::PluginModule(void* module, EntryPoint moduleEntry, std::string path)
    : handle(module), entry(moduleEntry), modulePath(std::move(path)) {}

PluginModule::~PluginModule() { sharedlibrary::close(handle); }

AEffect* PluginModule::instantiate(audioMasterCallback host) const { return entry(host); }

void* PluginModule::symbol(const char* name) const { return sharedlibrary::find(handle, name); }
