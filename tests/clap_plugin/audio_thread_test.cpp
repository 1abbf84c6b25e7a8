// What the audio thread may not do in the CLAP plug-in: allocate in process or flush, or
// race with the main thread's state calls, the editor's edits and the main-thread
// callback (run under ThreadSanitizer in the tsan build).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>
#include <thread>
#include <vector>

#include "clap/clap_instance.h"
#include "tests/clap_plugin/memory_streams.h"
#include "tests/support/allocation_counter.h"
#include "tools/host/clap_events.h"
#include "tools/host/clap_host.h"

namespace {

constexpr std::uint32_t kFrames = 512;

// An instance made as the factory makes it, initialised and processing.
struct Running {
  Running() : instance(ClapInstance::create(host.record())), plugin(instance->record()) {
    EXPECT_TRUE(plugin->init(plugin));
    EXPECT_TRUE(plugin->activate(plugin, 48000.0, 1, kFrames));
    EXPECT_TRUE(plugin->start_processing(plugin));
  }
  ~Running() { plugin->destroy(plugin); }
  void process(const ClapInputEvents& in, ClapOutputEvents& out) {
    float* channels[] = {left.data(), right.data()};
    clap_audio_buffer_t output = {channels, nullptr, 2, 0, 0};
    clap_process_t block = {};
    block.frames_count = kFrames;
    block.audio_outputs = &output;
    block.audio_outputs_count = 1;
    block.in_events = in.list();
    block.out_events = out.list();
    plugin->process(plugin, &block);
  }

  ClapHost host;
  ClapInstance* instance;
  const clap_plugin_t* plugin;
  std::vector<float> left = std::vector<float>(kFrames);
  std::vector<float> right = std::vector<float>(kFrames);
};

// A dense block: both dialects, bends, wildcards, parameter and program changes.
void fillBusyBlock(ClapInputEvents& events, std::int32_t round) {
  events.clear();
  for (std::uint32_t i = 0; i < 24; ++i) {
    const auto key = static_cast<std::int16_t>(40 + (round * 5 + i * 7) % 40);
    events.note(CLAP_EVENT_NOTE_ON, i * 20, key, 0.6, static_cast<std::int32_t>(i));
    events.midi(i * 20 + 3, 0x90, static_cast<std::uint8_t>(key + 1), 90);
    events.parameter(i * 20 + 5, i % 13, (i % 10) / 10.0);
  }
  events.midi(250, 0xE0, 0, static_cast<std::uint8_t>(round % 128));
  events.midi(300, 0xC0, static_cast<std::uint8_t>(round % 8), 0);
  events.note(CLAP_EVENT_NOTE_OFF, 400, -1, 0.0, 3);
  events.note(CLAP_EVENT_NOTE_CHOKE, 450, -1, 0.0, -1, -1);
}

TEST(ClapAudioThread, ProcessAndFlushAllocateNothing) {
  Running running;
  ClapInputEvents events;
  fillBusyBlock(events, 1);
  ClapOutputEvents out;
  out.events.reserve(64);
  running.instance->beginEdit(4);
  running.instance->automateParameter(4, 0.25f);
  running.instance->endEdit(4);
  const long before = allocation_counter::total();
  for (std::int32_t round = 0; round < 20; ++round) {
    running.process(events, out);
    running.plugin->reset(running.plugin);
    running.instance->flush(events.list(), out.list());
  }
  EXPECT_EQ(allocation_counter::total() - before, 0);
  EXPECT_EQ(out.events.size(), 3u) << "the edits went out once";
}

TEST(ClapAudioThread, MainThreadCallsRaceWithNothingWhileProcessing) {
  Running running;
  // The audio thread keeps processing until the main thread has made all its calls.
  constexpr std::int32_t kMainRounds = 200;
  std::atomic<bool> mainDone{false};
  std::vector<ClapOutputEvents::Event> sent;
  std::thread audio([&] {
    ClapInputEvents events;
    ClapOutputEvents out;
    for (std::int32_t round = 0; !mainDone || round < kMainRounds; ++round) {
      fillBusyBlock(events, round);
      running.process(events, out);
      for (float sample : running.left) ASSERT_TRUE(std::isfinite(sample));
    }
    running.instance->flush(nullptr, out.list());
    sent = out.events;
  });
  const auto* state = static_cast<const clap_plugin_state_t*>(running.plugin->get_extension(running.plugin, CLAP_EXT_STATE));
  std::int32_t loads = 0;
  for (std::int32_t round = 0; round < kMainRounds; ++round) {
    claptest::MemoryOutStream saved(7);
    EXPECT_TRUE(state->save(running.plugin, &saved.stream));
    claptest::MemoryInStream reading(saved.bytes, 11);
    loads += state->load(running.plugin, &reading.stream) ? 1 : 0;
    const std::int32_t index = round % PARAMETER_COUNT;
    running.instance->beginEdit(index);
    running.instance->automateParameter(index, static_cast<float>(round % 100) / 100.0f);
    running.instance->endEdit(index);
    running.host.runCallback(running.plugin);
  }
  mainDone = true;
  audio.join();
  EXPECT_EQ(loads, kMainRounds);
  std::map<clap_id, int> open;
  for (const ClapOutputEvents::Event& event : sent) {
    open[event.param] += event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? 1 : event.type == CLAP_EVENT_PARAM_GESTURE_END ? -1 : 0;
  }
  for (const auto& entry : open) EXPECT_EQ(entry.second, 0) << "gestures balanced on " << entry.first;
  EXPECT_FALSE(sent.empty());
}

}  // namespace
