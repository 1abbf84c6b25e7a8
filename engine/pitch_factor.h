// The pitch-bend factor: a fast power of two, 2^v for a bend value v in -1..+1, that
// scales each voice's phase increments (one octave down to almost one octave up).
#pragma once

// P(v): the whole part of v goes into the exponent of a float and a cubic of the
// fraction into its mantissa. P(0) = 1.0, P(-1) = 0.5. Defined for every float; a value
// that is not a number counts as 0 (no bend).
float pitchFactor(float value);
