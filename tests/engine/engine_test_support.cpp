// Helpers of the engine tests.
#include "tests/engine/engine_test_support.h"

#include <cstring>

#include "params/program_bank.h"

namespace engine_test {

void setParameters(SynthEngine& engine, const float* parameters) {
  for (std::int32_t i = 0; i < SynthEngine::kParameterCount; ++i)
    engine.liveParameters()[i].store(parameters[i], std::memory_order_relaxed);
  engine.updateVoices(ALL_ENVELOPES);
}

std::unique_ptr<SynthEngine> makeEngine(const float* parameters, float sampleRate) {
  std::unique_ptr<SynthEngine> engine(new SynthEngine());
  for (std::int32_t i = 0; i < SynthEngine::kParameterCount; ++i)
    engine->liveParameters()[i].store(parameters[i], std::memory_order_relaxed);
  engine->setSampleRate(sampleRate);
  return engine;
}

std::unique_ptr<SynthEngine> makeProgramEngine(std::int32_t program, float sampleRate) {
  return makeEngine(kFactoryPrograms[program].values, sampleRate);
}

MidiBlock& MidiBlock::add(std::uint8_t status, std::uint8_t first, std::uint8_t second, std::int32_t deltaFrames) {
  VstMidiEvent event;
  std::memset(&event, 0, sizeof event);
  event.type = kVstMidiType;
  event.byteSize = static_cast<VstInt32>(sizeof event);
  event.deltaFrames = deltaFrames;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(first);
  event.midiData[2] = static_cast<char>(second);
  records.push_back(event);
  return *this;
}

MidiBlock& MidiBlock::addNoteOn(std::int32_t note, std::int32_t velocity, std::int32_t deltaFrames,
                                std::int32_t channel) {
  return add(static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(note),
             static_cast<std::uint8_t>(velocity), deltaFrames);
}

MidiBlock& MidiBlock::addNoteOff(std::int32_t note, std::int32_t deltaFrames, std::int32_t channel) {
  return add(static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(note), 64, deltaFrames);
}

MidiBlock& MidiBlock::addBend(std::int32_t position, std::int32_t deltaFrames) {
  return add(0xE0, static_cast<std::uint8_t>(position & 0x7F), static_cast<std::uint8_t>(position >> 7),
             deltaFrames);
}

MidiBlock& MidiBlock::addOther(std::int32_t type) {
  add(0x90, 60, 100, 0);
  records.back().type = type;
  return *this;
}

VstEvents* MidiBlock::list() {
  const std::size_t count = records.size();
  const std::size_t pointers = count < 2 ? 2 : count;
  listStorage.assign(offsetof(VstEvents, events) + pointers * sizeof(VstEvent*), 0);
  VstEvents* events = reinterpret_cast<VstEvents*>(listStorage.data());
  events->numEvents = static_cast<VstInt32>(count);
  VstEvent** slots = events->events;
  for (std::size_t i = 0; i < count; ++i) slots[i] = reinterpret_cast<VstEvent*>(&records[i]);
  return events;
}

void renderInto(SynthEngine& engine, std::vector<float>& out, std::int32_t frames) {
  std::vector<float> scratch(SynthEngine::kScratchFloats, 0.0f);
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(frames), 0.0f);
  engine.render(scratch.data(), out.data() + start, frames);
}

std::vector<float> renderBlock(SynthEngine& engine, std::int32_t frames) {
  std::vector<float> out;
  out.reserve(static_cast<std::size_t>(frames) + 1);
  renderInto(engine, out, frames);
  return out;
}

std::uint32_t fnv1a(const void* data, std::size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  std::uint32_t hash = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 16777619u;
  }
  return hash;
}

std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

}  // namespace engine_test
