#include "tools/host/host_session.h"

#include "tools/host/fx_preset.h"
#include "tools/host/number_text.h"
#include "tools/host/preset_transfer.h"

namespace hostsession {
namespace {

// The largest program number or parameter index the options accept before the module's
// own counts are known.
constexpr std::int64_t kMaxIndex = 1 << 20;

bool parseAssignments(const std::string& text, InstanceSetup& setup, std::string& error) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const std::size_t equals = item.find('=');
    std::int64_t index = 0;
    float value = 0.0f;
    if (equals == std::string::npos || !numbertext::parseInteger(item.substr(0, equals), 0, kMaxIndex, index) ||
        !numbertext::parseFloat(item.substr(equals + 1), value)) {
      error = "--set expects INDEX=VALUE[,INDEX=VALUE...], not '" + item + "'";
      return false;
    }
    setup.parameterValues.emplace_back(static_cast<VstInt32>(index), value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace

std::vector<OptionSpec> setupOptions() { return {{"preset", true}, {"program", true}, {"set", true}}; }

bool readSetup(const CommandLine& line, InstanceSetup& setup, std::string& error) {
  setup = InstanceSetup();
  setup.presetPath = line.value("preset");
  if (line.has("program")) {
    std::int64_t program = 0;
    if (!numbertext::parseInteger(line.value("program"), 0, kMaxIndex, program)) {
      error = "--program expects a program number, not '" + line.value("program") + "'";
      return false;
    }
    setup.selectsProgram = true;
    setup.program = static_cast<VstInt32>(program);
  }
  return !line.has("set") || parseAssignments(line.value("set"), setup, error);
}

bool open(const std::string& modulePath, HostSession& session, std::string& error) {
  session.instance.reset();
  session.module = PluginModule::load(modulePath, error);
  if (session.module == nullptr) return false;
  session.instance = PluginInstance::create(*session.module, error);
  return session.instance != nullptr;
}

bool applySetup(PluginInstance& instance, const InstanceSetup& setup, std::string& error) {
  const AEffect& effect = instance.effect();
  if (setup.selectsProgram && setup.program >= effect.numPrograms) {
    error = "program " + std::to_string(setup.program) + " does not exist (the module has " +
            std::to_string(effect.numPrograms) + ")";
    return false;
  }
  for (const auto& assignment : setup.parameterValues) {
    if (assignment.first >= effect.numParams) {
      error = "parameter " + std::to_string(assignment.first) + " does not exist (the module has " +
              std::to_string(effect.numParams) + ")";
      return false;
    }
  }
  fxpreset::FxFile preset;
  const bool hasPreset = !setup.presetPath.empty();
  if (hasPreset && !fxpreset::readFile(setup.presetPath, preset, error)) return false;
  if (hasPreset && !presettransfer::check(instance, preset, error)) {
    error = setup.presetPath + ": " + error;
    return false;
  }

  if (hasPreset && preset.isBank && !presettransfer::apply(instance, preset, error)) {
    error = setup.presetPath + ": " + error;
    return false;
  }
  if (setup.selectsProgram) instance.selectProgram(setup.program);
  if (hasPreset && !preset.isBank && !presettransfer::apply(instance, preset, error)) {
    error = setup.presetPath + ": " + error;
    return false;
  }
  for (const auto& assignment : setup.parameterValues) instance.setParameter(assignment.first, assignment.second);
  return true;
}

}  // namespace hostsession
