// An object implementing IComponent and IEditController through the declarations,
// called the way a host built with any compiler calls it: the function in vtable slot n
// of the interface pointer, with that pointer as first argument, in PLUGIN_API's
// convention. A missing PLUGIN_API (thiscall on 32-bit Windows), a shifted slot or a
// wrong sub-object shows up as a wrong result here.
#include "vst3/abi/vst3.h"

#include <gtest/gtest.h>

namespace {

using namespace vst3;

// Slot numbers of the interfaces' methods used below.
enum Slot : int {
  kQueryInterfaceSlot = 0,
  kAddRefSlot = 1,
  kReleaseSlot = 2,
  kInitializeSlot = 3,
  kGetBusCountSlot = 7,
  kGetBusInfoSlot = 8,
  kComponentSetStateSlot = 12,
  kComponentGetStateSlot = 13,
  kControllerSetComponentStateSlot = 5,
  kControllerSetStateSlot = 6,
  kControllerGetStateSlot = 7,
  kGetParameterInfoSlot = 9,
  kNormalizedParamToPlainSlot = 12,
  kGetParamNormalizedSlot = 14,
  kSetParamNormalizedSlot = 15,
};

template <typename Result, typename... Args>
Result callSlot(void* interfacePointer, Slot slot, Args... args) {
  using Function = Result(PLUGIN_API*)(void*, Args...);
  void** vtable = *static_cast<void***>(interfacePointer);
  return reinterpret_cast<Function>(vtable[slot])(interfacePointer, args...);
}

// Which of the object's state functions ran last, and with which stream.
enum class StateCall { kNone, kSetProcessor, kGetProcessor, kSetController, kGetController, kSetComponent };

constexpr ParamID kParameterCount = 4;
constexpr ParamValue kPlainRange = 100.0;

class TwoInterfaceObject final : public ComponentStateSlots, public ControllerStateSlots {
 public:
  explicit TwoInterfaceObject(bool& destroyedFlag) : destroyed(destroyedFlag) {}
  ~TwoInterfaceObject() { destroyed = true; }

  StateCall lastStateCall = StateCall::kNone;
  IBStream* lastStream = nullptr;
  FUnknown* context = nullptr;

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPluginBase::iid) || sameUid(iid, IComponent::iid)) {
      *obj = static_cast<IComponent*>(this);
    } else if (sameUid(iid, IEditController::iid)) {
      *obj = static_cast<IEditController*>(this);
    } else {
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return ++count; }
  uint32 PLUGIN_API release() override {
    const uint32 left = --count;
    if (left == 0) delete this;
    return left;
  }

  tresult PLUGIN_API initialize(FUnknown* hostContext) override {
    context = hostContext;
    return kResultOk;
  }
  tresult PLUGIN_API terminate() override { return kResultOk; }

  tresult PLUGIN_API getControllerClassId(TUID) override { return kNotImplemented; }
  tresult PLUGIN_API setIoMode(IoMode) override { return kNotImplemented; }
  int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override {
    return (type == kAudio && dir == kOutput) || (type == kEvent && dir == kInput) ? 1 : 0;
  }
  tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) override {
    if (index < 0 || index >= getBusCount(type, dir)) return kInvalidArgument;
    bus = BusInfo{};
    bus.mediaType = type;
    bus.direction = dir;
    bus.channelCount = type == kAudio ? 2 : 16;
    bus.busType = kMain;
    bus.flags = BusInfo::kDefaultActive;
    return kResultOk;
  }
  tresult PLUGIN_API getRoutingInfo(RoutingInfo&, RoutingInfo&) override { return kNotImplemented; }
  tresult PLUGIN_API activateBus(MediaType, BusDirection, int32, TBool) override { return kResultOk; }
  tresult PLUGIN_API setActive(TBool) override { return kResultOk; }

  tresult PLUGIN_API setComponentState(IBStream* state) override { return record(StateCall::kSetComponent, state); }
  int32 PLUGIN_API getParameterCount() override { return kParameterCount; }
  tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override {
    if (paramIndex < 0 || paramIndex >= getParameterCount()) return kInvalidArgument;
    info = ParameterInfo{};
    info.id = static_cast<ParamID>(paramIndex);
    info.stepCount = paramIndex;
    info.defaultNormalizedValue = values[paramIndex];
    info.flags = ParameterInfo::kCanAutomate;
    return kResultOk;
  }
  tresult PLUGIN_API getParamStringByValue(ParamID, ParamValue, String128) override { return kNotImplemented; }
  tresult PLUGIN_API getParamValueByString(ParamID, TChar*, ParamValue&) override { return kNotImplemented; }
  ParamValue PLUGIN_API normalizedParamToPlain(ParamID, ParamValue valueNormalized) override {
    return valueNormalized * kPlainRange;
  }
  ParamValue PLUGIN_API plainParamToNormalized(ParamID, ParamValue plainValue) override {
    return plainValue / kPlainRange;
  }
  ParamValue PLUGIN_API getParamNormalized(ParamID id) override { return id < kParameterCount ? values[id] : 0.0; }
  tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) override {
    if (id >= kParameterCount) return kInvalidArgument;
    values[id] = value;
    return kResultOk;
  }
  tresult PLUGIN_API setComponentHandler(IComponentHandler*) override { return kResultOk; }
  IPlugView* PLUGIN_API createView(FIDString) override { return nullptr; }

 protected:
  tresult setProcessorState(IBStream* state) override { return record(StateCall::kSetProcessor, state); }
  tresult getProcessorState(IBStream* state) override { return record(StateCall::kGetProcessor, state); }
  tresult setControllerState(IBStream* state) override { return record(StateCall::kSetController, state); }
  tresult getControllerState(IBStream* state) override { return record(StateCall::kGetController, state); }

 private:
  tresult record(StateCall call, IBStream* state) {
    lastStateCall = call;
    lastStream = state;
    return kResultOk;
  }

  uint32 count = 1;
  bool& destroyed;
  ParamValue values[kParameterCount] = {0.125, 0.25, 0.5, 0.75};
};

