// The CLAP plug-in sounds like the VST 2.4 module, bit for bit: the same MIDI at the same
// offsets, the same parameter values and programs between blocks, the same rate and block
// boundaries give the same samples, in the MIDI dialect and in the CLAP note dialect. A
// parameter or program change inside a CLAP block sounds as the VST 2.4 module does when
// its block is cut at that frame and the change made in between.
#include <cstdint>
#include <string>
#include <vector>

#include "params/program_bank.h"
#include "tests/clap_plugin/clap_fixture.h"
#include "tools/host/event_block.h"
#include "tools/host/host_callback.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_module.h"

namespace claptest {
namespace {

struct Midi {
  std::int32_t frame;
  std::uint8_t bytes[3];
};

// One block: changes made before it (VST 2.4: between blocks), then its MIDI.
struct Block {
  std::int32_t frames = 0;
  std::int32_t program = -1;
  std::vector<std::pair<std::int32_t, float>> parameters;
  std::vector<Midi> midi;
};

// A reproducible piece: chords, single notes, bends, releases, all notes off, parameter
// and program changes between blocks of varying length.
std::vector<Block> piece(std::uint32_t seed, std::int32_t blockFrames, std::int32_t count) {
  std::uint32_t state = seed;
  auto next = [&state](std::uint32_t range) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % range;
  };
  std::vector<Block> blocks;
  for (std::int32_t b = 0; b < count; ++b) {
    Block block;
    block.frames = blockFrames - static_cast<std::int32_t>(next(2) * next(static_cast<std::uint32_t>(blockFrames / 2)));
    if (b % 7 == 3) block.program = static_cast<std::int32_t>(next(8));
    if (b % 3 == 1) block.parameters.push_back({static_cast<std::int32_t>(next(13)), static_cast<float>(next(1001)) / 1000.0f});
    const std::uint32_t events = next(6);
    std::int32_t frame = 0;
    for (std::uint32_t e = 0; e < events; ++e) {
      frame += static_cast<std::int32_t>(next(static_cast<std::uint32_t>(block.frames / 6 + 1)));
      const auto note = static_cast<std::uint8_t>(36 + next(48));
      switch (next(10)) {
        case 0: block.midi.push_back({frame, {0xE0, static_cast<std::uint8_t>(next(128)), static_cast<std::uint8_t>(next(128))}}); break;
        case 1: block.midi.push_back({frame, {0xB0, 123, 0}}); break;
        case 2:
        case 3:
        case 4: block.midi.push_back({frame, {0x80, note, 64}}); break;
        default: block.midi.push_back({frame, {0x90, note, static_cast<std::uint8_t>(1 + next(127))}}); break;
      }
    }
    blocks.push_back(block);
  }
  return blocks;
}

std::vector<float> renderVst2(const std::vector<Block>& blocks, float rate, std::vector<float>* rightOut = nullptr) {
  std::string error;
  std::unique_ptr<PluginModule> vst2 = PluginModule::load(QUINDLE_MODULE_FILE, error);
  EXPECT_NE(vst2, nullptr) << error;
  if (vst2 == nullptr) return {};
  std::unique_ptr<PluginInstance> instance = PluginInstance::create(*vst2, error);
  EXPECT_NE(instance, nullptr) << error;
  if (instance == nullptr) return {};
  instance->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  instance->dispatch(effSetBlockSize, 0, kMaxFrames);
  instance->dispatch(effMainsChanged, 0, 1);
  instance->dispatch(effStartProcess);
  std::vector<float> left, right, out;
  EventBlock events;
  for (const Block& block : blocks) {
    if (block.program >= 0) instance->selectProgram(block.program);
    for (const auto& change : block.parameters) instance->setParameter(change.first, change.second);
    events.clear();
    for (const Midi& m : block.midi) events.add(m.frame, m.bytes, 3);
    instance->dispatch(effProcessEvents, 0, 0, events.events());
    left.assign(static_cast<std::size_t>(block.frames), 0.0f);
    right.assign(static_cast<std::size_t>(block.frames), 0.0f);
    float* outputs[] = {left.data(), right.data()};
    instance->effect().processReplacing(&instance->effect(), nullptr, outputs, block.frames);
    out.insert(out.end(), left.begin(), left.end());
    if (rightOut != nullptr) rightOut->insert(rightOut->end(), right.begin(), right.end());
  }
  instance->dispatch(effStopProcess);
  instance->dispatch(effMainsChanged, 0, 0);
  return out;
}

enum class Dialect { kMidi, kClapNotes };

class ClapIdentity : public ClapModuleTest {
 protected:
  std::vector<float> renderClap(const std::vector<Block>& blocks, double rate, Dialect dialect,
                                std::vector<float>* rightOut = nullptr) {
    auto instance = create(host);
    EXPECT_NE(instance, nullptr);
    if (instance == nullptr || !instance->activate(rate)) return {};
    std::vector<float> left, right, out;
    ClapInputEvents events;
    for (const Block& block : blocks) {
      events.clear();
      if (block.program >= 0) events.midi(0, 0xC0, static_cast<std::uint8_t>(block.program), 0);
      for (const auto& change : block.parameters) events.parameter(0, static_cast<clap_id>(change.first), change.second);
      for (const Midi& m : block.midi) addMidi(events, m, dialect);
      instance->process(events, static_cast<std::uint32_t>(block.frames), left, right);
      out.insert(out.end(), left.begin(), left.end());
      if (rightOut != nullptr) rightOut->insert(rightOut->end(), right.begin(), right.end());
    }
    return out;
  }

