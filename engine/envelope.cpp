// Rate derivation of the envelope generator.
#include "engine/envelope.h"

#include <limits>

Envelope::Envelope()
    : state(ENV_IDLE), attackRate(0.0f), decayRate(0.0f), sustainLevel(0.0f), releaseRate(0.0f), level(0.0f) {}

// Called by the owning voice on whichever thread changed a parameter, loaded a program
// or set the sample rate.
void Envelope::configure(float sampleRate, double attackTime, double decayTime, double sustain,
                         double releaseTime) {
  // Attack and release times are at least kMinimumTime (a time that is not a number
  // counts as too short).
  if (!(attackTime >= kMinimumTime)) attackTime = kMinimumTime;
  if (!(releaseTime >= kMinimumTime)) releaseTime = kMinimumTime;
  const double perStep = kStepsPerSampleFactor / static_cast<double>(sampleRate);
  attackRate.store(static_cast<float>(perStep / attackTime), std::memory_order_relaxed);
  // A decay time of zero ends the decay at its first step: the rate is +infinity. A
  // negative time, -0.0 included, would give -infinity and a level that grows for ever,
  // so it counts as zero too.
  const float decay = decayTime > 0.0 ? static_cast<float>(perStep / decayTime)
                                      : std::numeric_limits<float>::infinity();
  decayRate.store(decay, std::memory_order_relaxed);
  sustainLevel.store(static_cast<float>(sustain), std::memory_order_relaxed);
  releaseRate.store(static_cast<float>(perStep / releaseTime), std::memory_order_relaxed);
}