class Vst3InterfaceSlots : public ::testing::Test {
 protected:
  void TearDown() override {
    if (!destroyed) static_cast<IComponent*>(object)->release();
  }

  bool destroyed = false;
  TwoInterfaceObject* object = new TwoInterfaceObject(destroyed);
  IComponent* component = object;
  IEditController* controller = object;
};

// IComponent's ID in the other platform's byte order, as a wrongly built host would send
// it. The text has l1 and the halves of l2 byte-swapped; as this platform's rule swaps
// exactly those bytes (Windows) or none (Linux), the result is the other platform's order.
Uid componentIdInForeignOrder() {
  Uid id{};
  uidFromText("31FF31E8D5F20143928EBBEE25697802", id);
  return id;
}

TEST_F(Vst3InterfaceSlots, QueryInterfaceHandsOutTheRequestedSubObjectWithAReference) {
  struct Case {
    const Uid* iid;
    void* expected;
  };
  const Case cases[] = {
      {&FUnknown::iid, component},      {&IPluginBase::iid, component},
      {&IComponent::iid, component},    {&IEditController::iid, controller},
  };
  uint32 references = 1;
  for (void* asked : {static_cast<void*>(component), static_cast<void*>(controller)}) {
    for (const Case& c : cases) {
      void* found = nullptr;
      EXPECT_EQ(callSlot<tresult>(asked, kQueryInterfaceSlot, c.iid->bytes, &found), kResultOk);
      EXPECT_EQ(found, c.expected) << uidText(c.iid->bytes).text;
      ++references;
    }
  }
  EXPECT_EQ(callSlot<uint32>(component, kAddRefSlot), references + 1);
  for (uint32 i = 0; i < references; ++i) callSlot<uint32>(controller, kReleaseSlot);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(callSlot<uint32>(component, kAddRefSlot), 2u);
  EXPECT_EQ(callSlot<uint32>(component, kReleaseSlot), 1u);
}

