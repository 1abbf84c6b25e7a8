#include "core/block_renderer.h"

#include <cstring>
#include <limits>

#include "core/instrument.h"
#include "engine/midi_intake.h"
#include "engine/synth_engine.h"

// A host that gives only the second channel gets the render there.
BlockRenderer::BlockRenderer(Instrument& owner, float* leftOutput, float* rightOutput, std::int32_t frameCount)
    : instrument(owner),
      left(leftOutput != nullptr ? leftOutput : rightOutput),
      right(leftOutput != nullptr ? rightOutput : nullptr),
      frames(left != nullptr && frameCount > 0 ? frameCount : 0),
      position(0) {
  if (frames > 0) std::memset(left, 0, static_cast<std::size_t>(frames) * sizeof(float));
}

std::int32_t BlockRenderer::framesOf(std::uint64_t count) {
  constexpr auto kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(count > kLargest ? kLargest : count);
}

std::int32_t BlockRenderer::clamp(std::int32_t frame) const {
  if (frame < position) return position;
  return frame > frames ? frames : frame;
}

// Renders from the current position to `frame`, applying what is queued; with nothing
// queued and nothing to render there is nothing to do.
void BlockRenderer::renderUntil(std::int32_t frame) {
  if (frame == position && instrument.engine().queuedEventCount() == 0) return;
  if (frames > 0) instrument.renderSegment(left + position, frame - position);
  position = frame;
}

void BlockRenderer::midi(const std::uint8_t* bytes, std::size_t size, std::int32_t frame) {
  const MidiMessage message = decodeMidiMessage(bytes, size);
  if (message.action == MIDI_IGNORED) return;
  const std::int32_t at = clamp(frame);
  if (!midiMessageFits(instrument.engine(), message)) renderUntil(at);
  applyMidiMessage(instrument.engine(), message, at - position);
}

void BlockRenderer::parameter(std::int32_t index, float value, std::int32_t frame) {
  if (!instrument.changesParameter(index, value)) return;
  renderUntil(clamp(frame));
  instrument.setParameter(index, value);
}

void BlockRenderer::program(std::int32_t number, std::int32_t frame) {
  if (!instrument.bank().isProgram(number)) return;
  renderUntil(clamp(frame));
  instrument.selectProgram(number);
}

void BlockRenderer::renderTo(std::int32_t frame) { renderUntil(clamp(frame)); }

void BlockRenderer::finish() {
  renderUntil(frames);
  if (frames > 0 && right != nullptr && right != left) {
    std::memcpy(right, left, static_cast<std::size_t>(frames) * sizeof(float));
  }
}
