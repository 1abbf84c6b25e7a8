// The float-to-phase conversions of the voice. Phases and phase steps are 16-bit values
// that wrap modulo 65536; a float becomes one by truncation (phase increments) or by
// rounding down (the pitch-bent steps and the modulating values), keeping the low 16
// bits of the integer. Both are defined for every float: a value the integer types
// cannot hold is handled without an out-of-range conversion.
#pragma once

#include <cstdint>

namespace phase_math {

// Every float of at least this magnitude is a whole multiple of 65536 (its last
// significant bit weighs 2^16 or more), so its low 16 bits are 0.
constexpr float kWrapsToZero = 549755813888.0f;  // 2^39
// The range a 32-bit truncation handles directly.
constexpr float kInt32Low = -2147483648.0f;  // -2^31
constexpr float kInt32High = 2147483648.0f;  // 2^31, excluded

// Low 16 bits of the value truncated toward zero; 0 for a value that is not a finite
// number.
inline std::uint16_t truncateToPhase(float value) {
  if (!(value > -kWrapsToZero && value < kWrapsToZero)) return 0;
  const std::int64_t whole = static_cast<std::int64_t>(value);
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(whole));
}

// Low 16 bits of the value rounded down (toward minus infinity); 0 for a value that is
// not a finite number. Beyond the 32-bit range every float is a whole number already.
inline std::uint16_t floorToPhase(float value) {
  if (value >= kInt32Low && value < kInt32High) {
    std::int32_t whole = static_cast<std::int32_t>(value);
    if (static_cast<float>(whole) > value) --whole;
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(whole));
  }
  return truncateToPhase(value);
}

// The phase offset a modulating value causes: twice its floor, modulo 65536.
inline std::uint16_t modulationOffset(float value) {
  return static_cast<std::uint16_t>(2u * floorToPhase(value));
}

// A 16-bit pattern read as the signed 16-bit number it encodes.
inline std::int16_t toSigned16(std::uint16_t bits) {
  return static_cast<std::int16_t>(static_cast<std::int32_t>(bits) - (bits >= 0x8000u ? 0x10000 : 0));
}

}  // namespace phase_math
