// The host's VstEvents list unpacked into MIDI messages with their sample offsets: the
// VST 2.4 side of the one MIDI intake (engine/midi_intake.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "shell/vst_abi.h"

class SynthEngine;

// Number of MIDI bytes a VstMidiEvent carries that the synthesiser reads: status and two
// data bytes (the fourth byte of midiData is unused).
constexpr std::size_t kVstMidiMessageSize = 3;

// Calls receive(bytes, size, deltaFrames) for every MIDI event of the host's list, in
// list order; missing lists, missing entries and events of other types are skipped.
template <typename Receive>
void forEachMidiEvent(const VstEvents* events, Receive&& receive) {
  if (events == nullptr) return;
  // The host's list runs on past the two entries the record declares.
  VstEvent* const* list = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = list[i];
    if (event == nullptr || event->type != kVstMidiType) continue;
    const auto& midi = *reinterpret_cast<const VstMidiEvent*>(event);
    receive(reinterpret_cast<const std::uint8_t*>(midi.midiData), kVstMidiMessageSize, midi.deltaFrames);
  }
}

// effProcessEvents straight into an engine (the instance goes through its core; tests
// and benchmarks of the engine use this). Always answers 1.
VstInt32 processMidiEvents(SynthEngine& engine, const VstEvents* events);
