// The synthesis engine: nine voices with the one-note-ahead voice choice, the live
// parameter values, the shared sine table and the queue of note events for the coming
// block. Intake calls queue events; render applies them at their sample offsets.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/engine_event.h"
#include "engine/sine_table.h"
#include "engine/voice.h"
#include "engine/voice_order.h"

class SynthEngine {
 public:
  static constexpr std::int32_t kVoiceCount = 9;
  static constexpr std::int32_t kEventCapacity = 64;
  static constexpr std::int32_t kParameterCount = 13;
  static constexpr float kInitialParameterValue = 0.1f;

  SynthEngine();
  ~SynthEngine();
  SynthEngine(const SynthEngine&) = delete;
  SynthEngine& operator=(const SynthEngine&) = delete;

  // Intake, host's audio thread, before the render of the block the offsets refer to.
  void noteOn(std::int32_t note, float frequency, float velocity, std::int32_t offset);
  void noteOff(std::int32_t note, std::int32_t offset);
  void pitchBend(float value, std::int32_t offset);
  void allNotesOff();

  // After liveParameters changed (a parameter index, or ALL_ENVELOPES); any thread.
  void updateVoices(std::int32_t code);
  // Every voice takes the rate and re-derives its envelopes; while processing is stopped.
  void setSampleRate(float rate);

  // Host's audio thread: adds all voices' output for `count` samples into `output` and
  // empties the event queue. `scratch` holds 2 * scratchFrames floats; longer segments
  // are rendered in pieces of at most scratchFrames samples.
  void render(float* scratch, std::int32_t scratchFrames, float* output, std::int32_t count);

  // The live parameter values, the one home of the current parameters (13 entries).
  // Single aligned 32-bit values: written on any thread, read by the audio thread.
  std::atomic<float>* liveParameters() { return parameters; }
  const std::atomic<float>* liveParameters() const { return parameters; }

  const Voice& voice(std::int32_t index) const { return *voices[index]; }
  std::int32_t queuedEventCount() const { return eventCount; }
  std::int32_t nextVoiceIndex() const { return nextVoice; }
  const VoiceOrder& order() const { return voiceOrder; }

 private:
  bool queue(const EngineEvent& event);
  void renderSegment(float* scratch, std::int32_t scratchFrames, float* output, std::int32_t count);
  void apply(const EngineEvent& event);

  Voice* voices[kVoiceCount];
  VoiceOrder voiceOrder;
  EngineEvent events[kEventCapacity];
  std::int32_t eventCount;
  std::int32_t nextVoice;
  std::atomic<float>* parameters;
  SineTable sineTable;
};
