// The operator chain on SSE2. The phases of four consecutive steps are kept in the four
// 32-bit lanes of a vector (wrapped to 16 bits after every addition); the table is read
// as floats, one lane at a time. Rounding down uses truncation and a correction where
// the truncated value lies above the input; a group whose modulating values leave the
// 32-bit range takes the scalar conversion, which is defined for every float.
#include "engine/operator_chain.h"

#include <emmintrin.h>

#include "engine/phase_math.h"

namespace {

constexpr std::int32_t kGroup = 4;
constexpr int kShift = SineTable::kPhaseShift;
constexpr std::int32_t kPhaseMask = 0xFFFF;
// Clears the sign bit of a float: its magnitude.
constexpr std::int32_t kMagnitudeMask = 0x7FFFFFFF;

// One operator's phases after 1..4 further steps, and the advance of a whole group.
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
};

// The table values at four 16-bit phases (held in 32-bit lanes). Each index is taken
// from its lane as an unsigned value, which serves as an address offset as it is.
__m128 readTable(const float* table, __m128i phases) {
  const __m128i index = _mm_srli_epi32(phases, kShift);
  const auto at = [table](__m128i lanes) { return table[static_cast<std::uint32_t>(_mm_cvtsi128_si32(lanes))]; };
  return _mm_setr_ps(at(index), at(_mm_shuffle_epi32(index, _MM_SHUFFLE(1, 1, 1, 1))),
                     at(_mm_shuffle_epi32(index, _MM_SHUFFLE(2, 2, 2, 2))),
                     at(_mm_shuffle_epi32(index, _MM_SHUFFLE(3, 3, 3, 3))));
}

// Each lane: 2 * floor(x) mod 65536, for any float, one lane at a time. Kept out of
// line: modulating values beyond the 32-bit range are rare.
__attribute__((noinline)) __m128i scalarOffsets(__m128 x) {
  alignas(16) float values[kGroup];
  _mm_store_ps(values, x);
  return _mm_setr_epi32(phase_math::modulationOffset(values[0]), phase_math::modulationOffset(values[1]),
                        phase_math::modulationOffset(values[2]), phase_math::modulationOffset(values[3]));
}

// Each lane: (2 * floor(x) + phase) mod 65536.
inline __m128i modulatedPhases(__m128 x, __m128i phases) {
  const __m128 magnitude = _mm_and_ps(x, _mm_castsi128_ps(_mm_set1_epi32(kMagnitudeMask)));
  __m128i offset;
  // Not a number fails the comparison and takes the scalar conversion too.
  if (_mm_movemask_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(phase_math::kInt32High))) == 0xF) {
    const __m128i whole = _mm_cvttps_epi32(x);
    const __m128i above = _mm_castps_si128(_mm_cmpgt_ps(_mm_cvtepi32_ps(whole), x));
    offset = _mm_slli_epi32(_mm_add_epi32(whole, above), 1);
  } else {
    offset = scalarOffsets(x);
  }
  return _mm_and_si128(_mm_add_epi32(offset, phases), _mm_set1_epi32(kPhaseMask));
}

class ChainLanes {
 public:
  ChainLanes(const SineTable& table, const OperatorPhases& phases, const OperatorPhases& steps,
             const Voice::Gains& levels)
      : sine(table.floats()),
        attack(phases.attack, steps.attack),
        tone(phases.tone, steps.tone),
        carrier(phases.carrier, steps.carrier),
        attackLevel(_mm_set1_ps(levels.attack)),
        toneLevel(_mm_set1_ps(levels.tone)),
        carrierLevel(_mm_set1_ps(levels.carrier)),
        scale(_mm_set1_ps(Voice::kCarrierScale)),
        half(_mm_set1_ps(Voice::kCarrierHalf)) {}

  // Four steps of each operator; each moves its phases on by four steps.
  __m128 attackGroup(__m128 gain) {
    const __m128 a = _mm_mul_ps(_mm_mul_ps(gain, attackLevel), readTable(sine, attack.phases));
    attack.advance();
    return a;
  }
  __m128 toneGroup(__m128 gain, __m128 a) { return toneAt(gain, modulatedPhases(a, tone.phases)); }
  // The tone operator when the attack operator is silent: its value is zero or not a
  // number, and both move the phase by 0.
  __m128 unmodulatedToneGroup(__m128 gain) { return toneAt(gain, tone.phases); }
  __m128 carrierGroup(__m128 gain, __m128 b) {
    const __m128 c = _mm_mul_ps(readTable(sine, modulatedPhases(b, carrier.phases)), scale);
    carrier.advance();
    return _mm_mul_ps(_mm_mul_ps(_mm_mul_ps(gain, c), carrierLevel), half);
  }

