// The voice's fixed four-section low-pass, y[k] = a * (x[k] + x[k-1]) - b * y[k-1] per
// section, and the folding of two internal steps into one output sample. Up to four
// voices are filtered side by side, one per SIMD lane; every lane performs exactly the
// single-precision operations one voice would on its own.
#pragma once

#include <cstdint>

// The filter memory of one voice.
struct LowPassState {
  float filterInput;   // previous input of the first section
  float filterStage1;  // previous outputs of the four sections
  float filterStage2;
  float filterStage3;
  float filterStage4;
};

constexpr std::int32_t kLowPassLanes = 4;

// Filters signals[v][0..steps) in place for v < voiceCount (1..4), each with its own
// state; afterwards each signal holds its fourth section's output.
void lowPassVoices(LowPassState* const* states, float* const* signals, std::int32_t voiceCount,
                   std::int32_t steps);

// output[i] += steps[2i], then output[i] += steps[2i+1], for i < frames.
void addStepPairs(const float* steps, std::int32_t frames, float* output);
