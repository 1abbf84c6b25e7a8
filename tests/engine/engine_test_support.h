// Helpers of the engine tests: an engine set up the way the instance sets it up, MIDI
// blocks as the host hands them over, block rendering and table hashes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/synth_engine.h"
#include "shell/vst_abi.h"

namespace engine_test {

constexpr float kSampleRate = 44100.0f;

// An engine with the given 13 parameter values and its voices set to the sample rate.
std::unique_ptr<SynthEngine> makeEngine(const float* parameters, float sampleRate = kSampleRate);
// An engine holding factory program `program`.
std::unique_ptr<SynthEngine> makeProgramEngine(std::int32_t program, float sampleRate = kSampleRate);
void setParameters(SynthEngine& engine, const float* parameters);

// A MIDI block as a host builds it: VstMidiEvent records and the VstEvents list.
class MidiBlock {
 public:
  MidiBlock& add(std::uint8_t status, std::uint8_t first, std::uint8_t second, std::int32_t deltaFrames);
  MidiBlock& addNoteOn(std::int32_t note, std::int32_t velocity, std::int32_t deltaFrames, std::int32_t channel = 0);
  MidiBlock& addNoteOff(std::int32_t note, std::int32_t deltaFrames, std::int32_t channel = 0);
  MidiBlock& addBend(std::int32_t position, std::int32_t deltaFrames);
  // Adds an event record of another type.
  MidiBlock& addOther(std::int32_t type);
  // The list as the host passes it (valid until the block changes).
  VstEvents* list();
  std::int32_t size() const { return static_cast<std::int32_t>(records.size()); }

 private:
  std::vector<VstMidiEvent> records;
  std::vector<unsigned char> listStorage;
};

// Renders one block of `frames` samples into a zeroed output, as processReplacing does.
std::vector<float> renderBlock(SynthEngine& engine, std::int32_t frames);
// Same, appending to `out`.
void renderInto(SynthEngine& engine, std::vector<float>& out, std::int32_t frames);

std::uint32_t fnv1a(const void* data, std::size_t size);
// Bit-exact equality of two float sequences (NaN patterns and signed zeros included).
bool sameBits(const std::vector<float>& a, const std::vector<float>& b);
std::uint32_t bitsOf(float value);

}  // namespace engine_test