 private:
  __m128 toneAt(__m128 gain, __m128i phases) {
    const __m128 b = _mm_mul_ps(_mm_mul_ps(gain, readTable(sine, phases)), toneLevel);
    tone.advance();
    return b;
  }

  const float* sine;
  PhaseLanes attack;
  PhaseLanes tone;
  PhaseLanes carrier;
  __m128 attackLevel;
  __m128 toneLevel;
  __m128 carrierLevel;
  __m128 scale;
  __m128 half;
};

// The phase after `steps` further steps.
std::uint16_t advanced(std::uint16_t phase, std::uint16_t step, std::int32_t steps) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(phase) +
                                    static_cast<std::uint32_t>(step) * static_cast<std::uint32_t>(steps));
}

// Whether every gain of the run is zero (of either sign).
bool allZero(const EnvelopeRun& run, std::int32_t steps) {
  const float* gains = run.gains;
  if (run.held) steps = EnvelopeRun::kHeldGains;
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(kMagnitudeMask));
  __m128 any = _mm_setzero_ps();
  std::int32_t j = 0;
  for (; j + kGroup <= steps; j += kGroup) any = _mm_or_ps(any, _mm_and_ps(_mm_loadu_ps(gains + j), magnitude));
  bool zero = _mm_movemask_ps(_mm_cmpeq_ps(any, _mm_setzero_ps())) == 0xF;
  for (; j < steps; ++j) zero = zero && gains[j] == 0.0f;
  return zero;
}

static_assert(EnvelopeRun::kHeldGains == kGroup, "a held run gives one group of gains");

// The gains of a run, one group of four steps after the other; a held run gives the
// same group every time.
class GainGroups {
 public:
  explicit GainGroups(const EnvelopeRun& run) : next(run.gains), advance(run.held ? 0 : kGroup) {}
  __m128 take() {
    const __m128 gains = _mm_loadu_ps(next);
    next += advance;
    return gains;
  }

 private:
  const float* next;
  std::int32_t advance;
};

// The passes over whole groups of four steps: the attack operator (unless it is silent),
// the tone operator and the carrier, each over all groups before the next starts.
void runGroups(ChainLanes& chain, const OperatorEnvelopes& envelopes, bool attackSilent, float* signal,
               std::int32_t groups) {
  const std::int32_t steps = groups * kGroup;
  GainGroups attack(envelopes.attack);
  GainGroups tone(envelopes.tone);
  GainGroups amp(envelopes.amp);
  if (attackSilent) {
    for (std::int32_t j = 0; j < steps; j += kGroup) _mm_storeu_ps(signal + j, chain.unmodulatedToneGroup(tone.take()));
  } else {
    for (std::int32_t j = 0; j < steps; j += kGroup) _mm_storeu_ps(signal + j, chain.attackGroup(attack.take()));
    for (std::int32_t j = 0; j < steps; j += kGroup)
      _mm_storeu_ps(signal + j, chain.toneGroup(tone.take(), _mm_loadu_ps(signal + j)));
  }
  for (std::int32_t j = 0; j < steps; j += kGroup)
    _mm_storeu_ps(signal + j, chain.carrierGroup(amp.take(), _mm_loadu_ps(signal + j)));
}

}  // namespace

void runOperatorChain(const SineTable& table, OperatorPhases& phases, const OperatorPhases& phaseSteps,
                      const OperatorEnvelopes& envelopes, const Voice::Gains& levels, float* signal,
                      std::int32_t steps) {
  if (steps < 1) return;
  ChainLanes chain(table, phases, phaseSteps, levels);
  const bool attackSilent = allZero(envelopes.attack, steps);
  const std::int32_t whole = steps / kGroup;
  runGroups(chain, envelopes, attackSilent, signal, whole);
  const std::int32_t done = whole * kGroup;
  if (done < steps) {
    // The last steps that do not fill a group run as one group whose spare lanes have
    // zero gains; their results are dropped.
    alignas(16) float gains[3][kGroup] = {};
    alignas(16) float result[kGroup] = {};
    const std::int32_t rest = steps - done;
    for (std::int32_t k = 0; k < rest; ++k) {
      gains[0][k] = envelopes.attack.at(done + k);
      gains[1][k] = envelopes.tone.at(done + k);
      gains[2][k] = envelopes.amp.at(done + k);
    }
    const OperatorEnvelopes last{EnvelopeRun{gains[0], false}, EnvelopeRun{gains[1], false},
                                 EnvelopeRun{gains[2], false}};
    runGroups(chain, last, attackSilent, result, 1);
    for (std::int32_t k = 0; k < rest; ++k) signal[done + k] = result[k];
  }
  phases.attack = advanced(phases.attack, phaseSteps.attack, steps);
  phases.tone = advanced(phases.tone, phaseSteps.tone, steps);
  phases.carrier = advanced(phases.carrier, phaseSteps.carrier, steps);
}
