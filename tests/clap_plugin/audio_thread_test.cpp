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
#include "tests/engine/allocation_counter.h"
#include "tools/host/clap_events.h"
#include "tools/host/clap_host.h"

namespace {

constexpr std::uint32_t kFrames = 512;

// The instance made as the factory makes it, initialised and active.
class Running {
 public:
  Running() : instance(ClapInstance::create(host.record())), plugin(instance->record()) {
    EXPECT_TRUE(plugin->init(plugin));
    EXPECT_TRUE(plugin->activate(plugin, 48000.0, 1, kFrames));
    EXPECT_TRUE(plugin->start_processing(plugin));
    channels[0] = left.data();
    channels[1] = right.data();
    output = {channels, nullptr, 2, 0, 0};
  }
  ~Running() {
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
  }
  clap_process_status process(const ClapInputEvents& in, ClapOutputEvents& out) {
    clap_process_t block = {};
    block.frames_count = kFrames;
    block.audio_outputs = &output;
    block.audio_outputs_count = 1;
    block.in_events = in.list();
    block.out_events = out.list();
    return plugin->process(plugin, &block);
  }

  ClapHost host;
  ClapInstance* instance;
  const clap_plugin_t* plugin;
  std::vector<float> left = std::vector<float>(kFrames);
  std::vector<float> right = std::vector<float>(kFrames);
  float* channels[2];
  clap_audio_buffer_t output;
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
  events.note(CLAP_EVENT_NOTE_OFF, 450, -1, 0.0, -1, -1);
}

TEST(ClapAudioThread, ProcessAndFlushAllocateNothing) {
  Running running;
  ClapInputEvents events;
  fillBusyBlock(events, 1);
  ClapOutputEvents out;
  out.events.reserve(4096);
  running.instance->beginEdit(4);
  running.instance->automateParameter(4, 0.25f);
  running.instance->endEdit(4);
  const long before = engine_test::allocationCount();
  for (std::int32_t round = 0; round < 20; ++round) {
    running.process(events, out);
    running.plugin->reset(running.plugin);
    running.instance->flush(events.list(), out.list());
  }
  EXPECT_EQ(engine_test::allocationCount() - before, 0);
  EXPECT_EQ(out.events.size(), 3u) << "the edits went out once";
}

TEST(ClapAudioThread, MainThreadCallsRaceWithNothingWhileProcessing) {
  Running running;
  std::atomic<bool> done{false};
  std::vector<ClapOutputEvents::Event> sent;
  std::thread audio([&] {
    ClapInputEvents events;
    ClapOutputEvents out;
    for (std::int32_t round = 0; round < 300; ++round) {
      fillBusyBlock(events, round);
      running.process(events, out);
      for (float sample : running.left) ASSERT_TRUE(std::isfinite(sample));
    }
    done = true;
    running.instance->flush(nullptr, out.list());
    sent = out.events;
  });
  const clap_plugin_state_t* state =
      static_cast<const clap_plugin_state_t*>(running.plugin->get_extension(running.plugin, CLAP_EXT_STATE));
  std::int32_t loads = 0;
  for (std::int32_t round = 0; !done; ++round) {
    std::vector<std::uint8_t> saved;
    clap_ostream_t out = {&saved, [](const clap_ostream_t* s, const void* data, uint64_t size) -> int64_t {
                            auto* bytes = static_cast<std::vector<std::uint8_t>*>(s->ctx);
                            bytes->insert(bytes->end(), static_cast<const std::uint8_t*>(data),
                                          static_cast<const std::uint8_t*>(data) + size);
                            return static_cast<int64_t>(size);
                          }};
    ASSERT_TRUE(state->save(running.plugin, &out));
    std::pair<std::vector<std::uint8_t>*, std::size_t> reading{&saved, 0};
    clap_istream_t in = {&reading, [](const clap_istream_t* s, void* data, uint64_t size) -> int64_t {
                           auto* at = static_cast<std::pair<std::vector<std::uint8_t>*, std::size_t>*>(s->ctx);
                           const std::size_t left = at->first->size() - at->second;
                           const std::size_t count = size < left ? static_cast<std::size_t>(size) : left;
                           std::copy_n(at->first->data() + at->second, count, static_cast<std::uint8_t*>(data));
                           at->second += count;
                           return static_cast<int64_t>(count);
                         }};
    loads += state->load(running.plugin, &in) ? 1 : 0;
    const std::int32_t index = round % PARAMETER_COUNT;
    running.instance->beginEdit(index);
    running.instance->automateParameter(index, static_cast<float>(round % 100) / 100.0f);
    running.instance->endEdit(index);
    running.host.runCallback(running.plugin);
  }
  audio.join();
  EXPECT_GT(loads, 0);
  std::map<clap_id, int> open;
  for (const ClapOutputEvents::Event& event : sent) {
    if (event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN) ++open[event.param];
    if (event.type == CLAP_EVENT_PARAM_GESTURE_END) --open[event.param];
  }
  for (const auto& entry : open) EXPECT_EQ(entry.second, 0) << entry.first;
  EXPECT_FALSE(sent.empty());
}

}  // namespace
