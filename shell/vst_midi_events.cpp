#include "shell/vst_midi_events.h"

#include "engine/midi_intake.h"

namespace {
constexpr VstInt32 kProcessed = 1;
}  // namespace

VstInt32 processMidiEvents(SynthEngine& engine, const VstEvents* events) {
  forEachMidiEvent(events, [&engine](const std::uint8_t* bytes, std::size_t size, VstInt32 offset) {
    receiveMidiMessage(engine, bytes, size, offset);
  });
  return kProcessed;
}
