// The CLAP backend: the module's first plug-in, made through its factory with this host's
// record, its parameters through the params extension (plain values mapped to 0..1), and
// processed block by block between activate and deactivate with each block's MIDI as
// MIDI events on the first note port. CLAP keeps no list of programs; programs here are
// the 128 MIDI program changes, offered when the note port takes MIDI and sent as one.
// Parameter and program changes made between blocks go at frame 0 of the next block, in
// the order they were made and before that block's MIDI; made while processing is
// stopped they apply at once (parameters through params.flush, a program through a
// process call of 0 frames, which needs the plug-in active for its duration).
#include <cstring>
#include <memory>
#include <vector>

#include "engine/midi_bytes.h"
#include "tools/host/clap_events.h"
#include "tools/host/clap_host.h"
#include "tools/host/clap_module.h"
#include "tools/host/plugin_formats.h"

namespace {

constexpr std::int32_t kMidiPrograms = 128;
// The sample rate of an activation made only to deliver a program change.
constexpr double kSettingRate = 44100.0;
constexpr std::uint32_t kSettingFrames = 1;
constexpr std::size_t kTextCapacity = 256;
// Room kept for the parameter and program changes made between two blocks.
constexpr std::size_t kReservedChanges = 64;

struct Parameter {
  clap_id id;
  std::string name;
  double minimum;
  double maximum;
};

std::string dialectNames(std::uint32_t dialects) {
  static const std::pair<std::uint32_t, const char*> kNames[] = {
      {CLAP_NOTE_DIALECT_CLAP, "CLAP"}, {CLAP_NOTE_DIALECT_MIDI, "MIDI"},
      {CLAP_NOTE_DIALECT_MIDI_MPE, "MIDI-MPE"}, {CLAP_NOTE_DIALECT_MIDI2, "MIDI2"}};
  std::string names;
  for (const auto& name : kNames) {
    if ((dialects & name.first) != 0) names += std::string(names.empty() ? "" : " ") + name.second;
  }
  return names.empty() ? "none" : names;
}

const char* text(const char* value) { return value != nullptr ? value : ""; }

class ClapPlugin : public HostedPlugin {
 public:
  static std::unique_ptr<HostedPlugin> open(const std::string& path, std::string& error);
  ~ClapPlugin() override;

  PluginFormat format() const override { return PluginFormat::kClap; }
  std::vector<InfoLine> identity() override;

  std::int32_t parameterCount() override { return static_cast<std::int32_t>(parameters.size()); }
  std::string parameterName(std::int32_t index) override { return isIndex(index) ? parameters[index].name : ""; }
  std::string parameterLabel(std::int32_t) override { return ""; }
  std::string parameterDisplay(std::int32_t index) override;
  float parameter(std::int32_t index) override;
  void setParameter(std::int32_t index, float value) override;

  std::int32_t programCount() override { return takesMidi ? kMidiPrograms : 0; }
  std::string programName(std::int32_t program) override { return "MIDI program " + std::to_string(program); }
  std::int32_t currentProgram() override { return current; }
  bool selectProgram(std::int32_t program, std::string& error) override;

  bool prepare(const ProcessSetup& setup, std::string& error) override;
  bool process(const MidiMessage* messages, std::size_t count, float* left, float* right, std::int32_t frames,
               std::string& error) override;
  void stop() override;

 private:
  ClapPlugin() = default;
  bool isIndex(std::int32_t index) const { return index >= 0 && static_cast<std::size_t>(index) < parameters.size(); }
  bool create(std::string& error);
  bool activate(double sampleRate, std::uint32_t maxFrames, std::string& error);
  void deactivate();
  clap_process_status run(const ClapInputEvents& events, float* left, float* right, std::uint32_t frames);
  template <typename Table>
  const Table* extension(const char* id) const {
    return static_cast<const Table*>(plugin->get_extension(plugin, id));
  }

