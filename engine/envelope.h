// The envelope generator: a six-state machine with linear ramps, advanced once per
// internal step of a voice (two steps per output sample). Its gain is linear in the
// level while rising and while fading out for a take-over, and the square of the level
// while decaying, sustaining and releasing.
#pragma once

#include <atomic>
#include <cstdint>

enum EnvelopeState : std::int32_t {
  ENV_IDLE = 0,     // finished or never started; gain 0
  ENV_ATTACK = 1,   // rising linearly towards 1.0
  ENV_DECAY = 2,    // falling linearly towards the sustain level
  ENV_SUSTAIN = 3,  // holding the sustain level
  ENV_RELEASE = 4,  // falling to 0 after a note-off
  ENV_FADE = 5,     // falling to 0 because the voice takes the next note
};

// The four values configure derives, as one step of the audio thread sees them.
struct EnvelopeRates {
  float attackRate;    // level added per step while attacking
  float decayRate;     // level removed per step while decaying (may be +infinity)
  float sustainLevel;  // level held while sustaining
  float releaseRate;   // level removed per step while releasing or fading
};

// One step of an envelope: the update, then the transition, then the gain formed from
// the new values, all in single precision. The render loop runs it on local copies of
// state and level; Envelope::tick runs it on the envelope itself.
inline float advanceEnvelope(std::int32_t& state, float& level, const EnvelopeRates& rates) {
  switch (state) {
    case ENV_IDLE:
      level = 0.0f;
      return 0.0f;
    case ENV_ATTACK:
      level += rates.attackRate;
      if (level >= 1.0f) {
        level = 1.0f;
        state = ENV_DECAY;
      }
      return level;
    case ENV_DECAY:
      level -= rates.decayRate;
      if (rates.sustainLevel >= level) {
        level = rates.sustainLevel;
        state = ENV_SUSTAIN;
      }
      return level * level;
    case ENV_SUSTAIN:
      level = rates.sustainLevel;
      return rates.sustainLevel * rates.sustainLevel;
    case ENV_RELEASE:
      level -= rates.releaseRate;
      if (level <= 0.0f) {
        level = 0.0f;
        state = ENV_IDLE;
      }
      return level * level;
    case ENV_FADE:
      level -= rates.releaseRate;
      if (level <= 0.0f) {
        level = 0.0f;
        state = ENV_IDLE;
      }
      return level;
    default:
      return 0.0f;
  }
}

class Envelope {
 public:
  // Attack and release times below this are raised to it (seconds).
  static constexpr double kMinimumTime = 0.0001;
  // Two internal steps per output sample: a rate per step is half a rate per sample.
  static constexpr double kStepsPerSampleFactor = 0.5;

  Envelope();
  Envelope(const Envelope&) = delete;
  Envelope& operator=(const Envelope&) = delete;

  // Any thread (parameter changes, program loads, sample-rate changes): derives the
  // rates and stores the sustain level; state and level are left as they are, so a
  // running envelope continues with the new slopes from its next step.
  void configure(float sampleRate, double attackTime, double decayTime, double sustainLevel,
                 double releaseTime);

  // Audio thread: advances one step and returns its gain.
  float tick() { return advanceEnvelope(state, level, rates()); }

  // Audio thread: the moves the owning voice makes.
  void start() {
    state = ENV_ATTACK;
    level = 0.0f;
  }
  void release() { state = ENV_RELEASE; }
  void fade() { state = ENV_FADE; }
  // Back to the state of a new envelope (a voice cleared after a fault).
  void stop() {
    state = ENV_IDLE;
    level = 0.0f;
  }

  // The rates as one consistent-enough snapshot for a render call (each value is read
  // whole; a reconfiguration on another thread is seen from the next call on).
  EnvelopeRates rates() const {
    return EnvelopeRates{attackRate.load(std::memory_order_relaxed), decayRate.load(std::memory_order_relaxed),
                         sustainLevel.load(std::memory_order_relaxed),
                         releaseRate.load(std::memory_order_relaxed)};
  }

  std::int32_t getState() const { return state; }
  float getLevel() const { return level; }
  // The render loop works on copies of state and level and stores them back here.
  void store(std::int32_t newState, float newLevel) {
    state = newState;
    level = newLevel;
  }

 private:
  std::int32_t state;
  std::atomic<float> attackRate;
  std::atomic<float> decayRate;
  std::atomic<float> sustainLevel;
  std::atomic<float> releaseRate;
  float level;
};
