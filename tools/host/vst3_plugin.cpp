// The VST 3 backend: the bundle's first audio class made into one instance (a single
// component) and driven through its interfaces by Vst3Instance. The parameters are the
// controller's in its order, without the program selector and the hidden ones (the MIDI
// a host maps to parameters): for Quindle the table's thirteen. The programs are the
// program list of the selector's unit; choosing one sets the selector, as a host's
// program menu does.
#include <algorithm>
#include <cmath>
#include <memory>

#include "tools/host/plugin_formats.h"
#include "tools/host/vst3_instance.h"
#include "tools/host/vst3_module.h"

namespace {

using namespace vst3;

std::string textOf(const TChar* text) {
  std::string out;
  for (int32 i = 0; i < kString128Length && text[i] != 0; ++i) {
    out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  }
  return out;
}

std::string fieldText(const char8* field, std::size_t size) {
  std::size_t length = 0;
  while (length < size && field[length] != '\0') ++length;
  return std::string(field, length);
}

class Vst3Plugin : public HostedPlugin {
 public:
  static std::unique_ptr<HostedPlugin> open(const std::string& path, std::string& error);
  ~Vst3Plugin() override {
    if (instance != nullptr) stop();
  }

  PluginFormat format() const override { return PluginFormat::kVst3; }
  std::vector<InfoLine> identity() override;

  std::int32_t parameterCount() override { return static_cast<std::int32_t>(parameters.size()); }
  std::string parameterName(std::int32_t index) override;
  std::string parameterLabel(std::int32_t index) override;
  std::string parameterDisplay(std::int32_t index) override;
  float parameter(std::int32_t index) override;
  void setParameter(std::int32_t index, float value) override;

  std::int32_t programCount() override { return programs; }
  std::string programName(std::int32_t program) override;
  std::int32_t currentProgram() override;
  bool selectProgram(std::int32_t program, std::string& error) override;

  bool prepare(const ::ProcessSetup& setup, std::string& error) override;
  bool process(const ::MidiMessage* messages, std::size_t count, float* left, float* right, std::int32_t frames,
               std::string& error) override;
  void stop() override;

 private:
  Vst3Plugin() = default;
  void findParameters();
  void findPrograms();
  const ParameterInfo* parameterInfo(std::int32_t index) const;
  std::string busesText(MediaType type, BusDirection direction);

