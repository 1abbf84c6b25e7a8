#include "tools/host/host_session.h"

#include "tools/host/fx_preset.h"
#include "tools/host/number_text.h"
#include "tools/host/plugin_formats.h"
#include "tools/host/preset_transfer.h"
#include "tools/host/vst2_plugin.h"

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
    setup.parameterValues.emplace_back(static_cast<std::int32_t>(index), value);
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
    setup.program = static_cast<std::int32_t>(program);
  }
  return !line.has("set") || parseAssignments(line.value("set"), setup, error);
}

bool open(const std::string& path, HostSession& session, std::string& error) {
  session.plugin = pluginformats::open(path, error);
  return session.plugin != nullptr;
}

bool acceptsSetup(PluginFormat format, const InstanceSetup& setup, std::string& error) {
  if (format == PluginFormat::kVst2 || setup.presetPath.empty()) return true;
  error = "--preset loads .fxp and .fxb files into VST 2.4 modules only, not into " +
          std::string(pluginformats::kindOfPath(format)) + " (use --program and --set)";
  return false;
}

bool applySetup(HostedPlugin& plugin, const InstanceSetup& setup, std::string& error) {
  const std::int32_t programs = plugin.programCount();
  if (setup.selectsProgram && setup.program >= programs) {
    error = "program " + std::to_string(setup.program) + " does not exist (the plug-in has " +
            std::to_string(programs) + ")";
    return false;
  }
  const std::int32_t parameters = plugin.parameterCount();
  for (const auto& assignment : setup.parameterValues) {
    if (assignment.first >= parameters) {
      error = "parameter " + std::to_string(assignment.first) + " does not exist (the plug-in has " +
              std::to_string(parameters) + ")";
      return false;
    }
  }
  if (!acceptsSetup(plugin.format(), setup, error)) return false;
  const bool hasPreset = !setup.presetPath.empty();
  PluginInstance* instance = plugin.vst2Instance();
  fxpreset::FxFile preset;
  if (hasPreset && !fxpreset::readFile(setup.presetPath, preset, error)) return false;
  if (hasPreset && !presettransfer::check(*instance, preset, error)) {
    error = setup.presetPath + ": " + error;
    return false;
  }

  if (hasPreset && preset.isBank && !presettransfer::apply(*instance, preset, error)) {
    error = setup.presetPath + ": " + error;
    return false;
  }
  if (setup.selectsProgram && !plugin.selectProgram(setup.program, error)) return false;
  if (hasPreset && !preset.isBank && !presettransfer::apply(*instance, preset, error)) {
    error = setup.presetPath + ": " + error;
    return false;
  }
  for (const auto& assignment : setup.parameterValues) plugin.setParameter(assignment.first, assignment.second);
  return true;
}

bool applySetup(PluginInstance& instance, const InstanceSetup& setup, std::string& error) {
  Vst2Plugin plugin(instance);
  return applySetup(plugin, setup, error);
}

}  // namespace hostsession
