// The engine's voice pool and note handling: construction, the one-note-ahead voice
// choice, and the queueing of note starts, releases and pitch bends for the coming
// block. The block render loop is in engine_render.cpp.
#include "engine/synth_engine.h"

namespace {
constexpr std::int32_t kLowestMidiNote = 0;
constexpr std::int32_t kHighestMidiNote = 127;
}  // namespace

SynthEngine::SynthEngine()
    : voiceOrder(),
      events(),
      eventCount(0),
      nextVoice(kVoiceCount - 1),
      overflowRelease(),
      overflowBendPending(false),
      overflowBend(0.0f),
      parameters(),
      sineTable() {
  for (std::atomic<float>& value : parameters) value.store(kInitialParameterValue, std::memory_order_relaxed);
  for (std::int32_t index = 0; index < kVoiceCount; ++index) {
    voices[index].reset(new Voice(parameters, sineTable));
    voiceOrder.append(index);
  }
}

SynthEngine::~SynthEngine() = default;

bool SynthEngine::queue(const EngineEvent& event) {
  if (eventCount >= kEventCapacity) return false;
  events[eventCount++] = event;
  return true;
}

// The voice for the note after this one: the least recently chosen voice that is silent
// and not about to start, else the least recently chosen released voice, else the least
// recently chosen voice. The voice the coming note starts on is never a candidate.
std::int32_t SynthEngine::chooseFollowingVoice() const {
  for (std::int32_t position = 0; position < voiceOrder.size(); ++position) {
    const std::int32_t index = voiceOrder.at(position);
    if (index == nextVoice) continue;
    if (!voices[index]->isActive() && !voices[index]->isStartPending()) return index;
  }
  for (std::int32_t position = 0; position < voiceOrder.size(); ++position) {
    const std::int32_t index = voiceOrder.at(position);
    if (index == nextVoice) continue;
    if (voices[index]->isReleased()) return index;
  }
  return voiceOrder.front();
}

// Audio thread, MIDI intake. A note-on that finds the queue full is dropped whole: no
// voice is chosen or faded for it.
void SynthEngine::noteOn(std::int32_t note, float frequency, float velocity, std::int32_t offset) {
  if (eventCount >= kEventCapacity) return;
  const std::int32_t chosen = chooseFollowingVoice();
  queue(EngineEvent{EVENT_NOTE_START, frequency, note, velocity, offset, nextVoice});
  voices[nextVoice]->markStartPending(note);
  nextVoice = chosen;
  // The take-over fade starts with the coming block, so the voice is quiet in time.
  voices[chosen]->prepareTakeOver();
  voiceOrder.moveToBack(chosen);
}

// Audio thread, MIDI intake. Every voice holding the note number gets its own release.
// A voice with a start queued in this block counts as holding the note of that start:
// a note that starts and ends within one block is released after its start instead of
// hanging on, and a voice just given a new note is not released by a note-off of the
// note it is giving up (that one is already fading out for the take-over).
// A release must never be lost (the note would hang): one that finds the queue full is
// kept per voice and applied at the end of the block, after all queued events.
void SynthEngine::noteOff(std::int32_t note, std::int32_t offset) {
  for (std::int32_t index = 0; index < kVoiceCount; ++index) {
    if (!holdsNote(index, note)) continue;
    if (!queue(EngineEvent{EVENT_NOTE_RELEASE, 0.0f, 0, 0.0f, offset, index})) overflowRelease[index] = true;
  }
}

// A voice that never started a note holds no MIDI note number: it matches nothing.
bool SynthEngine::holdsNote(std::int32_t index, std::int32_t note) const {
  if (note < kLowestMidiNote || note > kHighestMidiNote) return false;
  return voices[index]->noteAfterPendingStart() == note;
}

std::int32_t SynthEngine::voicesHoldingNote(std::int32_t note) const {
  std::int32_t count = 0;
  for (std::int32_t index = 0; index < kVoiceCount; ++index) {
    if (holdsNote(index, note)) ++count;
  }
  return count;
}

// Audio thread, MIDI intake. A bend that finds the queue full is kept (the latest one)
// and applied at the end of the block, so the pitch still ends up where the wheel is.
void SynthEngine::pitchBend(float value, std::int32_t offset) {
  if (!queue(EngineEvent{EVENT_PITCH_BEND, 0.0f, 0, value, offset, 0})) {
    overflowBendPending = true;
    overflowBend = value;
  }
}

// Audio thread, MIDI intake: every voice stops sounding at once. Envelopes, flags and
// queued events are left as they are.
void SynthEngine::allNotesOff() {
  for (const std::unique_ptr<Voice>& voice : voices) voice->silence();
}

// Any thread, after liveParameters changed.
void SynthEngine::updateVoices(std::int32_t code) {
  for (const std::unique_ptr<Voice>& voice : voices) voice->updateParameter(code);
}

// While processing is stopped (and at instance set-up).
void SynthEngine::setSampleRate(float rate) {
  for (const std::unique_ptr<Voice>& voice : voices) voice->setSampleRate(rate);
}
