// An envelope run over a stretch of internal steps, writing one gain per step. Sustaining
// and idle envelopes hold a constant gain, so their stretches are plain fills; every
// other state advances step by step. The gains equal one tick per step.
#pragma once

#include <cstdint>

#include "engine/envelope.h"

inline void envelopeGains(Envelope& envelope, const EnvelopeRates& rates, float* gains, std::int32_t steps) {
  std::int32_t state = envelope.getState();
  float level = envelope.getLevel();
  std::int32_t j = 0;
  while (j < steps) {
    if (state == ENV_SUSTAIN) {
      level = rates.sustainLevel;
      const float gain = rates.sustainLevel * rates.sustainLevel;
      for (; j < steps; ++j) gains[j] = gain;
    } else if (state == ENV_IDLE) {
      level = 0.0f;
      for (; j < steps; ++j) gains[j] = 0.0f;
    } else {
      gains[j] = advanceEnvelope(state, level, rates);
      ++j;
    }
  }
  envelope.store(state, level);
}
