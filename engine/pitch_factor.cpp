// The fast power of two behind pitch bend. The cubic is exact at both ends of the
// fraction's range; its sums are formed in double precision and the float is assembled
// from its bit pattern.
#include "engine/pitch_factor.h"

#include <cstdint>
#include <cstring>

namespace {

// The cubic's coefficients are the float32 values of 0.079, 0.225 and 0.696.
constexpr double kCubic = static_cast<double>(0.079f);
constexpr double kSquare = static_cast<double>(0.225f);
constexpr double kLinear = static_cast<double>(0.696f);
constexpr double kMantissaScale = 8388608.0;     // 2^23: one unit of the exponent field
constexpr double kExponentBias = 1065353216.0;  // bit pattern of 1.0f
// Bound of the bit pattern (a 32-bit integer), so that an extreme bend stays defined.
constexpr double kPatternLow = -2147483648.0;
constexpr double kPatternHigh = 2147483647.0;

// Rounds down to a whole float; a float beyond 2^23 in magnitude is whole already.
float floorWhole(float value) {
  constexpr float kWholeBeyond = 8388608.0f;
  if (!(value > -kWholeBeyond && value < kWholeBeyond)) return value;
  const float whole = static_cast<float>(static_cast<std::int32_t>(value));
  return whole > value ? whole - 1.0f : whole;
}

}  // namespace

float pitchFactor(float value) {
  if (value != value) value = 0.0f;
  const float whole = floorWhole(value);
  const float fraction = value - whole;
  const double r = static_cast<double>(fraction);
  const double q = ((r * kCubic + kSquare) * r + kLinear) * r + static_cast<double>(whole);
  double pattern = q * kMantissaScale + kExponentBias;
  // Only bends far outside -1..+1 come near these bounds.
  if (!(pattern >= kPatternLow)) pattern = kPatternLow;
  if (pattern > kPatternHigh) pattern = kPatternHigh;
  const std::int32_t bits = static_cast<std::int32_t>(pattern);
  float factor;
  std::memcpy(&factor, &bits, sizeof factor);
  return factor;
}
