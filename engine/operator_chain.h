// The three operators of a voice over a run of internal steps: the attack operator, the
// tone operator it modulates and the carrier the tone operator modulates. Each advances
// its 16-bit phase once per step and reads the sine table (the tone operator and the
// carrier at their phase moved by twice the rounded-down modulating value), then applies
// its envelope gain and level in the order the sound is defined with. Each operator runs
// over the whole stretch before the next, four steps at a time on SSE2; every lane does
// what the step-by-step chain does. An attack operator whose gains are all zero moves
// no phase of the tone operator, so it is not computed at all.
#pragma once

#include <cstdint>

#include "engine/envelope_pass.h"
#include "engine/sine_table.h"
#include "engine/voice.h"

// A 16-bit phase value (or phase step) of each operator.
struct OperatorPhases {
  std::uint16_t attack;
  std::uint16_t tone;
  std::uint16_t carrier;
};

// Per-step envelope gains of each operator.
struct OperatorEnvelopes {
  EnvelopeRun attack;
  EnvelopeRun tone;
  EnvelopeRun amp;
};

// For each step j < steps, with each phase first advanced by its step:
//   a = (attack.at(j) * gA) * sine(attackPhase)
//   b = (tone.at(j) * sine(tonePhase + 2 floor(a))) * gB
//   signal[j] = ((amp.at(j) * (sine(carrierPhase + 2 floor(b)) * scale)) * gC) * half
// `phases` holds the phases after the last step on return.
void runOperatorChain(const SineTable& table, OperatorPhases& phases, const OperatorPhases& phaseSteps,
                      const OperatorEnvelopes& envelopes, const Voice::Gains& levels, float* signal,
                      std::int32_t steps);
