// The three operator passes of a voice over a run of internal steps. Each pass advances
// its 16-bit phase once per step, reads the sine table (the tone operator and the
// carrier at their phase moved by twice the rounded-down modulating value) and applies
// its envelope gains and level in the order the sound is defined with. The work runs
// four steps at a time on SSE2; every lane does what the step-by-step chain does.
#pragma once

#include <cstdint>

#include "engine/sine_table.h"

// signal[j] = (envelope[j] * level) * sine(phase after j + 1 steps). Returns the phase.
std::uint16_t attackPass(const SineTable& table, std::uint16_t phase, std::uint16_t step, const float* envelope,
                         float level, float* signal, std::int32_t steps);

// signal[j] = (envelope[j] * sine(phase_j + 2 floor(signal[j]))) * level. Returns the phase.
std::uint16_t tonePass(const SineTable& table, std::uint16_t phase, std::uint16_t step, const float* envelope,
                       float level, float* signal, std::int32_t steps);

// signal[j] = ((envelope[j] * (sine(phase_j + 2 floor(signal[j])) * scale)) * level) * half.
// Returns the phase.
std::uint16_t carrierPass(const SineTable& table, std::uint16_t phase, std::uint16_t step, const float* envelope,
                          float level, float scale, float half, float* signal, std::int32_t steps);
