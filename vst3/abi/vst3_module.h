// The module's entry points as hosts look them up, and where the binary sits in its
// bundle (a `.vst3` plug-in is a folder).
#pragma once

#include "vst3/abi/vst3_factory.h"

namespace vst3 {

// Exported with C linkage under exactly these names. MinGW exports the 32-bit __stdcall
// GetPluginFactory as "GetPluginFactory@0", which hosts do not find: link the module
// with -Wl,--kill-at or a .def file. The others use the default convention.
constexpr const char* kGetPluginFactoryName = "GetPluginFactory";  // every platform, required
constexpr const char* kInitDllName = "InitDll";          // Windows, optional: after loading
constexpr const char* kExitDllName = "ExitDll";          // Windows, optional: before unloading
constexpr const char* kModuleEntryName = "ModuleEntry";  // Linux, required: after loading
constexpr const char* kModuleExitName = "ModuleExit";    // Linux, required: before unloading

// May be called repeatedly; each call returns a referenced factory the host releases.
using GetFactoryProc = IPluginFactory*(PLUGIN_API*)();
// InitDll and ExitDll; false from InitDll makes the host give up. Init and exit may come
// more than once (count them).
using InitDllProc = bool (*)();
using ExitDllProc = bool (*)();
// ModuleEntry receives the host's dlopen handle.
using ModuleEntryProc = bool (*)(void* sharedLibraryHandle);
using ModuleExitProc = bool (*)();

// Name.vst3/Contents/<kArchitectureFolder>/Name<kBinarySuffix>: the binary's name is the
// bundle's stem. Resources (and an optional moduleinfo.json) sit in Contents/Resources.
constexpr const char* kBundleSuffix = ".vst3";
constexpr const char* kContentsFolder = "Contents";
constexpr const char* kResourcesFolder = "Resources";
#if QUINDLE_VST3_WINDOWS && QUINDLE_VST3_X86
constexpr const char* kArchitectureFolder = "x86-win";
constexpr const char* kBinarySuffix = ".vst3";
#elif QUINDLE_VST3_WINDOWS
constexpr const char* kArchitectureFolder = "x86_64-win";
constexpr const char* kBinarySuffix = ".vst3";
#else
constexpr const char* kArchitectureFolder = "x86_64-linux";  // `uname -m` plus "-linux"
constexpr const char* kBinarySuffix = ".so";
#endif

}  // namespace vst3
