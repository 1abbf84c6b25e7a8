// The component: the object the host creates from the "Audio Module Class" class. It
// describes its buses, is switched on and off, and carries the processor's state.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

class IBStream;

enum MediaTypes : MediaType { kAudio = 0, kEvent = 1 };
enum BusDirections : BusDirection { kInput = 0, kOutput = 1 };
enum BusTypes : BusType { kMain = 0, kAux = 1 };  // main buses come first
enum IoModes : IoMode { kSimple = 0, kAdvanced = 1, kOfflineProcessing = 2 };

struct BusInfo {
  enum BusFlags : uint32 {
    kDefaultActive = 1 << 0,  // a wish: every bus starts inactive
    kIsControlVoltage = 1 << 1,
  };

  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;  // must agree with the arrangement and with `process`
  String128 name;
  BusType busType;
  uint32 flags;
};

struct RoutingInfo {
  MediaType mediaType;
  int32 busIndex;
  int32 channel;
};

// Every method: host's UI thread (the state calls may also come on its processing thread
// when it renders offline).
class IComponent : public IPluginBase {
 public:
  static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

  // Slot 5. A single component answers kNotImplemented. May precede initialize.
  virtual tresult PLUGIN_API getControllerClassId(TUID classId) = 0;
  // Slot 6. May precede initialize; kNotImplemented is a valid answer.
  virtual tresult PLUGIN_API setIoMode(IoMode mode) = 0;
  // Slot 7. Answers every pair of media type and direction (0 where there is none).
  virtual int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) = 0;
  // Slot 8. Succeeds below the count, fails (kInvalidArgument) above it.
  virtual tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
  // Slot 9.
  virtual tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  // Slot 10.
  virtual tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
  // Slot 11. Also arrives as false on objects never activated.
  virtual tresult PLUGIN_API setActive(TBool state) = 0;
  // Slots 12 and 13: the processor's state. The same C++ signatures as IEditController's
  // slots 6 and 7; see vst3_state_slots.h to implement both in one object.
  virtual tresult PLUGIN_API setState(IBStream* state) = 0;
  virtual tresult PLUGIN_API getState(IBStream* state) = 0;

 protected:
  ~IComponent() = default;
};

// Layouts, identical on the three targets.
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4, "BusInfo");
static_assert(offsetof(BusInfo, mediaType) == 0 && offsetof(BusInfo, direction) == 4, "BusInfo");
static_assert(offsetof(BusInfo, channelCount) == 8 && offsetof(BusInfo, name) == 12, "BusInfo");
static_assert(offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272, "BusInfo");

static_assert(sizeof(RoutingInfo) == 12, "RoutingInfo");
static_assert(offsetof(RoutingInfo, mediaType) == 0 && offsetof(RoutingInfo, busIndex) == 4, "RoutingInfo");
static_assert(offsetof(RoutingInfo, channel) == 8, "RoutingInfo");

// The raw ID bytes on this platform (the documented example of the two byte orders).
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IComponent::iid, "31FF31E8D5F20143928EBBEE25697802"), "IComponent IID");
#else
static_assert(uidHasBytes(IComponent::iid, "E831FF31F2D54301928EBBEE25697802"), "IComponent IID");
#endif

}  // namespace vst3
