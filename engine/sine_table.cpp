// The sine table, built from its formula with the target-independent sine.
#include "engine/sine_table.h"

#include "engine/exact_sine.h"

std::int16_t SineTable::formula(std::int32_t index) {
  const double angle = static_cast<double>(index) * kIndexScale * kTurn;
  return static_cast<std::int16_t>(exactSine(angle) * kAmplitude);
}

SineTable::SineTable() : entries(), values() {
  for (std::int32_t i = 0; i < kSize; ++i) {
    entries[i] = formula(i);
    values[i] = static_cast<float>(entries[i]);
  }
}
