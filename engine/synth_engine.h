// The synthesis engine: nine voices with the one-note-ahead voice choice, the live
// parameter values, the shared sine table and the queue of note events for the coming
// block. Intake calls queue events; render applies them at their sample offsets.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/engine_event.h"
#include "engine/sine_table.h"
#include "engine/voice.h"
#include "engine/voice_order.h"
#include "params/parameter_table.h"

class SynthEngine {
 public:
  static constexpr std::int32_t kVoiceCount = 9;
  static constexpr std::int32_t kEventCapacity = 64;
  static constexpr std::int32_t kParameterCount = PARAMETER_COUNT;
  static constexpr float kInitialParameterValue = 0.1f;
  // The block is worked through in stretches of at most this many output samples, each
  // voice's chain into its own signal buffer, the low-pass over four voices at a time.
  static constexpr std::int32_t kChunkFrames = 128;
  // The work area render needs: each voice's internal steps for one stretch.
  static constexpr std::int32_t kScratchFloats = kVoiceCount * Voice::kStepsPerSample * kChunkFrames;

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
  // empties the event queue. `scratch` is the instance's work area of kScratchFloats
  // floats, one stretch of signal per voice; without one nothing is rendered and the
  // queue waits. Segments of any length are worked through in stretches of kChunkFrames.
  void render(float* scratch, float* output, std::int32_t count);

  // The live parameter values, the one home of the current parameters (13 entries).
  // Single aligned 32-bit values: written on any thread, read by the audio thread.
  std::atomic<float>* liveParameters() { return parameters; }
  const std::atomic<float>* liveParameters() const { return parameters; }

  const Voice& voice(std::int32_t index) const { return *voices[index]; }
  std::int32_t queuedEventCount() const { return eventCount; }
  std::int32_t freeEventSlots() const { return kEventCapacity - eventCount; }
  // How many releases a note-off of `note` would queue now.
  std::int32_t voicesHoldingNote(std::int32_t note) const;
  const EngineEvent& queuedEvent(std::int32_t index) const { return events[index]; }
  std::int32_t nextVoiceIndex() const { return nextVoice; }
  const VoiceOrder& order() const { return voiceOrder; }
  // A release that found the queue full waits here for the end of the block.
  bool releaseWaitsForBlockEnd(std::int32_t index) const { return overflowRelease[index]; }

 private:
  bool queue(const EngineEvent& event);
  std::int32_t chooseFollowingVoice() const;
  bool holdsNote(std::int32_t index, std::int32_t note) const;
  void renderSegment(float* scratch, float* output, std::int32_t count);
  void apply(const EngineEvent& event);
  void applyOverflow();

  std::unique_ptr<Voice> voices[kVoiceCount];
  VoiceOrder voiceOrder;
  EngineEvent events[kEventCapacity];
  std::int32_t eventCount;
  std::int32_t nextVoice;
  // Changes that arrived while the queue was full, applied after the block's queued
  // events (see render): per voice a release, and the latest pitch bend.
  bool overflowRelease[kVoiceCount];
  bool overflowBendPending;
  float overflowBend;
  std::atomic<float> parameters[kParameterCount];
  SineTable sineTable;
};
