#include "tools/host/vst3_instance.h"

#include "engine/midi_bytes.h"

namespace {

using namespace vst3;

constexpr double kDataScale = midi_bytes::kDataMask;
constexpr double kBendScale = midi_bytes::kBendTop;
constexpr int32 kEventBus = 0;
constexpr int32 kNoNoteId = -1;
constexpr int32 kOutputChannels = 2;

template <typename Interface>
void releaseAndClear(Interface*& object) {
  if (object != nullptr) object->release();
  object = nullptr;
}

Event noteEvent(std::uint16_t type, std::int32_t channel, std::int32_t pitch, float velocity, int32 frame) {
  Event event{};
  event.busIndex = kEventBus;
  event.sampleOffset = frame;
  event.flags = Event::kIsLive;
  event.type = type;
  if (type == Event::kNoteOnEvent) {
    event.noteOn = NoteOnEvent{static_cast<int16>(channel), static_cast<int16>(pitch), 0.0f, velocity, 0, kNoNoteId};
  } else {
    event.noteOff = NoteOffEvent{static_cast<int16>(channel), static_cast<int16>(pitch), velocity, kNoNoteId, 0.0f};
  }
  return event;
}

}  // namespace

std::unique_ptr<Vst3Instance> Vst3Instance::create(const Vst3Module& module, std::string& error) {
  std::unique_ptr<Vst3Instance> instance(new Vst3Instance());
  if (!instance->connect(module, error)) return nullptr;
  return instance;
}

bool Vst3Instance::connect(const Vst3Module& module, std::string& error) {
  PClassInfo info{};
  if (!module.findAudioClass(info)) {
    error = module.binaryPath() + " has no class of the category \"" + kVstAudioEffectClass + "\"";
    return false;
  }
  void* object = nullptr;
  if (module.factory().createInstance(info.cid, IComponent::iid.bytes, &object) != kResultOk || object == nullptr) {
    error = module.binaryPath() + ": createInstance gave no component";
    return false;
  }
  componentInterface = static_cast<IComponent*>(object);
  if (componentInterface->initialize(&application) != kResultOk) {
    error = module.binaryPath() + ": the component refused initialize";
    return false;
  }
  initialized = true;
  processorInterface = vst3host::queryFrom<IAudioProcessor>(componentInterface);
  controllerInterface = vst3host::queryFrom<IEditController>(componentInterface);
  if (processorInterface == nullptr) {
    error = module.binaryPath() + ": the component is no audio processor";
    return false;
  }
  if (controllerInterface == nullptr) {
    error = module.binaryPath() + ": a separate controller class is not supported by this host";
    return false;
  }
  mapping = vst3host::queryFrom<IMidiMapping>(controllerInterface);
  units = vst3host::queryFrom<IUnitInfo>(controllerInterface);
  controllerInterface->setComponentHandler(&componentHandler);
  // The controller starts from the component's state.
  vst3host::MemoryStream state;
  if (componentInterface->getState(&state) == kResultOk) {
    state.rewind();
    controllerInterface->setComponentState(&state);
  }
  return true;
}

Vst3Instance::~Vst3Instance() {
  stop();
  releaseAndClear(mapping);
  releaseAndClear(units);
  if (initialized) componentInterface->terminate();
  releaseAndClear(controllerInterface);
  releaseAndClear(processorInterface);
  releaseAndClear(componentInterface);
}

bool Vst3Instance::prepare(double sampleRate, int32 maxBlockFrames, std::string& error, std::size_t maxEvents) {
  events.reserve(maxEvents);
  ProcessSetup setup{kOffline, kSample32, maxBlockFrames, sampleRate};
  if (processorInterface->canProcessSampleSize(kSample32) != kResultTrue ||
      processorInterface->setupProcessing(setup) != kResultOk) {
    error = "the plug-in refused to process 32-bit samples at this rate and block size";
    return false;
  }
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  if (processorInterface->setBusArrangements(nullptr, 0, &stereo, 1) != kResultTrue) {
    error = "the plug-in refused a stereo output";
    return false;
  }
  componentInterface->activateBus(kAudio, kOutput, 0, 1);
  componentInterface->activateBus(kEvent, kInput, 0, 1);
  if (componentInterface->setActive(1) != kResultOk) {
    error = "the plug-in refused to become active";
    return false;
  }
  processorInterface->setProcessing(1);  // kNotImplemented is a valid answer
  prepared = true;
  rate = sampleRate;
  position = 0;
  return true;
}

