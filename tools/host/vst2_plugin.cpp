#include "tools/host/vst2_plugin.h"

#include <algorithm>
#include <cstdio>

#include "tools/host/fx_preset.h"
#include "tools/host/plugin_formats.h"

namespace {

constexpr std::size_t kMinInputBuffers = 2;

struct FlagName {
  VstInt32 bit;
  const char* name;
};

const FlagName kFlagNames[] = {
    {effFlagsHasEditor, "HasEditor"},
    {effFlagsHasClip, "HasClip"},
    {effFlagsHasVu, "HasVu"},
    {effFlagsCanMono, "CanMono"},
    {effFlagsCanReplacing, "CanReplacing"},
    {effFlagsProgramChunks, "ProgramChunks"},
    {effFlagsIsSynth, "IsSynth"},
    {effFlagsNoSoundInStop, "NoSoundInStop"},
    {effFlagsExtIsAsync, "ExtIsAsync"},
    {effFlagsExtHasBuffer, "ExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

const char* const kCategoryNames[] = {"unknown",     "effect",  "synth",    "analysis",
                                      "mastering",   "spatialiser", "room effect", "surround",
                                      "restoration", "offline", "shell",    "generator"};

std::string flagNames(VstInt32 flags) {
  std::string names;
  VstInt32 known = 0;
  for (const FlagName& flag : kFlagNames) {
    known |= flag.bit;
    if ((flags & flag.bit) != 0) names += std::string(names.empty() ? "" : " ") + flag.name;
  }
  if ((flags & ~known) != 0) names += std::string(names.empty() ? "" : " ") + "(unknown bits)";
  return names.empty() ? "none" : names;
}

const char* categoryName(VstIntPtr category) {
  const auto count = static_cast<VstIntPtr>(sizeof kCategoryNames / sizeof kCategoryNames[0]);
  return category >= 0 && category < count ? kCategoryNames[category] : "not a known category";
}

std::string hexWord(VstInt32 value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::unique_ptr<Vst2Plugin> Vst2Plugin::open(const std::string& path, std::string& error) {
  std::unique_ptr<PluginModule> module = PluginModule::load(path, error);
  if (module == nullptr) return nullptr;
  std::unique_ptr<PluginInstance> instance = PluginInstance::create(*module, error);
  if (instance == nullptr) return nullptr;
  return std::unique_ptr<Vst2Plugin>(new Vst2Plugin(std::move(module), std::move(instance)));
}

Vst2Plugin::Vst2Plugin(std::unique_ptr<PluginModule> module, std::unique_ptr<PluginInstance> opened)
    : ownedModule(std::move(module)), ownedInstance(std::move(opened)), instance(*ownedInstance) {}

Vst2Plugin::Vst2Plugin(PluginInstance& borrowed) : instance(borrowed) {}

Vst2Plugin::~Vst2Plugin() = default;

std::vector<InfoLine> Vst2Plugin::identity() {
  const AEffect& effect = instance.effect();
  const VstIntPtr category = instance.dispatch(effGetPlugCategory);
  return {
      {"effect name", instance.text(effGetEffectName)},
      {"product", instance.text(effGetProductString)},
      {"vendor", instance.text(effGetVendorString)},
      {"vendor version", std::to_string(instance.dispatch(effGetVendorVersion))},
      {"VST version", std::to_string(instance.dispatch(effGetVstVersion))},
      {"unique ID", "'" + fxpreset::fourCharText(effect.uniqueID) + "' (" + hexWord(effect.uniqueID) + ")"},
      {"version", std::to_string(effect.version)},
      {"flags", hexWord(effect.flags) + " " + flagNames(effect.flags)},
      {"category", std::to_string(category) + " (" + categoryName(category) + ")"},
      {"inputs", std::to_string(effect.numInputs)},
      {"outputs", std::to_string(effect.numOutputs)},
      {"initial delay", std::to_string(effect.initialDelay)},
  };
}

std::int32_t Vst2Plugin::parameterCount() { return instance.effect().numParams; }

std::string Vst2Plugin::parameterName(std::int32_t index) { return instance.text(effGetParamName, index); }

std::string Vst2Plugin::parameterLabel(std::int32_t index) { return instance.text(effGetParamLabel, index); }

std::string Vst2Plugin::parameterDisplay(std::int32_t index) { return instance.text(effGetParamDisplay, index); }

float Vst2Plugin::parameter(std::int32_t index) { return instance.getParameter(index); }

void Vst2Plugin::setParameter(std::int32_t index, float value) { instance.setParameter(index, value); }

std::int32_t Vst2Plugin::programCount() { return instance.effect().numPrograms; }

// Plug-ins without effGetProgramNameIndexed still name their current program.
std::string Vst2Plugin::programName(std::int32_t program) {
  const std::string indexed = instance.text(effGetProgramNameIndexed, program, -1);
  return indexed.empty() && program == currentProgram() ? instance.text(effGetProgramName) : indexed;
}

std::int32_t Vst2Plugin::currentProgram() { return instance.currentProgram(); }

bool Vst2Plugin::selectProgram(std::int32_t program, std::string&) {
  instance.selectProgram(program);
  return true;
}

bool Vst2Plugin::prepare(const ProcessSetup& setup, std::string& error) {
  AEffect& effect = instance.effect();
  if (effect.processReplacing == nullptr || (effect.flags & effFlagsCanReplacing) == 0) {
    error = "the module does not offer processReplacing";
    return false;
  }
  if (effect.numOutputs < 1) {
    error = "the module has no outputs";
    return false;
  }
  const std::size_t block = static_cast<std::size_t>(setup.maxBlockFrames);
  const std::size_t inputCount = std::max(static_cast<std::size_t>(std::max(effect.numInputs, 0)), kMinInputBuffers);
  const std::size_t keptOutputs = effect.numOutputs > 1 ? 2 : 1;
  inputBuffers.assign(inputCount, std::vector<float>(block, 0.0f));
  extraOutputBuffers.assign(static_cast<std::size_t>(effect.numOutputs) - keptOutputs, std::vector<float>(block, 0.0f));
  inputs.clear();
  for (auto& buffer : inputBuffers) inputs.push_back(buffer.data());
  outputs.assign(static_cast<std::size_t>(effect.numOutputs), nullptr);
  for (std::size_t i = 0; i < extraOutputBuffers.size(); ++i) outputs[keptOutputs + i] = extraOutputBuffers[i].data();

  preparedFrames = setup.maxBlockFrames;
  instance.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(setup.sampleRate));
  instance.dispatch(effSetBlockSize, 0, setup.maxBlockFrames);
  instance.dispatch(effMainsChanged, 0, 1);
  instance.dispatch(effStartProcess);
  return true;
}

// The file takes the first two outputs; a single output goes to both channels.
bool Vst2Plugin::process(const MidiMessage* messages, std::size_t count, float* left, float* right,
                         std::int32_t frames, std::string& error) {
  if (outputs.empty() || frames < 0 || frames > preparedFrames) {
    error = "a block that processing was not prepared for";
    return false;
  }
  AEffect& effect = instance.effect();
  blockEvents.clear();
  for (std::size_t i = 0; i < count; ++i) blockEvents.add(messages[i].frame, messages[i].bytes, messages[i].size);
  if (!blockEvents.empty()) instance.dispatch(effProcessEvents, 0, 0, blockEvents.events());

  const auto length = static_cast<std::size_t>(frames);
  outputs[0] = left;
  if (outputs.size() > 1) outputs[1] = right;
  std::fill(left, left + length, 0.0f);
  std::fill(right, right + length, 0.0f);
  for (auto& buffer : extraOutputBuffers) std::fill(buffer.begin(), buffer.end(), 0.0f);
  effect.processReplacing(&effect, inputs.data(), outputs.data(), frames);
  if (outputs.size() == 1) std::copy(left, left + length, right);
  return true;
}

void Vst2Plugin::stop() {
  instance.dispatch(effStopProcess);
  instance.dispatch(effMainsChanged, 0, 0);
}

std::unique_ptr<HostedPlugin> pluginformats::openVst2(const std::string& path, std::string& error) {
  return Vst2Plugin::open(path, error);
}
