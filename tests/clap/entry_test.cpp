// The entry record as a host reaches it: the module is loaded, the data symbol
// "clap_entry" is looked up by name and read, and its functions are called across the
// module boundary.
#include <gtest/gtest.h>

#include "clap/abi/clap_entry.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

class LoadedProbe {
 public:
  LoadedProbe() {
#ifdef _WIN32
    handle = LoadLibraryA(QUINDLE_CLAP_PROBE_FILE);
#else
    handle = dlopen("./" QUINDLE_CLAP_PROBE_FILE, RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~LoadedProbe() {
    if (handle == nullptr) return;
#ifdef _WIN32
    FreeLibrary(handle);
#else
    dlclose(handle);
#endif
  }
  LoadedProbe(const LoadedProbe&) = delete;
  LoadedProbe& operator=(const LoadedProbe&) = delete;

  bool loaded() const { return handle != nullptr; }
  const void* symbol(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<const void*>(GetProcAddress(handle, name));
#else
    return dlsym(handle, name);
#endif
  }

 private:
#ifdef _WIN32
  HMODULE handle;
#else
  void* handle;
#endif
};

TEST(ClapEntry, TheExportedRecordIsFoundByNameAndAnswersAsDeclared) {
  LoadedProbe probe;
  ASSERT_TRUE(probe.loaded()) << QUINDLE_CLAP_PROBE_FILE;
  const auto* entry = static_cast<const clap_plugin_entry_t*>(probe.symbol(clapabi::kEntrySymbol));
  ASSERT_NE(entry, nullptr);
  // Data, not code: the record's first bytes are the version it was built with.
  EXPECT_EQ(entry->clap_version.major, CLAP_VERSION_MAJOR);
  EXPECT_EQ(entry->clap_version.minor, CLAP_VERSION_MINOR);
  EXPECT_EQ(entry->clap_version.revision, CLAP_VERSION_REVISION);
  EXPECT_TRUE(clapabi::versionIsCompatible(entry->clap_version));

  EXPECT_EQ(entry->get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr) << "no factory before init";
  ASSERT_TRUE(entry->init(QUINDLE_CLAP_PROBE_FILE));
  const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->get_plugin_count(factory), 0u);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 0), nullptr);
  EXPECT_EQ(entry->get_factory("clap.plugin-factory.unknown"), nullptr);
  entry->deinit();
  EXPECT_EQ(entry->get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
}

TEST(ClapEntry, UnmarkedSymbolsStayInsideTheModule) {
  LoadedProbe probe;
  ASSERT_TRUE(probe.loaded());
  EXPECT_EQ(probe.symbol("clap_entry_unmarked"), nullptr);
}

}  // namespace
