#include "tools/host/vst3_module.h"

#include <cstring>

#include "tools/host/shared_library.h"

namespace {

using namespace vst3;

void* findSymbol(void* module, const char* name) { return sharedlibrary::find(module, name); }

// Enters the module; false with a reason when a required entry is missing or refuses.
bool enterModule(void* module, const std::string& binary, std::string& error) {
#ifdef _WIN32
  auto init = reinterpret_cast<InitDllProc>(findSymbol(module, kInitDllName));
  if (init != nullptr && !init()) {
    error = binary + ": InitDll refused";
    return false;
  }
#else
  auto entry = reinterpret_cast<ModuleEntryProc>(findSymbol(module, kModuleEntryName));
  if (entry == nullptr || findSymbol(module, kModuleExitName) == nullptr) {
    error = binary + " exports no ModuleEntry and ModuleExit";
    return false;
  }
  if (!entry(module)) {
    error = binary + ": ModuleEntry refused";
    return false;
  }
#endif
  return true;
}

void exitModule(void* module) {
#ifdef _WIN32
  auto exit = reinterpret_cast<ExitDllProc>(findSymbol(module, kExitDllName));
#else
  auto exit = reinterpret_cast<ModuleExitProc>(findSymbol(module, kModuleExitName));
#endif
  if (exit != nullptr) exit();
}

}  // namespace

std::string vst3BinaryInBundle(const std::string& bundle) {
  std::string folder = bundle;
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  const std::size_t slash = folder.find_last_of("/\\");
  std::string stem = slash == std::string::npos ? folder : folder.substr(slash + 1);
  const std::size_t suffixLength = std::strlen(kBundleSuffix);
  if (stem.size() > suffixLength && stem.compare(stem.size() - suffixLength, suffixLength, kBundleSuffix) == 0) {
    stem.resize(stem.size() - suffixLength);
  }
  return folder + "/" + kContentsFolder + "/" + kArchitectureFolder + "/" + stem + kBinarySuffix;
}

std::unique_ptr<Vst3Module> Vst3Module::load(const std::string& path, std::string& error) {
  std::string binary = vst3BinaryInBundle(path);
  void* module = sharedlibrary::open(binary, error);
  if (module == nullptr) {
    std::string bareError;
    module = sharedlibrary::open(path, bareError);
    if (module == nullptr) return nullptr;
    binary = path;
  }
  auto getFactory = reinterpret_cast<GetFactoryProc>(findSymbol(module, kGetPluginFactoryName));
  if (getFactory == nullptr) {
    error = binary + " exports no GetPluginFactory";
    sharedlibrary::close(module);
    return nullptr;
  }
  if (!enterModule(module, binary, error)) {
    sharedlibrary::close(module);
    return nullptr;
  }
  IPluginFactory* factory = getFactory();
  if (factory == nullptr) {
    error = binary + ": GetPluginFactory gave no factory";
    exitModule(module);
    sharedlibrary::close(module);
    return nullptr;
  }
  error.clear();
  return std::unique_ptr<Vst3Module>(new Vst3Module(module, factory, binary));
}

Vst3Module::Vst3Module(void* module, IPluginFactory* factory, std::string binaryFile)
    : handle(module), pluginFactory(factory), binary(std::move(binaryFile)) {}

Vst3Module::~Vst3Module() {
  pluginFactory->release();
  exitModule(handle);
  sharedlibrary::close(handle);
}

bool Vst3Module::findAudioClass(PClassInfo& info) const {
  const int32 count = pluginFactory->countClasses();
  for (int32 index = 0; index < count; ++index) {
    PClassInfo candidate{};
    if (pluginFactory->getClassInfo(index, &candidate) != kResultOk) continue;
    candidate.category[PClassInfo::kCategorySize - 1] = '\0';
    if (std::strcmp(candidate.category, kVstAudioEffectClass) == 0) {
      info = candidate;
      return true;
    }
  }
  return false;
}

void* Vst3Module::symbol(const char* name) const { return findSymbol(handle, name); }
