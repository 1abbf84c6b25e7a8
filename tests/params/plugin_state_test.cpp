// The instance's parameter, program and chunk paths, watched through a recording editor,
// and the same paths driven from a second thread while the first renders.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "editor/editor_base.h"
#include "params/program_bank.h"
#include "shell/synth_plugin.h"

namespace {

class RecordingEditor : public EditorBase {
 public:
  explicit RecordingEditor(EffectBase* owner) : EditorBase(owner) {}
  void parameterChanged(VstInt32 index, float value) override {
    log.push_back("changed " + std::to_string(index) + " " + std::to_string(value));
  }
  void refreshAllControls() override { log.push_back("refresh"); }
  void redrawDirty() override { log.push_back("redraw"); }
  std::vector<std::string> log;
};

// The instance with a recording editor in place of the window editor.
class WatchedPlugin : public SynthPlugin {
 public:
  WatchedPlugin() : SynthPlugin(nullptr) {
    delete editor;
    view = new RecordingEditor(this);
    editor = view;
  }
  RecordingEditor* view;
};

TEST(PluginState, SameValueChangesNothing) {
  WatchedPlugin plugin;
  plugin.setParameter(5, 0.37499964f);
  plugin.setParameter(1, -0.0f);  // equal to the stored +0
  EXPECT_TRUE(plugin.view->log.empty());
  plugin.setParameter(5, 0.5f);
  ASSERT_EQ(plugin.view->log.size(), 2u);
  EXPECT_EQ(plugin.view->log[0], "changed 5 " + std::to_string(0.5f));
  EXPECT_EQ(plugin.view->log[1], "redraw");
}

TEST(PluginState, ProgramChangeRefreshesAndRedrawsChunkOnlyRefreshes) {
  WatchedPlugin plugin;
  plugin.dispatcher(effSetProgram, 0, 8, nullptr, 0.0f);
  plugin.dispatcher(effSetProgram, 0, -1, nullptr, 0.0f);
  EXPECT_TRUE(plugin.view->log.empty());
  plugin.dispatcher(effSetProgram, 0, 2, nullptr, 0.0f);
  EXPECT_EQ(plugin.view->log, (std::vector<std::string>{"refresh", "redraw"}));
  plugin.view->log.clear();
  void* chunk = nullptr;
  const VstInt32 size = plugin.getChunk(&chunk, true);
  std::vector<unsigned char> copy(static_cast<unsigned char*>(chunk), static_cast<unsigned char*>(chunk) + size);
  EXPECT_EQ(plugin.setChunk(copy.data(), size, true), kProgramChunkSize);
  EXPECT_EQ(plugin.view->log, (std::vector<std::string>{"refresh"}));
  plugin.view->log.clear();
  EXPECT_EQ(plugin.setChunk(copy.data(), 51, true), 0);
  EXPECT_TRUE(plugin.view->log.empty());
}

TEST(PluginState, ProgramChunkIsTheLiveValuesInPlace) {
  SynthPlugin plugin(nullptr);
  void* chunk = nullptr;
  ASSERT_EQ(plugin.getChunk(&chunk, true), 52);
  plugin.setParameter(12, 0.8f);
  float volume;
  std::memcpy(&volume, static_cast<unsigned char*>(chunk) + 12 * 4, 4);
  EXPECT_EQ(volume, 0.8f);  // the memory follows later changes
}

// Parameter automation, program changes and chunk loads on one thread while another
// renders: under ThreadSanitizer this must report nothing.
TEST(PluginState, ControlThreadAndAudioThreadShareNoUnsynchronisedData) {
  SynthPlugin plugin(nullptr);
  plugin.setSampleRate(48000.0f);
  plugin.setBlockSize(128);
  plugin.resume();
  std::atomic<bool> stop{false};

  std::thread audio([&] {
    std::vector<float> left(128), right(128);
    float* outputs[2] = {left.data(), right.data()};
    VstMidiEvent notes[2] = {};
    for (VstMidiEvent& note : notes) {
      note.type = kVstMidiType;
      note.byteSize = sizeof(VstMidiEvent);
    }
    struct {
      VstInt32 numEvents;
      VstIntPtr reserved;
      VstEvent* events[2];
    } list{2, 0, {reinterpret_cast<VstEvent*>(&notes[0]), reinterpret_cast<VstEvent*>(&notes[1])}};
    for (int block = 0; !stop.load() || block < 200; ++block) {
      const char note = static_cast<char>(48 + block % 24);
      notes[0].midiData[0] = static_cast<char>(0x90);
      notes[0].midiData[1] = note;
      notes[0].midiData[2] = 100;
      notes[0].deltaFrames = block % 128;
      notes[1].midiData[0] = static_cast<char>(0x80);
      notes[1].midiData[1] = static_cast<char>(note - 5);
      plugin.processEvents(reinterpret_cast<VstEvents*>(&list));
      plugin.processReplacing(nullptr, outputs, 128);
    }
  });

  std::vector<unsigned char> bank(kBankChunkSize);
  void* chunk = nullptr;
  plugin.getChunk(&chunk, false);
  std::memcpy(bank.data(), chunk, kBankChunkSize);
  for (int round = 0; round < 300; ++round) {
    plugin.setParameter(round % 13, static_cast<float>(round % 100) / 100.0f);
    if (round % 17 == 0) plugin.dispatcher(effSetProgram, 0, round % 8, nullptr, 0.0f);
    if (round % 29 == 0) plugin.setChunk(bank.data(), kBankChunkSize, false);
    if (round % 31 == 0) plugin.getChunk(&chunk, true);
  }
  stop.store(true);
  audio.join();
  plugin.suspend();
}

}  // namespace
