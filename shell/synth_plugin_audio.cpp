// The instance's audio cycle: MIDI intake, block rendering, and the calls that bracket
// processing (resume, suspend, sample rate).
#include "shell/synth_plugin.h"
#include "shell/vst_midi_events.h"

// effProcessEvents, host's audio thread: the block's MIDI becomes queued engine events.
VstInt32 SynthPlugin::processEvents(VstEvents* events) {
  forEachMidiEvent(events, [this](const std::uint8_t* bytes, std::size_t size, VstInt32 offset) {
    instrument.receiveMidi(bytes, size, offset);
  });
  return 1;
}

// processReplacing, host's audio thread: output 0 is rendered, output 1 is its copy.
// Without a scratch buffer (no resume yet) the block is silent and the queue waits.
void SynthPlugin::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
  if (outputs == nullptr || sampleFrames <= 0) return;
  instrument.render(outputs[0], outputs[1], sampleFrames);
}

// effMainsChanged with 0, while processing is stopped.
void SynthPlugin::suspend() { instrument.deactivate(); }

// effMainsChanged with a non-zero value, while processing is stopped. The engine works
// through a block of any length in short stretches, so its work area does not follow
// the block size.
void SynthPlugin::resume() {
  instrument.activate();
  // A synthesiser always wants MIDI.
  hostWantMidi(1);
}

// effSetSampleRate, while processing is stopped. A rate that is not a positive finite
// number would turn every envelope rate into NaN or infinity: it is ignored.
void SynthPlugin::setSampleRate(float rate) {
  if (instrument.setSampleRate(rate)) ExtendedEffectBase::setSampleRate(rate);
}