void Vst3Instance::stop() {
  if (!prepared) return;
  processorInterface->setProcessing(0);
  componentInterface->setActive(0);
  prepared = false;
}

void Vst3Instance::setParameter(ParamID id, double value) {
  controllerInterface->setParamNormalized(id, value);
  changes.add(id, 0, value);
}

void Vst3Instance::mappedChange(int32 channel, CtrlNumber controllerNumber, double value, int32 frame) {
  ParamID id = kNoParamId;
  if (mapping == nullptr ||
      mapping->getMidiControllerAssignment(kEventBus, static_cast<int16>(channel), controllerNumber, id) != kResultTrue) {
    return;
  }
  changes.add(id, frame, value);
}

void Vst3Instance::midi(const std::uint8_t* bytes, std::size_t size, int32 frame) {
  if (bytes == nullptr || size < 3) return;
  const std::uint8_t status = bytes[0] & midi_bytes::kStatusMask;
  const std::int32_t channel = bytes[0] & midi_bytes::kChannelMask;
  Event event{};
  if (status == midi_bytes::kNoteOn && bytes[2] != 0) {
    event = noteEvent(Event::kNoteOnEvent, channel, bytes[1], static_cast<float>(bytes[2] / kDataScale), frame);
  } else if (status == midi_bytes::kNoteOn || status == midi_bytes::kNoteOff) {
    event = noteEvent(Event::kNoteOffEvent, channel, bytes[1], static_cast<float>(bytes[2] / kDataScale), frame);
  } else if (status == midi_bytes::kPitchBend) {
    const std::int32_t bend = (bytes[2] << midi_bytes::kDataBits) | bytes[1];
    mappedChange(channel, vst3::kPitchBend, bend / kBendScale, frame);
    return;
  } else if (status == midi_bytes::kControlChange) {
    mappedChange(channel, static_cast<CtrlNumber>(bytes[1]), bytes[2] / kDataScale, frame);
    return;
  } else {
    return;
  }
  events.addEvent(event);
}

bool Vst3Instance::process(float* left, float* right, int32 frames, std::string& error) {
  float* channels[kOutputChannels] = {left, right};
  AudioBusBuffers output{};
  output.numChannels = kOutputChannels;
  output.channelBuffers32 = channels;
  const bool flush = frames <= 0 || (left == nullptr && right == nullptr);
  ProcessContext context{};
  context.sampleRate = rate;
  context.projectTimeSamples = position;

  ProcessData data{};
  data.processMode = kOffline;
  data.symbolicSampleSize = kSample32;
  data.numSamples = flush ? 0 : frames;
  data.numOutputs = flush ? 0 : 1;
  data.outputs = flush ? nullptr : &output;
  data.inputParameterChanges = &changes;
  data.inputEvents = &events;
  data.processContext = &context;
  const tresult result = processorInterface->process(data);
  events.clear();
  changes.clear();
  if (result != kResultOk) {
    error = "the plug-in refused to process a block";
    return false;
  }
  if (!flush) position += frames;
  return true;
}

bool Vst3Instance::saveState(std::vector<std::uint8_t>& componentState, std::vector<std::uint8_t>& controllerState) {
  vst3host::MemoryStream component;
  vst3host::MemoryStream controller;
  if (componentInterface->getState(&component) != kResultOk || controllerInterface->getState(&controller) != kResultOk) {
    return false;
  }
  componentState = component.contents();
  controllerState = controller.contents();
  return true;
}

bool Vst3Instance::loadState(const std::vector<std::uint8_t>& componentState,
                             const std::vector<std::uint8_t>& controllerState, std::string& error) {
  vst3host::MemoryStream component(componentState);
  if (componentInterface->setState(&component) != kResultOk) {
    error = "the plug-in refused the component state";
    return false;
  }
  component.rewind();
  vst3host::MemoryStream controller(controllerState);
  if (controllerInterface->setComponentState(&component) != kResultOk ||
      controllerInterface->setState(&controller) != kResultOk) {
    error = "the controller refused the state";
    return false;
  }
  return true;
}
