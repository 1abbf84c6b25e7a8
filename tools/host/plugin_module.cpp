#include "tools/host/plugin_module.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

void* openLibrary(const std::string& path, std::string& error) {
#ifdef _WIN32
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(module);
#else
  // A path without a slash would be searched for; make it relative to here instead.
  const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  void* module = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown error");
  }
  return module;
#endif
}

void* findSymbol(void* module, const char* name) {
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
  return dlsym(module, name);
#endif
}

void closeLibrary(void* module) {
#ifdef _WIN32
  FreeLibrary(static_cast<HMODULE>(module));
#else
  dlclose(module);
#endif
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
  void* module = openLibrary(path, error);
  if (module == nullptr) return nullptr;
  void* entry = findSymbol(module, "VSTPluginMain");
  if (entry == nullptr) entry = findSymbol(module, "main");
  if (entry == nullptr) {
    error = path + " exports neither VSTPluginMain nor main";
    closeLibrary(module);
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(new PluginModule(module, reinterpret_cast<EntryPoint>(entry), path));
}

PluginModule::PluginModule(void* module, EntryPoint moduleEntry, std::string path)
    : handle(module), entry(moduleEntry), modulePath(std::move(path)) {}

PluginModule::~PluginModule() { closeLibrary(handle); }

AEffect* PluginModule::instantiate(audioMasterCallback host) const { return entry(host); }

void* PluginModule::symbol(const char* name) const { return findSymbol(handle, name); }
