// Construction, the parameter path and processing of the instrument.
#include "core/instrument.h"

#include <cmath>
#include <cstring>
#include <new>

#include "engine/denormal_guard.h"
#include "engine/midi_intake.h"
#include "engine/note_table.h"
#include "engine/synth_engine.h"

Instrument::Instrument()
    : programs(new ProgramBank()),
      synth(new SynthEngine()),
      program(0),
      observer(nullptr),
      rate(kDefaultSampleRate),
      scratch(nullptr) {
  loadCurrentProgram();
  synth->setSampleRate(rate);
  NoteFrequencyTable::fill();
}

Instrument::~Instrument() { deactivate(); }

void Instrument::setObserver(InstrumentObserver* newObserver) {
  observer.store(newObserver, std::memory_order_release);
}

bool Instrument::changesParameter(std::int32_t index, float value) const {
  // Outside the table, or not a number the voices can use: refused.
  if (!isParameterIndex(index) || !std::isfinite(value)) return false;
  return synth->liveParameters()[index].load(std::memory_order_relaxed) != value;
}

bool Instrument::setParameter(std::int32_t index, float value) {
  if (!changesParameter(index, value)) return false;
  synth->liveParameters()[index].store(value, std::memory_order_relaxed);
  synth->updateVoices(index);
  if (InstrumentObserver* listener = currentObserver()) listener->parameterChanged(index, value);
  return true;
}

float Instrument::getParameter(std::int32_t index) const {
  if (!isParameterIndex(index)) return 0.0f;
  return synth->liveParameters()[index].load(std::memory_order_relaxed);
}

bool Instrument::setSampleRate(float newRate) {
  // Any other rate would turn every envelope rate into NaN or infinity.
  if (!std::isfinite(newRate) || !(newRate > 0.0f)) return false;
  rate = newRate;
  synth->setSampleRate(newRate);
  return true;
}

bool Instrument::activate() {
  deactivate();
  scratch = new (std::nothrow) float[SynthEngine::kScratchFloats]();
  return scratch != nullptr;
}

void Instrument::deactivate() {
  delete[] scratch;
  scratch = nullptr;
}

bool Instrument::isSounding() const {
  if (synth->queuedEventCount() > 0) return true;
  for (std::int32_t index = 0; index < SynthEngine::kVoiceCount; ++index) {
    if (synth->voice(index).isActive()) return true;
  }
  return false;
}

void Instrument::receiveMidi(const std::uint8_t* bytes, std::size_t size, std::int32_t offset) {
  receiveMidiMessage(*synth, bytes, size, offset);
}

void Instrument::renderSegment(float* output, std::int32_t frames) {
  if (scratch == nullptr || output == nullptr || frames < 0) return;
  DenormalGuard flushSubnormals;
  synth->render(scratch, output, frames);
}

void Instrument::render(float* left, float* right, std::int32_t frames) {
  if (left == nullptr || frames <= 0) return;
  const std::size_t bytes = static_cast<std::size_t>(frames) * sizeof(float);
  std::memset(left, 0, bytes);
  renderSegment(left, frames);
  if (right != nullptr && right != left) std::memcpy(right, left, bytes);
}
