// The range every parameter declares to CLAP hosts: the instrument's own values, 0..1,
// passed through unchanged in both directions.
#pragma once

namespace quindleclap {

constexpr double kParameterMin = 0.0;
constexpr double kParameterMax = 1.0;

// A finite value from the host, held to the declared range.
inline float withinRange(double value) {
  if (value < kParameterMin) return static_cast<float>(kParameterMin);
  if (value > kParameterMax) return static_cast<float>(kParameterMax);
  return static_cast<float>(value);
}

}  // namespace quindleclap
