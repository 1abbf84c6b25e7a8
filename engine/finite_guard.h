// What keeps every sample the host receives a finite number. Parameter values far outside
// 0..1 (a broken automation lane, a damaged song) can drive a voice's level past what a
// float holds; the voice's low-pass then keeps the infinity or NaN for good. The render
// loop looks at each voice's filter memory after every stretch: the memory is finite
// exactly when every step of the stretch was (the sections feed their outputs back, so
// a non-finite step never washes out). A voice that failed is left out of the output
// and cleared, so that its next note starts clean. The sum of finite voices can still
// overflow; such samples become silence.
#pragma once

#include <cstdint>

#include "engine/low_pass.h"

bool lowPassStateIsFinite(const LowPassState& state);

// Replaces every sample of output[0..frames) that is not a finite number with 0.
void silenceNonFinite(float* output, std::int32_t frames);
