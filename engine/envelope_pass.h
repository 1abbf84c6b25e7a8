// An envelope run over a stretch of internal steps, giving one gain per step. Sustaining
// and idle envelopes hold a constant gain: one that holds from the start of the stretch
// writes only one group of gains and reports the run as held, and one that reaches such
// a state within the stretch fills the rest. Every other state advances step by step.
// The gains equal one tick per step.
#pragma once

#include <cstdint>

#include "engine/envelope.h"

// The gains of one envelope over a stretch: gains[j] for step j, or, when held, the one
// gain of every step in gains[0..kHeldGains).
struct EnvelopeRun {
  static constexpr std::int32_t kHeldGains = 4;
  const float* gains;
  bool held;
  float at(std::int32_t step) const { return gains[held ? 0 : step]; }
};

// gains has room for max(steps, kHeldGains) values.
inline EnvelopeRun envelopeGains(Envelope& envelope, const EnvelopeRates& rates, float* gains, std::int32_t steps) {
  std::int32_t state = envelope.getState();
  float level = envelope.getLevel();
  const bool held = state == ENV_SUSTAIN || state == ENV_IDLE;
  const std::int32_t count = held ? EnvelopeRun::kHeldGains : steps;
  std::int32_t j = 0;
  while (j < count) {
    if (state == ENV_SUSTAIN) {
      level = rates.sustainLevel;
      const float gain = rates.sustainLevel * rates.sustainLevel;
      for (; j < count; ++j) gains[j] = gain;
    } else if (state == ENV_IDLE) {
      level = 0.0f;
      for (; j < count; ++j) gains[j] = 0.0f;
    } else {
      gains[j] = advanceEnvelope(state, level, rates);
      ++j;
    }
  }
  envelope.store(state, level);
  return EnvelopeRun{gains, held};
}
