// The LV2 backend (native builds): the bundle's one plug-in, instantiated through lilv
// with this host's urid:map, every port connected to a buffer of the host's, and run
// block by block between activate and deactivate. The control inputs are the parameters
// (their values live here and are read by the plug-in in run); the first atom input that
// takes MIDI gets each block's messages as midi:MidiEvent atoms stamped with their frame;
// the first two audio outputs are the two channels. Programs are the bundle's presets,
// applied by the port values they hold.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "lv2/atom/atom.h"
#include "lv2/midi/midi.h"
#include "tools/host/lv2_atom_buffer.h"
#include "tools/host/lv2_bundle.h"
#include "tools/host/lv2_urid_map.h"
#include "tools/host/plugin_formats.h"

namespace {

// The sample rate of the instance made when the plug-in is opened, before any render
// asks for its own.
constexpr double kOpeningSampleRate = 44100.0;
// Room given to each atom output for what the plug-in writes in one block.
constexpr std::size_t kAtomOutputEvents = 64;
constexpr std::size_t kAtomOutputEventBytes = 64;

struct InstanceFree {
  void operator()(LilvInstance* instance) const { lilv_instance_free(instance); }
};

class Lv2Plugin : public HostedPlugin {
 public:
  static std::unique_ptr<HostedPlugin> open(const std::string& path, std::string& error);
  ~Lv2Plugin() override { stop(); }

  PluginFormat format() const override { return PluginFormat::kLv2; }
  std::vector<InfoLine> identity() override { return bundle->identity(); }

  std::int32_t parameterCount() override { return static_cast<std::int32_t>(bundle->controls().size()); }
  std::string parameterName(std::int32_t index) override { return control(index).name; }
  std::string parameterLabel(std::int32_t index) override { return control(index).unit; }
  std::string parameterDisplay(std::int32_t index) override;
  float parameter(std::int32_t index) override;
  void setParameter(std::int32_t index, float value) override;

  std::int32_t programCount() override { return static_cast<std::int32_t>(bundle->presets().size()); }
  std::string programName(std::int32_t program) override;
  std::int32_t currentProgram() override { return current; }
  bool selectProgram(std::int32_t program, std::string& error) override;

  bool prepare(const ProcessSetup& setup, std::string& error) override;
  bool process(const MidiMessage* messages, std::size_t count, float* left, float* right, std::int32_t frames,
               std::string& error) override;
  void stop() override;

 private:
  Lv2Plugin() = default;
  const Lv2Control& control(std::int32_t index) const;
  bool instantiate(double sampleRate, std::string& error);
  bool connectBuffers(std::size_t blockFrames, std::size_t messages);

  Lv2UridMap map;  // first: the bundle's presets and the instance use it
  std::unique_ptr<Lv2Bundle> bundle;
  LV2_Feature mapFeature{LV2_URID__map, nullptr};
  std::unique_ptr<LilvInstance, InstanceFree> instance;
  double instanceRate = 0.0;
  bool active = false;
  std::int32_t preparedFrames = 0;
  std::int32_t current = -1;

