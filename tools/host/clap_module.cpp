#include "tools/host/clap_module.h"

#include "tools/host/shared_library.h"

namespace {

bool usable(const clap_plugin_entry_t* entry) {
  return entry != nullptr && clapabi::versionIsCompatible(entry->clap_version) && entry->init != nullptr &&
         entry->deinit != nullptr && entry->get_factory != nullptr;
}

bool usable(const clap_plugin_factory_t* factory) {
  return factory != nullptr && factory->get_plugin_count != nullptr && factory->get_plugin_descriptor != nullptr &&
         factory->create_plugin != nullptr;
}

}  // namespace

std::unique_ptr<ClapModule> ClapModule::load(const std::string& path, std::string& error) {
  void* library = sharedlibrary::open(path, error);
  if (library == nullptr) return nullptr;
  const auto* entry = static_cast<const clap_plugin_entry_t*>(sharedlibrary::find(library, clapabi::kEntrySymbol));
  const char* problem = nullptr;
  if (!usable(entry)) {
    problem = entry == nullptr ? " exports no clap_entry" : " has an entry record this host cannot use";
  } else if (!entry->init(path.c_str())) {
    // After a refused init nothing else may be called, not even deinit.
    problem = " refused init";
  } else {
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (usable(factory)) return std::unique_ptr<ClapModule>(new ClapModule(library, entry, factory, path));
    problem = " offers no plug-in factory";
    entry->deinit();
  }
  error = path + problem;
  sharedlibrary::close(library);
  return nullptr;
}

ClapModule::ClapModule(void* handle, const clap_plugin_entry_t* entry, const clap_plugin_factory_t* factory,
                       std::string path)
    : library(handle), entryRecord(entry), pluginFactory(factory), modulePath(std::move(path)) {}

ClapModule::~ClapModule() {
  entryRecord->deinit();
  sharedlibrary::close(library);
}
