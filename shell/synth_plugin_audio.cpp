// The instance's audio cycle: MIDI intake, block rendering, and the calls that bracket
// processing (resume, suspend, sample rate).
#include <cmath>
#include <cstring>
#include <new>

#include "engine/denormal_guard.h"
#include "engine/midi_intake.h"
#include "engine/synth_engine.h"
#include "shell/synth_plugin.h"

// effProcessEvents, host's audio thread: the block's MIDI becomes queued engine events.
VstInt32 SynthPlugin::processEvents(VstEvents* events) {
  return processMidiEvents(*engine, events);
}

// processReplacing, host's audio thread: output 0 is rendered, output 1 is its copy.
void SynthPlugin::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
  if (outputs == nullptr || sampleFrames <= 0) return;
  float* left = outputs[0];
  float* right = outputs[1];
  if (left == nullptr) return;
  const std::size_t bytes = static_cast<std::size_t>(sampleFrames) * sizeof(float);
  std::memset(left, 0, bytes);
  // Without a scratch buffer (no resume yet) the block is silent and the queue waits.
  if (scratchBuffer != nullptr) {
    DenormalGuard flushSubnormals;
    engine->render(scratchBuffer, left, sampleFrames);
  }
  if (right != nullptr && right != left) std::memcpy(right, left, bytes);
}

// effMainsChanged with 0, while processing is stopped.
void SynthPlugin::suspend() { releaseScratchBuffer(); }

// effMainsChanged with a non-zero value, while processing is stopped.
void SynthPlugin::resume() {
  releaseScratchBuffer();
  scratchBuffer = new (std::nothrow) float[SynthEngine::kScratchFloats]();
  // A synthesiser always wants MIDI.
  hostWantMidi(1);
}

// effSetSampleRate, while processing is stopped. A rate that is not a positive finite
// number would turn every envelope rate into NaN or infinity: it is ignored.
void SynthPlugin::setSampleRate(float rate) {
  if (!std::isfinite(rate) || !(rate > 0.0f)) return;
  ExtendedEffectBase::setSampleRate(rate);
  engine->setSampleRate(rate);
}

void SynthPlugin::releaseScratchBuffer() {
  delete[] scratchBuffer;
  scratchBuffer = nullptr;
}
