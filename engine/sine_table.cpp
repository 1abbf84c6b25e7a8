// The sine table, built from its formula with the target-independent sine. The formula's
// 4096 values are worked out once per process (the first engine pays) and every engine's
// table is filled from them, so that creating an instance costs a copy, not 4096 sines.
#include "engine/sine_table.h"

#include <cstring>

#include "engine/exact_sine.h"

namespace {

struct FormulaValues {
  std::int16_t entries[SineTable::kSize];
  FormulaValues() : entries() {
    for (std::int32_t i = 0; i < SineTable::kSize; ++i) entries[i] = SineTable::formula(i);
  }
};

// Thread-safe on first use: instances may be created on several host threads at once.
const FormulaValues& formulaValues() {
  static const FormulaValues values;
  return values;
}

}  // namespace

std::int16_t SineTable::formula(std::int32_t index) {
  const double angle = static_cast<double>(index) * kIndexScale * kTurn;
  return static_cast<std::int16_t>(exactSine(angle) * kAmplitude);
}

SineTable::SineTable() : entries(), values() {
  std::memcpy(entries, formulaValues().entries, sizeof entries);
  for (std::int32_t i = 0; i < kSize; ++i) values[i] = static_cast<float>(entries[i]);
}
