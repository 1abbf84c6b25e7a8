// The module's factory: what the host asks first (vendor, classes) and where it creates
// the plug-in's objects. The records have natural alignment and the same layout on every
// target; their strings are zero-terminated inside the field.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

// Categories of a class (PClassInfo::category).
constexpr const char8* kVstAudioEffectClass = "Audio Module Class";
constexpr const char8* kVstComponentControllerClass = "Component Controller Class";  // separate controllers only

// Sub-categories (PClassInfo2::subCategories), joined by '|'.
namespace PlugType {
constexpr const char8* kFx = "Fx";
constexpr const char8* kInstrument = "Instrument";
constexpr const char8* kInstrumentSynth = "Instrument|Synth";
constexpr const char8* kInstrumentSampler = "Instrument|Sampler";
}  // namespace PlugType

// PClassInfo2::sdkVersion is informational text of this form.
constexpr const char8* kVstVersionString = "VST 3.7.14";

// PClassInfo2::classFlags. A single component (processor and controller in one object)
// leaves kDistributable clear.
enum ComponentFlags : uint32 {
  kDistributable = 1 << 0,
  kSimpleModeSupported = 1 << 1,
};

struct PFactoryInfo {
  enum FactoryFlags : int32 {
    kNoFlags = 0,
    kClassesDiscardable = 1 << 0,
    kLicenseCheck = 1 << 1,  // deprecated
    kComponentNonDiscardable = 1 << 3,
    kUnicode = 1 << 4,  // set it (the usual default)
  };
  static constexpr int32 kNameSize = 64;
  static constexpr int32 kURLSize = 256;
  static constexpr int32 kEmailSize = 128;

  char8 vendor[kNameSize];
  char8 url[kURLSize];
  char8 email[kEmailSize];
  int32 flags;
};

struct PClassInfo {
  enum ClassCardinality : int32 { kManyInstances = 0x7FFFFFFF };
  static constexpr int32 kCategorySize = 32;
  static constexpr int32 kNameSize = 64;

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];
};

struct PClassInfo2 {
  static constexpr int32 kVendorSize = 64;
  static constexpr int32 kVersionSize = 64;
  static constexpr int32 kSubCategoriesSize = 128;

  TUID cid;
  int32 cardinality;
  char8 category[PClassInfo::kCategorySize];
  char8 name[PClassInfo::kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char8 vendor[kVendorSize];
  char8 version[kVersionSize];
  char8 sdkVersion[kVersionSize];
};

// PClassInfo2 with UTF-16 names.
struct PClassInfoW {
  TUID cid;
  int32 cardinality;
  char8 category[PClassInfo::kCategorySize];
  char16 name[PClassInfo::kNameSize];
  uint32 classFlags;
  char8 subCategories[PClassInfo2::kSubCategoriesSize];
  char16 vendor[PClassInfo2::kVendorSize];
  char16 version[PClassInfo2::kVersionSize];
  char16 sdkVersion[PClassInfo2::kVersionSize];
};

// Hosts call the factory on their UI thread, right after loading the module.
class IPluginFactory : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

  virtual tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) = 0;                // slot 3
  virtual int32 PLUGIN_API countClasses() = 0;                                      // slot 4
  virtual tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) = 0;       // slot 5
  // Slot 6. Both IDs are 16 raw bytes despite the type. Returns a referenced object.
  virtual tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) = 0;

 protected:
  ~IPluginFactory() = default;
};

// Hosts take the sub-category and version from here: implement at least this version.
class IPluginFactory2 : public IPluginFactory {
 public:
  static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

  virtual tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) = 0;  // slot 7

 protected:
  ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2 {
 public:
  static constexpr Uid iid = makeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

  virtual tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;  // slot 8
  // Slot 9. On Linux the context may offer Linux::IRunLoop before any editor exists.
  virtual tresult PLUGIN_API setHostContext(FUnknown* context) = 0;

 protected:
  ~IPluginFactory3() = default;
};

// Layouts, identical on the three targets.
static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4, "PFactoryInfo");
static_assert(offsetof(PFactoryInfo, vendor) == 0 && offsetof(PFactoryInfo, url) == 64, "PFactoryInfo");
static_assert(offsetof(PFactoryInfo, email) == 320 && offsetof(PFactoryInfo, flags) == 448, "PFactoryInfo");

static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4, "PClassInfo");
static_assert(offsetof(PClassInfo, cid) == 0 && offsetof(PClassInfo, cardinality) == 16, "PClassInfo");
static_assert(offsetof(PClassInfo, category) == 20 && offsetof(PClassInfo, name) == 52, "PClassInfo");

static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4, "PClassInfo2");
static_assert(offsetof(PClassInfo2, cid) == 0 && offsetof(PClassInfo2, cardinality) == 16, "PClassInfo2");
static_assert(offsetof(PClassInfo2, category) == 20 && offsetof(PClassInfo2, name) == 52, "PClassInfo2");
static_assert(offsetof(PClassInfo2, classFlags) == 116 && offsetof(PClassInfo2, subCategories) == 120,
              "PClassInfo2");
static_assert(offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312, "PClassInfo2");
static_assert(offsetof(PClassInfo2, sdkVersion) == 376, "PClassInfo2");

static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4, "PClassInfoW");
static_assert(offsetof(PClassInfoW, cid) == 0 && offsetof(PClassInfoW, cardinality) == 16, "PClassInfoW");
static_assert(offsetof(PClassInfoW, category) == 20 && offsetof(PClassInfoW, name) == 52, "PClassInfoW");
static_assert(offsetof(PClassInfoW, classFlags) == 180 && offsetof(PClassInfoW, subCategories) == 184,
              "PClassInfoW");
static_assert(offsetof(PClassInfoW, vendor) == 312 && offsetof(PClassInfoW, version) == 440, "PClassInfoW");
static_assert(offsetof(PClassInfoW, sdkVersion) == 568, "PClassInfoW");

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IPluginFactory::iid, "1C814D7A11521F4AAED9D2EE0B43BF9F"), "IPluginFactory IID");
static_assert(uidHasBytes(IPluginFactory2::iid, "50B607004BF20B4CA464EDB9F00B2ABB"), "IPluginFactory2 IID");
static_assert(uidHasBytes(IPluginFactory3::iid, "ABA2554523C1574E9B12291036878931"), "IPluginFactory3 IID");
#else
static_assert(uidHasBytes(IPluginFactory::iid, "7A4D811C52114A1FAED9D2EE0B43BF9F"), "IPluginFactory IID");
static_assert(uidHasBytes(IPluginFactory2::iid, "0007B650F24B4C0BA464EDB9F00B2ABB"), "IPluginFactory2 IID");
static_assert(uidHasBytes(IPluginFactory3::iid, "4555A2ABC1234E579B12291036878931"), "IPluginFactory3 IID");
#endif

}  // namespace vst3
