// The root of every VST 3 interface (FUnknown, the COM IUnknown layout) and the base of
// the component and the controller (IPluginBase).
//
// How every interface here is declared: an abstract class of public pure virtual methods
// in vtable slot order, PLUGIN_API on each, no data, no overloads and no virtual
// destructor (that would add slots); the protected non-virtual destructor adds none and
// keeps anyone from deleting an object through an interface. `iid` is the interface's ID.
// A derived interface continues its base's slots.
#pragma once

#include "vst3/abi/vst3_types.h"
#include "vst3/abi/vst3_uid.h"

namespace vst3 {

class FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

  // Slot 0. On success adds a reference and stores the object converted to the asked
  // interface; otherwise stores null and returns kNoInterface.
  virtual tresult PLUGIN_API queryInterface(const TUID iid, void** obj) = 0;
  // Slot 1. Returns the new count.
  virtual uint32 PLUGIN_API addRef() = 0;
  // Slot 2. Returns the new count; the object goes at 0 (a new object starts at 1).
  virtual uint32 PLUGIN_API release() = 0;

 protected:
  ~FUnknown() = default;
};

class IPluginBase : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

  // Slot 3, host's UI thread, after creation; `context` offers IHostApplication. Anything
  // but kResultOk makes the host release the object without terminate.
  virtual tresult PLUGIN_API initialize(FUnknown* context) = 0;
  // Slot 4, host's UI thread, before the last release: drop every host reference.
  virtual tresult PLUGIN_API terminate() = 0;

 protected:
  ~IPluginBase() = default;
};

// The raw ID bytes on this platform. FUnknown's is COM's IUnknown, the same everywhere.
static_assert(uidHasBytes(FUnknown::iid, "0000000000000000C000000000000046"), "FUnknown IID");
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IPluginBase::iid, "DB8D88226E15AE458358B34808190625"), "IPluginBase IID");
#else
static_assert(uidHasBytes(IPluginBase::iid, "22888DDB156E45AE8358B34808190625"), "IPluginBase IID");
#endif

}  // namespace vst3