  std::unique_ptr<ClapModule> module;
  ClapHost host;
  const clap_plugin_descriptor_t* descriptor = nullptr;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  std::vector<Parameter> parameters;
  std::uint32_t inputChannels = 0;
  std::uint32_t outputChannels = 0;
  std::uint32_t noteDialects = 0;
  bool takesMidi = false;
  bool active = false;
  bool processing = false;
  std::int32_t current = -1;
  // Changes made between blocks, for frame 0 of the next one.
  ClapInputEvents pending;
  ClapInputEvents block;
  ClapOutputEvents sent;
};

std::unique_ptr<HostedPlugin> ClapPlugin::open(const std::string& path, std::string& error) {
  std::unique_ptr<ClapPlugin> opened(new ClapPlugin());
  opened->module = ClapModule::load(path, error);
  if (opened->module == nullptr || !opened->create(error)) {
    if (opened->module != nullptr) error = path + ": " + error;
    return nullptr;
  }
  return opened;
}

bool ClapPlugin::create(std::string& error) {
  const clap_plugin_factory_t& factory = module->factory();
  if (factory.get_plugin_count(&factory) == 0 || (descriptor = factory.get_plugin_descriptor(&factory, 0)) == nullptr ||
      descriptor->id == nullptr) {
    error = "the factory offers no plug-in";
    return false;
  }
  plugin = factory.create_plugin(&factory, host.record(), descriptor->id);
  if (plugin == nullptr) {
    error = "the factory made no instance of " + std::string(descriptor->id);
    return false;
  }
  if (!plugin->init(plugin)) {
    plugin->destroy(plugin);
    plugin = nullptr;
    error = "the instance refused init";
    return false;
  }
  params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  const std::uint32_t count = params != nullptr ? params->count(plugin) : 0;
  for (std::uint32_t index = 0; index < count; ++index) {
    clap_param_info_t info = {};
    if (!params->get_info(plugin, index, &info)) continue;
    info.name[sizeof(info.name) - 1] = '\0';
    parameters.push_back({info.id, info.name, info.min_value, info.max_value});
  }
  if (const auto* audio = extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS)) {
    for (bool input : {true, false}) {
      for (std::uint32_t index = 0; index < audio->count(plugin, input); ++index) {
        clap_audio_port_info_t info = {};
        if (audio->get(plugin, index, input, &info)) (input ? inputChannels : outputChannels) += info.channel_count;
      }
    }
  }
  const auto* notes = extension<clap_plugin_note_ports_t>(CLAP_EXT_NOTE_PORTS);
  clap_note_port_info_t port = {};
  if (notes != nullptr && notes->count(plugin, true) > 0 && notes->get(plugin, 0, true, &port)) {
    noteDialects = port.supported_dialects;
  }
  takesMidi = (noteDialects & CLAP_NOTE_DIALECT_MIDI) != 0;
  return true;
}

ClapPlugin::~ClapPlugin() {
  if (plugin == nullptr) return;
  stop();
  plugin->destroy(plugin);
}

std::vector<InfoLine> ClapPlugin::identity() {
  std::string features;
  for (const char* const* feature = descriptor->features; feature != nullptr && *feature != nullptr; ++feature) {
    features += std::string(features.empty() ? "" : " ") + *feature;
  }
  const clap_version_t& version = descriptor->clap_version;
  std::string extensions;
  for (const char* id : {CLAP_EXT_PARAMS, CLAP_EXT_STATE, CLAP_EXT_GUI, CLAP_EXT_LATENCY, CLAP_EXT_TAIL}) {
    if (plugin->get_extension(plugin, id) != nullptr) extensions += std::string(extensions.empty() ? "" : " ") + id;
  }
  return {
      {"name", text(descriptor->name)},
      {"vendor", text(descriptor->vendor)},
      {"version", text(descriptor->version)},
      {"id", text(descriptor->id)},
      {"CLAP version", std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                           std::to_string(version.revision)},
      {"features", features},
      {"audio in:out", std::to_string(inputChannels) + ":" + std::to_string(outputChannels)},
      {"note input", dialectNames(noteDialects)},
      {"extensions", extensions},
  };
}

std::string ClapPlugin::parameterDisplay(std::int32_t index) {
  if (!isIndex(index)) return "";
  double value = 0.0;
  char shown[kTextCapacity] = {};
  if (!params->get_value(plugin, parameters[index].id, &value) ||
      !params->value_to_text(plugin, parameters[index].id, value, shown, sizeof(shown))) {
    return "";
  }
  shown[sizeof(shown) - 1] = '\0';
  return shown;
}

float ClapPlugin::parameter(std::int32_t index) {
  double value = 0.0;
  if (!isIndex(index) || !params->get_value(plugin, parameters[index].id, &value)) return 0.0f;
  const Parameter& info = parameters[index];
  return info.maximum > info.minimum ? static_cast<float>((value - info.minimum) / (info.maximum - info.minimum)) : 0.0f;
}

