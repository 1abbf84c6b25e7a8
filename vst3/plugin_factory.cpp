#include "vst3/plugin_factory.h"

#include <atomic>

#include "vst3/plugin_identity.h"
#include "vst3/text_fields.h"
#include "vst3/vst3_instrument.h"

namespace quindle_vst3 {
namespace {

using namespace vst3;

constexpr int32 kClassCount = 1;
constexpr uint32 kClassFlags = 0;  // a single component: not distributable

bool isClassIndex(int32 index) { return index >= 0 && index < kClassCount; }

// Fills the fields every class record shares.
template <typename Record>
void describeClass(Record& info) {
  for (int i = 0; i < kUidSize; ++i) info.cid[i] = kClassId.bytes[i];
  info.cardinality = PClassInfo::kManyInstances;
  copyText(info.category, sizeof info.category, kVstAudioEffectClass);
  copyText(info.name, sizeof info.name / sizeof info.name[0], kPluginName);
}

template <typename Record>
void describeClass2(Record& info) {
  describeClass(info);
  info.classFlags = kClassFlags;
  copyText(info.subCategories, sizeof info.subCategories, PlugType::kInstrumentSynth);
  copyText(info.vendor, sizeof info.vendor / sizeof info.vendor[0], kVendorName);
  copyText(info.version, sizeof info.version / sizeof info.version[0], kVersionText);
  copyText(info.sdkVersion, sizeof info.sdkVersion / sizeof info.sdkVersion[0], kVstVersionString);
}

// Every call comes on the host's UI thread, from loading the module to unloading it.
class PluginFactory final : public IPluginFactory3 {
 public:
  tresult PLUGIN_API queryInterface(const TUID interfaceId, void** obj) override {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    const bool known = sameUid(interfaceId, FUnknown::iid) || sameUid(interfaceId, IPluginFactory::iid) ||
                       sameUid(interfaceId, IPluginFactory2::iid) || sameUid(interfaceId, IPluginFactory3::iid);
    if (!known) return kNoInterface;
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return references.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32 PLUGIN_API release() override {
    const uint32 left = references.load(std::memory_order_relaxed);
    if (left == 0) return 0;  // more releases than references: nothing to end anyway
    return references.fetch_sub(1, std::memory_order_relaxed) - 1;
  }

  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override {
    if (info == nullptr) return kInvalidArgument;
    copyText(info->vendor, sizeof info->vendor, kVendorName);
    copyText(info->url, sizeof info->url, kVendorUrl);
    copyText(info->email, sizeof info->email, kVendorEmail);
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
  }
  int32 PLUGIN_API countClasses() override { return kClassCount; }
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override {
    if (info == nullptr || !isClassIndex(index)) return kInvalidArgument;
    describeClass(*info);
    return kResultOk;
  }
  // Both IDs are 16 raw bytes. A new object answers `iid` with a reference of its own.
  tresult PLUGIN_API createInstance(FIDString classId, FIDString interfaceId, void** obj) override {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (!sameUid(classId, kClassId) || interfaceId == nullptr) return kNoInterface;
    Vst3Instrument* instance = Vst3Instrument::create();
    if (instance == nullptr) return kOutOfMemory;
    const tresult found = instance->queryInterface(interfaceId, obj);
    instance->release();
    return found;
  }
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override {
    if (info == nullptr || !isClassIndex(index)) return kInvalidArgument;
    describeClass2(*info);
    return kResultOk;
  }
  tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override {
    if (info == nullptr || !isClassIndex(index)) return kInvalidArgument;
    describeClass2(*info);
    return kResultOk;
  }
  // Not needed: each view takes the run loop from its frame.
  tresult PLUGIN_API setHostContext(FUnknown*) override { return kResultOk; }

 private:
  std::atomic<uint32> references{0};
};

}  // namespace

IPluginFactory3& pluginFactory() {
  static PluginFactory factory;
  return factory;
}

}  // namespace quindle_vst3
