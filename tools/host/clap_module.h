// A CLAP module loaded the way hosts load one: the library, its data symbol
// "clap_entry" (of a compatible interface version), the entry's init with the module's
// path, and the plug-in factory. The destructor calls deinit and unloads the library;
// instances made from the factory must be destroyed before.
#pragma once

#include <memory>
#include <string>

#include "clap/abi/clap_entry.h"

class ClapModule {
 public:
  // Null with a reason when the library cannot be loaded, has no entry record, was
  // written for a development version, refuses init or offers no plug-in factory.
  static std::unique_ptr<ClapModule> load(const std::string& path, std::string& error);
  ~ClapModule();
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  const clap_plugin_entry_t& entry() const { return *entryRecord; }
  const clap_plugin_factory_t& factory() const { return *pluginFactory; }
  const std::string& path() const { return modulePath; }

 private:
  ClapModule(void* library, const clap_plugin_entry_t* entry, const clap_plugin_factory_t* factory,
             std::string path);

  void* library;
  const clap_plugin_entry_t* entryRecord;
  const clap_plugin_factory_t* pluginFactory;
  std::string modulePath;
};
