// The voice's render loop. For each stretch of internal steps: the three envelopes'
// gains, then the operator chain over the whole stretch, then the low-pass, whose two
// steps per output sample are added into that sample. Each operator uses only its own
// state and the previous operator's value of the same step, so this equals running the
// chain step by step.
#include <algorithm>

#include "engine/envelope_pass.h"
#include "engine/operator_chain.h"
#include "engine/phase_math.h"
#include "engine/voice.h"

namespace {

// Envelope gains are worked out for at most this many steps at a time.
constexpr std::int32_t kGainSteps = 256;
static_assert(kGainSteps >= EnvelopeRun::kHeldGains, "room for a held envelope's gains");

// Phase step for this call: the signed increment times the pitch factor, rounded down.
std::uint16_t bentStep(std::int16_t increment, float factor) {
  return phase_math::floorToPhase(static_cast<float>(increment) * factor);
}

}  // namespace

void Voice::synthesize(std::int32_t steps, const Gains& gains, float* signal) {
  const OperatorPhases phaseSteps{bentStep(attackIncrement, pitchFactor), bentStep(toneIncrement, pitchFactor),
                                  bentStep(carrierIncrement, pitchFactor)};
  OperatorPhases phases{attackPhase, tonePhase, carrierPhase};
  const EnvelopeRates attackRates = attackEnvelope.rates();
  const EnvelopeRates toneRates = toneEnvelope.rates();
  const EnvelopeRates ampRates = ampEnvelope.rates();
  alignas(16) float attackGains[kGainSteps];
  alignas(16) float toneGains[kGainSteps];
  alignas(16) float ampGains[kGainSteps];
  while (steps > 0) {
    const std::int32_t n = std::min(steps, kGainSteps);
    const OperatorEnvelopes envelopes{envelopeGains(attackEnvelope, attackRates, attackGains, n),
                                      envelopeGains(toneEnvelope, toneRates, toneGains, n),
                                      envelopeGains(ampEnvelope, ampRates, ampGains, n)};
    runOperatorChain(sineTable, phases, phaseSteps, envelopes, gains, signal, n);
    signal += n;
    steps -= n;
  }
  attackPhase = phases.attack;
  tonePhase = phases.tone;
  carrierPhase = phases.carrier;
}

void Voice::render(std::int32_t count, float* scratch, std::int32_t scratchFrames, float* output) {
  if (!active || count < 1 || scratch == nullptr || scratchFrames < 1) return;
  const Gains gains = currentGains();
  LowPassState* state = &filter;
  while (count > 0) {
    const std::int32_t frames = std::min(count, scratchFrames);
    const std::int32_t steps = kStepsPerSample * frames;
    synthesize(steps, gains, scratch);
    lowPassVoices(&state, &scratch, 1, steps);
    addStepPairs(scratch, frames, output);
    output += frames;
    count -= frames;
  }
  finishRender();
}
