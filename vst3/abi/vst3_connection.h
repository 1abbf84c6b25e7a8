// Messages between a separate processor and controller. A single component (one object
// for both) refuses IConnectionPoint with kNoInterface; hosts connect only separate objects.
#pragma once

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

using AttrID = const char*;

// Host object: typed values by name.
class IAttributeList : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);

  virtual tresult PLUGIN_API setInt(AttrID id, int64 value) = 0;                                      // slot 3
  virtual tresult PLUGIN_API getInt(AttrID id, int64& value) = 0;                                     // slot 4
  virtual tresult PLUGIN_API setFloat(AttrID id, double value) = 0;                                   // slot 5
  virtual tresult PLUGIN_API getFloat(AttrID id, double& value) = 0;                                  // slot 6
  virtual tresult PLUGIN_API setString(AttrID id, const TChar* string) = 0;                           // slot 7
  virtual tresult PLUGIN_API getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;             // slot 8
  virtual tresult PLUGIN_API setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;          // slot 9
  virtual tresult PLUGIN_API getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;        // slot 10

 protected:
  ~IAttributeList() = default;
};

// Host object, made with IHostApplication::createInstance (its IID as both cid and iid);
// never sent from `process`.
class IMessage : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);

  virtual FIDString PLUGIN_API getMessageID() = 0;         // slot 3
  virtual void PLUGIN_API setMessageID(FIDString id) = 0;  // slot 4
  virtual IAttributeList* PLUGIN_API getAttributes() = 0;  // slot 5

 protected:
  ~IMessage() = default;
};

// Plug-in and host object, UI thread. Hosts may put proxies between the two ends.
class IConnectionPoint : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

  virtual tresult PLUGIN_API connect(IConnectionPoint* other) = 0;     // slot 3
  virtual tresult PLUGIN_API disconnect(IConnectionPoint* other) = 0;  // slot 4
  virtual tresult PLUGIN_API notify(IMessage* message) = 0;            // slot 5

 protected:
  ~IConnectionPoint() = default;
};

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IAttributeList::iid, "EB0A5F1E7FCC3345A254401138AD5EE4"), "IAttributeList IID");
static_assert(uidHasBytes(IMessage::iid, "3B036F93C0C6DB47BB0882F813C1E613"), "IMessage IID");
static_assert(uidHasBytes(IConnectionPoint::iid, "6F15A4706E6E2640989148BFAA60D8D1"), "IConnectionPoint IID");
#else
static_assert(uidHasBytes(IAttributeList::iid, "1E5F0AEBCC7F4533A254401138AD5EE4"), "IAttributeList IID");
static_assert(uidHasBytes(IMessage::iid, "936F033BC6C047DBBB0882F813C1E613"), "IMessage IID");
static_assert(uidHasBytes(IConnectionPoint::iid, "70A4156F6E6E4026989148BFAA60D8D1"), "IConnectionPoint IID");
#endif

}  // namespace vst3