TEST_F(Vst3InterfaceSlots, UnknownOrMisorderedIdsAreRefusedWithNull) {
  const Uid foreign = componentIdInForeignOrder();
  for (const Uid* iid : {&IAudioProcessor::iid, &foreign}) {
    void* found = component;
    EXPECT_EQ(callSlot<tresult>(component, kQueryInterfaceSlot, iid->bytes, &found), kNoInterface);
    EXPECT_EQ(found, nullptr);
  }
  EXPECT_EQ(callSlot<uint32>(component, kAddRefSlot), 2u);  // nothing was counted for them
  callSlot<uint32>(component, kReleaseSlot);
}

TEST_F(Vst3InterfaceSlots, TheLastReleaseThroughEitherInterfaceDestroysTheObject) {
  callSlot<uint32>(component, kAddRefSlot);
  EXPECT_EQ(callSlot<uint32>(component, kReleaseSlot), 1u);
  EXPECT_EQ(callSlot<uint32>(controller, kReleaseSlot), 0u);
  EXPECT_TRUE(destroyed);
}

TEST_F(Vst3InterfaceSlots, EachStateSlotReachesItsOwnFunction) {
  IBStream* const stream = reinterpret_cast<IBStream*>(object);  // any distinct pointer; never used
  struct Case {
    void* interfacePointer;
    Slot slot;
    StateCall expected;
  };
  const Case cases[] = {
      {component, kComponentSetStateSlot, StateCall::kSetProcessor},
      {component, kComponentGetStateSlot, StateCall::kGetProcessor},
      {controller, kControllerSetComponentStateSlot, StateCall::kSetComponent},
      {controller, kControllerSetStateSlot, StateCall::kSetController},
      {controller, kControllerGetStateSlot, StateCall::kGetController},
  };
  for (const Case& c : cases) {
    object->lastStateCall = StateCall::kNone;
    object->lastStream = nullptr;
    EXPECT_EQ(callSlot<tresult>(c.interfacePointer, c.slot, stream), kResultOk);
    EXPECT_EQ(object->lastStateCall, c.expected) << c.slot;
    EXPECT_EQ(object->lastStream, stream) << c.slot;
  }
}

TEST_F(Vst3InterfaceSlots, ArgumentsAndResultsCrossInTheInterfacesConvention) {
  FUnknown* const context = component;  // any distinct pointer
  EXPECT_EQ(callSlot<tresult>(controller, kInitializeSlot, context), kResultOk);
  EXPECT_EQ(object->context, context);

  EXPECT_EQ(callSlot<int32>(component, kGetBusCountSlot, MediaType{kEvent}, BusDirection{kInput}), 1);
  EXPECT_EQ(callSlot<int32>(component, kGetBusCountSlot, MediaType{kEvent}, BusDirection{kOutput}), 0);
  BusInfo bus{};
  EXPECT_EQ(callSlot<tresult>(component, kGetBusInfoSlot, MediaType{kAudio}, BusDirection{kOutput}, int32{0}, &bus),
            kResultOk);
  EXPECT_EQ(bus.channelCount, 2);
  EXPECT_EQ(bus.direction, kOutput);
  EXPECT_EQ(callSlot<tresult>(component, kGetBusInfoSlot, MediaType{kAudio}, BusDirection{kOutput}, int32{1}, &bus),
            kInvalidArgument);

  ParameterInfo info{};
  EXPECT_EQ(callSlot<tresult>(controller, kGetParameterInfoSlot, int32{3}, &info), kResultOk);
  EXPECT_EQ(info.id, 3u);
  EXPECT_EQ(info.stepCount, 3);
  EXPECT_EQ(info.defaultNormalizedValue, 0.75);

  // Double arguments and double results (returned in x87's register on 32-bit Windows).
  EXPECT_EQ(callSlot<tresult>(controller, kSetParamNormalizedSlot, ParamID{2}, ParamValue{0.375}), kResultOk);
  EXPECT_EQ(callSlot<ParamValue>(controller, kGetParamNormalizedSlot, ParamID{2}), 0.375);
  EXPECT_EQ(callSlot<ParamValue>(controller, kNormalizedParamToPlainSlot, ParamID{1}, ParamValue{0.5}), 50.0);
}

}  // namespace