  std::vector<float> portValues;  // every control port's value, by port index
  std::vector<std::vector<float>> signalBuffers;  // silent inputs, outputs beyond the two
  std::vector<Lv2AtomBuffer> atomBuffers;
  Lv2AtomBuffer* midiInput = nullptr;
  std::size_t midiCapacity = 0;
  std::vector<Lv2AtomBuffer*> atomInputs;
  std::vector<Lv2AtomBuffer*> atomOutputs;
  std::vector<std::uint32_t> audioOutputs;  // port indices in order
  LV2_URID sequenceType = 0;
  LV2_URID chunkType = 0;
  LV2_URID midiEventType = 0;
};

std::unique_ptr<HostedPlugin> Lv2Plugin::open(const std::string& path, std::string& error) {
  std::unique_ptr<Lv2Plugin> plugin(new Lv2Plugin());
  plugin->bundle = Lv2Bundle::load(path, plugin->map, error);
  if (plugin->bundle == nullptr) return nullptr;
  plugin->mapFeature.data = plugin->map.feature();
  plugin->sequenceType = plugin->map.map(LV2_ATOM__Sequence);
  plugin->chunkType = plugin->map.map(LV2_ATOM__Chunk);
  plugin->midiEventType = plugin->map.map(LV2_MIDI__MidiEvent);
  plugin->portValues.assign(plugin->bundle->ports().size(), 0.0f);
  for (const Lv2Control& parameter : plugin->bundle->controls()) plugin->portValues[parameter.port] = parameter.initial;
  for (const Lv2Port& port : plugin->bundle->ports()) {
    if (port.kind == Lv2Port::Kind::kAudioOut) plugin->audioOutputs.push_back(port.index);
  }
  if (plugin->audioOutputs.empty()) {
    error = path + ": the plug-in has no audio output";
    return nullptr;
  }
  // Made once here so that a binary that does not load is reported by every verb.
  if (!plugin->instantiate(kOpeningSampleRate, error)) {
    error = path + ": " + error;
    return nullptr;
  }
  return plugin;
}

const Lv2Control& Lv2Plugin::control(std::int32_t index) const {
  static const Lv2Control kNone;
  const auto& controls = bundle->controls();
  return index >= 0 && static_cast<std::size_t>(index) < controls.size() ? controls[static_cast<std::size_t>(index)]
                                                                         : kNone;
}

// The scale point the value sits on ("on", "off"), else the value itself.
std::string Lv2Plugin::parameterDisplay(std::int32_t index) {
  if (index < 0 || index >= parameterCount()) return "";
  const Lv2Control& parameter = control(index);
  const float value = portValues[parameter.port];
  for (const auto& point : parameter.scalePoints) {
    if (point.first == value) return point.second;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return text;
}

float Lv2Plugin::parameter(std::int32_t index) {
  if (index < 0 || index >= parameterCount()) return 0.0f;
  const Lv2Control& parameter = control(index);
  return (portValues[parameter.port] - parameter.minimum) / (parameter.maximum - parameter.minimum);
}

void Lv2Plugin::setParameter(std::int32_t index, float value) {
  if (index < 0 || index >= parameterCount()) return;
  const Lv2Control& parameter = control(index);
  portValues[parameter.port] = parameter.minimum + value * (parameter.maximum - parameter.minimum);
}

std::string Lv2Plugin::programName(std::int32_t program) {
  const auto& presets = bundle->presets();
  return program >= 0 && static_cast<std::size_t>(program) < presets.size()
             ? presets[static_cast<std::size_t>(program)].label
             : "";
}

bool Lv2Plugin::selectProgram(std::int32_t program, std::string& error) {
  const auto& presets = bundle->presets();
  if (program < 0 || static_cast<std::size_t>(program) >= presets.size()) {
    error = "preset " + std::to_string(program) + " does not exist";
    return false;
  }
  const Lv2Preset& preset = presets[static_cast<std::size_t>(program)];
  if (!preset.fault.empty()) {
    error = preset.fault;
    return false;
  }
  for (const auto& value : preset.values) portValues[bundle->controls()[value.first].port] = value.second;
  current = program;
  return true;
}

bool Lv2Plugin::instantiate(double sampleRate, std::string& error) {
  instance.reset();
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  instance.reset(lilv_plugin_instantiate(bundle->plugin(), sampleRate, features));
  if (instance == nullptr) {
    error = "the plug-in could not be instantiated at " + std::to_string(static_cast<long>(sampleRate)) + " Hz";
    return false;
  }
  instanceRate = sampleRate;
  return true;
}

// Buffers for every port, connected once; the two audio outputs are connected to the
// host's channels in each process call. False when the MIDI would not fit in an atom.
bool Lv2Plugin::connectBuffers(std::size_t blockFrames, std::size_t messages) {
  const auto& ports = bundle->ports();
  signalBuffers.clear();
  atomBuffers.clear();
  atomBuffers.reserve(ports.size());  // the pointers below stay valid
  midiInput = nullptr;
  atomInputs.clear();
  atomOutputs.clear();
  midiCapacity = messages;
  bool fits = true;
  LilvInstance* running = instance.get();
  for (const Lv2Port& port : ports) {
    using Kind = Lv2Port::Kind;
    void* buffer = nullptr;
    switch (port.kind) {
      case Kind::kControlIn:
      case Kind::kControlOut: buffer = &portValues[port.index]; break;
      case Kind::kAudioIn:
      case Kind::kAudioOut:
      case Kind::kCvIn:
      case Kind::kCvOut:
        signalBuffers.emplace_back(blockFrames, 0.0f);
        buffer = signalBuffers.back().data();
        break;
      case Kind::kMidiIn:
      case Kind::kAtomIn:
      case Kind::kAtomOut: {
        atomBuffers.emplace_back();
        Lv2AtomBuffer& atoms = atomBuffers.back();
        if (port.kind == Kind::kAtomOut) {
          atoms.reserve(kAtomOutputEvents, kAtomOutputEventBytes, sequenceType);
          atomOutputs.push_back(&atoms);
        } else {
          const std::size_t events = port.kind == Kind::kMidiIn ? messages : 0;
          fits = atoms.reserve(events, MidiMessage::kMaxSize, sequenceType) && fits;
          atomInputs.push_back(&atoms);
          if (port.kind == Kind::kMidiIn) midiInput = &atoms;
        }
        buffer = atoms.data();
        break;
      }
      case Kind::kLeftOpen: break;
    }
    lilv_instance_connect_port(running, port.index, buffer);
  }
  return fits;
}

bool Lv2Plugin::prepare(const ProcessSetup& setup, std::string& error) {
  if (instance == nullptr || instanceRate != setup.sampleRate) {
    if (!instantiate(setup.sampleRate, error)) return false;
  }
  if (!connectBuffers(static_cast<std::size_t>(setup.maxBlockFrames), setup.maxMessagesPerBlock)) {
    error = "one block holds more MIDI messages than an atom sequence can carry";
    return false;
  }
  if (midiInput == nullptr && setup.maxMessagesPerBlock > 0) {
    error = "the plug-in has no MIDI input";
    return false;
  }
  preparedFrames = setup.maxBlockFrames;
  lilv_instance_activate(instance.get());
  active = true;
  return true;
}

bool Lv2Plugin::process(const MidiMessage* messages, std::size_t count, float* left, float* right,
                        std::int32_t frames, std::string& error) {
  if (!active || frames < 0 || frames > preparedFrames || count > midiCapacity) {
    error = "a block that processing was not prepared for";
    return false;
  }
  for (Lv2AtomBuffer* atoms : atomInputs) atoms->clear();
  for (Lv2AtomBuffer* atoms : atomOutputs) atoms->offer(chunkType);
  for (std::size_t i = 0; i < count; ++i) {
    if (!midiInput->append(messages[i].frame, midiEventType, messages[i].bytes, messages[i].size)) {
      error = "the MIDI input's buffer is full";
      return false;
    }
  }
  LilvInstance* running = instance.get();
  lilv_instance_connect_port(running, audioOutputs[0], left);
  if (audioOutputs.size() > 1) lilv_instance_connect_port(running, audioOutputs[1], right);
  lilv_instance_run(running, static_cast<std::uint32_t>(frames));
  if (audioOutputs.size() == 1) std::copy(left, left + frames, right);
  return true;
}

void Lv2Plugin::stop() {
  if (active) lilv_instance_deactivate(instance.get());
  active = false;
}

}  // namespace

std::unique_ptr<HostedPlugin> pluginformats::openLv2(const std::string& path, std::string& error) {
  return Lv2Plugin::open(path, error);
}
