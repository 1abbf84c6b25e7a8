// The low-pass on SSE2: four voices in the four lanes of a vector. Blocks of four steps
// are transposed so that one vector holds one step of all four voices; the sections run
// step by step (each depends on the step before) and the outputs are transposed back.
#include "engine/low_pass.h"

#include <emmintrin.h>

#include "engine/voice.h"

namespace {

struct LaneFilter {
  __m128 a = _mm_set1_ps(Voice::kLowPassA);
  __m128 b = _mm_set1_ps(Voice::kLowPassB);
  __m128 in, z1, z2, z3, z4;

  // One step of all lanes; returns the fourth section's output.
  __m128 step(__m128 x) {
    const __m128 y1 = _mm_sub_ps(_mm_mul_ps(a, _mm_add_ps(x, in)), _mm_mul_ps(b, z1));
    const __m128 y2 = _mm_sub_ps(_mm_mul_ps(a, _mm_add_ps(y1, z1)), _mm_mul_ps(b, z2));
    const __m128 y3 = _mm_sub_ps(_mm_mul_ps(a, _mm_add_ps(y2, z2)), _mm_mul_ps(b, z3));
    const __m128 y4 = _mm_sub_ps(_mm_mul_ps(a, _mm_add_ps(y3, z3)), _mm_mul_ps(b, z4));
    in = x;
    z1 = y1;
    z2 = y2;
    z3 = y3;
    z4 = y4;
    return y4;
  }
};

// Lane v of a vector (v < 4).
float lane(__m128 v, std::int32_t index) {
  alignas(16) float values[kLowPassLanes];
  _mm_store_ps(values, v);
  return values[index];
}

}  // namespace

void lowPassVoices(LowPassState* const* states, float* const* signals, std::int32_t voiceCount,
                   std::int32_t steps) {
  // Unused lanes filter a silent signal with a silent state, and their results are dropped.
  alignas(16) float silence[kLowPassLanes] = {};
  LowPassState idle = {};
  LowPassState* state[kLowPassLanes];
  float* signal[kLowPassLanes];
  for (std::int32_t v = 0; v < kLowPassLanes; ++v) {
    state[v] = v < voiceCount ? states[v] : &idle;
    signal[v] = v < voiceCount ? signals[v] : nullptr;
  }
  LaneFilter f;
  f.in = _mm_setr_ps(state[0]->filterInput, state[1]->filterInput, state[2]->filterInput, state[3]->filterInput);
  f.z1 = _mm_setr_ps(state[0]->filterStage1, state[1]->filterStage1, state[2]->filterStage1, state[3]->filterStage1);
  f.z2 = _mm_setr_ps(state[0]->filterStage2, state[1]->filterStage2, state[2]->filterStage2, state[3]->filterStage2);
  f.z3 = _mm_setr_ps(state[0]->filterStage3, state[1]->filterStage3, state[2]->filterStage3, state[3]->filterStage3);
  f.z4 = _mm_setr_ps(state[0]->filterStage4, state[1]->filterStage4, state[2]->filterStage4, state[3]->filterStage4);

  std::int32_t j = 0;
  for (; j + kLowPassLanes <= steps; j += kLowPassLanes) {
    __m128 r0 = _mm_loadu_ps(signal[0] + j);
    __m128 r1 = signal[1] ? _mm_loadu_ps(signal[1] + j) : _mm_load_ps(silence);
    __m128 r2 = signal[2] ? _mm_loadu_ps(signal[2] + j) : _mm_load_ps(silence);
    __m128 r3 = signal[3] ? _mm_loadu_ps(signal[3] + j) : _mm_load_ps(silence);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    r0 = f.step(r0);
    r1 = f.step(r1);
    r2 = f.step(r2);
    r3 = f.step(r3);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _mm_storeu_ps(signal[0] + j, r0);
    if (signal[1]) _mm_storeu_ps(signal[1] + j, r1);
    if (signal[2]) _mm_storeu_ps(signal[2] + j, r2);
    if (signal[3]) _mm_storeu_ps(signal[3] + j, r3);
  }
  for (; j < steps; ++j) {
    alignas(16) float x[kLowPassLanes] = {};
    for (std::int32_t v = 0; v < voiceCount; ++v) x[v] = signal[v][j];
    const __m128 y = f.step(_mm_load_ps(x));
    for (std::int32_t v = 0; v < voiceCount; ++v) signal[v][j] = lane(y, v);
  }

  for (std::int32_t v = 0; v < voiceCount; ++v) {
    state[v]->filterInput = lane(f.in, v);
    state[v]->filterStage1 = lane(f.z1, v);
    state[v]->filterStage2 = lane(f.z2, v);
    state[v]->filterStage3 = lane(f.z3, v);
    state[v]->filterStage4 = lane(f.z4, v);
  }
}

void addStepPairs(const float* steps, std::int32_t frames, float* output) {
  std::int32_t i = 0;
  for (; i + 4 <= frames; i += 4) {
    const __m128 low = _mm_loadu_ps(steps + 2 * i);
    const __m128 high = _mm_loadu_ps(steps + 2 * i + 4);
    const __m128 even = _mm_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 odd = _mm_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1));
    _mm_storeu_ps(output + i, _mm_add_ps(_mm_add_ps(_mm_loadu_ps(output + i), even), odd));
  }
  for (; i < frames; ++i) {
    output[i] += steps[2 * i];
    output[i] += steps[2 * i + 1];
  }
}
