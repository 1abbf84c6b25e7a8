// The host application, offered by the context the host passes to initialize.
#pragma once

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

// Host object, UI thread.
class IHostApplication : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

  // Slot 3. The host's name, zero-terminated.
  virtual tresult PLUGIN_API getName(String128 name) = 0;
  // Slot 4. Makes a host object, e.g. an IMessage (its IID passed as both cid and iid).
  virtual tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) = 0;

 protected:
  ~IHostApplication() = default;
};

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IHostApplication::iid, "CC95E5582DDB69498B6AAF8C36A664E5"), "IHostApplication IID");
#else
static_assert(uidHasBytes(IHostApplication::iid, "58E595CCDB2D49698B6AAF8C36A664E5"), "IHostApplication IID");
#endif

}  // namespace vst3
