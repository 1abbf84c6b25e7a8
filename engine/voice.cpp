// Note start and release, envelope configuration and the operator gains of a voice.
#include "engine/voice.h"

#include "engine/phase_math.h"
#include "params/parameter_table.h"

namespace {
// Note number of a voice that has never started a note: matches no MIDI note.
constexpr std::int32_t kNoNote = -1;
// Envelope settings that a parameter does not supply.
constexpr double kNoTime = 0.0;
constexpr double kNoSustain = 0.0;
}  // namespace

Voice::Voice(const std::atomic<float>* liveParameters, const SineTable& table)
    : carrierPhase(0),
      tonePhase(0),
      attackPhase(0),
      carrierIncrement(0),
      toneIncrement(0),
      attackIncrement(0),
      pitchFactor(1.0f),
      sampleRate(0.0f),
      active(false),
      released(false),
      startPending(false),
      pendingNote(kNoNote),
      note(kNoNote),
      velocity(0.0f),
      parameters(liveParameters),
      sineTable(table),
      filter() {}

std::int16_t Voice::phaseStep(float frequency) const {
  const float samplesPerCycle = sampleRate.load(std::memory_order_relaxed) / frequency;
  return phase_math::toSigned16(phase_math::truncateToPhase(kPhaseStepScale / samplesPerCycle));
}

void Voice::startNote(std::int32_t newNote, float frequency, float newVelocity) {
  note = newNote;
  const float carrierFrequency =
      kSwitchThreshold > parameter(PARAM_TONE_MODE) ? kBrightCarrierRatio * frequency : frequency;
  const float attackFrequency = parameter(PARAM_ATTACK_MODE) > kSwitchThreshold ? kBrightAttackRatio * frequency
                                                                                 : kDarkAttackRatio * frequency;
  carrierIncrement = phaseStep(carrierFrequency);
  toneIncrement = phaseStep(frequency);
  attackIncrement = phaseStep(attackFrequency);
  carrierPhase = 0;
  tonePhase = 0;
  attackPhase = 0;
  released = false;
  startPending = false;
  active = true;
  velocity = newVelocity;
  ampEnvelope.start();
  toneEnvelope.start();
  attackEnvelope.start();
}

void Voice::clearAfterFault() {
  active = false;
  carrierPhase = 0;
  tonePhase = 0;
  attackPhase = 0;
  filter = LowPassState{};
  ampEnvelope.stop();
  toneEnvelope.stop();
  attackEnvelope.stop();
}

void Voice::releaseNote() {
  released = true;
  ampEnvelope.release();
}

void Voice::configureAmpEnvelope(float rate) {
  ampEnvelope.configure(rate, parameter(PARAM_AMP_ATTACK), parameter(PARAM_AMP_DECAY), parameter(PARAM_AMP_SUSTAIN),
                        parameter(PARAM_AMP_RELEASE));
}

void Voice::configureAttackEnvelope(float rate) {
  const double decay = parameter(PARAM_ATTACK_DECAY);
  attackEnvelope.configure(rate, kNoTime, decay, kNoSustain, decay);
}

void Voice::configureToneEnvelope(float rate) {
  toneEnvelope.configure(rate, kToneAttackTime, kToneDecayTime, kToneSustainLevel, kToneReleaseTime);
}

void Voice::updateParameter(std::int32_t code) {
  const float rate = sampleRate.load(std::memory_order_relaxed);
  switch (code) {
    case PARAM_ATTACK_DECAY:
      configureAttackEnvelope(rate);
      break;
    case PARAM_AMP_ATTACK:
    case PARAM_AMP_DECAY:
    case PARAM_AMP_SUSTAIN:
    case PARAM_AMP_RELEASE:
      configureAmpEnvelope(rate);
      break;
    case ALL_ENVELOPES:
      configureAmpEnvelope(rate);
      configureAttackEnvelope(rate);
      configureToneEnvelope(rate);
      break;
    default:
      break;
  }
}

void Voice::setSampleRate(float rate) {
  sampleRate.store(rate, std::memory_order_relaxed);
  updateParameter(ALL_ENVELOPES);
}

// Each gain is (velocity * level - level) * sensitivity + level, in this order.
Voice::Gains Voice::currentGains() const {
  const auto gain = [this](std::int32_t level, std::int32_t sensitivity) {
    const float l = parameter(level);
    return (velocity * l - l) * parameter(sensitivity) + l;
  };
  return Gains{gain(PARAM_ATTACK_LEVEL, PARAM_ATTACK_VELOCITY), gain(PARAM_TONE_LEVEL, PARAM_TONE_VELOCITY),
               gain(PARAM_VOLUME, PARAM_AMP_VELOCITY)};
}