  // A note as a host of the CLAP dialect sends it: velocity v / 127.
  static void addMidi(ClapInputEvents& events, const Midi& m, Dialect dialect) {
    const auto time = static_cast<std::uint32_t>(m.frame);
    const std::uint8_t status = m.bytes[0] & 0xF0;
    const bool noteOn = status == 0x90 && m.bytes[2] > 0;
    if (dialect == Dialect::kClapNotes && (noteOn || status == 0x80)) {
      events.note(noteOn ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF, time, m.bytes[1],
                  noteOn ? m.bytes[2] / 127.0 : 0.0);
    } else {
      events.midi(time, m.bytes[0], m.bytes[1], m.bytes[2]);
    }
  }

  static void expectIdentical(const std::vector<float>& clap, const std::vector<float>& vst2) {
    ASSERT_EQ(clap.size(), vst2.size());
    bool sounded = false;
    for (std::size_t i = 0; i < clap.size(); ++i) {
      ASSERT_EQ(clap[i], vst2[i]) << "sample " << i;
      sounded = sounded || vst2[i] != 0.0f;
    }
    EXPECT_TRUE(sounded) << "identical silence proves nothing";
  }
};

TEST_F(ClapIdentity, BlocksOfMidiSoundAsTheVst2Module) {
  for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
    const std::vector<Block> blocks = piece(static_cast<std::uint32_t>(rate), 512, 120);
    std::vector<float> clapRight, vst2Right;
    const std::vector<float> vst2 = renderVst2(blocks, rate, &vst2Right);
    expectIdentical(renderClap(blocks, rate, Dialect::kMidi, &clapRight), vst2);
    EXPECT_EQ(clapRight, vst2) << "both channels carry the signal";
    EXPECT_EQ(vst2Right, vst2);
  }
}

TEST_F(ClapIdentity, ClapNotesSoundAsTheSameMidi) {
  const std::vector<Block> blocks = piece(7, 1000, 80);
  expectIdentical(renderClap(blocks, 48000.0, Dialect::kClapNotes), renderVst2(blocks, 48000.0f));
}

TEST_F(ClapIdentity, ChangesInsideABlockSoundAsABlockCutThere) {
  // The VST 2.4 side: three blocks, the changes between them.
  std::vector<Block> cut(3);
  cut[0].frames = 300;
  cut[0].midi = {{0, {0x90, 60, 100}}, {10, {0x90, 67, 90}}};
  cut[1].frames = 437;
  cut[1].parameters = {{5, 0.9f}, {12, 0.5f}};
  cut[2].frames = 287;
  cut[2].program = 5;
  cut[2].midi = {{0, {0x90, 72, 80}}};
  // The CLAP side: one block with the changes at their frames.
  auto instance = create(host);
  ASSERT_NE(instance, nullptr);
  ASSERT_TRUE(instance->activate());
  ClapInputEvents events;
  events.midi(0, 0x90, 60, 100);
  events.midi(10, 0x90, 67, 90);
  events.parameter(300, 5, 0.9);
  events.parameter(300, 12, 0.5);
  events.midi(737, 0xC0, 5, 0);
  events.midi(737, 0x90, 72, 80);
  std::vector<float> left, right;
  instance->process(events, 1024, left, right);
  expectIdentical(left, renderVst2(cut, 44100.0f));
  EXPECT_EQ(instance->value(12), static_cast<double>(kFactoryPrograms[5].values[PARAM_VOLUME]));
}

}  // namespace
}  // namespace claptest
