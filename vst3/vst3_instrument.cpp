// The object's identity and life (interfaces, references, initialise and terminate),
// its buses, activation and processing.
#include "vst3/vst3_instrument.h"

#include <cmath>
#include <new>

#include "vst3/block_translation.h"
#include "vst3/plugin_identity.h"
#include "vst3/text_fields.h"

namespace quindle_vst3 {
namespace {

using namespace vst3;

struct BusDescription {
  MediaType type;
  BusDirection direction;
  int32 channels;
  const char* name;
};

// Every bus the plug-in has: at most one of each media type and direction, all main.
constexpr BusDescription kBuses[] = {
    {kAudio, kOutput, kOutputChannels, kOutputBusName},
    {kEvent, kInput, kEventChannels, kEventBusName},
};

const BusDescription* findBus(MediaType type, BusDirection dir) {
  for (const BusDescription& bus : kBuses) {
    if (bus.type == type && bus.direction == dir) return &bus;
  }
  return nullptr;
}

// The longest sound after the last note-off: an amplitude release of one second, the
// most a normalised Release gives.
constexpr double kLongestReleaseSeconds = 1.0;

}  // namespace

Vst3Instrument* Vst3Instrument::create() {
  try {
    return new Vst3Instrument();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

Vst3Instrument::Vst3Instrument() : references(1), instrument(), controller(instrument) {
  instrument.setObserver(&controller.observer());
}

Vst3Instrument::~Vst3Instrument() { instrument.setObserver(nullptr); }

tresult PLUGIN_API Vst3Instrument::queryInterface(const TUID interfaceId, void** obj) {
  if (obj == nullptr) return kInvalidArgument;
  *obj = nullptr;
  struct Offer {
    const Uid& iid;
    void* object;
  };
  // FUnknown and IPluginBase come as the IComponent sub-object, whose base they are.
  const Offer offers[] = {
      {FUnknown::iid, static_cast<IComponent*>(this)},
      {IPluginBase::iid, static_cast<IComponent*>(this)},
      {IComponent::iid, static_cast<IComponent*>(this)},
      {IAudioProcessor::iid, static_cast<IAudioProcessor*>(this)},
      {IProcessContextRequirements::iid, static_cast<IProcessContextRequirements*>(this)},
      {IEditController::iid, static_cast<IEditController*>(this)},
      {IMidiMapping::iid, static_cast<IMidiMapping*>(this)},
      {IUnitInfo::iid, static_cast<IUnitInfo*>(this)},
  };
  for (const Offer& offer : offers) {
    if (sameUid(interfaceId, offer.iid)) {
      addRef();
      *obj = offer.object;
      return kResultOk;
    }
  }
  return kNoInterface;  // IConnectionPoint included: there is no separate controller to connect
}

uint32 PLUGIN_API Vst3Instrument::addRef() { return references.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32 PLUGIN_API Vst3Instrument::release() {
  const uint32 left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

// After createInstance; hosts call it once through either interface. The context is
// not needed.
tresult PLUGIN_API Vst3Instrument::initialize(FUnknown*) { return kResultOk; }

// Before the last release: the handler goes; so does the work area.
tresult PLUGIN_API Vst3Instrument::terminate() {
  controller.setHandler(nullptr);
  instrument.deactivate();
  return kResultOk;
}

// A single component has no controller class of its own.
tresult PLUGIN_API Vst3Instrument::getControllerClassId(TUID) { return kNotImplemented; }

tresult PLUGIN_API Vst3Instrument::setIoMode(IoMode) { return kNotImplemented; }

int32 PLUGIN_API Vst3Instrument::getBusCount(MediaType type, BusDirection dir) {
  return findBus(type, dir) != nullptr ? 1 : 0;
}

bool Vst3Instrument::isBus(MediaType type, BusDirection dir, int32 index) {
  return index == 0 && findBus(type, dir) != nullptr;
}

tresult PLUGIN_API Vst3Instrument::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) {
  if (!isBus(type, dir, index)) return kInvalidArgument;
  const BusDescription& description = *findBus(type, dir);
  bus = BusInfo{};
  bus.mediaType = type;
  bus.direction = dir;
  bus.channelCount = description.channels;
  copyToString128(bus.name, description.name);
  bus.busType = kMain;
  bus.flags = BusInfo::kDefaultActive;
  return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::getRoutingInfo(RoutingInfo&, RoutingInfo&) { return kNotImplemented; }

// The buses work whether the host switches them on or not: nothing to keep.
tresult PLUGIN_API Vst3Instrument::activateBus(MediaType type, BusDirection dir, int32 index, TBool) {
  return isBus(type, dir, index) ? kResultOk : kInvalidArgument;
}

// The work area exists while active. Also comes as false to objects never activated.
tresult PLUGIN_API Vst3Instrument::setActive(TBool state) {
  if (state == 0) {
    instrument.deactivate();
    return kResultOk;
  }
  return instrument.activate() ? kResultOk : kOutOfMemory;
}

// While inactive. No audio input and one stereo output is the only arrangement.
tresult PLUGIN_API Vst3Instrument::setBusArrangements(SpeakerArrangement*, int32 numIns,
                                                      SpeakerArrangement* outputs, int32 numOuts) {
  const bool stereoOut = numOuts == 1 && outputs != nullptr && outputs[0] == SpeakerArr::kStereo;
  return numIns == 0 && stereoOut ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Vst3Instrument::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) {
  if (!isBus(kAudio, dir, index)) return kInvalidArgument;
  arr = SpeakerArr::kStereo;
  return kResultOk;
}

// 32-bit samples only: the engine renders single precision.
tresult PLUGIN_API Vst3Instrument::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API Vst3Instrument::getLatencySamples() { return 0; }

// While inactive. The engine renders a block of any length in short stretches, so the
// largest block needs no storage of its own; the rate reaches every voice.
tresult PLUGIN_API Vst3Instrument::setupProcessing(ProcessSetup& setup) {
  if (setup.symbolicSampleSize != kSample32 || instrument.isActive()) return kResultFalse;
  return instrument.setSampleRate(static_cast<float>(setup.sampleRate)) ? kResultOk : kInvalidArgument;
}

// Voices keep their notes across a pause, as they do when a VST 2.4 host suspends.
tresult PLUGIN_API Vst3Instrument::setProcessing(TBool) { return kResultOk; }

tresult PLUGIN_API Vst3Instrument::process(ProcessData& data) { return processBlock(instrument, data); }

uint32 PLUGIN_API Vst3Instrument::getTailSamples() {
  return static_cast<uint32>(std::ceil(static_cast<double>(instrument.sampleRate()) * kLongestReleaseSeconds));
}

// No tempo, position or transport is needed.
uint32 PLUGIN_API Vst3Instrument::getProcessContextRequirements() { return 0; }

}  // namespace quindle_vst3
