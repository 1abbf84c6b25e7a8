// The sine table every voice reads: 4096 signed 16-bit values of one full cycle. A
// 16-bit phase p reads entry p >> 4. The same values are also held as floats (each
// 16-bit value is exact in single precision), so the operators read a ready float.
#pragma once

#include <cstdint>

class SineTable {
 public:
  static constexpr std::int32_t kSize = 4096;
  static constexpr std::int32_t kPhaseShift = 4;        // 65536 phase steps onto 4096 entries
  static constexpr double kIndexScale = 0.000244140625;  // 1 / 4096
  static constexpr double kTurn = 6.2831853076;          // the table's cycle: this value, not a full-precision 2 pi
  static constexpr double kAmplitude = 32767.0;

  // Fills the table from its formula (engine construction, any thread).
  SineTable();

  // Entry i = sin(i / 4096 * kTurn) * 32767, in double precision, truncated toward 0.
  static std::int16_t formula(std::int32_t index);

  std::int16_t operator[](std::int32_t index) const { return entries[index]; }
  std::int16_t atPhase(std::uint16_t phase) const { return entries[phase >> kPhaseShift]; }
  const std::int16_t* data() const { return entries; }
  // Entry i as a float, equal to static_cast<float>((*this)[i]).
  const float* floats() const { return values; }

 private:
  alignas(64) std::int16_t entries[kSize];
  alignas(64) float values[kSize];
};