  std::unique_ptr<Vst3Module> module;
  std::unique_ptr<Vst3Instance> instance;  // after the module: it goes first
  std::vector<ParameterInfo> parameters;
  bool hasSelector = false;
  ParameterInfo selector{};
  ProgramListID programList = kNoProgramListId;
  std::int32_t programs = 0;
  std::int32_t preparedFrames = 0;
};

std::unique_ptr<HostedPlugin> Vst3Plugin::open(const std::string& path, std::string& error) {
  std::unique_ptr<Vst3Plugin> plugin(new Vst3Plugin());
  plugin->module = Vst3Module::load(path, error);
  if (plugin->module == nullptr) return nullptr;
  plugin->instance = Vst3Instance::create(*plugin->module, error);
  if (plugin->instance == nullptr) return nullptr;
  plugin->findParameters();
  plugin->findPrograms();
  return plugin;
}

void Vst3Plugin::findParameters() {
  IEditController& controller = instance->controller();
  const int32 count = controller.getParameterCount();
  for (int32 index = 0; index < count; ++index) {
    ParameterInfo info{};
    if (controller.getParameterInfo(index, info) != kResultOk) continue;
    if ((info.flags & ParameterInfo::kIsProgramChange) != 0) {
      if (!hasSelector) selector = info;
      hasSelector = true;
    } else if ((info.flags & ParameterInfo::kIsHidden) == 0) {
      parameters.push_back(info);
    }
  }
}

// The selector's unit names its program list; the list tells the count.
void Vst3Plugin::findPrograms() {
  IUnitInfo* units = instance->unitInfo();
  if (!hasSelector || units == nullptr) return;
  const int32 unitCount = units->getUnitCount();
  for (int32 index = 0; index < unitCount; ++index) {
    UnitInfo unit{};
    if (units->getUnitInfo(index, unit) == kResultOk && unit.id == selector.unitId) programList = unit.programListId;
  }
  const int32 listCount = units->getProgramListCount();
  for (int32 index = 0; index < listCount; ++index) {
    ProgramListInfo list{};
    if (units->getProgramListInfo(index, list) == kResultOk && list.id == programList) {
      programs = list.programCount > 0 && list.programCount <= selector.stepCount + 1 ? list.programCount : 0;
    }
  }
}

std::vector<InfoLine> Vst3Plugin::identity() {
  IPluginFactory& factory = module->factory();
  std::vector<InfoLine> lines;
  PClassInfo plain{};
  module->findAudioClass(plain);
  PClassInfo2 details{};
  bool haveDetails = false;
  if (auto* factory2 = vst3host::queryFrom<IPluginFactory2>(&factory)) {
    for (int32 index = 0; index < factory.countClasses() && !haveDetails; ++index) {
      haveDetails = factory2->getClassInfo2(index, &details) == kResultOk &&
                    std::equal(details.cid, details.cid + kUidSize, plain.cid);
    }
    factory2->release();
  }
  PFactoryInfo vendor{};
  factory.getFactoryInfo(&vendor);
  lines.push_back({"name", fieldText(plain.name, sizeof plain.name)});
  lines.push_back({"vendor", haveDetails ? fieldText(details.vendor, sizeof details.vendor)
                                         : fieldText(vendor.vendor, sizeof vendor.vendor)});
  lines.push_back({"version", haveDetails ? fieldText(details.version, sizeof details.version) : "(not told)"});
  lines.push_back({"class ID", uidText(plain.cid).text});
  lines.push_back({"category", fieldText(plain.category, sizeof plain.category)});
  if (haveDetails) {
    lines.push_back({"sub-categories", fieldText(details.subCategories, sizeof details.subCategories)});
    lines.push_back({"SDK version", fieldText(details.sdkVersion, sizeof details.sdkVersion)});
  }
  lines.push_back({"binary", module->binaryPath()});
  lines.push_back({"audio inputs", busesText(kAudio, kInput)});
  lines.push_back({"audio outputs", busesText(kAudio, kOutput)});
  lines.push_back({"event inputs", busesText(kEvent, kInput)});
  lines.push_back({"tail", std::to_string(instance->processor().getTailSamples()) + " samples"});
  return lines;
}

// "1 (2 channels)": the count, and each bus's channels.
std::string Vst3Plugin::busesText(MediaType type, BusDirection direction) {
  IComponent& component = instance->component();
  const int32 count = component.getBusCount(type, direction);
  std::string text = std::to_string(count);
  for (int32 index = 0; index < count; ++index) {
    BusInfo bus{};
    if (component.getBusInfo(type, direction, index, bus) != kResultOk) continue;
    text += std::string(index == 0 ? " (" : ", ") + std::to_string(bus.channelCount) + " channels";
    if (index == count - 1) text += ")";
  }
  return text;
}

const ParameterInfo* Vst3Plugin::parameterInfo(std::int32_t index) const {
  return index >= 0 && index < static_cast<std::int32_t>(parameters.size()) ? &parameters[static_cast<std::size_t>(index)]
                                                                           : nullptr;
}

std::string Vst3Plugin::parameterName(std::int32_t index) {
  const ParameterInfo* info = parameterInfo(index);
  return info != nullptr ? textOf(info->title) : "";
}

std::string Vst3Plugin::parameterLabel(std::int32_t index) {
  const ParameterInfo* info = parameterInfo(index);
  return info != nullptr ? textOf(info->units) : "";
}

std::string Vst3Plugin::parameterDisplay(std::int32_t index) {
  const ParameterInfo* info = parameterInfo(index);
  if (info == nullptr) return "";
  String128 text{};
  IEditController& controller = instance->controller();
  if (controller.getParamStringByValue(info->id, controller.getParamNormalized(info->id), text) != kResultOk) return "";
  text[kString128Length - 1] = 0;
  return textOf(text);
}

float Vst3Plugin::parameter(std::int32_t index) {
  const ParameterInfo* info = parameterInfo(index);
  return info != nullptr ? static_cast<float>(instance->controller().getParamNormalized(info->id)) : 0.0f;
}

void Vst3Plugin::setParameter(std::int32_t index, float value) {
  if (const ParameterInfo* info = parameterInfo(index)) instance->setParameter(info->id, static_cast<double>(value));
}

std::string Vst3Plugin::programName(std::int32_t program) {
  String128 name{};
  if (program < 0 || program >= programs ||
      instance->unitInfo()->getProgramName(programList, program, name) != kResultOk) {
    return "";
  }
  name[kString128Length - 1] = 0;
  return textOf(name);
}

std::int32_t Vst3Plugin::currentProgram() {
  if (programs == 0) return -1;
  const double value = instance->controller().getParamNormalized(selector.id);
  return static_cast<std::int32_t>(std::lround(value * selector.stepCount));
}

bool Vst3Plugin::selectProgram(std::int32_t program, std::string& error) {
  if (program < 0 || program >= programs) {
    error = "the plug-in has no program " + std::to_string(program);
    return false;
  }
  instance->setParameter(selector.id, static_cast<double>(program) / selector.stepCount);
  return true;
}

bool Vst3Plugin::prepare(const ::ProcessSetup& setup, std::string& error) {
  if (!instance->prepare(setup.sampleRate, setup.maxBlockFrames, error, setup.maxMessagesPerBlock)) return false;
  preparedFrames = setup.maxBlockFrames;
  return true;
}

bool Vst3Plugin::process(const ::MidiMessage* messages, std::size_t count, float* left, float* right,
                         std::int32_t frames, std::string& error) {
  if (preparedFrames == 0 || frames < 0 || frames > preparedFrames) {
    error = "a block that processing was not prepared for";
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) instance->midi(messages[i].bytes, messages[i].size, messages[i].frame);
  return instance->process(left, right, frames, error);
}

void Vst3Plugin::stop() {
  instance->stop();
  preparedFrames = 0;
}

}  // namespace

std::unique_ptr<HostedPlugin> pluginformats::openVst3(const std::string& path, std::string& error) {
  return Vst3Plugin::open(path, error);
}
