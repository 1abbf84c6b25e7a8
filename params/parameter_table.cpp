#include "params/parameter_table.h"

namespace {

constexpr const char* kParameterNames[PARAMETER_COUNT] = {
    "A Mode",  "A Level", "A Decay", "A Vel",   "T Mode",   "Tone",   "T Vel",
    "Attack",  "Sustain", "Decay",   "Release", "Velocity", "Volume",
};

}  // namespace

const char* parameterName(std::int32_t index) {
  return isParameterIndex(index) ? kParameterNames[index] : nullptr;
}
