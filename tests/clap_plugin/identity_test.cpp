// The CLAP plug-in sounds like the VST 2.4 module, bit for bit: the same MIDI at the same
// offsets, the same parameter values and programs between blocks, the same rate and block
// boundaries give the same samples, in the MIDI dialect and in the CLAP note dialect
// (velocities v / 127). A change inside a CLAP block sounds as the VST 2.4 module does
// with its block cut at that frame and the change made in between.
#include <algorithm>
#include <string>
#include <vector>

#include "params/program_bank.h"
#include "tests/clap_plugin/clap_fixture.h"
#include "tools/host/event_block.h"
#include "tools/host/plugin_instance.h"

namespace claptest {
namespace {

struct Midi {
  std::int32_t frame;
  std::uint8_t bytes[3];
};

// One block: the changes made before it (for VST 2.4 between blocks), then its MIDI.
struct Block {
  std::int32_t frames = 0;
  std::int32_t program = -1;
  std::vector<std::pair<std::int32_t, float>> parameters;
  std::vector<Midi> midi;
};

// A reproducible piece: notes, releases, bends, all notes off, parameter and program
// changes, blocks of varying length.
std::vector<Block> piece(std::uint32_t seed, std::int32_t blockFrames, std::int32_t count) {
  auto next = [&seed](std::uint32_t range) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<std::int32_t>((seed >> 8) % range);
  };
  std::vector<Block> blocks(static_cast<std::size_t>(count));
  for (std::int32_t b = 0; b < count; ++b) {
    Block& block = blocks[static_cast<std::size_t>(b)];
    block.frames = blockFrames - next(2) * next(static_cast<std::uint32_t>(blockFrames / 2));
    if (b % 7 == 3) block.program = next(8);
    if (b % 3 == 1) block.parameters.push_back({next(13), static_cast<float>(next(1001)) / 1000.0f});
    for (std::int32_t e = 0, frame = 0, events = next(6); e < events; ++e) {
      frame += next(static_cast<std::uint32_t>(block.frames / 6 + 1));
      const auto note = static_cast<std::uint8_t>(36 + next(48));
      const std::int32_t kind = next(10);
      const auto data = static_cast<std::uint8_t>(1 + next(127));
      if (kind == 0) block.midi.push_back({frame, {0xE0, static_cast<std::uint8_t>(next(128)), data}});
      if (kind == 1) block.midi.push_back({frame, {0xB0, 123, 0}});
      if (kind > 1 && kind < 5) block.midi.push_back({frame, {0x80, note, 64}});
      if (kind >= 5) block.midi.push_back({frame, {0x90, note, data}});
    }
  }
  return blocks;
}

std::vector<float> renderVst2(const std::vector<Block>& blocks, float rate) {
  std::string error;
  std::unique_ptr<PluginModule> vst2 = PluginModule::load(QUINDLE_MODULE_FILE, error);
  std::unique_ptr<PluginInstance> instance = vst2 != nullptr ? PluginInstance::create(*vst2, error) : nullptr;
  EXPECT_NE(instance, nullptr) << error;
  if (instance == nullptr) return {};
  instance->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  instance->dispatch(effSetBlockSize, 0, kMaxFrames);
  instance->dispatch(effMainsChanged, 0, 1);
  std::vector<float> left, right, out;
  EventBlock events;
  for (const Block& block : blocks) {
    if (block.program >= 0) instance->selectProgram(block.program);
    for (const auto& change : block.parameters) instance->setParameter(change.first, change.second);
    events.clear();
    for (const Midi& m : block.midi) events.add(m.frame, m.bytes, 3);
    instance->dispatch(effProcessEvents, 0, 0, events.events());
    left.assign(static_cast<std::size_t>(block.frames), 0.0f);
    right = left;
    float* outputs[] = {left.data(), right.data()};
    instance->effect().processReplacing(&instance->effect(), nullptr, outputs, block.frames);
    out.insert(out.end(), left.begin(), left.end());
  }
  instance->dispatch(effMainsChanged, 0, 0);
  return out;
}

class ClapIdentity : public ClapModuleTest {
 protected:
  // The same blocks through the CLAP plug-in, notes in the CLAP dialect when `clapNotes`.
  std::vector<float> renderClap(const std::vector<Block>& blocks, double rate, bool clapNotes) {
    auto instance = create(host);
    EXPECT_NE(instance, nullptr);
    if (instance == nullptr || !instance->activate(rate)) return {};
    std::vector<float> left, right, out;
    ClapInputEvents events;
    for (const Block& block : blocks) {
      events.clear();
      if (block.program >= 0) events.midi(0, 0xC0, static_cast<std::uint8_t>(block.program), 0);
      for (const auto& change : block.parameters) events.parameter(0, static_cast<clap_id>(change.first), change.second);
      for (const Midi& m : block.midi) {
        const auto time = static_cast<std::uint32_t>(m.frame);
        const bool on = m.bytes[0] == 0x90;
        if (clapNotes && (on || m.bytes[0] == 0x80)) {
          events.note(on ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF, time, m.bytes[1], on ? m.bytes[2] / 127.0 : 0.0);
        } else {
          events.midi(time, m.bytes[0], m.bytes[1], m.bytes[2]);
        }
      }
      instance->process(events, static_cast<std::uint32_t>(block.frames), left, right);
      EXPECT_EQ(left, right);
      out.insert(out.end(), left.begin(), left.end());
    }
    return out;
  }

  static void expectIdentical(const std::vector<float>& clap, const std::vector<float>& vst2) {
    ASSERT_EQ(clap.size(), vst2.size());
    for (std::size_t i = 0; i < clap.size(); ++i) ASSERT_EQ(clap[i], vst2[i]) << "sample " << i;
    EXPECT_TRUE(std::any_of(vst2.begin(), vst2.end(), [](float s) { return s != 0.0f; })) << "silence proves nothing";
  }
};

TEST_F(ClapIdentity, BlocksSoundAsTheVst2ModuleInBothDialects) {
  for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
    const std::vector<Block> blocks = piece(static_cast<std::uint32_t>(rate), 512, 120);
    const std::vector<float> vst2 = renderVst2(blocks, rate);
    expectIdentical(renderClap(blocks, rate, false), vst2);
    expectIdentical(renderClap(blocks, rate, true), vst2);
  }
}

TEST_F(ClapIdentity, ChangesInsideABlockSoundAsABlockCutThere) {
  std::vector<Block> cut(3);
  cut[0].frames = 300;
  cut[0].midi = {{0, {0x90, 60, 100}}, {10, {0x90, 67, 90}}};
  cut[1].frames = 437;
  cut[1].parameters = {{5, 0.9f}, {12, 0.5f}};
  cut[2].frames = 287;
  cut[2].program = 5;
  cut[2].midi = {{0, {0x90, 72, 80}}};
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
  EXPECT_EQ(instance->value(PARAM_VOLUME), static_cast<double>(kFactoryPrograms[5].values[PARAM_VOLUME]));
}

}  // namespace
}  // namespace claptest
