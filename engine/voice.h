// One voice: a chain of three phase-modulated sine operators (attack -> tone ->
// carrier) at twice the host's sample rate, shaped by three envelopes, through a fixed
// four-stage low-pass, with both internal steps of each output sample added into it.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/envelope.h"
#include "engine/low_pass.h"
#include "engine/sine_table.h"

// The update code that makes a voice re-derive all three envelopes.
constexpr std::int32_t ALL_ENVELOPES = 100;

class Voice {
 public:
  // Carrier output: table units to -1..+1 (1/32767).
  static constexpr float kCarrierScale = 3.0518509e-05f;
  // Each low-pass section: y[k] = a * (x[k] + x[k-1]) - b * y[k-1].
  static constexpr float kLowPassA = 0.13452738523483276f;
  static constexpr float kLowPassB = -0.7309452295303345f;
  // The carrier's envelope-and-level product is halved: two steps add into one sample.
  static constexpr float kCarrierHalf = 0.5f;
  static constexpr std::int32_t kStepsPerSample = 2;
  // A frequency becomes a phase step of 32767 / (sampleRate / frequency).
  static constexpr float kPhaseStepScale = 32767.0f;
  // Frequency ratios: the switches read "above/below one half".
  static constexpr float kSwitchThreshold = 0.5f;
  static constexpr float kBrightAttackRatio = 3.0f;  // p0 above the threshold
  static constexpr float kDarkAttackRatio = 5.0f;
  static constexpr float kBrightCarrierRatio = 2.0f;  // p4 below the threshold
  // The tone operator's envelope has fixed settings.
  static constexpr double kToneAttackTime = 0.0;
  static constexpr double kToneDecayTime = 0.9;
  static constexpr double kToneSustainLevel = 0.7;
  static constexpr double kToneReleaseTime = 0.5;

  // Operator gains read from the live parameters for this voice's velocity.
  struct Gains {
    float attack;   // gA
    float tone;     // gB
    float carrier;  // gC
  };
  Gains currentGains() const;

  // Engine construction: the voice reads the engine's live parameters and sine table.
  Voice(const std::atomic<float>* parameters, const SineTable& sineTable);
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  // Audio thread, when a queued note start is applied.
  void startNote(std::int32_t note, float frequency, float velocity);
  // Audio thread, when a queued note release is applied.
  void releaseNote();
  // Any thread, after liveParameters changed: a parameter index or ALL_ENVELOPES.
  void updateParameter(std::int32_t code);
  // While processing is stopped (and at set-up): stores the rate, re-derives envelopes.
  void setSampleRate(float rate);
  // Audio thread: adds `count` samples of this voice into `output`. `scratch` holds
  // 2 * scratchFrames floats; a longer call is worked through in pieces that give the
  // same bits as one piece would.
  void render(std::int32_t count, float* scratch, std::int32_t scratchFrames, float* output);

  // The parts of a render call, for the engine, which filters several voices at once:
  // the operator chain for `steps` internal steps into `signal` (before the low-pass),
  // the filter memory, and the end of the call (the voice stays active while its
  // ampEnvelope is not idle).
  void synthesize(std::int32_t steps, const Gains& gains, float* signal);
  LowPassState& lowPassState() { return filter; }
  void finishRender() { active = ampEnvelope.getState() != ENV_IDLE; }

  // Audio thread, the engine's voice choice at note-on intake: a start of `noteNumber`
  // is queued for this voice.
  void markStartPending(std::int32_t noteNumber) {
    startPending = true;
    pendingNote = noteNumber;
  }
  void prepareTakeOver() {
    released = true;
    ampEnvelope.fade();
  }
  // Audio thread, all notes off: the voice stops being rendered at once.
  void silence() { active = false; }
  // Audio thread, after the voice produced a number that is not finite: it falls silent
  // with its filter, phases and envelopes cleared, so that its next note starts clean.
  // A queued start and the voice-choice flags stay as they are.
  void clearAfterFault();
  // Audio thread, when a pitch-bend event is applied.
  void setPitchFactor(float factor) { pitchFactor = factor; }

  // Read access (tests, the engine's voice choice).
  bool isActive() const { return active; }
  bool isReleased() const { return released; }
  bool isStartPending() const { return startPending; }
  std::int32_t getNote() const { return note; }
  // The note a note-off must match: the one the voice holds once its queued start is
  // applied, so that a release arriving after the start in the same block finds it.
  std::int32_t noteAfterPendingStart() const { return startPending ? pendingNote : note; }
  float getVelocity() const { return velocity; }
  float getPitchFactor() const { return pitchFactor; }
  float getSampleRate() const { return sampleRate.load(std::memory_order_relaxed); }
  std::int16_t getCarrierIncrement() const { return carrierIncrement; }
  std::int16_t getToneIncrement() const { return toneIncrement; }
  std::int16_t getAttackIncrement() const { return attackIncrement; }
  std::uint16_t getCarrierPhase() const { return carrierPhase; }
  std::uint16_t getTonePhase() const { return tonePhase; }
  std::uint16_t getAttackPhase() const { return attackPhase; }
  const Envelope& getAmpEnvelope() const { return ampEnvelope; }
  const Envelope& getToneEnvelope() const { return toneEnvelope; }
  const Envelope& getAttackEnvelope() const { return attackEnvelope; }

 private:
  float parameter(std::int32_t index) const { return parameters[index].load(std::memory_order_relaxed); }
  std::int16_t phaseStep(float frequency) const;
  void configureAmpEnvelope(float rate);
  void configureAttackEnvelope(float rate);
  void configureToneEnvelope(float rate);

  std::uint16_t carrierPhase;
  std::uint16_t tonePhase;
  std::uint16_t attackPhase;
  std::int16_t carrierIncrement;
  std::int16_t toneIncrement;
  std::int16_t attackIncrement;
  float pitchFactor;
  std::atomic<float> sampleRate;
  bool active;
  bool released;
  bool startPending;
  std::int32_t pendingNote;
  std::int32_t note;
  float velocity;
  Envelope ampEnvelope;
  Envelope toneEnvelope;
  Envelope attackEnvelope;
  const std::atomic<float>* parameters;
  const SineTable& sineTable;
  LowPassState filter;  // filterInput and filterStage1..4
};
