#include "engine/finite_guard.h"

#include <emmintrin.h>

#include <cmath>

namespace {
constexpr std::int32_t kLanes = 4;
constexpr std::int32_t kAllLanes = 0xF;
}  // namespace

bool lowPassStateIsFinite(const LowPassState& state) {
  return std::isfinite(state.filterInput) && std::isfinite(state.filterStage1) && std::isfinite(state.filterStage2) &&
         std::isfinite(state.filterStage3) && std::isfinite(state.filterStage4);
}

// Four samples at a time: x - x is 0 for a finite x and NaN for an infinity or a NaN, so
// one ordered comparison tells all four apart; only a group that holds a bad sample is
// looked at one by one.
void silenceNonFinite(float* output, std::int32_t frames) {
  const __m128 zero = _mm_setzero_ps();
  std::int32_t i = 0;
  for (; i + kLanes <= frames; i += kLanes) {
    const __m128 x = _mm_loadu_ps(output + i);
    const __m128 finite = _mm_cmpeq_ps(_mm_sub_ps(x, x), zero);
    if (_mm_movemask_ps(finite) == kAllLanes) continue;
    _mm_storeu_ps(output + i, _mm_and_ps(x, finite));
  }
  for (; i < frames; ++i) {
    if (!std::isfinite(output[i])) output[i] = 0.0f;
  }
}
