// The block render loop: the block is cut at the queued events' offsets, every voice
// renders each segment in turn, and each event is applied at its offset.
#include "engine/finite_guard.h"
#include "engine/low_pass.h"
#include "engine/pitch_factor.h"
#include "engine/synth_engine.h"

// Host's audio thread (processReplacing), after the block's events were queued.
// Offsets are taken as sample positions within the block: one beyond the block counts
// as its end, and one before the current position (negative, or smaller than an earlier
// event's) is applied at the current position, so no stretch of the block is rendered
// twice.
void SynthEngine::render(float* scratch, float* output, std::int32_t count) {
  // Without a work area or an output nothing can be rendered; the queue waits.
  if (scratch == nullptr || output == nullptr) return;
  if (count < 0) count = 0;
  std::int32_t position = 0;
  for (std::int32_t i = 0; i < eventCount; ++i) {
    const EngineEvent& event = events[i];
    std::int32_t offset = event.offset;
    if (offset < position) offset = position;
    if (offset > count) offset = count;
    renderSegment(scratch, output + position, offset - position);
    apply(event);
    position = offset;
  }
  renderSegment(scratch, output + position, count - position);
  eventCount = 0;
  applyOverflow();
}

// Every active voice renders `count` samples into output, in voice order: for each
// stretch, the voices' chains, the low-pass four voices at a time, then each voice's
// steps added into the output in voice order, as if the voices rendered one by one.
void SynthEngine::renderSegment(float* scratch, float* output, std::int32_t count) {
  if (count < 1) return;
  std::int32_t sounding[kVoiceCount];
  Voice::Gains gains[kVoiceCount];
  LowPassState* states[kVoiceCount];
  float* buffers[kVoiceCount];
  std::int32_t soundingCount = 0;
  for (std::int32_t index = 0; index < kVoiceCount; ++index) {
    if (!voices[index]->isActive()) continue;
    sounding[soundingCount] = index;
    gains[soundingCount] = voices[index]->currentGains();
    states[soundingCount] = &voices[index]->lowPassState();
    buffers[soundingCount] = scratch + soundingCount * Voice::kStepsPerSample * kChunkFrames;
    ++soundingCount;
  }
  for (std::int32_t position = 0; position < count && soundingCount > 0; position += kChunkFrames) {
    const std::int32_t frames = count - position < kChunkFrames ? count - position : kChunkFrames;
    const std::int32_t steps = Voice::kStepsPerSample * frames;
    for (std::int32_t k = 0; k < soundingCount; ++k) voices[sounding[k]]->synthesize(steps, gains[k], buffers[k]);
    for (std::int32_t k = 0; k < soundingCount; k += kLowPassLanes) {
      const std::int32_t group = soundingCount - k < kLowPassLanes ? soundingCount - k : kLowPassLanes;
      lowPassVoices(states + k, buffers + k, group, steps);
    }
    // A voice whose stretch went non-finite is cleared and left out from here on; the
    // others keep their order, and each lane of the low-pass is independent of the rest.
    std::int32_t kept = 0;
    for (std::int32_t k = 0; k < soundingCount; ++k) {
      if (!lowPassStateIsFinite(*states[k])) {
        voices[sounding[k]]->clearAfterFault();
        continue;
      }
      sounding[kept] = sounding[k];
      gains[kept] = gains[k];
      states[kept] = states[k];
      buffers[kept] = buffers[k];
      ++kept;
    }
    soundingCount = kept;
    for (std::int32_t k = 0; k < soundingCount; ++k) addStepPairs(buffers[k], frames, output + position);
    if (soundingCount > 0) silenceNonFinite(output + position, frames);
  }
  for (std::int32_t k = 0; k < soundingCount; ++k) voices[sounding[k]]->finishRender();
}

void SynthEngine::apply(const EngineEvent& event) {
  switch (event.type) {
    case EVENT_NOTE_START:
      voices[event.voice]->startNote(event.note, event.frequency, event.value);
      break;
    case EVENT_NOTE_RELEASE:
      voices[event.voice]->releaseNote();
      break;
    case EVENT_PITCH_BEND: {
      const float factor = pitchFactor(event.value);
      for (const std::unique_ptr<Voice>& voice : voices) voice->setPitchFactor(factor);
      break;
    }
    default:
      break;
  }
}

// Changes that found the queue full take effect at the end of the block, after every
// queued event: the latest pitch bend, then the waiting releases.
void SynthEngine::applyOverflow() {
  if (overflowBendPending) {
    apply(EngineEvent{EVENT_PITCH_BEND, 0.0f, 0, overflowBend, 0, 0});
    overflowBendPending = false;
  }
  for (std::int32_t index = 0; index < kVoiceCount; ++index) {
    if (!overflowRelease[index]) continue;
    voices[index]->releaseNote();
    overflowRelease[index] = false;
  }
}