void ClapPlugin::setParameter(std::int32_t index, float value) {
  if (!isIndex(index)) return;
  const Parameter& info = parameters[index];
  const double plain = info.minimum + static_cast<double>(value) * (info.maximum - info.minimum);
  if (processing) {
    pending.parameter(0, info.id, plain);
    return;
  }
  ClapInputEvents change;
  change.parameter(0, info.id, plain);
  params->flush(plugin, change.list(), sent.list());
  sent.events.clear();
}

bool ClapPlugin::selectProgram(std::int32_t program, std::string& error) {
  if (!takesMidi || program < 0 || program >= kMidiPrograms) {
    error = "the plug-in takes no MIDI program " + std::to_string(program);
    return false;
  }
  current = program;
  if (processing) {
    pending.midi(0, midi_bytes::kProgramChange, static_cast<std::uint8_t>(program), 0);
    return true;
  }
  // MIDI reaches the plug-in only in process: a call of 0 frames, active for its length.
  if (!activate(kSettingRate, kSettingFrames, error)) return false;
  ClapInputEvents change;
  change.midi(0, midi_bytes::kProgramChange, static_cast<std::uint8_t>(program), 0);
  float silence[kSettingFrames] = {};
  const bool done = run(change, silence, silence, 0) != CLAP_PROCESS_ERROR;
  deactivate();
  if (!done) error = "the plug-in refused the program change";
  return done;
}

bool ClapPlugin::activate(double sampleRate, std::uint32_t maxFrames, std::string& error) {
  if (!plugin->activate(plugin, sampleRate, 1, maxFrames)) {
    error = "the plug-in could not be activated at " + std::to_string(static_cast<long>(sampleRate)) + " Hz";
    return false;
  }
  active = true;
  if (!plugin->start_processing(plugin)) {
    deactivate();
    error = "the plug-in refused to start processing";
    return false;
  }
  processing = true;
  return true;
}

void ClapPlugin::deactivate() {
  if (processing) plugin->stop_processing(plugin);
  if (active) plugin->deactivate(plugin);
  processing = false;
  active = false;
  host.runCallback(plugin);
}

clap_process_status ClapPlugin::run(const ClapInputEvents& events, float* left, float* right, std::uint32_t frames) {
  float* channels[] = {left, right};
  clap_audio_buffer_t output = {channels, nullptr, 2, 0, 0};
  clap_process_t call = {};
  call.steady_time = -1;
  call.frames_count = frames;
  call.audio_outputs = &output;
  call.audio_outputs_count = outputChannels > 0 ? 1 : 0;
  call.in_events = events.list();
  call.out_events = sent.list();
  const clap_process_status status = plugin->process(plugin, &call);
  sent.events.clear();
  // This host's one thread is also its main thread.
  host.runCallback(plugin);
  return status;
}

bool ClapPlugin::prepare(const ProcessSetup& setup, std::string& error) {
  stop();
  if (outputChannels == 0) {
    error = "the plug-in has no audio output";
    return false;
  }
  if (setup.maxMessagesPerBlock > 0 && !takesMidi) {
    error = "the plug-in's note input takes no MIDI";
    return false;
  }
  // The densest block, and the changes made between two blocks, fit without allocation.
  block.reserve(setup.maxMessagesPerBlock + kReservedChanges);
  pending.reserve(kReservedChanges);
  sent.events.reserve(kReservedChanges);
  return activate(setup.sampleRate, static_cast<std::uint32_t>(setup.maxBlockFrames), error);
}

bool ClapPlugin::process(const MidiMessage* messages, std::size_t count, float* left, float* right,
                         std::int32_t frames, std::string& error) {
  if (!processing || frames < 0) {
    error = "a block that processing was not prepared for";
    return false;
  }
  block.clear();
  block.append(pending);
  pending.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const MidiMessage& message = messages[i];
    std::uint8_t bytes[MidiMessage::kMaxSize] = {};
    std::memcpy(bytes, message.bytes, message.size < MidiMessage::kMaxSize ? message.size : MidiMessage::kMaxSize);
    block.midi(static_cast<std::uint32_t>(message.frame), bytes[0], bytes[1], bytes[2]);
  }
  const bool mono = outputChannels == 1;
  if (run(block, left, mono ? left : right, static_cast<std::uint32_t>(frames)) == CLAP_PROCESS_ERROR) {
    error = "the plug-in failed to process a block";
    return false;
  }
  if (mono) std::memcpy(right, left, static_cast<std::size_t>(frames) * sizeof(float));
  return true;
}

void ClapPlugin::stop() {
  if (active) deactivate();
}

}  // namespace

std::unique_ptr<HostedPlugin> pluginformats::openClap(const std::string& path, std::string& error) {
  return ClapPlugin::open(path, error);
}
