// The operator passes on SSE2. Phases of four consecutive steps are kept in the four
// 32-bit lanes of a vector (wrapped to 16 bits after every addition); the table reads
// are scalar. Rounding down uses truncation and a correction where the truncated value
// lies above the input; a group whose modulating values leave the 32-bit range takes
// the scalar conversion, which is defined for every float.
#include "engine/operator_passes.h"

#include <emmintrin.h>

#include "engine/phase_math.h"

namespace {

constexpr std::int32_t kGroup = 4;
constexpr int kShift = SineTable::kPhaseShift;
constexpr std::int32_t kPhaseMask = 0xFFFF;

// Phases after 1..4 further steps, and the advance of a whole group.
struct PhaseLanes {
  __m128i phases;
  __m128i groupStep;
  PhaseLanes(std::uint16_t phase, std::uint16_t step) {
    const std::int32_t p = phase;
    const std::int32_t s = step;
    phases = _mm_and_si128(_mm_setr_epi32(p + s, p + 2 * s, p + 3 * s, p + 4 * s), _mm_set1_epi32(kPhaseMask));
    groupStep = _mm_set1_epi32((kGroup * s) & kPhaseMask);
  }
  void advance() { phases = _mm_and_si128(_mm_add_epi32(phases, groupStep), _mm_set1_epi32(kPhaseMask)); }
  std::uint16_t last() const { return static_cast<std::uint16_t>(_mm_extract_epi16(phases, 6)); }
};

// The table values at four 16-bit phases (held in 32-bit lanes), as floats: each value
// goes into the high half of its lane and is shifted down with its sign.
__m128 readTable(const std::int16_t* table, __m128i phases) {
  const __m128i index = _mm_srli_epi32(phases, kShift);
  __m128i words = _mm_setzero_si128();
  words = _mm_insert_epi16(words, table[_mm_extract_epi16(index, 0)], 1);
  words = _mm_insert_epi16(words, table[_mm_extract_epi16(index, 2)], 3);
  words = _mm_insert_epi16(words, table[_mm_extract_epi16(index, 4)], 5);
  words = _mm_insert_epi16(words, table[_mm_extract_epi16(index, 6)], 7);
  return _mm_cvtepi32_ps(_mm_srai_epi32(words, 16));
}

// Each lane: (2 * floor(x) + phase) mod 65536.
__m128i modulatedPhases(__m128 x, __m128i phases) {
  const __m128 low = _mm_set1_ps(phase_math::kInt32Low);
  const __m128 high = _mm_set1_ps(phase_math::kInt32High);
  const __m128 inRange = _mm_and_ps(_mm_cmpge_ps(x, low), _mm_cmplt_ps(x, high));
  __m128i offset;
  if (_mm_movemask_ps(inRange) == 0xF) {
    const __m128i whole = _mm_cvttps_epi32(x);
    const __m128i above = _mm_castps_si128(_mm_cmpgt_ps(_mm_cvtepi32_ps(whole), x));
    offset = _mm_slli_epi32(_mm_add_epi32(whole, above), 1);
  } else {
    alignas(16) float values[kGroup];
    _mm_store_ps(values, x);
    offset = _mm_setr_epi32(phase_math::modulationOffset(values[0]), phase_math::modulationOffset(values[1]),
                            phase_math::modulationOffset(values[2]), phase_math::modulationOffset(values[3]));
  }
  return _mm_and_si128(_mm_add_epi32(offset, phases), _mm_set1_epi32(kPhaseMask));
}

// One step at a time, for the last steps of a run that do not fill a group.
std::uint16_t advance(std::uint16_t phase, std::uint16_t step) { return static_cast<std::uint16_t>(phase + step); }
std::uint16_t modulated(std::uint16_t phase, float x) {
  return static_cast<std::uint16_t>(phase_math::modulationOffset(x) + phase);
}

}  // namespace

std::uint16_t attackPass(const SineTable& table, std::uint16_t phase, std::uint16_t step, const float* envelope,
                         float level, float* signal, std::int32_t steps) {
  const std::int16_t* sine = table.data();
  const __m128 gain = _mm_set1_ps(level);
  PhaseLanes lanes(phase, step);
  std::int32_t j = 0;
  for (; j + kGroup <= steps; j += kGroup) {
    const __m128 value = readTable(sine, lanes.phases);
    _mm_storeu_ps(signal + j, _mm_mul_ps(_mm_mul_ps(_mm_loadu_ps(envelope + j), gain), value));
    phase = lanes.last();
    lanes.advance();
  }
  for (; j < steps; ++j) {
    phase = advance(phase, step);
    signal[j] = (envelope[j] * level) * static_cast<float>(table.atPhase(phase));
  }
  return phase;
}

std::uint16_t tonePass(const SineTable& table, std::uint16_t phase, std::uint16_t step, const float* envelope,
                       float level, float* signal, std::int32_t steps) {
  const std::int16_t* sine = table.data();
  const __m128 gain = _mm_set1_ps(level);
  PhaseLanes lanes(phase, step);
  std::int32_t j = 0;
  for (; j + kGroup <= steps; j += kGroup) {
    const __m128 value = readTable(sine, modulatedPhases(_mm_loadu_ps(signal + j), lanes.phases));
    _mm_storeu_ps(signal + j, _mm_mul_ps(_mm_mul_ps(_mm_loadu_ps(envelope + j), value), gain));
    phase = lanes.last();
    lanes.advance();
  }
  for (; j < steps; ++j) {
    phase = advance(phase, step);
    const float value = static_cast<float>(table.atPhase(modulated(phase, signal[j])));
    signal[j] = (envelope[j] * value) * level;
  }
  return phase;
}

std::uint16_t carrierPass(const SineTable& table, std::uint16_t phase, std::uint16_t step, const float* envelope,
                          float level, float scale, float half, float* signal, std::int32_t steps) {
  const std::int16_t* sine = table.data();
  const __m128 gain = _mm_set1_ps(level);
  const __m128 scaling = _mm_set1_ps(scale);
  const __m128 halving = _mm_set1_ps(half);
  PhaseLanes lanes(phase, step);
  std::int32_t j = 0;
  for (; j + kGroup <= steps; j += kGroup) {
    const __m128 value =
        _mm_mul_ps(readTable(sine, modulatedPhases(_mm_loadu_ps(signal + j), lanes.phases)), scaling);
    _mm_storeu_ps(signal + j, _mm_mul_ps(_mm_mul_ps(_mm_mul_ps(_mm_loadu_ps(envelope + j), value), gain), halving));
    phase = lanes.last();
    lanes.advance();
  }
  for (; j < steps; ++j) {
    phase = advance(phase, step);
    const float value = static_cast<float>(table.atPhase(modulated(phase, signal[j]))) * scale;
    signal[j] = ((envelope[j] * value) * level) * half;
  }
  return phase;
}
