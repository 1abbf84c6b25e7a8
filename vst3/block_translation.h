// One `process` call translated onto the instrument: the block's note events become MIDI
// bytes for the one intake, its parameter points take effect at their sample offsets,
// and the two output channels receive the rendered block.
//
// Every point of a parameter's queue is applied at its own offset, as a step: the value
// holds from that sample on. The host's curve between two points is not interpolated;
// hosts send a point wherever the value moves (a jump as two points on neighbouring
// samples), so automation lands within the sample it is drawn at. The cost is one more
// render segment per point (see bench/vst3_automation_bench.cpp).
#pragma once

#include "vst3/abi/vst3.h"

class Instrument;

namespace quindle_vst3 {

// Audio thread, inside IAudioProcessor::process. Points and events are merged in time
// order; at the same offset the points come first, in the host's order of its queues,
// then the events, so a note starts with the values set at its sample. A flush (no
// samples or no buffers) applies the points and touches no audio. Allocates nothing.
// kInvalidArgument for a negative sample count or a sample size other than 32 bits.
vst3::tresult processBlock(Instrument& instrument, vst3::ProcessData& data);

// The MIDI bytes of a note event on the one event bus (note on, note off). False for
// every other event, a bus other than 0, a channel outside 0..15 or a pitch outside 0..127.
bool midiFromEvent(const vst3::Event& event, std::uint8_t (&bytes)[3]);

}  // namespace quindle_vst3
