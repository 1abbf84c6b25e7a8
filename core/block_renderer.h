// One host block for the formats that hand over the block's MIDI and parameter changes
// together with the request for audio (LV2, VST 3, CLAP). Changes come in time order;
// each takes effect at its frame: the block is rendered up to a parameter change or a
// program selection before it is made, and up to a MIDI message that the engine's event
// queue could not take any more, so no note start or release is lost however dense the
// block.
// While the queue has room, MIDI is queued exactly as the VST 2.4 build queues a block's
// events, so the same MIDI at the same offsets renders the same samples.
#pragma once

#include <cstddef>
#include <cstdint>

class Instrument;

class BlockRenderer {
 public:
  // Audio thread, at the start of the host's process call: `left` is cleared. Either
  // channel may be null; where `left` is, `right` takes the render instead. No channel,
  // or no frames, renders nothing: the block's changes still apply.
  BlockRenderer(Instrument& instrument, float* left, float* right, std::int32_t frames);

  // A host's unsigned frame count or sample time as the renderer counts frames: beyond
  // the largest int32 it is the largest.
  static std::int32_t framesOf(std::uint64_t count);
  BlockRenderer(const BlockRenderer&) = delete;
  BlockRenderer& operator=(const BlockRenderer&) = delete;

  // A MIDI message at `frame` of the block (clamped into the block and to the frames
  // already rendered).
  void midi(const std::uint8_t* bytes, std::size_t size, std::int32_t frame);
  // A parameter value that holds from `frame` on; refused values change nothing.
  void parameter(std::int32_t index, float value, std::int32_t frame);
  // A program selected from `frame` on, as Instrument::selectProgram selects it; a number
  // outside the bank changes nothing.
  void program(std::int32_t number, std::int32_t frame);
  // Renders up to `frame` now, so that what comes next acts from there on, also a message
  // the engine applies to the whole block at once (all notes off).
  void renderTo(std::int32_t frame);
  // Renders the rest of the block and copies `left` into `right`.
  void finish();

  std::int32_t renderedFrames() const { return position; }
  // The channel the block is rendered into (null when there is none).
  const float* rendered() const { return left; }

 private:
  std::int32_t clamp(std::int32_t frame) const;
  void renderUntil(std::int32_t frame);

  Instrument& instrument;
  float* left;
  float* right;
  std::int32_t frames;
  std::int32_t position;
};
