// Loads a VST 3 bundle as a host does: the binary for this platform inside
// Name.vst3/Contents/<architecture>/, its entry (ModuleEntry on Linux, InitDll on
// Windows where present), its factory; and in reverse when the module goes.
#pragma once

#include <memory>
#include <string>

#include "vst3/abi/vst3.h"

class Vst3Module {
 public:
  // `path` is a bundle folder, or a bare module file (older Windows installations).
  // Null with a reason when the binary does not load, lacks an entry point the platform
  // requires, refuses to enter, or gives no factory.
  static std::unique_ptr<Vst3Module> load(const std::string& path, std::string& error);
  ~Vst3Module();
  Vst3Module(const Vst3Module&) = delete;
  Vst3Module& operator=(const Vst3Module&) = delete;

  vst3::IPluginFactory& factory() const { return *pluginFactory; }
  // The factory's first class of the "Audio Module Class" category; false without one.
  bool findAudioClass(vst3::PClassInfo& info) const;
  // Looks up any exported symbol (null when absent).
  void* symbol(const char* name) const;
  const std::string& binaryPath() const { return binary; }

 private:
  Vst3Module(void* handle, vst3::IPluginFactory* factory, std::string binary);

  void* handle;
  vst3::IPluginFactory* pluginFactory;
  std::string binary;
};

// Where the binary for this platform sits in the bundle at `bundle`.
std::string vst3BinaryInBundle(const std::string& bundle);
