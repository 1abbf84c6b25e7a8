// The VST 3 bundle sounds exactly as the VST 2.4 module of the same build: the same notes
// at the same offsets, pitch bends and controllers 123 and 126 as hosts deliver them, the
// same values and programs (through the host's program list) set between blocks, the
// same rate and blocks give the same samples bit for bit; a saved state travels with
// every program's values. (quindle-host's backend test and the identity script render
// more cases through the bundle on every target.)
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "params/program_bank.h"
#include "tests/vst3_plugin/bundle_fixture.h"
#include "tools/host/event_block.h"
#include "tools/host/host_callback.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_module.h"

namespace {

using namespace vst3;

struct Message {
  std::int64_t frame;
  std::uint8_t bytes[3];
};

// A parameter value (or, with index kProgram, a program) set before the block that
// holds `frame`.
struct Change {
  static constexpr std::int32_t kProgram = -1;
  std::int64_t frame;
  std::int32_t index;
  float value;
};

struct Scene {
  double rate;
  std::int32_t block;
  std::int64_t frames;
  std::vector<Message> messages;
  std::vector<Change> changes;
};

constexpr ParamID kProgramId = 13;

// Chords with bends across note starts, more notes than voices, the two silencing
// controllers on two channels, and values and programs changing between blocks.
Scene busyScene(double rate, std::int32_t block) {
  Scene scene{rate, block, static_cast<std::int64_t>(rate * 0.6), {}, {}};
  const auto at = [&](double seconds) { return static_cast<std::int64_t>(seconds * rate); };
  for (int i = 0; i < 11; ++i) {
    const auto note = static_cast<std::uint8_t>(43 + 4 * i);
    scene.messages.push_back({at(0.01 * i), {static_cast<std::uint8_t>(0x90 | (i % 3)), note, static_cast<std::uint8_t>(20 + 10 * i)}});
    scene.messages.push_back({at(0.02 * i + 0.15), {0x80, note, 64}});
  }
  scene.messages.push_back({at(0.05), {0xE1, 0x00, 0x60}});   // 12288
  scene.messages.push_back({at(0.12), {0xE0, 0x7F, 0x7F}});   // 16383
  scene.messages.push_back({at(0.2), {0xE0, 0x00, 0x40}});    // centre
  scene.messages.push_back({at(0.25), {0x92, 60, 0}});        // a note-off as velocity 0
  scene.messages.push_back({at(0.3), {0xB5, 123, 0}});
  scene.messages.push_back({at(0.32), {0x90, 72, 127}});
  scene.messages.push_back({at(0.33), {0xE3, 0x00, 0x00}});   // 0
  scene.messages.push_back({at(0.45), {0xBF, 126, 0}});
  scene.messages.push_back({at(0.47), {0x90, 48, 90}});
  // In time order, as hosts deliver a block's events.
  std::stable_sort(scene.messages.begin(), scene.messages.end(),
                   [](const Message& a, const Message& b) { return a.frame < b.frame; });
  scene.changes = {{0, Change::kProgram, 2},         {0, 5, 0.9f},         {at(0.1), 12, 0.6f},
                   {at(0.18), 0, 0.0f},               {at(0.22), 7, 0.3f}, {at(0.35), Change::kProgram, 7},
                   {at(0.4), 1, 0.75f},               {at(0.5), 10, 0.2f}};
  return scene;
}

class Vst3Sound : public BundleTest {
 protected:
  static void SetUpTestSuite() {
    BundleTest::SetUpTestSuite();
    std::string error;
    vst2Module = PluginModule::load(QUINDLE_MODULE_FILE, error).release();
    ASSERT_NE(vst2Module, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete vst2Module;
    vst2Module = nullptr;
    BundleTest::TearDownTestSuite();
  }

  // Left and right, one after the other.
  std::unique_ptr<PluginInstance> makeVst2() {
    std::string error;
    auto instance = PluginInstance::create(*vst2Module, error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
  }

  std::vector<float> renderVst2(const Scene& scene, PluginInstance* given = nullptr) {
    std::unique_ptr<PluginInstance> made;
    PluginInstance* instance = given;
    if (instance == nullptr) {
      made = makeVst2();
      instance = made.get();
    }
    if (instance == nullptr) return {};
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(scene.rate));
    instance->dispatch(effSetBlockSize, 0, scene.block);
    instance->dispatch(effMainsChanged, 0, 1);
    return renderBlocks(scene, [&](const Change& change) {
      if (change.index == Change::kProgram) {
        instance->selectProgram(static_cast<VstInt32>(change.value));
      } else {
        instance->setParameter(change.index, change.value);
      }
    }, [&](const std::vector<Message>& messages, std::int64_t start, float* left, float* right, std::int32_t frames) {
      EventBlock events;
      for (const Message& m : messages) events.add(static_cast<VstInt32>(m.frame - start), m.bytes, 3);
      instance->dispatch(effProcessEvents, 0, 0, events.events());
      float* outputs[] = {left, right};
      instance->effect().processReplacing(&instance->effect(), nullptr, outputs, frames);
    });
  }

  std::vector<float> renderVst3(const Scene& scene, Vst3Instance* given = nullptr) {
    std::unique_ptr<Vst3Instance> made;
    Vst3Instance* instance = given;
    if (instance == nullptr) {
      made = makeInstance();
      instance = made.get();
    }
    if (instance == nullptr) return {};
    std::string error;
    EXPECT_TRUE(instance->prepare(scene.rate, scene.block, error)) << error;
    std::vector<float> out = renderBlocks(scene, [&](const Change& change) {
      if (change.index == Change::kProgram) {
        instance->setParameter(kProgramId, change.value / (kProgramCount - 1));
      } else {
        instance->setParameter(static_cast<ParamID>(change.index), change.value);
      }
    }, [&](const std::vector<Message>& messages, std::int64_t start, float* left, float* right, std::int32_t frames) {
      for (const Message& m : messages) instance->midi(m.bytes, 3, static_cast<int32>(m.frame - start));
      std::string blockError;
      EXPECT_TRUE(instance->process(left, right, frames, blockError)) << blockError;
    });
    instance->stop();
    return out;
  }

  template <typename SetChange, typename Process>
  static std::vector<float> renderBlocks(const Scene& scene, SetChange&& set, Process&& process) {
    std::vector<float> left(static_cast<std::size_t>(scene.frames)), right(left.size());
    std::size_t nextChange = 0;
    for (std::int64_t start = 0; start < scene.frames; start += scene.block) {
      const std::int64_t end = std::min(start + scene.block, scene.frames);
      for (; nextChange < scene.changes.size() && scene.changes[nextChange].frame < end; ++nextChange) {
        set(scene.changes[nextChange]);
      }
      std::vector<Message> messages;
      for (const Message& m : scene.messages) {
        if (m.frame >= start && m.frame < end) messages.push_back(m);
      }
      process(messages, start, left.data() + start, right.data() + start, static_cast<std::int32_t>(end - start));
    }
    left.insert(left.end(), right.begin(), right.end());
    return left;
  }

  static PluginModule* vst2Module;
};

PluginModule* Vst3Sound::vst2Module = nullptr;

bool hasSound(const std::vector<float>& samples) {
  for (float sample : samples) {
    if (sample != 0.0f) return true;
  }
  return false;
}

// Notes at offsets inside blocks on several channels, bends, the silencing controllers,
// values and programs set between blocks: the VST 2.4 module's samples; then the state
// saved after it holds the module's bank, and a new instance given it plays on as a
// VST 2.4 instance given that bank.
TEST_F(Vst3Sound, PlaysAsTheVst2ModuleAndItsStateKeepsEveryProgramsEdits) {
  const Scene edits = busyScene(48000.0, 256);
  auto original = makeInstance();
  auto edited = makeVst2();
  ASSERT_NE(original, nullptr);
  ASSERT_NE(edited, nullptr);
  const std::vector<float> fromVst3 = renderVst3(edits, original.get());  // leaves program 7 current
  const std::vector<float> fromVst2 = renderVst2(edits, edited.get());
  ASSERT_TRUE(hasSound(fromVst2));
  ASSERT_EQ(fromVst3.size(), fromVst2.size());
  std::size_t first = 0;
  while (first < fromVst2.size() && fromVst3[first] == fromVst2[first]) ++first;
  ASSERT_EQ(first, fromVst2.size()) << "first difference at sample " << first;

  std::vector<std::uint8_t> componentState, controllerState;
  ASSERT_TRUE(original->saveState(componentState, controllerState));
  ASSERT_EQ(componentState.size(), 620u);
  void* chunk = nullptr;
  ASSERT_EQ(edited->dispatch(effGetChunk, 0, 0, &chunk), kBankChunkSize);
  std::vector<std::uint8_t> bank(static_cast<std::uint8_t*>(chunk), static_cast<std::uint8_t*>(chunk) + kBankChunkSize);
  EXPECT_EQ(std::memcmp(componentState.data() + 12, bank.data(), bank.size()), 0);

  auto restored = makeInstance();
  ASSERT_NE(restored, nullptr);
  std::string error;
  ASSERT_TRUE(restored->loadState(componentState, controllerState, error)) << error;
  EXPECT_EQ(restored->controller().getParamNormalized(kProgramId), 1.0);
  EXPECT_EQ(restored->controller().getParamNormalized(1), 0.75);
  auto vst2 = makeVst2();
  ASSERT_NE(vst2, nullptr);
  vst2->selectProgram(7);
  ASSERT_EQ(vst2->dispatch(effSetChunk, 0, kBankChunkSize, bank.data()), kBankChunkSize);
  Scene later = edits;
  later.changes.clear();
  const std::vector<float> played = renderVst3(later, restored.get());
  EXPECT_TRUE(hasSound(played));
  EXPECT_TRUE(played == renderVst2(later, vst2.get()));
}

}  // namespace
