// The params extension: the thirteen parameters with ids 0..12 (the parameter indices,
// stored in hosts' songs and automation: never change them), the names hosts know them
// by, the range 0..1, the factory's first program as defaults, and value texts.
#include <cmath>
#include <cstring>

#include "clap/clap_instance.h"
#include "clap/extensions.h"
#include "clap/parameter_range.h"
#include "params/parameter_text.h"
#include "params/program_bank.h"
#include "shell/text_copy.h"

namespace {

constexpr std::int32_t kDefaultProgram = 0;

bool isParameterId(clap_id id) { return id < static_cast<clap_id>(PARAMETER_COUNT); }

// Host, main thread.
uint32_t CLAP_ABI paramsCount(const clap_plugin_t*) { return PARAMETER_COUNT; }

// Host, main thread: the parameter at `index`, whose id is the index.
bool CLAP_ABI paramsInfo(const clap_plugin_t*, uint32_t index, clap_param_info_t* info) {
  if (info == nullptr || !isParameterId(index)) return false;
  const auto parameter = static_cast<std::int32_t>(index);
  std::memset(info, 0, sizeof(*info));
  info->id = index;
  info->flags = CLAP_PARAM_IS_AUTOMATABLE;
  info->cookie = nullptr;
  copyBoundedText(info->name, parameterName(parameter), sizeof(info->name) - 1);
  info->module[0] = '\0';
  info->min_value = quindleclap::kParameterMin;
  info->max_value = quindleclap::kParameterMax;
  info->default_value = static_cast<double>(kFactoryPrograms[kDefaultProgram].values[parameter]);
  return true;
}

// Host, main thread: the live value, also one just loaded from a state.
bool CLAP_ABI paramsValue(const clap_plugin_t* plugin, clap_id id, double* value) {
  ClapInstance* instance = ClapInstance::of(plugin);
  if (instance == nullptr || value == nullptr || !isParameterId(id)) return false;
  *value = static_cast<double>(instance->synth().getParameter(static_cast<std::int32_t>(id)));
  return true;
}

// Host, main thread: switches "on"/"off", times "0.140 s", levels "0.375".
bool CLAP_ABI paramsValueToText(const clap_plugin_t*, clap_id id, double value, char* text, uint32_t capacity) {
  if (text == nullptr || capacity == 0 || !isParameterId(id) || !std::isfinite(value)) return false;
  formatParameterValue(static_cast<std::int32_t>(id), static_cast<float>(value), text, capacity);
  return true;
}

// Host, main thread: reads what paramsValueToText writes, and plain numbers.
bool CLAP_ABI paramsTextToValue(const clap_plugin_t*, clap_id id, const char* text, double* value) {
  float parsed = 0.0f;
  if (value == nullptr || !isParameterId(id) || !parseParameterValue(static_cast<std::int32_t>(id), text, parsed)) {
    return false;
  }
  *value = static_cast<double>(parsed);
  return true;
}

// Host, audio thread while active, else main thread; never during process.
void CLAP_ABI paramsFlush(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out) {
  if (ClapInstance* instance = ClapInstance::of(plugin)) instance->flush(in, out);
}

}  // namespace

const clap_plugin_params_t quindleclap::kParamsExtension = {
    paramsCount, paramsInfo, paramsValue, paramsValueToText, paramsTextToValue, paramsFlush,
};
