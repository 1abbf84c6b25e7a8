// The audio entry points as a host drives them: events, blocks, resume and suspend.
#include <cmath>

#include "module_fixture.h"

namespace {

constexpr float kGuard = 12345.0f;

struct Block {
  explicit Block(int count) : left(count + 8, kGuard), right(count + 8, kGuard), frames(count) {}
  float* channels[2] = {nullptr, nullptr};
  float** outputs() {
    channels[0] = left.data();
    channels[1] = right.data();
    return channels;
  }
  void expectGuardsIntact() const {
    for (int i = frames; i < frames + 8; ++i) {
      EXPECT_EQ(left[i], kGuard);
      EXPECT_EQ(right[i], kGuard);
    }
  }
  std::vector<float> left, right;
  int frames;
};

struct MidiList {
  VstEvents* events() {
    list.resize(sizeof(VstEvents) + midi.size() * sizeof(VstEvent*));
    auto* header = reinterpret_cast<VstEvents*>(list.data());
    header->numEvents = static_cast<VstInt32>(midi.size());
    header->reserved = 0;
    for (size_t i = 0; i < midi.size(); ++i) header->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    return header;
  }
  void add(int delta, unsigned char status, unsigned char data1, unsigned char data2) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = delta;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    midi.push_back(event);
  }
  std::vector<VstMidiEvent> midi;
  std::vector<unsigned char> list;
};

using AudioTest = ModuleTest;

AEffect* prepare(AEffect* effect, float rate, VstIntPtr blockSize) {
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
  effect->dispatcher(effect, effSetBlockSize, 0, blockSize, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  return effect;
}

TEST_F(AudioTest, BeforeResumeTheOutputIsSilent) {
  AEffect* effect = create();
  MidiList midi;
  midi.add(0, 0x90, 60, 100);
  EXPECT_EQ(dispatch(effect, effProcessEvents, 0, 0, midi.events()), 1);
  Block block(256);
  effect->processReplacing(effect, nullptr, block.outputs(), 256);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(block.left[i], 0.0f);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(block.right[i], 0.0f);
  block.expectGuardsIntact();
  // The accumulating and double entries do nothing.
  Block untouched(64);
  effect->process(effect, nullptr, untouched.outputs(), 64);
  EXPECT_EQ(untouched.left[0], kGuard);
}

TEST_F(AudioTest, NoteStartsAtItsOffsetAndBothOutputsAgree) {
  AEffect* effect = prepare(create(), 44100.0f, 512);
  MidiList midi;
  midi.add(100, 0x90, 69, 127);
  dispatch(effect, effProcessEvents, 0, 0, midi.events());
  Block block(512);
  effect->processReplacing(effect, nullptr, block.outputs(), 512);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(block.left[i], 0.0f) << i;
  bool sounding = false;
  for (int i = 100; i < 512; ++i) sounding = sounding || block.left[i] != 0.0f;
  EXPECT_TRUE(sounding);
  for (int i = 0; i < 512; ++i) ASSERT_EQ(block.left[i], block.right[i]);
  block.expectGuardsIntact();
}

TEST_F(AudioTest, BlocksLargerThanAnnouncedRenderLikeSmallOnes) {
  AEffect* whole = prepare(create(), 48000.0f, 256);
  AEffect* pieces = prepare(create(), 48000.0f, 4096);
  for (AEffect* effect : {whole, pieces}) {
    MidiList midi;
    midi.add(10, 0x90, 60, 90);
    midi.add(700, 0x90, 64, 80);
    midi.add(900, 0xE0, 0, 80);
    dispatch(effect, effProcessEvents, 0, 0, midi.events());
  }
  Block big(1024);
  whole->processReplacing(whole, nullptr, big.outputs(), 1024);
  Block same(1024);
  pieces->processReplacing(pieces, nullptr, same.outputs(), 1024);
  big.expectGuardsIntact();
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(big.left[i], same.left[i]) << i;
}

TEST_F(AudioTest, HostileCallsDoNotCrash) {
  AEffect* effect = prepare(create(), 44100.0f, 64);
  effect->processReplacing(effect, nullptr, nullptr, 64);
  float* noChannels[2] = {nullptr, nullptr};
  effect->processReplacing(effect, nullptr, noChannels, 64);
  Block block(64);
  effect->processReplacing(effect, nullptr, block.outputs(), 0);
  effect->processReplacing(effect, nullptr, block.outputs(), -5);
  EXPECT_EQ(block.left[0], kGuard);
  EXPECT_EQ(dispatch(effect, effProcessEvents, 0, 0, nullptr), 1);
  // Offsets outside the block, a note below the frequency table, unknown event types.
  MidiList midi;
  midi.add(-50, 0x90, 60, 100);
  midi.add(1 << 30, 0x90, 62, 100);
  midi.add(0, 0x90, 5, 100);
  midi.midi.push_back(VstMidiEvent{kVstSysExType, 32, 0, 0, 0, 0, {0}, 0, 0, 0, 0});
  dispatch(effect, effProcessEvents, 0, 0, midi.events());
  effect->processReplacing(effect, nullptr, block.outputs(), 64);
  block.expectGuardsIntact();
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(std::isfinite(block.left[i]));
  // Sample rates that are not positive finite numbers are ignored.
  dispatch(effect, effMainsChanged, 0, 0);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, 0.0f);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, -44100.0f);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, std::nanf(""));
  dispatch(effect, effSetBlockSize, 0, -1);
  dispatch(effect, effMainsChanged, 0, 1);
  effect->processReplacing(effect, nullptr, block.outputs(), 64);
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(std::isfinite(block.left[i]));
  block.expectGuardsIntact();
}

TEST_F(AudioTest, SuspendKeepsNotesAndResumeContinues) {
  AEffect* effect = prepare(create(), 44100.0f, 128);
  MidiList midi;
  midi.add(0, 0x90, 57, 110);
  dispatch(effect, effProcessEvents, 0, 0, midi.events());
  Block block(128);
  effect->processReplacing(effect, nullptr, block.outputs(), 128);
  dispatch(effect, effMainsChanged, 0, 0);
  // Suspended: silent, and the notes are kept.
  effect->processReplacing(effect, nullptr, block.outputs(), 128);
  for (int i = 0; i < 128; ++i) ASSERT_EQ(block.left[i], 0.0f);
  dispatch(effect, effMainsChanged, 0, 1);
  effect->processReplacing(effect, nullptr, block.outputs(), 128);
  float peak = 0.0f;
  for (int i = 0; i < 128; ++i) peak = std::fmax(peak, std::fabs(block.left[i]));
  EXPECT_GT(peak, 0.0f);
}

}  // namespace
